#include "data/materialstable.h"
#include "dosefixture.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace kav {
namespace {

// The typical data: injection (e 5e-9), "All compounds" ingested (1e-9), the aerosol group
// "Cobalt nitrate (M)" (size s: 1e-10 × (s + 1)) and a gas (3e-11).
class MaterialsTableTest : public testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        fillTypicalData(data, StoredNuclideId{ChemicalElement::Co, "60"});
    }
    DoseData data;
};

TEST_F(MaterialsTableTest, RowsComeInTheTablesOrderWithTheirLabelsAndDoses)
{
    MaterialChoice choice;
    choice.injection = true;
    choice.ingested = {0};
    choice.inhaled = {1, 0}; // the gas named first still comes after the aerosol's sizes
    choice.sizes = {2, 8};
    const std::vector<MaterialsTableRow> table = computeMaterialsTable(data, choice);
    const struct {
        const char16_t* label;
        float effective;
        IntakeRoute route;
        int material;
        int size;
    } expected[] = {
        {u"Injection", 5e-9f, IntakeRoute::Injection, 0, 0},
        {u"Ingestion, All compounds, fA=5E-2", 1e-9f, IntakeRoute::Ingestion, 0, 0},
        {u"Inhalation, Aerosols Cobalt nitrate Type M, fA=1E-2, 0.01 µm", 3e-10f, IntakeRoute::Inhalation, 0, 2},
        {u"Inhalation, Aerosols Cobalt nitrate Type M, fA=1E-2, 5 µm", 9e-10f, IntakeRoute::Inhalation, 0, 8},
        {u"Inhalation, Gas or vapour Type V, Elemental vapour", 3e-11f, IntakeRoute::Inhalation, 1, 0},
    };
    ASSERT_EQ(table.size(), std::size(expected));
    for (std::size_t i = 0; i < table.size(); ++i) {
        const MaterialsTableRow& row = table[i];
        EXPECT_EQ(row.label, QString::fromUtf16(expected[i].label)) << i;
        EXPECT_TRUE(row.hasDoses) << i;
        EXPECT_FLOAT_EQ(row.effective, expected[i].effective) << i;
        EXPECT_EQ(row.row.route, expected[i].route) << i;
        EXPECT_EQ(row.row.material, expected[i].material) << i;
        EXPECT_EQ(row.row.size, expected[i].size) << i;
    }
    // Organ k holds e × (1 + k) for men and e × (1 + k + 100) for women: the colon (k = 1).
    EXPECT_FLOAT_EQ(doseAt(table[3].organs, Sex::Female, TargetOrgan::Colon), 9e-10f * 102);
    EXPECT_FLOAT_EQ(doseAt(table[3].organs, Sex::Male, TargetOrgan::Colon), 9e-10f * 2);
}

TEST_F(MaterialsTableTest, NothingLoadedOrNoSizeTickedLeavesRowsOut)
{
    MaterialChoice choice = MaterialChoice::everything(data);
    EXPECT_EQ(computeMaterialsTable(data, choice).size(), 1u + 1u + 11u + 1u);
    choice.sizes.clear();
    const std::vector<MaterialsTableRow> table = computeMaterialsTable(data, choice);
    ASSERT_EQ(table.size(), 3u) << "injection, ingestion and the gas";
    EXPECT_EQ(table[2].label, QStringLiteral("Inhalation, Gas or vapour Type V, Elemental vapour"));
    EXPECT_TRUE(computeMaterialsTable(DoseData{}, MaterialChoice::everything(data)).empty());
    // Injection asked of data without it: the row is there, without doses.
    data.m_injectData.clear();
    const std::vector<MaterialsTableRow> without = computeMaterialsTable(data, choice);
    ASSERT_FALSE(without.empty());
    EXPECT_EQ(without[0].label, QStringLiteral("Injection"));
    EXPECT_FALSE(without[0].hasDoses);
}

} // namespace
} // namespace kav
