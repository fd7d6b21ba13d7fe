#include "data/decaysourcefile.h"

#include "data/mixturefile.h"

#include <QList>

#include <cmath>

namespace kav {

DecaySourceFile parseDecaySourceFile(const QByteArray& bytes)
{
    DecaySourceFile source;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 2 || line.startsWith('#'))
            continue;
        const QString first = QString::fromLatin1(fields[0].trimmed());
        const QString second = QString::fromUtf8(fields[1].trimmed());
        if (first == QStringLiteral("unit")) {
            activityUnitFromLabel(second, source.unit);
            continue;
        }
        bool ok = false;
        const double activity = second.toDouble(&ok);
        if (!isMixtureFileNuclideName(first) || !ok || !(activity > 0) || !std::isfinite(activity))
            continue;
        source.rows.push_back({first, activity});
        if (static_cast<int>(source.rows.size()) == MaxDecaySourceRows)
            break;
    }
    return source;
}

QByteArray decaySourceFileBytes(const DecaySourceFile& source)
{
    QByteArray out = "# KAV Data Viewer decay source: the unit, then nuclide and activity\n";
    out += "unit\t" + activityUnitLabel(source.unit).toUtf8() + '\n';
    for (const DecaySourceRow& row : source.rows)
        if (isMixtureFileNuclideName(row.nuclide) && row.activity > 0 && std::isfinite(row.activity))
            out += row.nuclide.toLatin1() + '\t' + QByteArray::number(row.activity, 'g', 17) + '\n';
    return out;
}

} // namespace kav
