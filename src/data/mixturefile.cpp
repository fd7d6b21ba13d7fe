#include "data/mixturefile.h"

#include "base/readfile.h"
#include "data/dosedata.h"
#include "nuclides/element.h"

#include <QFile>
#include <QList>
#include <QRegularExpression>

#include <cmath>

namespace kav {

namespace {

constexpr char kHeadLine[]
    = "# KAV Data Viewer radionuclide list: nuclide, route, material number, AMAD in um, intake in Bq\n";

QByteArray sizeText(int amadIndex)
{
    if (amadIndex < 0 || amadIndex >= AMADCount)
        return "-";
    return QByteArray::number(AMADValues[static_cast<std::size_t>(amadIndex)], 'g', 6);
}

// The particle size of a field: -1 for "-", false for anything that is not one of the sizes.
bool readSize(const QByteArray& field, int& amadIndex)
{
    amadIndex = -1;
    if (field == "-")
        return true;
    for (int i = 0; i < AMADCount; ++i)
        if (field == sizeText(i)) {
            amadIndex = i;
            return true;
        }
    return false;
}

bool readPath(const QByteArray& field, IntakeRoute& path)
{
    for (IntakeRoute p : {IntakeRoute::Ingestion, IntakeRoute::Inhalation, IntakeRoute::Injection})
        if (field == intakePathName(p).toLatin1()) {
            path = p;
            return true;
        }
    return false;
}

// An intake in Bq: none for "-" or for anything that is not a positive number.
std::optional<double> readIntake(const QByteArray& field)
{
    bool ok = false;
    const double intake = field.toDouble(&ok);
    return ok && intake > 0 && std::isfinite(intake) ? std::optional(intake) : std::nullopt;
}

bool readRow(const QByteArray& line, KeptMixtureRow& row)
{
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != 4 && fields.size() != 5)
        return false;
    if (fields.size() == 5)
        row.intakeBq = readIntake(fields[4].trimmed());
    const QString name = QString::fromLatin1(fields[0].trimmed());
    if (!isMixtureFileNuclideName(name))
        return false;
    bool ok = false;
    row.nuclide = name;
    row.material = fields[2].trimmed().toInt(&ok);
    return ok && row.material >= 0 && readPath(fields[1].trimmed(), row.path)
        && readSize(fields[3].trimmed(), row.amadIndex);
}

} // namespace

bool isMixtureFileNuclideName(const QString& name)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("([A-Z][a-z]?)-[0-9]{1,3}[mn]?")));
    const QRegularExpressionMatch match = pattern.match(name);
    return match.hasMatch() && elementBySymbol(match.capturedView(1)) != ChemicalElement::None;
}

QByteArray mixtureFileBytes(const std::vector<KeptMixtureRow>& rows)
{
    QByteArray out(kHeadLine);
    for (const KeptMixtureRow& row : rows)
        if (isMixtureFileNuclideName(row.nuclide) && row.material >= 0)
            out += row.nuclide.toLatin1() + '\t' + intakePathName(row.path).toLatin1() + '\t'
                + QByteArray::number(row.material) + '\t' + sizeText(row.amadIndex) + '\t'
                + (row.intakeBq ? QByteArray::number(*row.intakeBq, 'g', 17) : QByteArray("-")) + '\n';
    return out;
}

std::vector<KeptMixtureRow> parseMixtureFile(const QByteArray& text)
{
    std::vector<KeptMixtureRow> rows;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        KeptMixtureRow row;
        if (line.startsWith('#') || !readRow(line, row))
            continue;
        rows.push_back(row);
        if (static_cast<int>(rows.size()) == MaxMixtureFileRows)
            break;
    }
    return rows;
}

std::vector<KeptMixtureRow> readMixtureFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxMixtureFileSize)
        return {};
    return parseMixtureFile(readAtMost(file, MaxMixtureFileSize));
}

} // namespace kav
