#pragma once

#include "commandproblem.h"

#include <QStringList>

namespace kav {

class ProgramSettings;
class NuclideIndex;

// "kav assess NUCLIDE --route R --material N [--size S] FILE.csv": the intake and committed
// effective dose a worker's measurements point to, as the report the viewer copies, in Bq and
// Sv. Returns 0, 1 for data that cannot be loaded, 2 for a file or row that cannot be used
// (said with its line), or UsageStatus.
int assessCommand(const NuclideIndex& index, const ProgramSettings& preference, QStringList args);

} // namespace kav
