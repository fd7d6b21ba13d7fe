#pragma once

#include <QStringList>

namespace kav {

class ProgramSettings;
class NuclideIndex;

// What a command returns when its arguments are not its own: the caller shows the usage.
constexpr int UsageStatus = -1;

// "kav assess NUCLIDE --route R --material N [--size S] FILE.csv": the intake and committed
// effective dose a worker's measurements point to, as the report the viewer copies, in Bq and
// Sv. Returns 0, 1 for data that cannot be loaded, 2 for a file or row that cannot be used
// (said with its line), or UsageStatus.
int assessCommand(const NuclideIndex& index, const ProgramSettings& preference, QStringList args);

} // namespace kav
