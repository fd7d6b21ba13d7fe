#pragma once

#include "data/dosedata.h"

#include <QStringList>

namespace kav {

// Dose coefficients as semicolon-separated lines for spreadsheets: the two header lines, then
// for one nuclide a male and a female line per route, material and particle size.
QStringList DoseExportHeader();
QStringList DoseExportLines(const TVESKRNDosesData& data);

} // namespace kav
