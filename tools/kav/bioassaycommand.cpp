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

int BioassayCommand(const NuclideIndex& index, const ProgramSettings& preference, QStringList args)
{
    std::map<QString, QString> options;
    if (!takeOptions(args, options) || !options.count(QStringLiteral("--route"))
        || !options.count(QStringLiteral("--material")))
        return 2;
    const Nuclide* node = index.FindNuclide(args[0]);
    if (!node)
        return problem(args[0] + QStringLiteral(" is not a nuclide of the index"));
    BioassayData data;
    if (const std::optional<DoseDataFailure> failure = preference.DataFolder().Load(*node, data))
        return problem(failure->message);

    BioassayRequest request;
    const QString route = options[QStringLiteral("--route")];
    const QStringList routes = IntakePathNames();
    const auto matching = std::find_if(routes.begin(), routes.end(), [&route](const QString& name) {
        return name.compare(route, Qt::CaseInsensitive) == 0;
    });
    if (matching == routes.end())
        return problem(QStringLiteral("--route %1: not ingestion, inhalation or injection").arg(route));
    request.Path = IntakePathFromText(*matching);

    QStringList materials;
    data.GetCompoundsList(request.Path, materials);
    bool isNumber = false;
    const int material = options[QStringLiteral("--material")].toInt(&isNumber);
    if (!isNumber || material < 1 || material > materials.size()) {
        QString list;
        for (int i = 0; i < materials.size(); ++i)
            list += QStringLiteral("\n  %1  %2").arg(i + 1).arg(materials[i]);
        return problem(QStringLiteral("--material %1: %2 has %3 for %4%5")
                           .arg(options[QStringLiteral("--material")], data.NuclideNameText())
                           .arg(materials.size() == 1 ? QStringLiteral("1 material")
                                                      : QStringLiteral("%1 materials").arg(materials.size()))
                           .arg(IntakePathName(request.Path).toLower(), list));
    }
    request.Material = material - 1;

    const bool aerosol = request.Path == IntakeRoute::Inhalation && data.IsAerosol(request.Material);
    QString size = QStringLiteral("-");
    if (options.count(QStringLiteral("--size"))) {
        size = options[QStringLiteral("--size")];
        if (!aerosol)
            return problem(QStringLiteral("--size: no particle size applies to ") + materials[request.Material]);
        if (!AMADIndexFromText(size, request.AMADIndex))
            return problem(
                QStringLiteral("--size %1: the sizes are %2").arg(size, AMADLabels().join(QStringLiteral(", "))));
    } else if (aerosol) {
        size = AMADLabels()[DefaultAMADIndex];
    }

    const QString show
        = options.count(QStringLiteral("--show")) ? options[QStringLiteral("--show")] : QStringLiteral("z");
    const QStringList shows{"z", "content", "m"};
    if (!shows.contains(show))
        return problem(QStringLiteral("--show %1: z, content or m").arg(show));
    request.View = static_cast<BioassayQuantity>(shows.indexOf(show));
    if (options.count(QStringLiteral("--dose"))) {
        if (request.View != BioassayQuantity::ContentForDose)
            return problem(QStringLiteral("--dose goes with --show content"));
        const QString dose = options[QStringLiteral("--dose")];
        bool ok = false;
        request.DoseMSv = dose.toDouble(&ok);
        if (!ok || !(request.DoseMSv >= 0.01 && request.DoseMSv <= 100))
            return problem(QStringLiteral("--dose %1: a dose in mSv from 0.01 to 100").arg(dose));
    }
    request.WholeDays = preference.BioassayWholeDays();
    request.Units = {preference.BioassayDoseUnit(), preference.BioassayContentUnit(), preference.BioassayIntakeUnit(),
                     preference.BioassayTimeUnit()};

    const BioassayTable table = ComputeBioassayTable(data, request);
    if (!table.HasData)
        return problem(QStringLiteral("%1, %2, %3: no bioassay functions")
                           .arg(data.NuclideNameText(), IntakePathName(request.Path), materials[request.Material]));
    const QString head
        = BioassayClipboardHead(data.NuclideNameText(), IntakePathName(request.Path), materials[request.Material], size,
                                BioassayCaption(request.View, request.DoseMSv, request.Units));
    const QByteArray text = BioassayTableText(table, head).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
}

} // namespace kav
