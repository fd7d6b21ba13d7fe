#pragma once

#include "data/vocabulary.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace kav {

// One row of the mixture as it is kept between runs: the nuclide, the route, the position of the
// material in the route's list, the particle size (an index of AMADValues, -1 for none) and the
// activity taken in, in Bq (none: the row is not counted in the total).
struct KeptMixtureRow {
    QString nuclide;
    IntakeRoute path = IntakeRoute::Ingestion;
    int material = 0;
    int amadIndex = -1;
    std::optional<double> intakeBq;

    bool operator==(const KeptMixtureRow&) const = default;
};

// The mixture file: a comment line, then one line per row with five tab-separated fields, for
// example "Cs-137<TAB>Inhalation<TAB>2<TAB>5<TAB>1000" (the size in µm with a decimal point, "-"
// for none; the intake in Bq, "-" for none). A line of the first four fields alone, as older files
// hold, is a row without an intake, and so is one whose intake is not a positive number. It never
// holds more than this many rows; a larger file is not a mixture file.
constexpr int MaxMixtureFileRows = 20000;
constexpr qint64 MaxMixtureFileSize = qint64(MaxMixtureFileRows) * 64;

// Whether a name can stand in the file: an element symbol, "-", a mass number of up to three
// digits and "m" or "n" for an isomer ("Co-60", "Tc-99m"). The nuclide need not be in the index.
bool isMixtureFileNuclideName(const QString& name);

// The file's text; a row the reader would not give back as it is (a name that is not a nuclide
// name) is left out.
QByteArray mixtureFileBytes(const std::vector<KeptMixtureRow>& rows);
// The rows of a mixture file's text; lines that are not rows are passed over.
std::vector<KeptMixtureRow> parseMixtureFile(const QByteArray& text);
// The rows of the file at a path; none when it is missing, unreadable or too large.
std::vector<KeptMixtureRow> readMixtureFile(const QString& path);

} // namespace kav
