#include "data/measurementfile.h"

#include "base/numberformat.h"
#include "data/csvtext.h"
#include "data/vocabulary.h"

#include <array>
#include <cmath>
#include <limits>

namespace kav {

namespace {

struct NamedCompartment {
    Compartment compartment;
    const char* name;
};

constexpr std::array<NamedCompartment, CompartmentCount> kNames{{
    {Compartment::WholeBody, "whole-body"},
    {Compartment::DailyUrine, "urine"},
    {Compartment::DailyFaeces, "faeces"},
    {Compartment::AlimentaryTract, "alimentary-tract"},
    {Compartment::Lungs, "lungs"},
    {Compartment::Thyroid, "thyroid"},
    {Compartment::Skeleton, "skeleton"},
    {Compartment::Liver, "liver"},
}};

QString numberText(double value)
{
    return QString::number(value, 'g', 17);
}

const QString kDateForm = QStringLiteral("yyyy-MM-dd");

// A date written 2026-03-05; not valid for anything else.
QDate readDate(QStringView text)
{
    return QDate::fromString(text.trimmed(), kDateForm);
}

} // namespace

QString compartmentFileName(Compartment compartment)
{
    for (const NamedCompartment& n : kNames)
        if (n.compartment == compartment)
            return QString::fromLatin1(n.name);
    return {};
}

bool compartmentFromFileName(QStringView name, Compartment& compartment)
{
    for (const NamedCompartment& n : kNames)
        if (name.trimmed().compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0
            || name.trimmed().compare(sourceOrganName(n.compartment), Qt::CaseInsensitive) == 0) {
            compartment = n.compartment;
            return true;
        }
    return false;
}

bool readMeasurementTime(QStringView text, DatedMeasurement& entry)
{
    entry.date = readDate(text);
    entry.measurement.days = 0;
    if (entry.date.isValid())
        return true;
    double days = 0;
    const bool read = readTypedNumber(text, days) && days >= 0;
    entry.measurement.days = read ? days : std::numeric_limits<double>::quiet_NaN();
    return read;
}

bool readMeasuredValue(QStringView text, double bqPerUnit, Measurement& m)
{
    QStringView value = text.trimmed();
    if (value.startsWith(u'<')) {
        m.belowLimit = true;
        value = value.mid(1);
    }
    double typed = 0;
    const bool read = readTypedNumber(value, typed) && typed > 0;
    m.value = read ? typed * bqPerUnit : std::numeric_limits<double>::quiet_NaN();
    return read;
}

bool readScatteringFactor(QStringView text, Measurement& m)
{
    double typed = 0;
    const bool read = readTypedNumber(text, typed) && typed > 1;
    m.scatteringFactor = read ? typed : std::numeric_limits<double>::quiet_NaN();
    return read;
}

QString measurementTimeText(const DatedMeasurement& entry)
{
    if (entry.date.isValid())
        return entry.date.toString(kDateForm);
    return std::isfinite(entry.measurement.days) ? QString::number(entry.measurement.days, 'g', 10) : QString();
}

bool isComplete(const DatedMeasurement& entry)
{
    const Measurement& m = entry.measurement;
    return (entry.date.isValid() || (std::isfinite(m.days) && m.days >= 0)) && std::isfinite(m.value) && m.value > 0
        && std::isfinite(m.scatteringFactor) && m.scatteringFactor > 1;
}

MeasurementFile readMeasurementFile(const QByteArray& bytes)
{
    MeasurementFile file;
    const CsvText csv(bytes, QLatin1StringView("compartment"));
    if (!csv.isUtf8()) {
        file.error = QStringLiteral("the file is not UTF-8 text");
        return file;
    }
    for (const CsvText::Line& line : csv.lines()) {
        const QList<QStringView>& fields = line.fields;
        auto fail = [&](const QString& reason) {
            file.errorLine = line.number;
            file.error = QStringLiteral("line %1: %2").arg(line.number).arg(reason);
            file.measurements.clear();
            file.lineNumbers.clear();
            return file;
        };
        if (fields[0].compare(QLatin1String("intake"), Qt::CaseInsensitive) == 0) {
            if (file.intake.isSaid())
                return fail(QStringLiteral("the intake's date is given twice"));
            if (fields.size() < 2 || fields.size() > 3)
                return fail(QStringLiteral("the intake's date is one date, or two it lies between"));
            file.intake.date = readDate(fields[1]);
            if (fields.size() == 3)
                file.intake.latest = readDate(fields[2]);
            if (!file.intake.date.isValid() || (fields.size() == 3 && !file.intake.latest.isValid()))
                return fail(QStringLiteral("the intake's date is not a date written as 2026-03-05"));
            if (file.intake.latest.isValid() && file.intake.latest < file.intake.date)
                return fail(QStringLiteral("the intake's second date comes before its first"));
            continue;
        }
        if (fields.size() < 3)
            return fail(QStringLiteral("too few fields: compartment, days, value and an optional SF"));
        if (fields.size() > 4)
            return fail(QStringLiteral("too many fields: compartment, days, value and an optional SF"));
        if (static_cast<int>(file.measurements.size()) >= MaxMeasurementRows)
            return fail(QStringLiteral("more than %1 measurements").arg(MaxMeasurementRows));
        DatedMeasurement entry;
        Measurement& m = entry.measurement;
        if (!compartmentFromFileName(fields[0], m.compartment))
            return fail(QStringLiteral("\"%1\" is not a compartment").arg(fields[0].toString()));
        if (!readMeasurementTime(fields[1], entry)) {
            const QString time = fields[1].toString();
            double days = 0;
            return fail(readTypedNumber(fields[1], days)
                            ? QStringLiteral("the time is before the intake")
                            : QStringLiteral("the time \"%1\" is neither a number of days nor a date written as "
                                             "2026-03-05")
                                  .arg(time));
        }
        if (!readMeasuredValue(fields[2], 1, m))
            return fail(QStringLiteral("the value \"%1\" is not a positive number").arg(fields[2].toString()));
        m.scatteringFactor = defaultScatteringFactor(m.compartment);
        if (fields.size() == 4 && !fields[3].isEmpty() && !readScatteringFactor(fields[3], m))
            return fail(
                QStringLiteral("the scattering factor \"%1\" is not a number above 1").arg(fields[3].toString()));
        file.measurements.push_back(entry);
        file.lineNumbers.push_back(line.number);
    }
    return file;
}

QByteArray measurementFileBytes(const IntakeDate& intake, const std::vector<DatedMeasurement>& measurements)
{
    QString text = QStringLiteral("compartment,time,value,sf\n");
    if (intake.isSaid())
        text += QStringLiteral("intake,") + intake.date.toString(kDateForm)
            + (intake.isBetween() ? u',' + intake.latest.toString(kDateForm) : QString()) + u'\n';
    for (const auto& [m, date] : measurements)
        text += compartmentFileName(m.compartment) + u','
            + (date.isValid() ? date.toString(kDateForm) : numberText(m.days)) + u','
            + (m.belowLimit ? QStringLiteral("<") : QString()) + numberText(m.value) + u','
            + numberText(m.scatteringFactor) + u'\n';
    return text.toUtf8();
}

} // namespace kav
