#include "intakechoice.h"

#include "commandproblem.h"

#include "data/programsettings.h"
#include "nuclides/nuclideindex.h"

#include <algorithm>

namespace kav {

bool takeOptions(QStringList& args, const QStringList& known, std::map<QString, QString>& options)
{
    for (const QString& name : known) {
        const qsizetype at = args.indexOf(name);
        if (at < 0)
            continue;
        if (at + 1 >= args.size() || args.indexOf(name, at + 1) >= 0)
            return false;
        options[name] = args[at + 1];
        args.remove(at, 2);
    }
    return true;
}

int chooseIntake(const NuclideIndex& index, const ProgramSettings& preference, const QString& nuclide,
                 const std::map<QString, QString>& options, ChosenIntake& chosen)
{
    const Nuclide* node = index.findNuclide(nuclide);
    if (!node)
        return commandProblem(nuclide + QStringLiteral(" is not a nuclide of the index"));
    if (const std::optional<DoseDataFailure> failure = preference.dataFolder().load(*node, chosen.data))
        return commandProblem(failure->message);

    const QString route = options.at(QStringLiteral("--route"));
    const QStringList routes = intakePathNames();
    const auto matching = std::find_if(routes.begin(), routes.end(), [&route](const QString& name) {
        return name.compare(route, Qt::CaseInsensitive) == 0;
    });
    if (matching == routes.end())
        return commandProblem(QStringLiteral("--route %1: not ingestion, inhalation or injection").arg(route));
    chosen.path = intakePathFromText(*matching);

    QStringList materials;
    chosen.data.getCompoundsList(chosen.path, materials);
    const QString materialText = options.at(QStringLiteral("--material"));
    bool isNumber = false;
    const int material = materialText.toInt(&isNumber);
    if (!isNumber || material < 1 || material > materials.size()) {
        QString list;
        for (int i = 0; i < materials.size(); ++i)
            list += QStringLiteral("\n  %1  %2").arg(i + 1).arg(materials[i]);
        return commandProblem(QStringLiteral("--material %1: %2 has %3 for %4%5")
                                  .arg(materialText, chosen.data.nuclideNameText())
                                  .arg(materials.size() == 1 ? QStringLiteral("1 material")
                                                             : QStringLiteral("%1 materials").arg(materials.size()))
                                  .arg(intakePathName(chosen.path).toLower(), list));
    }
    chosen.material = material - 1;
    chosen.materialName = materials[chosen.material];

    const bool aerosol = chosen.path == IntakeRoute::Inhalation && chosen.data.isAerosol(chosen.material);
    chosen.size = QStringLiteral("-");
    if (const auto size = options.find(QStringLiteral("--size")); size != options.end()) {
        chosen.size = size->second;
        if (!aerosol)
            return commandProblem(QStringLiteral("--size: no particle size applies to ") + chosen.materialName);
        if (!amadIndexFromText(chosen.size, chosen.amadIndex))
            return commandProblem(QStringLiteral("--size %1: the sizes are %2")
                                      .arg(chosen.size, amadLabels().join(QStringLiteral(", "))));
    } else if (aerosol) {
        chosen.size = amadLabels()[DefaultAMADIndex];
    } else {
        chosen.amadIndex = 0;
    }
    return 0;
}

} // namespace kav
