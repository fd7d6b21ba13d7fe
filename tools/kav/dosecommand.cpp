#include "dosecommand.h"

#include "data/mixture.h"
#include "data/mixturecsv.h"
#include "data/mixturedoses.h"
#include "nuclides/nuclidelist.h"

#include <cstdio>

namespace kav {

namespace {

// Why a row of the file cannot be counted as it was written; empty when it can.
QString rowProblem(const Mixture& mixture, int i, const KeptMixtureRow& written)
{
    const MixtureRow& row = mixture.rowAt(i);
    if (!row.available())
        return row.unavailable;
    const qsizetype materials = mixture.materials(i).size();
    if (written.material >= materials)
        return QStringLiteral("material %1: %2 has %3 for %4")
            .arg(written.material + 1)
            .arg(written.nuclide)
            .arg(materials == 1 ? QStringLiteral("1 material") : QStringLiteral("%1 materials").arg(materials))
            .arg(intakePathName(written.path).toLower());
    if (written.amadIndex >= 0 && !mixture.hasSize(i))
        return QStringLiteral("no particle size applies to ") + mixture.materials(i).value(written.material);
    if (!mixture.dose(i))
        return QStringLiteral("the data hold no dose coefficient for this intake");
    return {};
}

} // namespace

int doseCommand(const NuclideIndex& index, const ProgramSettings& preference, const QStringList& args)
{
    if (args.size() != 1 || args[0].startsWith(u'-'))
        return UsageStatus;
    const QString path = args[0];
    QByteArray bytes;
    if (!readCommandFile(path, bytes))
        return BadInputStatus;
    const MixtureCsv file = readMixtureCsv(bytes);
    if (!file.ok())
        return commandProblem(path + QStringLiteral(": ") + file.error, BadInputStatus);
    if (file.rows.empty())
        return commandProblem(path + QStringLiteral(": no rows"), BadInputStatus);

    DoseDataCache cache(preference);
    const NuclideList noneOffered;
    Mixture mixture(index, noneOffered, cache);
    QString error;
    if (!mixture.restore(file.rows, error))
        return commandProblem(error);
    for (int i = 0; i < mixture.count(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (const QString problem = rowProblem(mixture, i, file.rows[at]); !problem.isEmpty())
            return commandProblem(QStringLiteral("%1: line %2: %3").arg(path).arg(file.lineNumbers[at]).arg(problem),
                                  BadInputStatus);
    }
    const QByteArray text = mixtureDoseText(mixture, computeMixtureDoses(mixture), MixtureUnits{}).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
}

} // namespace kav
