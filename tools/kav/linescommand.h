#pragma once

#include <QStringList>

namespace kav {

class NuclideIndex;

// "kav lines --gamma LO:HI [--min-yield Y] [--half-life MIN:MAX]": the photon lines of every
// nuclide within an energy window in MeV, with their emissions per decay and the nuclide's
// half-life, the most intense first. The nuclides are found by the chooser's advanced filter.
// Returns the exit status: 0, 1 for a value that cannot be used (said on standard error), 2
// for arguments that are not this command's.
int linesCommand(const NuclideIndex& index, QStringList args);

} // namespace kav
