#pragma once

#include "data/programpreference.h"

#include <memory>

namespace kav {

// State of the dose-data module that the whole program shares.

// Set when start-up could not complete; the main window then closes on its first activation.
extern bool StartupFailed;

// The user's preferences: empty until the main window creates them, written at program end
// when AutoSave is on.
extern std::unique_ptr<TQzProgramPreference> ProgramPreference;

// Program end: writes the preferences if asked to, then frees them.
void ReleaseProgramPreference();

} // namespace kav
