#pragma once

#include "nuclides/nuclide.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace kav {

// The binary file of the radionuclide index: one record per nuclide, little-endian, with 80-bit
// extended numbers; the counts of a record decide which parts follow.

// The records of a file held in memory, at most maxRecords of them. An incomplete last record
// is dropped; counts beyond what a node holds are read past. With firstProblem given, the
// first thing found wrong ("record 12: element 200 is not an element") is written there and
// reading stops at it.
std::vector<std::unique_ptr<Nuclide>> readIndexRecords(const QByteArray& bytes, int maxRecords, QString* firstProblem);
// Appends a node's record.
void writeIndexRecord(const Nuclide& node, QByteArray& out);

} // namespace kav
