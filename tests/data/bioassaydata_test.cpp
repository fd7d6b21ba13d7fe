#include "data/bioassaydata.h"
#include "data/dosedatafile.h"
#include "data/programsettings.h"
#include "dosefixture.h"
#include "indexfixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

class BioassayTest : public testing::Test {
protected:
    void SetUp() override { preference.setDataFolderPath(m_dir.path()); }
    // Writes a nuclide whose single ingestion material has the given bioassay records.
    void writeWithRecords(const StoredNuclideId& nuclide, std::vector<BioassayFunctions> records, bool ingestion = true)
    {
        DoseData d;
        d.m_nuclideId = nuclide;
        auto m = makeMaterial(&d, ingestion ? IntakeRoute::Ingestion : IntakeRoute::Inhalation,
                              ingestion ? MaterialForm::Aerosol : MaterialForm::Gas, "m", 0.1f, 1e-9f);
        m->m_activity = std::move(records);
        (ingestion ? d.m_ingestData : d.m_gasData).push_back(std::move(m));
        writeBytes(m_dir.filePath(d.nuclideNameText() + QStringLiteral(".qvd")), doseDataFileBytes(d));
    }

    QTemporaryDir m_dir;
    ProgramSettings preference{m_dir.filePath("viewer")};
};

TEST(bioassayTimes, FollowTheFixedGrid)
{
    const auto& t = bioassayTimes();
    const std::pair<int, float> points[]
        = {{0, 0},      {1, 1.0f / 24}, {3, 3.0f / 24}, {4, 0.25f},   {18, 2},     {19, 2.25f}, {30, 5},
           {31, 5.5f},  {40, 10},       {41, 11},       {130, 100},   {131, 110},  {156, 360},  {157, 365},
           {158, 370},  {159, 380},     {230, 1090},    {231, 1095},  {232, 1100}, {233, 1200}, {257, 3600},
           {258, 3650}, {259, 4000},    {260, 5000},    {273, 18000}, {274, 18250}};
    for (const auto& [index, days] : points)
        EXPECT_FLOAT_EQ(t[static_cast<std::size_t>(index)], days) << index;
    for (std::size_t i = 1; i < t.size(); ++i)
        EXPECT_GT(t[i], t[i - 1]) << i;
}

TEST_F(BioassayTest, MeasuredProgenyGivesTheFunctions)
{
    const StoredNuclideId cs{ChemicalElement::Cs, "137"};
    const StoredNuclideId ba{ChemicalElement::Ba, "137m"};
    writeWithRecords(cs,
                     {makeBioassay(cs, CompartmentSet::fromRaw(0xFF), 10, 1.0f),
                      makeBioassay(ba, CompartmentSet::fromRaw(0xFF), 12, 0.5f)});
    BioassayData d;
    ASSERT_FALSE(preference.dataFolder().load(cs, d));
    QStringList names;
    d.measuredNuclideFiles(names);
    EXPECT_EQ(names, (QStringList{"Cs-137", "Ba-137m"}));
    MaterialBioassay r;
    ASSERT_TRUE(d.bioassayFunctionsOf(IntakeRoute::Ingestion, 0, 0, r));
    EXPECT_EQ(r.m_organPresentSet.raw(), 0xFF);
    for (int o = 0; o < CompartmentCount; ++o) {
        EXPECT_EQ(r.m_measuredNuclides[static_cast<std::size_t>(o)], ba);
        EXPECT_EQ(r.m_activityData[static_cast<std::size_t>(o)].size(), 12u);
    }
    EXPECT_EQ(BioassayData::maxActivityCount(r), 12);

    // Without the progeny record there is nothing to show.
    writeWithRecords(cs, {makeBioassay(cs, CompartmentSet::fromRaw(0xFF), 10, 1.0f)});
    BioassayData alone;
    ASSERT_FALSE(preference.dataFolder().load(cs, alone));
    EXPECT_FALSE(alone.bioassayFunctionsOf(IntakeRoute::Ingestion, 0, 0, r));
    EXPECT_FALSE(alone.bioassayFunctionsOf(IntakeRoute::Ingestion, 1, 0, r));
}

TEST_F(BioassayTest, ExcretaOfThoriumComeFromThoriumItself)
{
    const StoredNuclideId th{ChemicalElement::Th, "232"};
    const StoredNuclideId ac{ChemicalElement::Ac, "228"};
    writeWithRecords(th,
                     {makeBioassay(th, CompartmentSet::fromRaw(0xFF), 5, 1.0f),
                      makeBioassay(ac, CompartmentSet::fromRaw(0xFF), 7, 0.5f)});
    BioassayData d;
    ASSERT_FALSE(preference.dataFolder().load(th, d));
    MaterialBioassay r;
    ASSERT_TRUE(d.bioassayFunctionsOf(IntakeRoute::Ingestion, 0, 0, r));
    EXPECT_EQ(r.m_measuredNuclides[ordinal(Compartment::DailyUrine)], th);
    EXPECT_EQ(r.m_activityData[ordinal(Compartment::DailyUrine)].size(), 5u);
    EXPECT_EQ(r.m_measuredNuclides[ordinal(Compartment::Lungs)], ac);
    EXPECT_EQ(r.m_activityData[ordinal(Compartment::Lungs)].size(), 7u);
    EXPECT_EQ(measuredNuclide(StoredNuclideId{ChemicalElement::Cs, "137m"}, Compartment::Lungs),
              (StoredNuclideId{ChemicalElement::Cs, "137m"}));
}

TEST_F(BioassayTest, NuclideListComesFromTheFirstAvailableMaterial)
{
    const StoredNuclideId kr{ChemicalElement::Kr, "85"};
    writeWithRecords(kr, {makeBioassay(kr, {Compartment::WholeBody}, 3, 1.0f)}, false);
    BioassayData gas;
    ASSERT_FALSE(preference.dataFolder().load(kr, gas));
    QStringList names;
    gas.measuredNuclideFiles(names);
    EXPECT_EQ(names, QStringList{"Kr-85"});

    MaterialBioassay empty;
    EXPECT_EQ(BioassayData::maxActivityCount(empty), 0);
}

TEST_F(BioassayTest, NuclideListOfTheDataFolder)
{
    NuclideIndex index;
    loadShippedIndex(index);
    for (const char* name :
         {"Co-60.qvd", "Tc-99m.qvd", "H-3.qvd", "Co-58.qvd", "Ag-110m.qvd", "Ag-110.qvd", "notes.qvd", "Xx-1.qvd",
          "Cs-137.QVD", "Sr-90.txt", "co-60.QVD", "tc-99M.qvd", "Pa-234mXYZ.qvd"})
        writeBytes(m_dir.filePath(name), "x");
    NuclideList list;
    preference.dataFolder().listNuclides(index, list);
    // Any case of a name stands for its nuclide, once, under the index's name; whatever is listed
    // the reader finds.
    EXPECT_EQ(list.names(), (QStringList{"H-3", "Co-58", "Co-60", "Tc-99m", "Ag-110", "Ag-110m", "Cs-137"}));
    for (const QString& name : list.names())
        EXPECT_FALSE(preference.dataFolder().fileOf(name).isEmpty()) << name.toStdString();
    EXPECT_EQ(list.objects(0), index.findNuclide(u"H-3"));
}

} // namespace
} // namespace kav
