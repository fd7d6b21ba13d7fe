#include "data/mixturecsv.h"

#include "data/csvtext.h"
#include "data/dosedata.h"

#include <QLocale>

#include <cmath>

namespace kav {

namespace {

bool readRoute(QStringView field, IntakeRoute& route)
{
    for (IntakeRoute r : {IntakeRoute::Ingestion, IntakeRoute::Inhalation, IntakeRoute::Injection})
        if (field.compare(intakePathName(r), Qt::CaseInsensitive) == 0) {
            route = r;
            return true;
        }
    return false;
}

// A particle size in µm, one of the sizes of the data ("5", "0.3", "5.0"), or "-" for none.
bool readSize(QStringView field, int& amadIndex)
{
    amadIndex = -1;
    if (field == u"-")
        return true;
    bool ok = false;
    const double size = QLocale::c().toDouble(field, &ok);
    for (int i = 0; ok && i < AMADCount; ++i)
        if (size == AMADValues[static_cast<std::size_t>(i)]) {
            amadIndex = i;
            return true;
        }
    return false;
}

} // namespace

MixtureCsv readMixtureCsv(const QByteArray& bytes)
{
    MixtureCsv file;
    const CsvText csv(bytes, QLatin1StringView("nuclide"));
    if (!csv.isUtf8()) {
        file.error = QStringLiteral("the file is not UTF-8 text");
        return file;
    }
    for (const CsvText::Line& line : csv.lines()) {
        const QList<QStringView>& fields = line.fields;
        auto fail = [&](const QString& reason) {
            file.errorLine = line.number;
            file.error = QStringLiteral("line %1: %2").arg(line.number).arg(reason);
            file.rows.clear();
            file.lineNumbers.clear();
            return file;
        };
        if (fields.size() != 5)
            return fail(QStringLiteral("%1 fields where five are wanted: nuclide, route, material, size, intake")
                            .arg(fields.size()));
        if (static_cast<int>(file.rows.size()) >= MaxMixtureCsvRows)
            return fail(QStringLiteral("more than %1 rows").arg(MaxMixtureCsvRows));
        KeptMixtureRow row;
        row.nuclide = fields[0].toString();
        if (!isMixtureFileNuclideName(row.nuclide))
            return fail(QStringLiteral("\"%1\" is not a nuclide's name such as Cs-137").arg(row.nuclide));
        if (!readRoute(fields[1], row.path))
            return fail(
                QStringLiteral("the route \"%1\" is not ingestion, inhalation or injection").arg(fields[1].toString()));
        bool isNumber = false;
        const int material = fields[2].toInt(&isNumber);
        if (!isNumber || material < 1)
            return fail(QStringLiteral("the material \"%1\" is not a number from 1").arg(fields[2].toString()));
        row.material = material - 1;
        if (!readSize(fields[3], row.amadIndex))
            return fail(QStringLiteral("the size \"%1\" is not one of %2 or -")
                            .arg(fields[3].toString(), amadLabels().join(QStringLiteral(", "))));
        const double intake = QLocale::c().toDouble(fields[4], &isNumber);
        if (!isNumber || !(intake > 0) || !std::isfinite(intake))
            return fail(QStringLiteral("the intake \"%1\" is not a positive number of Bq").arg(fields[4].toString()));
        row.intakeBq = intake;
        file.rows.push_back(row);
        file.lineNumbers.push_back(line.number);
    }
    return file;
}

} // namespace kav
