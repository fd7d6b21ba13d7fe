#include "chooser/nuclidefilter.h"
#include "indexfixture.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

ElementSet setOf(std::initializer_list<ChemicalElement> elements)
{
    ElementSet s;
    for (ChemicalElement e : elements)
        s.insert(e);
    return s;
}

class NuclideFilterTest : public testing::Test {
protected:
    void SetUp() override { loadShippedIndex(index); }

    NuclideIndex index;
    SpectraFiles spectra{index};
};

TEST_F(NuclideFilterTest, StartsWithTheWholeIndex)
{
    NuclideFilter f(index, spectra);
    EXPECT_EQ(f.nuclides().count(), 1252);
    EXPECT_EQ(f.fullNuclideList().count(), 1252);
    EXPECT_EQ(f.elements(), index.elements());
    EXPECT_EQ(f.fullElementSet(), index.elements());
    EXPECT_FALSE(f.advanced().enabled());
}

TEST_F(NuclideFilterTest, NuclideListKeepsOnlyWhatTheIndexKnows)
{
    NuclideFilter f(index, spectra);
    int changes = 0;
    f.onChange = [&](ListFilter* sender) {
        EXPECT_EQ(sender, &f);
        ++changes;
    };
    f.setUseNuclideFilter(true);
    f.setNuclideList(QStringList{"Cs-137", "co-60", "Xx-1"});
    EXPECT_EQ(f.nuclides().names(), (QStringList{"Co-60", "Cs-137"}));
    EXPECT_EQ(f.elementsOfNuclideFilter(), setOf({ChemicalElement::Co, ChemicalElement::Cs}));
    EXPECT_EQ(f.fullElementSet(), setOf({ChemicalElement::Co, ChemicalElement::Cs}));
    EXPECT_EQ(f.fullNuclideList().names(), (QStringList{"Co-60", "Cs-137"}));
    EXPECT_EQ(f.fullNuclideList().objects(0), index.findNuclide(u"Co-60"));
    EXPECT_EQ(changes, 2);

    // An element filter without caesium leaves Cs-137 in the list but not on offer.
    ElementSet noCs = index.elements();
    noCs.erase(ChemicalElement::Cs);
    f.setUseElementFilter(true);
    f.setElementSet(noCs);
    EXPECT_EQ(f.nuclides().count(), 2);
    EXPECT_EQ(f.fullNuclideList().names(), QStringList{"Co-60"});
    EXPECT_EQ(f.mixSet(), setOf({ChemicalElement::Co}));

    changes = 0;
    f.setElementSet(noCs);
    EXPECT_EQ(changes, 0);
    f.setElementSet(setOf({ChemicalElement::Co, ChemicalElement::Cs, ChemicalElement::H}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(f.fullElementSet(), setOf({ChemicalElement::Co, ChemicalElement::Cs}));
}

TEST_F(NuclideFilterTest, InvariantsHoldForEveryCombinationOfFlags)
{
    const ElementSet elements = setOf({ChemicalElement::Co, ChemicalElement::Sr, ChemicalElement::I});
    for (const bool useElements : {false, true})
        for (const bool useList : {false, true}) {
            NuclideFilter f(index, spectra);
            f.setNuclideList(QStringList{"Co-60", "Cs-137", "I-131", "Tc-99m"});
            f.setElementSet(elements);
            f.setUseElementFilter(useElements);
            f.setUseNuclideFilter(useList);
            ElementSet mix = index.elements();
            if (useElements)
                for (std::size_t e = 0; e < ElementCount; ++e)
                    if (!elements.contains(static_cast<ChemicalElement>(e)))
                        mix.erase(static_cast<ChemicalElement>(e));
            if (useList)
                for (std::size_t e = 0; e < ElementCount; ++e)
                    if (!f.elementsOfNuclideFilter().contains(static_cast<ChemicalElement>(e)))
                        mix.erase(static_cast<ChemicalElement>(e));
            EXPECT_EQ(f.mixSet(), mix) << useElements << useList;
            EXPECT_EQ(f.fullElementSet(), mix);
            for (const auto& e : f.fullNuclideList().items())
                EXPECT_TRUE(mix.contains(e.node->element));
            for (const auto& e : f.nuclides().items())
                EXPECT_EQ(f.fullNuclideList().indexOf(e.name) >= 0, mix.contains(e.node->element));
        }
}

TEST_F(NuclideFilterTest, StoredElementSetHasItsOwnEncoding)
{
    NuclideFilter f(index, spectra);
    f.readStoredElementSet({-23, -1, -1, 15});
    EXPECT_EQ(f.elements().count(), 97);
    for (ChemicalElement absent : {ChemicalElement::He, ChemicalElement::Li, ChemicalElement::B, ChemicalElement::Md,
                                   ChemicalElement::No, ChemicalElement::Lr, ChemicalElement::Rf, ChemicalElement::Db})
        EXPECT_FALSE(f.elements().contains(absent)) << elementSymbolAscii(absent);
    EXPECT_TRUE(f.elements().contains(ChemicalElement::H));
    EXPECT_TRUE(f.elements().contains(ChemicalElement::Fm));
    EXPECT_EQ(f.storedElementSet(), (std::array<std::int32_t, 4>{-23, -1, -1, 15}));
    EXPECT_FALSE(f.elementSetStored());
    f.setUseElementFilter(true);
    EXPECT_TRUE(f.elementSetStored());
    EXPECT_FALSE(f.nuclideListStored());
    f.saveElementSet = FilterSaving::Never;
    EXPECT_FALSE(f.elementSetStored());
}

TEST_F(NuclideFilterTest, ListFilesIgnoreBlanksAndUnknownEntries)
{
    NuclideFilter f(index, spectra);
    EXPECT_TRUE(f.loadElementList("Co\r\n cs \r\nCobalt\r\n\r\n"));
    EXPECT_EQ(f.elements(), setOf({ChemicalElement::Co, ChemicalElement::Cs}));
    EXPECT_TRUE(f.useElementFilter());
    EXPECT_FALSE(f.loadElementList("Cobalt\nxx\n"));
    EXPECT_EQ(f.elements(), setOf({ChemicalElement::Co, ChemicalElement::Cs}));

    EXPECT_FALSE(f.loadNuclideList(""));
    EXPECT_FALSE(f.useNuclideFilter());
    EXPECT_TRUE(f.loadNuclideList("Co - 60\ntc-99m\nnot a nuclide"));
    EXPECT_TRUE(f.useNuclideFilter());
    EXPECT_EQ(f.nuclides().names(), (QStringList{"Co-60", "Tc-99m"}));
    // A file naming no nuclide of the index switches the filter on with nothing to offer.
    EXPECT_TRUE(f.loadNuclideList("Xx-1"));
    EXPECT_EQ(f.fullNuclideList().count(), 0);
}

TEST_F(NuclideFilterTest, AnyBytesAsAListFile)
{
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i)
        garbage.append(static_cast<char>((i * 7919) & 0xFF));
    garbage.append(QByteArray(100000, 'C')); // a very long line without an end
    NuclideFilter f(index, spectra);
    f.loadElementList(garbage);
    f.loadNuclideList(garbage);
    for (const auto& e : f.nuclides().items())
        EXPECT_TRUE(e.node);
}

TEST_F(NuclideFilterTest, ACopyOffersWhatItsSourceOffers)
{
    NuclideFilter f(index, spectra);
    f.setUseNuclideFilter(true);
    f.setNuclideList(QStringList{"Co-60", "Cs-137"});
    NuclideFilter copy(index, spectra);
    copy.assign(f);
    EXPECT_EQ(copy.fullNuclideList().names(), f.fullNuclideList().names());
    EXPECT_TRUE(copy.useNuclideFilter());
}

} // namespace
} // namespace kav
