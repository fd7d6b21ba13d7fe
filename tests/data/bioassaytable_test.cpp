#include "data/bioassaytable.h"
#include "data/dosedatafile.h"

#include "dosefixture.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace kav {
namespace {

// Ra-228 ingested, e(50) 2e-8 Sv/Bq. The whole body is measured through Ac-228, the urine as
// Ra-228 itself; no other compartment has a function. Whole body m(t_i) = 1 / (i + 1); urine
// 0.5 at the first time after intake, then 0 (nothing to divide by), then 1e-11 (below what is
// shown), then NaN, then 0.25 / i. Read back from the bytes of a data file.
class BioassayTableTest : public testing::Test {
protected:
    static constexpr int kPoints = 45;

    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        DoseData d;
        d.m_nuclideId = StoredNuclideId{ChemicalElement::Ra, "228"};
        auto ingested = makeMaterial(&d, IntakeRoute::Ingestion, MaterialForm::Aerosol, "All compounds", 0.2f, 2e-8f);
        BioassayFunctions radium;
        radium.m_nuclideId = d.m_nuclideId;
        radium.m_organPresentSet = {Compartment::WholeBody, Compartment::DailyUrine};
        CompartmentContent& urine = radium.m_activityData[ordinal(Compartment::DailyUrine)];
        urine = {0, 0.5f, 0, 1e-11f, std::numeric_limits<float>::quiet_NaN()};
        for (int i = 5; i < kPoints - 10; ++i) // shorter than the whole body's
            urine.push_back(0.25f / static_cast<float>(i));
        BioassayFunctions actinium;
        actinium.m_nuclideId = StoredNuclideId{ChemicalElement::Ac, "228"};
        actinium.m_organPresentSet = {Compartment::WholeBody};
        for (int i = 0; i < kPoints; ++i)
            actinium.m_activityData[ordinal(Compartment::WholeBody)].push_back(1.0f / static_cast<float>(i + 1));
        ingested->m_activity = {radium, actinium};
        d.m_ingestData.push_back(std::move(ingested));
        d.m_injectData.push_back(
            makeMaterial(&d, IntakeRoute::Injection, MaterialForm::Aerosol, "", 0, 5e-9f)); // no functions
        readDoseDataFile(doseDataFileBytes(d), QStringLiteral("Ra-228"), QStringLiteral("Ra-228.qvd"), data);
        ASSERT_TRUE(data.isLoaded());
        request.path = IntakeRoute::Ingestion;
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    const BioassayColumn& column(const BioassayTable& table, Compartment organ) const
    {
        for (const BioassayColumn& c : table.columns)
            if (c.organ == organ)
                return c;
        static const BioassayColumn none;
        return none;
    }

    BioassayData data;
    BioassayRequest request;
};

TEST_F(BioassayTableTest, ValuesInEveryViewAndUnit)
{
    struct Case {
        const char* what;
        BioassayQuantity view;
        double dose;
        BioassayUnits units;
        const char* wholeBodyFirst; // at 1/24 day: m = 1/2
        const char* urineFirst; // m = 0.5
    } cases[] = {
        {"z(t) = e / m", BioassayQuantity::DosePerContent, 1, {}, "4.0E-8", "4.0E-8"},
        {"z(t) in mSv per kBq",
         BioassayQuantity::DosePerContent,
         1,
         {DoseUnit::mSv, ActivityUnit::kBq, ActivityUnit::Bq, TimeUnit::Day},
         "4.0E-2",
         "4.0E-2"},
        {"z(t) does not depend on the intake unit",
         BioassayQuantity::DosePerContent,
         1,
         {DoseUnit::Sv, ActivityUnit::Bq, ActivityUnit::kBq, TimeUnit::Day},
         "4.0E-8",
         "4.0E-8"},
        {"content for 1 mSv = 0.001 / e * m", BioassayQuantity::ContentForDose, 1, {}, "2.5E+4", "2.5E+4"},
        {"twice the dose, twice the content", BioassayQuantity::ContentForDose, 2, {}, "5.0E+4", "5.0E+4"},
        {"content for a dose in kBq",
         BioassayQuantity::ContentForDose,
         1,
         {DoseUnit::uSv, ActivityUnit::kBq, ActivityUnit::MBq, TimeUnit::Day},
         "2.5E+1",
         "2.5E+1"},
        {"m(t)", BioassayQuantity::ContentPerIntake, 1, {}, "5.0E-1", "5.0E-1"},
        {"m(t) per kBq taken in",
         BioassayQuantity::ContentPerIntake,
         1,
         {DoseUnit::Sv, ActivityUnit::Bq, ActivityUnit::kBq, TimeUnit::Day},
         "5.0E+2",
         "5.0E+2"},
        {"m(t) in mBq per Bq",
         BioassayQuantity::ContentPerIntake,
         1,
         {DoseUnit::Sv, ActivityUnit::mBq, ActivityUnit::Bq, TimeUnit::Day},
         "5.0E+2",
         "5.0E+2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        request.view = c.view;
        request.doseMSv = c.dose;
        request.units = c.units;
        const BioassayTable table = computeBioassayTable(data, request);
        ASSERT_TRUE(table.hasData);
        EXPECT_EQ(column(table, Compartment::WholeBody).cells.value(0), QString::fromLatin1(c.wholeBodyFirst));
        EXPECT_EQ(column(table, Compartment::DailyUrine).cells.value(0), QString::fromLatin1(c.urineFirst));
    }
}

TEST_F(BioassayTableTest, ColumnsRowsAndPoints)
{
    const BioassayTable table = computeBioassayTable(data, request);
    ASSERT_TRUE(table.hasData);
    EXPECT_EQ(table.timeTitle, QStringLiteral("Time, days"));
    ASSERT_EQ(table.times.size(), kPoints - 1);
    EXPECT_EQ(table.times.first(), QStringLiteral("0.041667"));
    EXPECT_EQ(table.times.last(), QStringLiteral("14"));
    // Table order: whole body, urine, faeces, ...; the others have no function.
    EXPECT_EQ(table.columns[0].organ, Compartment::WholeBody);
    EXPECT_EQ(table.columns[1].organ, Compartment::DailyUrine);
    int present = 0;
    for (const BioassayColumn& c : table.columns)
        present += c.present;
    EXPECT_EQ(present, 2);
    // The whole body is measured through the decay product.
    EXPECT_EQ(column(table, Compartment::WholeBody).title, QStringLiteral("Whole Body (Ac-228)"));
    EXPECT_EQ(column(table, Compartment::DailyUrine).title, QStringLiteral("Urine (24-hour sample)"));
    // Zero, tiny and NaN show "-" and are not plotted; a shorter series ends in "-".
    const BioassayColumn& urine = column(table, Compartment::DailyUrine);
    ASSERT_EQ(urine.cells.size(), table.times.size());
    EXPECT_EQ(urine.cells.mid(0, 5), (QStringList{"4.0E-8", "-", "-", "-", "4.0E-7"}));
    EXPECT_EQ(urine.cells.last(), QStringLiteral("-"));
    ASSERT_FALSE(urine.points.empty());
    EXPECT_EQ(urine.points.size(), static_cast<std::size_t>(kPoints - 10 - 4));
    // The data hold single precision.
    EXPECT_NEAR(urine.points[0].x(), 1.0 / 24, 1e-7);
    EXPECT_NEAR(urine.points[0].y(), 4e-8, 4e-8 * 1e-6);
    EXPECT_EQ(column(table, Compartment::WholeBody).points.size(), static_cast<std::size_t>(kPoints - 1));

    // Hours: the points' times in hours too.
    request.units.time = TimeUnit::Hour;
    const BioassayTable hours = computeBioassayTable(data, request);
    EXPECT_EQ(hours.timeTitle, QStringLiteral("Time, hours"));
    EXPECT_EQ(hours.times.first(), QStringLiteral("1"));
    EXPECT_NEAR(column(hours, Compartment::WholeBody).points[0].x(), 1.0, 1e-6);
}

TEST_F(BioassayTableTest, WholeDaysLeaveOutTheFractions)
{
    request.wholeDays = true;
    request.view = BioassayQuantity::ContentPerIntake;
    const BioassayTable table = computeBioassayTable(data, request);
    // Days 1 to 10, then 11 to 14.
    EXPECT_EQ(table.times, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14"}));
    // Day 1 is point 10: m = 1/11.
    EXPECT_EQ(column(table, Compartment::WholeBody).cells.first(), QStringLiteral("9.1E-2"));
    EXPECT_NEAR(column(table, Compartment::WholeBody).points.front().x(), 1.0, 1e-6);
}

TEST_F(BioassayTableTest, NoFunctionsOrNoDoseMeansNoData)
{
    request.path = IntakeRoute::Injection;
    request.view = BioassayQuantity::ContentPerIntake;
    EXPECT_FALSE(computeBioassayTable(data, request).hasData);
    request.path = IntakeRoute::Ingestion;
    request.material = 3;
    EXPECT_FALSE(computeBioassayTable(data, request).hasData);
}

TEST(BioassayText, TimesInEachUnit)
{
    QLocale::setDefault(QLocale::c());
    struct Case {
        double days;
        TimeUnit unit;
        const char* text;
    } cases[] = {
        {1.0 / 24, TimeUnit::Day, "0.041667"},
        {0.125, TimeUnit::Day, "0.125"},
        {18250, TimeUnit::Day, "18250"},
        {1.0 / 24, TimeUnit::Hour, "1"},
        {18250, TimeUnit::Hour, "438000"},
        {1.0 / 24, TimeUnit::Year, "1.14E-4"},
        {36.5, TimeUnit::Year, "0.1"},
        {365, TimeUnit::Year, "1"},
        {3650, TimeUnit::Year, "10"},
        {18250, TimeUnit::Year, "50"},
        {365 * 123.4, TimeUnit::Year, "123"},
        {365 * 2000.0, TimeUnit::Year, "2E3"},
        {0, TimeUnit::Year, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bioassayTimeText(c.days, c.unit), QString::fromLatin1(c.text))
            << c.days << " in unit " << int(c.unit);
    QLocale::setDefault(QLocale::system());
}

TEST(BioassayText, CaptionsNameTheirUnits)
{
    const BioassayUnits units{DoseUnit::mSv, ActivityUnit::kBq, ActivityUnit::MBq, TimeUnit::Day};
    EXPECT_EQ(
        bioassayCaption(BioassayQuantity::DosePerContent, 1, {}),
        QStringLiteral("Committed Effective Dose per Predicted Content in an Organ or Excreta Sample (Dose per Content "
                       "Functions z(t)), Sv/Bq"));
    EXPECT_EQ(
        bioassayCaption(BioassayQuantity::ContentForDose, 0.5, units),
        QStringLiteral("Content in an Organ or Excreta Sample Associated with the Specified above Committed Effective "
                       "Dose (0.5 mSv), kBq"));
    EXPECT_EQ(bioassayCaption(BioassayQuantity::ContentPerIntake, 1, units),
              QStringLiteral(
                  "Content in an Organ or Excreta Sample per Intake (Reference Bioassay Functions m(t)), kBq per MBq"));
    EXPECT_EQ(bioassayAxisTitle(BioassayQuantity::DosePerContent, 1, units),
              QStringLiteral("Committed Effective Dose per Predicted Content, mSv/kBq"));
    EXPECT_EQ(bioassayAxisTitle(BioassayQuantity::ContentForDose, 2, units),
              QStringLiteral("Content Associated with the Specified Committed Effective Dose (2 mSv), kBq"));
    EXPECT_EQ(bioassayAxisTitle(BioassayQuantity::ContentPerIntake, 1, units),
              QStringLiteral("Content per Intake, kBq per MBq"));
}

} // namespace
} // namespace kav
