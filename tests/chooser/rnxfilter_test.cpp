#include "chooser/rnxfilter.h"
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

class FilterTest : public testing::Test {
protected:
    void SetUp() override { loadShippedIndex(index); }

    NuclideIndex index;
    SpectraFiles spectra{index};
};

TEST_F(FilterTest, StartsWithTheWholeIndex)
{
    TQzRNXFilter f(index, spectra);
    EXPECT_EQ(f.RNXList().Count(), 1252);
    EXPECT_EQ(f.FullRNXList().Count(), 1252);
    EXPECT_EQ(f.Elements(), index.Elements());
    EXPECT_EQ(f.FullElementSet(), index.Elements());
    EXPECT_FALSE(f.Advanced().Enabled());
}

TEST_F(FilterTest, NuclideListKeepsOnlyWhatTheIndexKnows)
{
    TQzRNXFilter f(index, spectra);
    int changes = 0;
    f.OnChange = [&](TQzRNXSimpleFilter* sender) {
        EXPECT_EQ(sender, &f);
        ++changes;
    };
    f.SetUseRNXFilter(true);
    f.SetRNXList(QStringList{"Cs-137", "co-60", "Xx-1"});
    EXPECT_EQ(f.RNXList().Names(), (QStringList{"Co-60", "Cs-137"}));
    EXPECT_EQ(f.ElementByRNXFilterSet(), setOf({_Co, _Cs}));
    EXPECT_EQ(f.FullElementSet(), setOf({_Co, _Cs}));
    EXPECT_EQ(f.FullRNXList().Names(), (QStringList{"Co-60", "Cs-137"}));
    EXPECT_EQ(f.FullRNXList().Objects(0), index.FindNuclide(u"Co-60"));
    EXPECT_EQ(changes, 2);

    // An element filter without caesium leaves Cs-137 in the list but not on offer.
    ElementSet noCs = index.Elements();
    noCs.erase(_Cs);
    f.SetUseElementFilter(true);
    f.SetElementSet(noCs);
    EXPECT_EQ(f.RNXList().Count(), 2);
    EXPECT_EQ(f.FullRNXList().Names(), QStringList{"Co-60"});
    EXPECT_EQ(f.MixSet(), setOf({_Co}));

    changes = 0;
    f.SetElementSet(noCs);
    EXPECT_EQ(changes, 0);
    f.SetElementSet(setOf({_Co, _Cs, _H}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(f.FullElementSet(), setOf({_Co, _Cs}));
}

TEST_F(FilterTest, InvariantsHoldForEveryCombinationOfFlags)
{
    const ElementSet elements = setOf({_Co, _Sr, _I});
    for (const bool useElements : {false, true})
        for (const bool useList : {false, true}) {
            TQzRNXFilter f(index, spectra);
            f.SetRNXList(QStringList{"Co-60", "Cs-137", "I-131", "Tc-99m"});
            f.SetElementSet(elements);
            f.SetUseElementFilter(useElements);
            f.SetUseRNXFilter(useList);
            ElementSet mix = index.Elements();
            if (useElements)
                for (int e = 0; e < ElementCount; ++e)
                    if (!elements.contains(static_cast<ChemicalElement>(e)))
                        mix.erase(static_cast<ChemicalElement>(e));
            if (useList)
                for (int e = 0; e < ElementCount; ++e)
                    if (!f.ElementByRNXFilterSet().contains(static_cast<ChemicalElement>(e)))
                        mix.erase(static_cast<ChemicalElement>(e));
            EXPECT_EQ(f.MixSet(), mix) << useElements << useList;
            EXPECT_EQ(f.FullElementSet(), mix);
            for (const auto& e : f.FullRNXList().Items())
                EXPECT_TRUE(mix.contains(e.node->Element));
            for (const auto& e : f.RNXList().Items())
                EXPECT_EQ(f.FullRNXList().IndexOf(e.name) >= 0, mix.contains(e.node->Element));
        }
}

TEST_F(FilterTest, StoredElementSetHasItsOwnEncoding)
{
    TQzRNXFilter f(index, spectra);
    f.ReadStoredElementSet({-23, -1, -1, 15});
    EXPECT_EQ(f.Elements().count(), 97);
    for (ChemicalElement absent : {_He, _Li, _B, _Md, _No, _Lr, _Rf, _Db})
        EXPECT_FALSE(f.Elements().contains(absent)) << absent;
    EXPECT_TRUE(f.Elements().contains(_H));
    EXPECT_TRUE(f.Elements().contains(_Fm));
    EXPECT_EQ(f.StoredElementSet(), (std::array<std::int32_t, 4>{-23, -1, -1, 15}));
    EXPECT_FALSE(f.ElementSetStored());
    f.SetUseElementFilter(true);
    EXPECT_TRUE(f.ElementSetStored());
    EXPECT_FALSE(f.RNXListStored());
    f.SaveElementSet = svNever;
    EXPECT_FALSE(f.ElementSetStored());
}

TEST_F(FilterTest, ListFilesIgnoreBlanksAndUnknownEntries)
{
    TQzRNXFilter f(index, spectra);
    EXPECT_TRUE(f.LoadElementList("Co\r\n cs \r\nCobalt\r\n\r\n"));
    EXPECT_EQ(f.Elements(), setOf({_Co, _Cs}));
    EXPECT_TRUE(f.UseElementFilter());
    EXPECT_FALSE(f.LoadElementList("Cobalt\nxx\n"));
    EXPECT_EQ(f.Elements(), setOf({_Co, _Cs}));

    EXPECT_FALSE(f.LoadRNXList(""));
    EXPECT_FALSE(f.UseRNXFilter());
    EXPECT_TRUE(f.LoadRNXList("Co - 60\ntc-99m\nnot a nuclide"));
    EXPECT_TRUE(f.UseRNXFilter());
    EXPECT_EQ(f.RNXList().Names(), (QStringList{"Co-60", "Tc-99m"}));
    // A file naming no nuclide of the index switches the filter on with nothing to offer.
    EXPECT_TRUE(f.LoadRNXList("Xx-1"));
    EXPECT_EQ(f.FullRNXList().Count(), 0);
}

TEST_F(FilterTest, AnyBytesAsAListFile)
{
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i)
        garbage.append(static_cast<char>((i * 7919) & 0xFF));
    garbage.append(QByteArray(100000, 'C')); // a very long line without an end
    TQzRNXFilter f(index, spectra);
    f.LoadElementList(garbage);
    f.LoadRNXList(garbage);
    for (const auto& e : f.RNXList().Items())
        EXPECT_TRUE(e.node);
}

TEST_F(FilterTest, ACopyOffersWhatItsSourceOffers)
{
    TQzRNXFilter f(index, spectra);
    f.SetUseRNXFilter(true);
    f.SetRNXList(QStringList{"Co-60", "Cs-137"});
    TQzRNXFilter copy(index, spectra);
    copy.Assign(f);
    EXPECT_EQ(copy.FullRNXList().Names(), f.FullRNXList().Names());
    EXPECT_TRUE(copy.UseRNXFilter());
}

} // namespace
} // namespace kav
