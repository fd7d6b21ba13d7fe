#pragma once

#include "data/bioassaydata.h"

#include <QString>

#include <map>

namespace kav {

class NuclideIndex;
class ProgramSettings;

// One intake chosen on the command line: the nuclide's data, the route, the material (from 0)
// and the particle size (index 0 for an intake that is not an aerosol), with the material's name
// and the size as the head lines write them.
struct ChosenIntake {
    BioassayData data;
    IntakeRoute path = IntakeRoute::Inhalation;
    int material = 0;
    int amadIndex = DefaultAMADIndex;
    QString materialName;
    QString size;
};

// Chooses the intake of "NUCLIDE --route R --material N [--size S]": R ingestion, inhalation or
// injection, N the material's number in the route's list from 1, S the particle size of an
// inhaled aerosol (5 unless given). Returns 0, or 1 once the problem is said.
int chooseIntake(const NuclideIndex& index, const ProgramSettings& preference, const QString& nuclide,
                 const std::map<QString, QString>& options, ChosenIntake& chosen);

// Takes "--name value" pairs of the known names out of the arguments; false when an option has no
// value or comes twice.
bool takeOptions(QStringList& args, const QStringList& known, std::map<QString, QString>& options);

} // namespace kav
