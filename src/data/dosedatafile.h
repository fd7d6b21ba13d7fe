#pragma once

#include "data/dosedata.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace kav {

// The binary data file of one nuclide: an Adler-32 checksum of all that follows, the data and
// converter versions, 19 bytes that readers skip (a producer's mark), the nuclide's name and
// record, then the injection, ingestion, aerosol-group and gas materials with their dose
// coefficients and bioassay records.

// No data file comes near this; a larger one is not read into memory.
constexpr qint64 MaxDoseDataFileSize = qint64(256) << 20;

// The checksum a file carries in its first four bytes: Adler-32 of the bytes after them.
std::uint32_t doseDataChecksum(QByteArrayView fileBytes);
// Writes the right checksum into the first four bytes of a file held in memory.
void setDoseDataChecksum(QByteArray& fileBytes);

// Fills a data object from a file held in memory, checked whole: every read is bounded, and a
// rejected file raises DamagedDataFile (an aerosol group without a name, a plain error)
// and leaves the object holding no nuclide. The name is the one the file must carry ("Co-60");
// the path goes into messages.
void readDoseDataFile(const QByteArray& bytes, const QString& name, const QString& path, DoseData& data);
// The bytes of a file holding a data object's content, with a valid checksum; the 19 bytes that
// readers skip carry the text given, cut or padded with blanks.
QByteArray doseDataFileBytes(const DoseData& data, const QByteArray& reservedText = {});

} // namespace kav
