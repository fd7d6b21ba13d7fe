#pragma once

#include <QStringList>

namespace kav {

class ProgramSettings;
class NuclideIndex;

// "kav bioassay NUCLIDE --route R --material N [--size S] [--show z|content|m] [--dose D]": the
// bioassay view's table, with its head lines, as the clipboard gets it, in the units of the
// viewer's preferences. Returns the exit status: 0, 1 for a value that cannot be used (said on
// standard error), 2 for arguments that are not this command's (the usage is shown).
int bioassayCommand(const NuclideIndex& index, const ProgramSettings& preference, QStringList args);

} // namespace kav
