#include "data/datamodule.h"

namespace kav {

bool StartupFailed = false;
std::unique_ptr<TQzProgramPreference> ProgramPreference;

void ReleaseProgramPreference()
{
    if (ProgramPreference && ProgramPreference->AutoSave())
        ProgramPreference->Write();
    ProgramPreference.reset();
}

} // namespace kav
