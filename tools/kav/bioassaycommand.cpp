#include "bioassaycommand.h"

#include "commandproblem.h"
#include "intakechoice.h"

#include "data/bioassaydata.h"
#include "data/bioassaytable.h"
#include "data/programsettings.h"
#include "nuclides/nuclideindex.h"

#include <cstdio>
#include <map>

namespace kav {

int bioassayCommand(const NuclideIndex& index, const ProgramSettings& preference, QStringList args)
{
    std::map<QString, QString> options;
    if (!takeOptions(args, {"--route", "--material", "--size", "--show", "--dose"}, options) || args.size() != 1
        || args[0].startsWith(u'-') || !options.count(QStringLiteral("--route"))
        || !options.count(QStringLiteral("--material")))
        return 2;
    ChosenIntake chosen;
    if (chooseIntake(index, preference, args[0], options, chosen) != 0)
        return 1;
    const BioassayData& data = chosen.data;
    BioassayRequest request;
    request.path = chosen.path;
    request.material = chosen.material;
    request.amadIndex = chosen.amadIndex;

    const QString show
        = options.count(QStringLiteral("--show")) ? options[QStringLiteral("--show")] : QStringLiteral("z");
    const QStringList shows{"z", "content", "m"};
    if (!shows.contains(show))
        return commandProblem(QStringLiteral("--show %1: z, content or m").arg(show));
    request.view = static_cast<BioassayQuantity>(shows.indexOf(show));
    if (options.count(QStringLiteral("--dose"))) {
        if (request.view != BioassayQuantity::ContentForDose)
            return commandProblem(QStringLiteral("--dose goes with --show content"));
        const QString dose = options[QStringLiteral("--dose")];
        bool ok = false;
        request.doseMSv = dose.toDouble(&ok);
        if (!ok || !(request.doseMSv >= 0.01 && request.doseMSv <= 100))
            return commandProblem(QStringLiteral("--dose %1: a dose in mSv from 0.01 to 100").arg(dose));
    }
    request.wholeDays = preference.bioassayWholeDays();
    request.units = {preference.bioassayDoseUnit(), preference.bioassayContentUnit(), preference.bioassayIntakeUnit(),
                     preference.bioassayTimeUnit()};

    const BioassayTable table = computeBioassayTable(data, request);
    if (!table.hasData)
        return commandProblem(QStringLiteral("%1, %2, %3: no bioassay functions")
                                  .arg(data.nuclideNameText(), intakePathName(request.path), chosen.materialName));
    const QString head
        = bioassayClipboardHead(data.nuclideNameText(), intakePathName(request.path), chosen.materialName, chosen.size,
                                bioassayCaption(request.view, request.doseMSv, request.units));
    const QByteArray text = bioassayTableText(table, head).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
}

} // namespace kav
