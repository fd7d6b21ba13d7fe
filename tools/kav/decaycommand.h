#pragma once

#include "commandproblem.h"

#include <QStringList>

namespace kav {

class NuclideIndex;

// "kav decay NUCLIDE=ACTIVITY ... --time T | --at T1,T2,... [--unit U]": the activity of every
// member of the source's chains at each time, one line a member with activity above 0 and a
// column a time, then the total; six significant digits, in the unit of the activities given.
// Returns 0, 2 for an input that cannot be used (said on standard error), or UsageStatus.
int decayCommand(const NuclideIndex& index, QStringList args);

} // namespace kav
