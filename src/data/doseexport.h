#pragma once

#include "data/dosedata.h"

#include <QStringList>

#include <functional>

namespace kav {

// Dose coefficients as semicolon-separated UTF-8 lines for spreadsheets, each ended by "\r\n":
// the two header lines, then for one nuclide a male and a female line per route, material and
// particle size.
QByteArray doseExportHeaderText();
QByteArray doseExportText(const DoseData& data);
// The same lines added to the end of a text.
void appendDoseExportText(QByteArray& out, const DoseData& data);

class DoseDataFolder;
class NuclideList;

// What an export of all dose coefficients came to: the files written (whole), and the reason it
// stopped before the end, if it did.
struct DoseExportResult {
    QStringList files;
    QString error;
    bool cancelled = false;
};

// One sentence on how an export ended: "Export done: 12 files written to DIR", or cancelled, or
// failed with how many files were written first and what failed, with the system's reason.
QString doseExportSummary(const DoseExportResult& result, const QString& folder);

// Writes one file per element of the list ("Co.csv"), with the head lines and the lines of each
// of the element's nuclides in the data folder, into a folder made when missing. Each file is
// written whole or not at all; an existing one is replaced. progress hears of every nuclide
// (done, total) and may stop the export by answering false.
[[nodiscard]] DoseExportResult exportDoses(const DoseDataFolder& dataFolder, const NuclideList& nuclides,
                                           const QStringList& elements, const QString& folder,
                                           const std::function<bool(int done, int total)>& progress = {});

} // namespace kav
