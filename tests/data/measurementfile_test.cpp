#include "data/measurementfile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kav {
namespace {

TEST(MeasurementFile, ReadsEveryFieldWithCommentsAndAHeader)
{
    const MeasurementFile file = readMeasurementFile("# worker 17\n"
                                                     "Compartment,Days,Value,SF\n"
                                                     "urine, 3, 12.5\r\n"
                                                     "\n"
                                                     "WHOLE-BODY,10,<40,1.5   # below the limit\n"
                                                     "faeces,2.5,7,\n"
                                                     "alimentary-tract,1,2,1.3\n");
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    ASSERT_EQ(file.measurements.size(), 4U);
    const Measurement& urine = file.measurements[0].measurement;
    EXPECT_EQ(urine.compartment, Compartment::DailyUrine);
    EXPECT_EQ(urine.days, 3);
    EXPECT_EQ(urine.value, 12.5);
    EXPECT_FALSE(urine.belowLimit);
    EXPECT_EQ(urine.scatteringFactor, 1.8); // the usual one for urine
    const Measurement& body = file.measurements[1].measurement;
    EXPECT_EQ(body.compartment, Compartment::WholeBody);
    EXPECT_EQ(body.days, 10);
    EXPECT_EQ(body.value, 40);
    EXPECT_TRUE(body.belowLimit);
    EXPECT_EQ(body.scatteringFactor, 1.5);
    EXPECT_EQ(file.measurements[2].measurement.compartment, Compartment::DailyFaeces);
    EXPECT_EQ(file.measurements[2].measurement.scatteringFactor, 3.0); // an empty SF takes the usual one
    EXPECT_EQ(file.measurements[3].measurement.compartment, Compartment::AlimentaryTract);
    EXPECT_EQ(file.measurements[3].measurement.scatteringFactor, 1.3);
    EXPECT_EQ(file.lineNumbers, (std::vector<int>{3, 5, 6, 7}));
}

TEST(MeasurementFile, ABadLineIsNamedAndNothingIsTaken)
{
    struct Case {
        const char* text;
        int line;
        const char* errorStart;
    } cases[] = {
        {"urine,3\n", 1, "line 1: too few fields"},
        {"urine,3,1,1.5,9\n", 1, "line 1: too many fields"},
        {"urine,3,1\nblood,3,1\n", 2, "line 2: \"blood\" is not a compartment"},
        {"urine,three,1\n", 1, "line 1: the time \"three\" is neither a number of days nor a date"},
        {"urine,2026-02-30,1\n", 1, "line 1: the time \"2026-02-30\" is neither"},
        {"intake,2026-03-01\nintake,2026-03-02\n", 2, "line 2: the intake's date is given twice"},
        {"intake\n", 1, "line 1: the intake's date is one date, or two"},
        {"intake,2026-03-01,2026-03-02,2026-03-03\n", 1, "line 1: the intake's date is one date, or two"},
        {"intake,1 March\n", 1, "line 1: the intake's date is not a date"},
        {"intake,2026-03-01,soon\n", 1, "line 1: the intake's date is not a date"},
        {"intake,2026-03-05,2026-03-01\n", 1, "line 1: the intake's second date comes before its first"},
        {"urine,-1,1\n", 1, "line 1: the time is before the intake"},
        {"urine,3,0\n", 1, "line 1: the value \"0\" is not a positive number"},
        {"urine,3,<-2\n", 1, "line 1: the value \"<-2\" is not a positive number"},
        {"urine,3,nan\n", 1, "line 1: the value \"nan\" is not a positive number"},
        {"urine,3,1,1\n", 1, "line 1: the scattering factor \"1\" is not a number above 1"},
        {"compartment,days,value\ncompartment,days,value\n", 2, "line 2: \"compartment\" is not a compartment"},
        {"urine,3,1\n\xff\xfe,1,1\n", 0, "the file is not UTF-8 text"},
    };
    for (const Case& c : cases) {
        const MeasurementFile file = readMeasurementFile(c.text);
        EXPECT_FALSE(file.ok()) << c.text;
        EXPECT_EQ(file.errorLine, c.line) << c.text;
        EXPECT_TRUE(file.error.startsWith(QLatin1String(c.errorStart))) << file.error.toStdString();
        EXPECT_TRUE(file.measurements.empty()) << c.text;
    }
}

TEST(MeasurementFile, TenThousandRowsAreReadAndOneMoreIsRefused)
{
    QByteArray text;
    for (int i = 0; i < MaxMeasurementRows; ++i)
        text += "lungs,5,1\n";
    EXPECT_EQ(readMeasurementFile(text).measurements.size(), static_cast<std::size_t>(MaxMeasurementRows));
    const MeasurementFile tooMany = readMeasurementFile(text + "lungs,5,1\n");
    EXPECT_EQ(tooMany.errorLine, MaxMeasurementRows + 1);
    EXPECT_TRUE(tooMany.error.contains(QStringLiteral("more than 10000 measurements")));
}

TEST(MeasurementFile, DatesOfTheIntakeAndOfMeasurementsAreRead)
{
    const MeasurementFile file = readMeasurementFile("intake, 2026-03-01, 2026-03-06\n"
                                                     "urine,2026-03-10,12\n"
                                                     "lungs,4.5,3\n");
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    EXPECT_EQ(file.intake.date, QDate(2026, 3, 1));
    EXPECT_EQ(file.intake.latest, QDate(2026, 3, 6));
    ASSERT_EQ(file.measurements.size(), 2U);
    EXPECT_EQ(file.measurements[0].date, QDate(2026, 3, 10));
    EXPECT_FALSE(file.measurements[1].date.isValid());
    EXPECT_EQ(file.measurements[1].measurement.days, 4.5);
    EXPECT_EQ(file.lineNumbers, (std::vector<int>{2, 3}));
    // From the midpoint, 3 March 12:00, to 10 March: 6.5 days; a row in days keeps them.
    const std::vector<Measurement> timed = measurementsAfter(file.intake, file.measurements);
    EXPECT_EQ(timed[0].days, 6.5);
    EXPECT_EQ(timed[1].days, 4.5);
    // Without the intake's date, a dated row has no time; the assessment says why.
    EXPECT_TRUE(std::isnan(measurementsAfter(IntakeDate{}, file.measurements)[0].days));
}

TEST(MeasurementFile, TypedCellsAreReadOrLeftUnknown)
{
    struct TimeCase {
        const char* text;
        bool read;
        double days; // NaN when unknown
        QDate date;
    } times[] = {
        {" 3.5 ", true, 3.5, {}},       {"0", true, 0, {}},       {"2026-03-10", true, 0, QDate(2026, 3, 10)},
        {"-1", false, NAN, {}},         {"soon", false, NAN, {}}, {"", false, NAN, {}},
        {"2026-13-01", false, NAN, {}},
    };
    for (const TimeCase& c : times) {
        DatedMeasurement entry{{Compartment::WholeBody, 7, 1, false, 1.2}, QDate(2020, 1, 1)};
        EXPECT_EQ(readMeasurementTime(QString::fromLatin1(c.text), entry), c.read) << c.text;
        EXPECT_EQ(entry.date, c.date) << c.text;
        if (std::isnan(c.days))
            EXPECT_TRUE(std::isnan(entry.measurement.days)) << c.text;
        else
            EXPECT_EQ(entry.measurement.days, c.days) << c.text;
        EXPECT_EQ(isComplete(entry), c.read) << c.text;
    }

    struct ValueCase {
        const char* text;
        bool read;
        double bq; // in kBq typed: times 1000
        bool below;
    } values[] = {
        {"2.5", true, 2500, false}, {"<0.4", true, 400, true}, {" < 3 ", true, 3000, true},
        {"0", false, NAN, false},   {"<", false, NAN, true},   {"-2", false, NAN, false},
    };
    for (const ValueCase& c : values) {
        Measurement m;
        EXPECT_EQ(readMeasuredValue(QString::fromLatin1(c.text), 1000, m), c.read) << c.text;
        EXPECT_EQ(m.belowLimit, c.below) << c.text;
        if (c.read)
            EXPECT_EQ(m.value, c.bq) << c.text;
        else
            EXPECT_TRUE(std::isnan(m.value)) << c.text;
    }

    Measurement m;
    EXPECT_TRUE(readScatteringFactor(u"2.5", m));
    EXPECT_EQ(m.scatteringFactor, 2.5);
    EXPECT_FALSE(readScatteringFactor(u"1", m));
    EXPECT_TRUE(std::isnan(m.scatteringFactor));

    EXPECT_EQ(measurementTimeText({{Compartment::Lungs, 12.25, 1, false, 1.2}, {}}), QStringLiteral("12.25"));
    EXPECT_EQ(measurementTimeText({{Compartment::Lungs, 0, 1, false, 1.2}, QDate(2026, 3, 5)}),
              QStringLiteral("2026-03-05"));
    Compartment named = Compartment::WholeBody;
    EXPECT_TRUE(compartmentFromFileName(u"urine (24-hour sample)", named));
    EXPECT_EQ(named, Compartment::DailyUrine);
    EXPECT_TRUE(compartmentFromFileName(u"Lungs*", named));
    EXPECT_EQ(named, Compartment::Lungs);
}

TEST(MeasurementFile, WrittenMeasurementsReadBackTheSame)
{
    const std::vector<DatedMeasurement> kept{{{Compartment::Thyroid, 0.1 + 0.2, 1.0 / 3, false, 1.25}, {}},
                                             {{Compartment::Liver, 0, 7e-5, true, 2}, QDate(2027, 1, 31)},
                                             {{Compartment::Skeleton, 18250, 12, false, 1.2}, {}}};
    for (const IntakeDate& intake :
         {IntakeDate{}, IntakeDate{QDate(2026, 12, 1), {}}, IntakeDate{QDate(2026, 11, 2), QDate(2026, 12, 1)}}) {
        const MeasurementFile file = readMeasurementFile(measurementFileBytes(intake, kept));
        ASSERT_TRUE(file.ok()) << file.error.toStdString();
        EXPECT_EQ(file.intake.date, intake.date);
        EXPECT_EQ(file.intake.latest, intake.latest);
        ASSERT_EQ(file.measurements.size(), kept.size());
        for (std::size_t i = 0; i < kept.size(); ++i) {
            const Measurement& read = file.measurements[i].measurement;
            const Measurement& written = kept[i].measurement;
            EXPECT_EQ(file.measurements[i].date, kept[i].date);
            EXPECT_EQ(read.compartment, written.compartment);
            EXPECT_EQ(read.days, written.days);
            EXPECT_EQ(read.value, written.value);
            EXPECT_EQ(read.belowLimit, written.belowLimit);
            EXPECT_EQ(read.scatteringFactor, written.scatteringFactor);
        }
    }
}

} // namespace
} // namespace kav
