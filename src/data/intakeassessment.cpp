#include "data/intakeassessment.h"

#include "data/lognormalfit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kav {

namespace {

constexpr double kRangeFactor = 1.959963984540054; // the 97.5 % point of the standard normal

QString daysText(double days)
{
    return std::isfinite(days) ? QString::number(days, 'g', 6) : QStringLiteral("-");
}

// Why a row cannot take part, before the model is asked; empty when it can.
QString inputRefusal(const Measurement& m)
{
    if (!std::isfinite(m.value) || m.value <= 0)
        return QStringLiteral("the value is not a positive number");
    if (!std::isfinite(m.scatteringFactor) || m.scatteringFactor <= 1)
        return QStringLiteral("the scattering factor must be above 1");
    if (!std::isfinite(m.days))
        return QStringLiteral("the measurement is dated, but the intake's date is not said");
    if (m.days < 0)
        return QStringLiteral("the measurement is dated before the intake");
    return {};
}

} // namespace

double defaultScatteringFactor(Compartment compartment)
{
    switch (compartment) {
    case Compartment::DailyUrine: return 1.8;
    case Compartment::DailyFaeces: return 3.0;
    default: return 1.2;
    }
}

std::vector<Measurement> measurementsAfter(const IntakeDate& intake, const std::vector<DatedMeasurement>& entries)
{
    std::vector<Measurement> measurements;
    measurements.reserve(entries.size());
    for (const DatedMeasurement& entry : entries) {
        Measurement m = entry.measurement;
        if (entry.date.isValid())
            m.days = intake.daysTo(entry.date).value_or(std::numeric_limits<double>::quiet_NaN());
        measurements.push_back(m);
    }
    return measurements;
}

std::vector<QPointF> fittedContent(const CompartmentContent& values, double intakeBq)
{
    const auto& times = bioassayTimes();
    const std::size_t count = std::min<std::size_t>(values.size(), BioassayTimeCount);
    std::vector<QPointF> points;
    // The first time of the data is the intake itself, which a logarithmic axis cannot show.
    for (std::size_t k = 1; k < count; ++k)
        if (values[k] > 0)
            points.emplace_back(times[k], intakeBq * values[k]);
    return points;
}

ContentAtTime contentPerIntakeAt(const CompartmentContent& values, double days)
{
    const auto& times = bioassayTimes();
    const std::size_t count = std::min<std::size_t>(values.size(), BioassayTimeCount);
    if (count < 2)
        return {0, QStringLiteral("the compartment has no values")};
    if (days < times[1])
        return {0, QStringLiteral("the time is before the first time of the data (1 hour)")};
    const double last = times[count - 1];
    if (days > last)
        return {0, QStringLiteral("the time is after the last time of the data (%1 days)").arg(daysText(last))};
    // The first grid time not before the measurement's.
    const auto at = std::lower_bound(times.begin() + 1, times.begin() + static_cast<std::ptrdiff_t>(count), days,
                                     [](float t, double d) { return t < d; });
    const auto k = static_cast<std::size_t>(at - times.begin());
    double m = values[k];
    if (days != times[k]) {
        const double t0 = times[k - 1];
        const double t1 = times[k];
        const double m0 = values[k - 1];
        const double m1 = values[k];
        if (m0 > 0 && m1 > 0)
            m = std::exp(std::log(m0)
                         + (std::log(days) - std::log(t0)) / (std::log(t1) - std::log(t0))
                             * (std::log(m1) - std::log(m0)));
        else
            m = m0 + (days - t0) / (t1 - t0) * (m1 - m0);
    }
    if (!(m > 0) || !std::isfinite(m))
        return {0, QStringLiteral("the model predicts no content at that time")};
    return {m, {}};
}

IntakeAssessment assessIntake(const MaterialBioassay& functions, double effectiveDoseSvPerBq,
                              const std::vector<Measurement>& measurements)
{
    IntakeAssessment result;
    std::vector<LogTerm> terms;
    std::vector<std::size_t> used;
    for (const Measurement& m : measurements) {
        AssessedMeasurement row{m, 0, 0, 0, inputRefusal(m)};
        if (row.refusal.isEmpty() && !functions.m_organPresentSet.contains(m.compartment))
            row.refusal = QStringLiteral("no data for this compartment after the chosen intake");
        if (row.refusal.isEmpty()) {
            const ContentAtTime content
                = contentPerIntakeAt(functions.m_activityData[static_cast<std::size_t>(m.compartment)], m.days);
            row.perIntake = content.perIntake;
            row.refusal = content.refusal;
        }
        if (row.refusal.isEmpty()) {
            terms.push_back({std::log(m.value / row.perIntake), std::log(m.scatteringFactor), m.belowLimit});
            used.push_back(result.rows.size());
            if (!m.belowLimit)
                ++result.measuredCount;
        }
        result.rows.push_back(row);
    }
    if (measurements.empty()) {
        result.problem = QStringLiteral("There are no measurements.");
        return result;
    }
    if (terms.empty()) {
        result.problem = QStringLiteral("No measurement can be used.");
        return result;
    }

    if (const std::optional<LogIntakeFit> fit = fitLogIntake(terms)) {
        result.intakeBq = std::exp(fit->logIntake);
        result.lowBq = std::exp(fit->logIntake - kRangeFactor * fit->standardError);
        result.highBq = std::exp(fit->logIntake + kRangeFactor * fit->standardError);
        result.chiSquare = logChiSquare(terms, fit->logIntake);
        result.degreesOfFreedom = result.measuredCount - 1;
        if (result.measuredCount >= 2)
            result.pValue = chiSquareUpperTail(result.chiSquare, result.degreesOfFreedom);
    } else {
        // Every value lies below its limit: the intake lies below the smallest limit over m(t).
        result.upperBoundOnly = true;
        double bound = std::numeric_limits<double>::infinity();
        for (std::size_t i : used)
            bound = std::min(bound, result.rows[i].measurement.value / result.rows[i].perIntake);
        result.intakeBq = result.lowBq = result.highBq = bound;
    }
    result.doseSv = result.intakeBq * effectiveDoseSvPerBq;
    for (std::size_t i : used) {
        AssessedMeasurement& row = result.rows[i];
        row.predicted = result.intakeBq * row.perIntake;
        row.ratio = row.measurement.value / row.predicted;
    }
    return result;
}

QString intakeAssessmentText(const IntakeAssessment& assessment, const QString& head, const AssessmentUnits& units)
{
    const QString end = QStringLiteral("\r\n");
    const QString tab(u'\t');
    const QString intakeUnit = activityUnitLabel(units.intake);
    const QString contentUnit = activityUnitLabel(units.content);
    const QString doseUnit = doseUnitLabel(units.dose);
    const double perIntakeUnit = bqPerUnit(units.intake);
    const double perContentUnit = bqPerUnit(units.content);
    const double perDoseUnit = svPerUnit(units.dose);
    auto number = [](double x) { return formatSignificant(x, 4); };

    QString text = head.isEmpty() ? QString() : head + end + end;
    text += QStringList{QStringLiteral("Compartment"),
                        QStringLiteral("Days after intake"),
                        QStringLiteral("Measured, ") + contentUnit,
                        QStringLiteral("Predicted, ") + contentUnit,
                        QStringLiteral("Measured/predicted"),
                        QStringLiteral("SF")}
                .join(tab)
        + end;
    for (const AssessedMeasurement& row : assessment.rows) {
        const Measurement& m = row.measurement;
        QStringList cells{sourceOrganName(m.compartment), daysText(m.days),
                          (m.belowLimit ? QStringLiteral("<") : QString()) + number(m.value / perContentUnit)};
        if (row.refusal.isEmpty() && assessment.hasResult())
            cells << number(row.predicted / perContentUnit) << number(row.ratio);
        else
            cells << QStringLiteral("-") << QStringLiteral("-");
        cells << number(m.scatteringFactor);
        if (!row.refusal.isEmpty())
            cells << QStringLiteral("not used: ") + row.refusal;
        text += cells.join(tab) + end;
    }
    text += end;
    if (!assessment.hasResult())
        return text + assessment.problem + end;
    if (assessment.upperBoundOnly) {
        text += QStringLiteral("Intake below, ") + intakeUnit + tab + number(assessment.intakeBq / perIntakeUnit) + end;
        text += QStringLiteral("Committed effective dose below, ") + doseUnit + tab
            + number(assessment.doseSv / perDoseUnit) + end;
        return text;
    }
    text += QStringLiteral("Intake, ") + intakeUnit + tab + number(assessment.intakeBq / perIntakeUnit) + end;
    text += QStringLiteral("95% range, ") + intakeUnit + tab + number(assessment.lowBq / perIntakeUnit) + tab
        + number(assessment.highBq / perIntakeUnit) + end;
    text += QStringLiteral("Committed effective dose, ") + doseUnit + tab + number(assessment.doseSv / perDoseUnit)
        + end;
    text += QStringLiteral("Chi-square") + tab + number(assessment.chiSquare) + tab
        + QStringLiteral("%1 degrees of freedom").arg(assessment.degreesOfFreedom) + end;
    if (assessment.pValue) {
        text += QStringLiteral("p-value") + tab + number(*assessment.pValue) + end;
        text += QStringLiteral("Verdict") + tab
            + (assessment.agreesWithModel() ? QStringLiteral("the measurements agree with the model")
                                            : QStringLiteral("the measurements do not agree with the model"))
            + end;
    }
    return text;
}

} // namespace kav
