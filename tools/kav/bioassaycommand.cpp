#include "bioassaycommand.h"

#include "data/bioassaydata.h"
#include "data/bioassaytable.h"
#include "data/programsettings.h"
#include "nuclides/nuclideindex.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace kav {

namespace {

int problem(const QString& message)
{
    std::fprintf(stderr, "kav: %s\n", qUtf8Printable(message));
    return 1;
}

// Takes "--name value" pairs out of the arguments; false when an option has no value or comes
// twice, or anything else is left besides the nuclide.
bool takeOptions(QStringList& args, std::map<QString, QString>& options)
{
    static const QStringList known{"--route", "--material", "--size", "--show", "--dose"};
    for (const QString& name : known) {
        const qsizetype at = args.indexOf(name);
        if (at < 0)
            continue;
        if (at + 1 >= args.size() || args.indexOf(name, at + 1) >= 0)
            return false;
        options[name] = args[at + 1];
        args.remove(at, 2);
    }
    return args.size() == 1 && !args[0].startsWith(u'-');
}

} // namespace

int bioassayCommand(const NuclideIndex& index, const ProgramSettings& preference, QStringList args)
{
    std::map<QString, QString> options;
    if (!takeOptions(args, options) || !options.count(QStringLiteral("--route"))
        || !options.count(QStringLiteral("--material")))
        return 2;
    const Nuclide* node = index.findNuclide(args[0]);
    if (!node)
        return problem(args[0] + QStringLiteral(" is not a nuclide of the index"));
    BioassayData data;
    if (const std::optional<DoseDataFailure> failure = preference.dataFolder().load(*node, data))
        return problem(failure->message);

    BioassayRequest request;
    const QString route = options[QStringLiteral("--route")];
    const QStringList routes = intakePathNames();
    const auto matching = std::find_if(routes.begin(), routes.end(), [&route](const QString& name) {
        return name.compare(route, Qt::CaseInsensitive) == 0;
    });
    if (matching == routes.end())
        return problem(QStringLiteral("--route %1: not ingestion, inhalation or injection").arg(route));
    request.path = intakePathFromText(*matching);

    QStringList materials;
    data.getCompoundsList(request.path, materials);
    bool isNumber = false;
    const int material = options[QStringLiteral("--material")].toInt(&isNumber);
    if (!isNumber || material < 1 || material > materials.size()) {
        QString list;
        for (int i = 0; i < materials.size(); ++i)
            list += QStringLiteral("\n  %1  %2").arg(i + 1).arg(materials[i]);
        return problem(QStringLiteral("--material %1: %2 has %3 for %4%5")
                           .arg(options[QStringLiteral("--material")], data.nuclideNameText())
                           .arg(materials.size() == 1 ? QStringLiteral("1 material")
                                                      : QStringLiteral("%1 materials").arg(materials.size()))
                           .arg(intakePathName(request.path).toLower(), list));
    }
    request.material = material - 1;

    const bool aerosol = request.path == IntakeRoute::Inhalation && data.isAerosol(request.material);
    QString size = QStringLiteral("-");
    if (options.count(QStringLiteral("--size"))) {
        size = options[QStringLiteral("--size")];
        if (!aerosol)
            return problem(QStringLiteral("--size: no particle size applies to ") + materials[request.material]);
        if (!amadIndexFromText(size, request.amadIndex))
            return problem(
                QStringLiteral("--size %1: the sizes are %2").arg(size, amadLabels().join(QStringLiteral(", "))));
    } else if (aerosol) {
        size = amadLabels()[DefaultAMADIndex];
    }

    const QString show
        = options.count(QStringLiteral("--show")) ? options[QStringLiteral("--show")] : QStringLiteral("z");
    const QStringList shows{"z", "content", "m"};
    if (!shows.contains(show))
        return problem(QStringLiteral("--show %1: z, content or m").arg(show));
    request.view = static_cast<BioassayQuantity>(shows.indexOf(show));
    if (options.count(QStringLiteral("--dose"))) {
        if (request.view != BioassayQuantity::ContentForDose)
            return problem(QStringLiteral("--dose goes with --show content"));
        const QString dose = options[QStringLiteral("--dose")];
        bool ok = false;
        request.doseMSv = dose.toDouble(&ok);
        if (!ok || !(request.doseMSv >= 0.01 && request.doseMSv <= 100))
            return problem(QStringLiteral("--dose %1: a dose in mSv from 0.01 to 100").arg(dose));
    }
    request.wholeDays = preference.bioassayWholeDays();
    request.units = {preference.bioassayDoseUnit(), preference.bioassayContentUnit(), preference.bioassayIntakeUnit(),
                     preference.bioassayTimeUnit()};

    const BioassayTable table = computeBioassayTable(data, request);
    if (!table.hasData)
        return problem(QStringLiteral("%1, %2, %3: no bioassay functions")
                           .arg(data.nuclideNameText(), intakePathName(request.path), materials[request.material]));
    const QString head
        = bioassayClipboardHead(data.nuclideNameText(), intakePathName(request.path), materials[request.material], size,
                                bioassayCaption(request.view, request.doseMSv, request.units));
    const QByteArray text = bioassayTableText(table, head).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
}

} // namespace kav
