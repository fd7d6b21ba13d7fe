#include "data/mixturedoses.h"

#include "base/numberformat.h"
#include "data/mixture.h"

#include <cmath>

namespace kav {

namespace {

// An activity with six significant digits, without an exponent where it reads as typed.
QString activityText(double x)
{
    const double a = std::fabs(x);
    return a >= 1e-3 && a < 1e6 ? QString::number(x, 'g', 6) : formatSignificant(x, 6);
}

QString sizeText(const Mixture& mixture, int i)
{
    return mixture.hasSize(i) ? amadLabels().value(mixture.rowAt(i).setting.amadIndex) : QStringLiteral("-");
}

} // namespace

MixtureDoses computeMixtureDoses(const Mixture& mixture)
{
    MixtureDoses doses;
    const auto count = static_cast<std::size_t>(mixture.count());
    doses.doseSv.resize(count);
    doses.sharePercent.resize(count);
    for (int i = 0; i < mixture.count(); ++i) {
        const std::optional<double> intake = mixture.rowAt(i).setting.intakeBq;
        const std::optional<float> coefficient = mixture.dose(i);
        if (!intake || !coefficient)
            continue;
        const double dose = *intake * static_cast<double>(*coefficient);
        doses.doseSv[static_cast<std::size_t>(i)] = dose;
        doses.totalIntakeBq += *intake;
        doses.totalDoseSv += dose;
        ++doses.countedRows;
    }
    if (doses.totalDoseSv > 0)
        for (std::size_t i = 0; i < count; ++i)
            if (doses.doseSv[i])
                doses.sharePercent[i] = 100 * *doses.doseSv[i] / doses.totalDoseSv;
    return doses;
}

std::optional<double> intakeFromText(const QString& text, ActivityUnit unit)
{
    double typed = 0;
    if (!readTypedNumber(text, typed) || !(typed > 0))
        return std::nullopt;
    return typed * bqPerUnit(unit);
}

QString mixtureIntakeText(double intakeBq, ActivityUnit unit)
{
    return activityText(intakeBq / bqPerUnit(unit));
}

QString mixtureMaterialText(const Mixture& mixture, int i)
{
    const MixtureRow& row = mixture.rowAt(i);
    if (row.available())
        return mixture.materials(i).value(row.setting.material);
    // The reason as a sentence, without the name of the kind of error the message boxes carry.
    static const QString kErrorKind = QStringLiteral("DataFileException: ");
    const QString& reason = row.unavailable;
    return QStringLiteral("Not available: ") + (reason.startsWith(kErrorKind) ? reason.mid(kErrorKind.size()) : reason);
}

QString mixtureTotalText(const MixtureDoses& doses, int rowCount, const MixtureUnits& units)
{
    if (doses.countedRows == 0)
        return QStringLiteral("Total: type the intakes in the Intake column; rows without one are not counted");
    return QStringLiteral("Total: intake %1 %2, committed effective dose %3 %4 (%5 of %6 rows counted)")
        .arg(activityText(doses.totalIntakeBq / bqPerUnit(units.activity)), activityUnitLabel(units.activity),
             formatSignificant(doses.totalDoseSv / svPerUnit(units.dose), 4), doseUnitLabel(units.dose))
        .arg(doses.countedRows)
        .arg(rowCount);
}

QString mixtureDoseText(const Mixture& mixture, const MixtureDoses& doses, const MixtureUnits& units)
{
    const QString end = QStringLiteral("\r\n");
    const QString tab(u'\t');
    const double perActivity = bqPerUnit(units.activity);
    const double perDose = svPerUnit(units.dose);
    const QString activity = activityUnitLabel(units.activity);
    const QString dose = doseUnitLabel(units.dose);
    QString text = QStringList{QStringLiteral("Element"),
                               QStringLiteral("Radionuclide"),
                               QStringLiteral("Route of Intake"),
                               QStringLiteral("Material"),
                               QString::fromUtf16(u"AMTD/AMAD, \u00B5m"),
                               QStringLiteral("Intake, ") + activity,
                               QStringLiteral("Dose Coefficient e(50), ") + dose + u'/' + activity,
                               QStringLiteral("Committed Effective Dose, ") + dose,
                               QStringLiteral("%")}
                       .join(tab)
        + end;
    for (int i = 0; i < mixture.count(); ++i) {
        const KeptMixtureRow& s = mixture.rowAt(i).setting;
        const std::optional<float> coefficient = mixture.dose(i);
        const auto at = static_cast<std::size_t>(i);
        const QString none = QStringLiteral("-");
        text += QStringList{s.nuclide.section(u'-', 0, 0),
                            s.nuclide,
                            intakePathName(s.path),
                            mixtureMaterialText(mixture, i),
                            sizeText(mixture, i),
                            s.intakeBq ? activityText(*s.intakeBq / perActivity) : none,
                            coefficient ? formatScientific(*coefficient * perActivity / perDose, 2) : none,
                            doses.doseSv[at] ? formatScientific(*doses.doseSv[at] / perDose, 2) : none,
                            doses.sharePercent[at] ? QString::number(*doses.sharePercent[at], 'f', 1) : none}
                    .join(tab)
            + end;
    }
    text += QStringLiteral("Rows counted") + tab + QString::number(doses.countedRows) + end;
    text += QStringLiteral("Total") + tab + activityText(doses.totalIntakeBq / perActivity) + tab
        + formatSignificant(doses.totalDoseSv / perDose, 6) + end;
    return text;
}

} // namespace kav
