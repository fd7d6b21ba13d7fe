#include "indexfixture.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

class ChainTest : public testing::Test {
protected:
    void SetUp() override { loadShippedIndex(index); }
    const Nuclide& node(const char* name) const
    {
        const Nuclide* n = index.findNuclide(QString::fromLatin1(name));
        EXPECT_TRUE(n) << name;
        return *n;
    }
    static QStringList chainNames(const DecayChain& chain)
    {
        QStringList names;
        for (const ChainStep& c : chain)
            names << c.name.toString();
        return names;
    }

    NuclideIndex index;
};

TEST_F(ChainTest, MainChainFollowsTheLargestBranch)
{
    DecayChain chain;
    float maxCutted = -1;
    node("Ra-226").getChainArray(chain, maxCutted);
    EXPECT_EQ(chainNames(chain),
              (QStringList{"Rn-222", "Po-218", "Pb-214", "Bi-214", "Po-214", "Pb-210", "Bi-210", "Po-210"}));
    EXPECT_EQ(maxCutted, 0.00021f);
    EXPECT_EQ(chain[2].yield, 0.9998f);
    EXPECT_EQ(chain[4].yield, 0.99979f);
    EXPECT_EQ(chain[0].decayConstant, node("Rn-222").decayConstant);

    node("Co-60").getChainArray(chain, maxCutted);
    EXPECT_TRUE(chain.empty());
    EXPECT_EQ(maxCutted, 0);

    node("Cs-137").getChainArray(chain, maxCutted);
    EXPECT_EQ(chainNames(chain), QStringList{"Ba-137m"});
    EXPECT_EQ(chain[0].yield, 0.94399f);
    EXPECT_EQ(maxCutted, 0);
}

TEST_F(ChainTest, StepsOfDecay)
{
    DecayStepCounts types{};
    EXPECT_EQ(node("Tc-99m").getRTypeArray(types), 2);
    EXPECT_EQ(types, (DecayStepCounts{1, 1, 0, 0}));

    DecayStepKind kind = 9;
    EXPECT_TRUE(node("Tc-99m").decayToDaughter(ChemicalElement::Tc, 99, kind));
    EXPECT_EQ(kind, 0);
    EXPECT_TRUE(node("Tc-99m").decayToDaughter(ChemicalElement::Ru, 99, kind));
    EXPECT_EQ(kind, -1);

    ChemicalElement element = ChemicalElement::None;
    std::uint16_t mass = 0;
    node("U-238").daughterByDecay(element, mass, 2);
    EXPECT_EQ(element, ChemicalElement::Th);
    EXPECT_EQ(mass, 234);
    EXPECT_TRUE(node("U-238").decayToDaughter(ChemicalElement::Th, 234, kind));
    EXPECT_EQ(kind, 2);
    kind = 7;
    EXPECT_FALSE(node("U-238").decayToDaughter(ChemicalElement::Pa, 234, kind));
    EXPECT_EQ(kind, 7);
    node("Co-60").daughterByDecay(element, mass, -1);
    EXPECT_EQ(element, ChemicalElement::Ni);
    EXPECT_EQ(mass, 60);
}

TEST_F(ChainTest, ProgenyIsEveryReachableNuclideOnce)
{
    NuclideList progeny;
    node("Ra-226").getDaughtersList(progeny);
    EXPECT_EQ(progeny.names(),
              (QStringList{"Rn-222", "Po-218", "Pb-214", "Bi-214", "Po-214", "Pb-210", "Bi-210", "Po-210", "Tl-206",
                           "Hg-206", "Tl-210", "At-218", "Rn-218"}));
    node("Co-60").getDaughtersList(progeny);
    EXPECT_EQ(progeny.count(), 0);
    NuclideList sorted(true);
    node("Th-232").getDaughtersList(sorted);
    EXPECT_EQ(sorted.strings(0), QStringLiteral("Ac-228"));
}

TEST_F(ChainTest, AncestorsSortIntoDirectTopmostAndOther)
{
    NuclideList direct(true), main(true), other(true);
    index.getAncLists(&node("Rn-222"), direct, main, other);
    EXPECT_EQ(direct.names(), QStringList{"Ra-226"});
    EXPECT_GE(other.indexOf("U-238"), 0);
    EXPECT_GE(other.indexOf("Th-230"), 0);
    EXPECT_LT(main.indexOf("U-238"), 0);
    EXPECT_LT(other.indexOf("Rn-222"), 0);
    EXPECT_LT(other.indexOf("Ra-226"), 0);

    index.getAncLists(ChemicalElement::Co, "60", direct, main, other);
    EXPECT_EQ(direct.names(), QStringList{"Co-60m"});

    index.getAncLists(&node("Ac-223"), direct, main, other);
    EXPECT_EQ(direct.names(), QStringList{"Pa-227"});

    index.getAncLists(nullptr, direct, main, other);
    EXPECT_EQ(direct.count() + main.count() + other.count(), 0);
}

// Small indexes written by the test: ties, circles and links that point nowhere.
TEST(ChainEdges, EqualFractionsFollowTheFirstSlotAndCirclesEnd)
{
    NuclideIndex index;
    Nuclide a = makeNode(ChemicalElement::Ba, 140, "140", 12.75f, TimeUnit::Day, {DecayMode::BetaMinus});
    addDaughter(a, "La-140", 1, 0.5f);
    addDaughter(a, "La-141", 2, 0.5f);
    Nuclide b = makeNode(ChemicalElement::La, 140, "140", 1.7f, TimeUnit::Day, {DecayMode::BetaMinus});
    addDaughter(b, "Ba-140", 0, 1.0f); // back to the start: a circle no real data has
    Nuclide c = makeNode(ChemicalElement::La, 141, "141", 3.9f, TimeUnit::Hour, {DecayMode::BetaMinus});
    addDaughter(c, "Ce-141", 7, 1.0f); // beyond the index
    index.loadFromBytes(toBytes({a, b, c}));
    ASSERT_EQ(index.count(), 3);
    EXPECT_EQ(index.items(2)->daughters[0].position, -1);

    DecayChain chain;
    float maxCutted = 0;
    index.items(0)->getChainArray(chain, maxCutted);
    ASSERT_FALSE(chain.empty());
    EXPECT_EQ(chain[0].name.toString(), QStringLiteral("La-140"));
    EXPECT_EQ(maxCutted, 0.5f);
    EXPECT_LE(chain.size(), 3u);

    NuclideList progeny;
    index.items(0)->getDaughtersList(progeny);
    EXPECT_EQ(progeny.names(), (QStringList{"La-140", "Ba-140", "La-141"}));
    index.items(2)->getDaughtersList(progeny);
    EXPECT_EQ(progeny.count(), 0);

    NuclideList direct, main, other;
    index.getAncLists(index.items(1), direct, main, other);
    EXPECT_EQ(direct.names(), QStringList{"Ba-140"});
    EXPECT_EQ(main.count(), 0); // the circle has no topmost member
}

} // namespace
} // namespace kav
