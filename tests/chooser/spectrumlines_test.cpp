// The search of spectrum lines that the advanced filter's lines list and `kav lines` share, on a
// small index written here whose lines are worked out by hand.
#include "chooser/spectrumfilter.h"
#include "chooser/spectrumlines.h"
#include "indexfixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace kav {
namespace {

class SpectrumLinesTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::vector<Nuclide> nodes{
            makeNode(ChemicalElement::Po, 210, "210", 138.4f, TimeUnit::Day, {DecayMode::Alpha}),
            makeNode(ChemicalElement::Co, 60, "60", 5.27f, TimeUnit::Year, {DecayMode::BetaMinus}),
            makeNode(ChemicalElement::I, 131, "131", 8.02f, TimeUnit::Day, {DecayMode::BetaMinus})};
        // Lines: type, energy (MeV), energy per decay (MeV).
        const std::vector<std::vector<SpectrumLine>> lines{
            {{8, 5.3f, 5.3f}, {1, 0.8f, 0.4f}}, // Po-210: 0.5 photons per decay
            {{1, 1.17f, 1.17f}, {5, 0.3f, 0.3f}, {1, 1.33f, 1.33f}}, // Co-60: 1 and 1
            {{1, 0.364f, 0.298f}, {2, 0.03f, 0.0012f}, {1, 0.0f, 0.1f}}}; // I-131: 0.8187, 0.04, none
        QByteArray spectra;
        int position = 0;
        for (std::size_t n = 0; n < nodes.size(); ++n) {
            nodes[n].firstLine = position;
            nodes[n].lineCount = static_cast<int>(lines[n].size());
            position += nodes[n].lineCount;
            for (const SpectrumLine& line : lines[n])
                appendSpectrumRecord(spectra, line);
        }
        write("Index.rnx", toBytes(nodes));
        write("Spectra.rnx", spectra);
        ASSERT_EQ(index.loadFromFile(dir.filePath("Index.rnx")).status, IndexLoadResult::Loaded);
        for (const char* name : {"Po-210", "Co-60", "I-131"})
            all.push_back(index.findNuclide(QString::fromLatin1(name)));
    }
    void write(const char* name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The lines as "Co-60 1.17" words, in their order.
    static std::string words(const std::vector<FoundLine>& lines)
    {
        QStringList w;
        for (const FoundLine& line : lines)
            w << line.node->name.toString() + u' ' + QString::number(line.energy);
        return w.join(QStringLiteral(", ")).toStdString();
    }

    QTemporaryDir dir;
    NuclideIndex index;
    SpectraFiles spectra{index};
    std::vector<const Nuclide*> all;
};

TEST_F(SpectrumLinesTest, EveryBoundGivenHoldsOnTheSameLine)
{
    const auto query = [](RadiationTypes types, std::optional<LineBounds> energy, std::optional<LineBounds> yield,
                          std::optional<LineBounds> perDecay) {
        LineQuery q;
        q.types = types;
        q.energy = energy;
        q.yield = yield;
        q.perDecay = perDecay;
        return q;
    };
    const struct {
        const char* what;
        LineQuery query;
        const char* found;
    } cases[] = {
        {"photons by energy", query(PhotonGroup, LineBounds{0.3, 1.2}, {}, {}), "Po-210 0.8, Co-60 1.17, I-131 0.364"},
        {"and at least 0.6 per decay", query(PhotonGroup, LineBounds{0.3, 1.2}, {}, LineBounds{0.6}),
         "Co-60 1.17, I-131 0.364"},
        {"photons by energy per decay", query(PhotonGroup, {}, LineBounds{0.29, 0.5}, {}), "Po-210 0.8, I-131 0.364"},
        {"alphas", query({AlphaRadiation}, LineBounds{5, 6}, {}, {}), "Po-210 5.3"},
        {"betas", query(BetaGroup, LineBounds{0, 10}, {}, {}), "Co-60 0.3"},
        {"a line without energy", query(PhotonGroup, LineBounds{0, 0.01}, {}, {}), "I-131 0"},
        {"has no number per decay", query(PhotonGroup, LineBounds{0, 0.01}, {}, LineBounds{0}), ""},
        {"x-rays only", query({2}, {}, {}, {}), "I-131 0.03"},
    };
    for (const auto& c : cases) {
        const FoundLines found = findLines(spectra, all, c.query);
        EXPECT_EQ(words(found.lines), c.found) << c.what;
        EXPECT_FALSE(found.cut) << c.what;
    }
}

TEST_F(SpectrumLinesTest, TheCapStopsTheSearchAndSaysSo)
{
    LineQuery q;
    q.types = PhotonGroup;
    q.energy = LineBounds{0.01, 2};
    q.cap = 2;
    FoundLines found = findLines(spectra, all, q);
    EXPECT_EQ(words(found.lines), "Po-210 0.8, Co-60 1.17");
    EXPECT_TRUE(found.cut);
    q.cap = 5; // exactly as many as there are
    found = findLines(spectra, all, q);
    EXPECT_EQ(found.lines.size(), 5u);
    EXPECT_FALSE(found.cut);
    // A nuclide missing from the index has no lines.
    found = findLines(spectra, {nullptr, all[1]}, q);
    EXPECT_EQ(words(found.lines), "Co-60 1.17, Co-60 1.33");
}

TEST_F(SpectrumLinesTest, SortsInEachOrderKeepingEqualLinesInPlace)
{
    LineQuery q;
    q.types = PhotonGroup;
    q.energy = LineBounds{0.01, 2};
    const std::vector<FoundLine> lines = findLines(spectra, all, q).lines;
    const struct {
        LineOrder order;
        const char* sorted;
    } cases[] = {
        {LineOrder::AsFound, "Po-210 0.8, Co-60 1.17, Co-60 1.33, I-131 0.364, I-131 0.03"},
        // 8.02 d, then 138.4 d, then 5.27 y.
        {LineOrder::ShortestHalfLifeFirst, "I-131 0.364, I-131 0.03, Po-210 0.8, Co-60 1.17, Co-60 1.33"},
        {LineOrder::Energy, "I-131 0.03, I-131 0.364, Po-210 0.8, Co-60 1.17, Co-60 1.33"},
        // 0.0012, 0.298, 0.4, 1.17, 1.33 MeV per decay.
        {LineOrder::Yield, "I-131 0.03, I-131 0.364, Po-210 0.8, Co-60 1.17, Co-60 1.33"},
        // 1 and 1 (kept in their order), 0.8187, 0.5, 0.04 per decay.
        {LineOrder::MostPerDecayFirst, "Co-60 1.17, Co-60 1.33, I-131 0.364, Po-210 0.8, I-131 0.03"},
    };
    for (const auto& c : cases) {
        std::vector<FoundLine> sorted = lines;
        sortLines(sorted, c.order);
        EXPECT_EQ(words(sorted), c.sorted) << static_cast<int>(c.order);
    }
}

TEST(LineGroupTest, EachGroupHasItsCriteria)
{
    EXPECT_EQ(radiationsOf(LineGroup::Alpha), RadiationTypes{AlphaRadiation});
    EXPECT_EQ(radiationsOf(LineGroup::Beta), (RadiationTypes{4, 5, 6, 7, 14}));
    EXPECT_EQ(radiationsOf(LineGroup::Photon), (RadiationTypes{1, 2, 3, 12, 13}));
    EXPECT_EQ(energyOptionOf(LineGroup::Beta), SpectrumCriterion::BetaLineEnergy);
    EXPECT_EQ(yieldOptionOf(LineGroup::Photon), SpectrumCriterion::GammaLineYield);
    EXPECT_EQ(yieldOptionOf(LineGroup::Alpha), SpectrumCriterion::AlphaLineYield);
}

} // namespace
} // namespace kav
