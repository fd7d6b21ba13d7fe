#pragma once

#include "commandproblem.h"

#include <QStringList>

namespace kav {

class ProgramSettings;
class NuclideIndex;

// "kav dose FILE.csv": the committed effective dose of a mixture's intakes, as the Radionuclides
// page copies its table, in Bq and Sv, ending with the total. Returns 0, 2 for a file or line that
// cannot be used (said with its line), or UsageStatus.
int doseCommand(const NuclideIndex& index, const ProgramSettings& preference, const QStringList& args);

} // namespace kav
