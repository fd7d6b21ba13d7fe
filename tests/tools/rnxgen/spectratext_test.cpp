// The spectra texts of the decay data as the index builder reads them.
#include "indexfixture.h"
#include "rnxgen/spectratext.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

const QByteArray kRadiationsHeader = "nuclide\tcode\tmnemonic\tyield\tenergy_MeV\n";

TEST(SpectraText, RadiationsBecomeRecordsOfEnergyPerDecay)
{
    const SpectraText r = readRadiationsText(kRadiationsHeader
                                             + "Co-60\t1\tG\t0.5\t1.2\n"
                                               "Co-60\t1\tPG\t0.25\t2\n"
                                               "Co-60\t1\tDG\t1\t0\n"
                                               "Co-60\t5\tDB\t0.5\t0.1\n"
                                               "Cs-137\t5\tB-\t1\t0.2\r\n"
                                               "\n");
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    ASSERT_EQ(r.recordCount, 5);
    ASSERT_EQ(r.records.size(), 5 * SpectrumLineRecordSize);
    const SpectrumLines lines = decodeSpectrumRecords(r.records.constData(), 5);
    ASSERT_EQ(lines.size(), 5u);
    const RadiationType types[] = {1, 12, 13, 14, 5};
    const float energies[] = {1.2f, 2, 0, 0.1f, 0.2f};
    const float perDecay[] = {static_cast<float>(0.5 * 1.2), 0.5f, 0, static_cast<float>(0.5 * 0.1), 0.2f};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(lines[i].radiation, types[i]) << i;
        EXPECT_EQ(lines[i].energy, energies[i]) << i;
        EXPECT_EQ(lines[i].yield, perDecay[i]) << i;
    }
    ASSERT_EQ(r.blocks.size(), 2u);
    EXPECT_EQ(r.blocks[1].nuclide, QStringLiteral("Cs-137"));
    EXPECT_EQ(r.blocks[1].first, 4);
    EXPECT_EQ(r.blocks[1].count, 1);
}

TEST(SpectraText, BadRadiationRowsAreNamedByLine)
{
    struct Case {
        const char* row;
        const char* said;
    };
    const Case cases[] = {
        {"Co-60\t1\tG\t0.5", "line 3: 4 fields, 5 expected"},
        {"Co-60\t12\tG\t0.5\t1", "line 3: radiation code 12 is out of range 1..11"},
        {"Co-60\t0\tG\t0.5\t1", "line 3: radiation code 0 is out of range"},
        {"Co-60\tx\tG\t0.5\t1", "line 3: radiation code is not a whole number"},
        {"Co-60\t1\tG\t-0.5\t1", "line 3: yield is negative"},
        {"Co-60\t1\tG\t0.5\tnan", "line 3: energy is not a number"},
        {"Co-60\t1\tG\t0.5\tinf", "line 3: energy is not a number"},
        {"Co-60\t1\tG\t0.5 MeV\t1", "line 3: yield is not a number"},
        {"Co-60\t1\tG\t1e30\t1e30", "line 3: the energy or the energy per decay is too large"},
        {"Cobalt-60\t1\tG\t0.5\t1", "line 3: \"Cobalt-60\" is not a nuclide name"},
        {"Cs-137\t1\tG\t0.5\t1\nCo-60\t1\tG\t0.5\t1", "line 4: the records of Co-60 are apart"},
    };
    for (const Case& c : cases) {
        const SpectraText r = readRadiationsText(kRadiationsHeader + "Co-60\t1\tG\t0.5\t1.2\n" + c.row + "\n");
        EXPECT_TRUE(r.error.startsWith(QString::fromLatin1(c.said))) << c.row << ": " << r.error.toStdString();
        EXPECT_TRUE(r.records.isEmpty());
        EXPECT_TRUE(r.blocks.empty());
    }
}

TEST(SpectraText, BetaSpectraKeepTheirDensities)
{
    const SpectraText r = readBetaText("Na-22         3\n"
                                       "0.00000 1.486E+00\n"
                                       "10.000001.711E-03\n"
                                       "10.420700.000E+00\n"
                                       "Co-60  1\n"
                                       "0.00000 6.626E+00\n");
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(decodeFloatRecords(r.records.constData(), r.recordCount), (BetaSpectrum{1.486f, 1.711e-3f, 0, 6.626f}));
    ASSERT_EQ(r.blocks.size(), 2u);
    EXPECT_EQ(r.blocks[1].first, 3);

    struct Case {
        const char* text;
        const char* said;
    };
    const Case cases[] = {
        {"Na-22 2\n0.00000 1.0\nCo-60 1\n0.00000 1.0\n", "line 3: Na-22 lacks 1 of its points"},
        {"Na-22 2\n0.00000 1.0\n", "line 2: Na-22 lacks 1 of its points"},
        {"0.00000 1.0\n", "line 1: a point outside any nuclide's spectrum"},
        {"Na-22 1\n0.00000 1.0\n0.10000 1.0\n", "line 3: a point outside any nuclide's spectrum"},
        {"Na-22 0\n", "line 1: number of points 0 is out of range 1..255"},
        {"Na-22\n", "line 1: 1 fields, 2 expected"},
        {"Na-22 1\n0.00000 -1.0\n", "line 2: spectrum density is negative"},
        {"Na-22 1\n0.0x00001.0\n", "line 2: energy is not a number"},
        {"Na-22 1\n0.00000 1.0\nCo-60 1\n0.00000 1.0\nNa-22 1\n0.00000 1.0\n",
         "line 6: the records of Na-22 are apart"},
    };
    for (const Case& c : cases) {
        const SpectraText bad = readBetaText(c.text);
        EXPECT_TRUE(bad.error.startsWith(QString::fromLatin1(c.said))) << c.text << ": " << bad.error.toStdString();
        EXPECT_TRUE(bad.records.isEmpty());
    }
}

TEST(SpectraText, BlocksMustBeWhereTheIndexPutsThem)
{
    std::vector<Nuclide> nodes{makeNode(ChemicalElement::Co, 60, "60", 5.27f, TimeUnit::Year),
                               makeNode(ChemicalElement::Cs, 137, "137", 30.1f, TimeUnit::Year),
                               makeNode(ChemicalElement::H, 3, "3", 12.3f, TimeUnit::Year)};
    nodes[0].firstLine = 0;
    nodes[0].lineCount = 2;
    nodes[1].firstLine = 2;
    nodes[1].lineCount = 1;
    const SpectraText r
        = readRadiationsText(kRadiationsHeader + "Co-60\t1\tG\t1\t1\nCo-60\t1\tG\t1\t1\nCs-137\t5\tB-\t1\t0.2\n");
    auto place = [](const Nuclide& n) { return SpectrumBlock{n.name.toString(), n.firstLine, n.lineCount}; };
    EXPECT_TRUE(checkSpectrumBlocks(nodes, r, QStringLiteral("lines"), place).isEmpty());

    std::vector<Nuclide> moved = nodes;
    moved[1].lineCount = 2;
    EXPECT_EQ(checkSpectrumBlocks(moved, r, QStringLiteral("lines"), place),
              QStringLiteral("lines: the 1 records of Cs-137 start at record 2, the index has 2 from 2"));
    moved = nodes;
    moved[2].firstLine = 3;
    moved[2].lineCount = 4;
    EXPECT_EQ(checkSpectrumBlocks(moved, r, QStringLiteral("lines"), place),
              QStringLiteral("lines: no records of H-3, which the index gives 4"));
    moved = nodes;
    moved.erase(moved.begin() + 1);
    EXPECT_EQ(checkSpectrumBlocks(moved, r, QStringLiteral("lines"), place),
              QStringLiteral("lines: Cs-137 is not in the index"));
}

} // namespace
} // namespace kav
