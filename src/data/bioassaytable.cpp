#include "data/bioassaytable.h"

#include "base/numberformat.h"

#include <cmath>

namespace kav {

namespace {

// Contents below this, per unit intake, are not shown: they are noise of the models.
constexpr double kSmallestContent = 1e-10;
// The first ten days hold fractions of a day; from here on every point is a whole day.
constexpr int kFirstWholeDayIndex = 40;

bool shown(int index, bool wholeDays)
{
    if (!wholeDays || index >= kFirstWholeDayIndex)
        return true;
    const double t = bioassayTimes()[static_cast<std::size_t>(index)];
    return t == std::floor(t);
}

QString contentPart(const BioassayUnits& units)
{
    return activityUnitLabel(units.content);
}

} // namespace

QString bioassayDoseText(double doseMSv)
{
    QString text = QString::number(doseMSv, 'g', 15);
    text.replace(u'.', decimalSeparator());
    return text;
}

QString bioassayCaption(BioassayQuantity view, double doseMSv, const BioassayUnits& units)
{
    switch (view) {
    case BioassayQuantity::ContentForDose:
        return QStringLiteral("Content in an Organ or Excreta Sample Associated with the Specified above Committed "
                              "Effective Dose (")
            + bioassayDoseText(doseMSv) + QStringLiteral(" mSv), ") + contentPart(units);
    case BioassayQuantity::ContentPerIntake:
        return QStringLiteral("Content in an Organ or Excreta Sample per Intake (Reference Bioassay Functions m(t)), ")
            + contentPart(units) + QStringLiteral(" per ") + activityUnitLabel(units.intake);
    case BioassayQuantity::DosePerContent:
    default:
        return QStringLiteral("Committed Effective Dose per Predicted Content in an Organ or Excreta Sample (Dose per "
                              "Content Functions z(t)), ")
            + doseUnitLabel(units.dose) + u'/' + contentPart(units);
    }
}

QString bioassayAxisTitle(BioassayQuantity view, double doseMSv, const BioassayUnits& units)
{
    switch (view) {
    case BioassayQuantity::ContentForDose:
        return QStringLiteral("Content Associated with the Specified Committed Effective Dose (")
            + bioassayDoseText(doseMSv) + QStringLiteral(" mSv), ") + contentPart(units);
    case BioassayQuantity::ContentPerIntake:
        return QStringLiteral("Content per Intake, ") + contentPart(units) + QStringLiteral(" per ")
            + activityUnitLabel(units.intake);
    case BioassayQuantity::DosePerContent:
    default:
        return QStringLiteral("Committed Effective Dose per Predicted Content, ") + doseUnitLabel(units.dose) + u'/'
            + contentPart(units);
    }
}

QString bioassayTimeText(double days, TimeUnit unit)
{
    switch (unit) {
    case TimeUnit::Year: return formatSignificant(days / 365, 3);
    case TimeUnit::Hour: return formatDecimals(days * 24, 0);
    case TimeUnit::Day:
    default: return formatDecimals(days, 6);
    }
}

BioassayTable computeBioassayTable(const BioassayData& data, const BioassayRequest& request)
{
    BioassayTable table;
    for (int k = 0; k < CompartmentCount; ++k)
        table.columns[static_cast<std::size_t>(k)].organ = sourceOrgansInColumnOrder()[k];
    const int amad
        = request.path == IntakeRoute::Inhalation && data.isAerosol(request.material) ? request.amadIndex : 0;
    // Kept from one table to the next, with the storage of its series.
    thread_local MaterialBioassay result;
    bool ok = data.bioassayFunctionsOf(request.path, request.material, amad, result);
    float e = 0;
    if (request.view != BioassayQuantity::ContentPerIntake) {
        OrganDoses organs{};
        ok = ok && data.getDoses(request.path, request.material, amad, organs, e);
    }
    if (!ok)
        return table;
    table.hasData = true;

    const BioassayUnits& u = request.units;
    const double content = bqPerUnit(u.content);
    double factor = 0;
    switch (request.view) {
    case BioassayQuantity::DosePerContent: factor = e / static_cast<double>(svPerUnit(u.dose)) * content; break;
    case BioassayQuantity::ContentForDose: factor = request.doseMSv * svPerUnit(DoseUnit::mSv) / e / content; break;
    case BioassayQuantity::ContentPerIntake: factor = bqPerUnit(u.intake) / content; break;
    }

    const int count = std::min(BioassayData::maxActivityCount(result), BioassayTimeCount);
    table.timeTitle = QStringLiteral("Time, ") + timeUnitPluralLabel(u.time);
    table.times.reserve(count);
    for (int i = 1; i < count; ++i)
        if (shown(i, request.wholeDays))
            table.times << bioassayTimeText(bioassayTimes()[static_cast<std::size_t>(i)], u.time);
    if (table.times.isEmpty())
        table.times << QStringLiteral("-");

    const double timeFactor = timeUnitsPerDayB(u.time);
    for (BioassayColumn& column : table.columns) {
        if (!result.m_organPresentSet.contains(column.organ))
            continue;
        column.present = true;
        column.title = sourceOrganName(column.organ);
        const StoredNuclideId& measured = result.m_measuredNuclides[static_cast<std::size_t>(column.organ)];
        if (!(measured == data.nuclideId()))
            column.title += QStringLiteral(" (") + doseDataFileName(measured) + u')';
        const CompartmentContent& series = result.m_activityData[static_cast<std::size_t>(column.organ)];
        const int length = std::min(static_cast<int>(series.size()), BioassayTimeCount);
        column.cells.reserve(table.times.size());
        column.points.reserve(static_cast<std::size_t>(table.times.size()));
        for (int i = 1; i < length; ++i) {
            if (!shown(i, request.wholeDays))
                continue;
            const double m = series[static_cast<std::size_t>(i)];
            const double value = request.view == BioassayQuantity::DosePerContent ? factor / m : factor * m;
            if (m >= kSmallestContent && std::isfinite(value)) {
                column.cells << formatScientific(value, 2);
                column.points.emplace_back(bioassayTimes()[static_cast<std::size_t>(i)] * timeFactor, value);
            } else {
                column.cells << QStringLiteral("-");
            }
        }
        while (column.cells.size() < table.times.size())
            column.cells << QStringLiteral("-");
    }
    return table;
}

QString bioassayTableText(const BioassayTable& table, const QString& head)
{
    const QString tab(u'\t');
    const QString end = QStringLiteral("\r\n");
    QStringList header{table.timeTitle};
    for (const BioassayColumn& column : table.columns)
        if (column.present)
            header << column.title;
    QString text = head.isEmpty() ? QString() : head + end;
    text += header.join(tab) + end;
    for (qsizetype row = 0; row < table.times.size(); ++row) {
        QStringList cells{table.times[row]};
        for (const BioassayColumn& column : table.columns)
            if (column.present)
                cells << column.cells.value(row);
        text += cells.join(tab) + end;
    }
    return text;
}

QString bioassayNoDataText(const QString& nuclide)
{
    return QStringLiteral("No bioassay functions for this intake of %1: choose another route or material.")
        .arg(nuclide);
}

QString bioassayClipboardHead(const QString& nuclide, const QString& route, const QString& material,
                              const QString& size, const QString& caption)
{
    return QStringLiteral("Radionuclide\t") + nuclide + QStringLiteral("\r\nRoute of Intake\t") + route
        + QStringLiteral("\r\nMaterial\t") + material + QString::fromUtf16(u"\r\nAMTD/AMAD, \u00B5m\t") + size
        + QStringLiteral("\r\n\r\n") + caption;
}

} // namespace kav
