// The advanced filter and its six criteria on a small index with spectra, made here.
#include "chooser/nuclidefilter.h"
#include "chooser/spectrumlines.h"
#include "indexfixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace kav {
namespace {

constexpr double kLn2 = 0.69314718055994530942;

struct SmallNuclide {
    Nuclide node;
    std::vector<SpectrumLine> lines; // energy and yield per decay, MeV
};

// Eight nuclides in name order, with a few lines each:
//   Am-241   alpha only (a 5.486 MeV alpha, a 59.5 keV gamma)      432.2 y
//   Ba-137m  isomeric transition (the 661.7 keV gamma)             2.552 m   ancestor Cs-137
//   Cf-252   alpha and spontaneous fission (3.09 %)                 2.645 y
//   Co-60    beta minus (gammas of 1.173 and 1.332 MeV)            5.2713 y
//   Cs-137   beta minus                                            30.08 y   daughter Ba-137m
//   I-131    beta minus (a 364 keV gamma)                          8.0252 d
//   Po-212   alpha only                                            0.299 us
//   Tl-204   beta minus and electron capture                       3.783 y
std::vector<SmallNuclide> smallNuclides()
{
    std::vector<SmallNuclide> n{
        {makeNode(ChemicalElement::Am, 241, "241", 432.2f, TimeUnit::Year, {DecayMode::Alpha}),
         {{8, 5.486f, 4.636f}, {1, 0.0595f, 0.02136f}}},
        {makeNode(ChemicalElement::Ba, 137, "137m", 2.552f, TimeUnit::Minute, {DecayMode::IsomericTransition}),
         {{1, 0.661657f, 0.5938f}, {6, 0.624f, 0.0487f}}},
        {makeNode(ChemicalElement::Cf, 252, "252", 2.645f, TimeUnit::Year,
                  {DecayMode::Alpha, DecayMode::SpontaneousFission}),
         {{8, 6.118f, 4.9f}, {10, 80, 5.7f}, {11, 2.1f, 0.245f}}},
        {makeNode(ChemicalElement::Co, 60, "60", 5.2713f, TimeUnit::Year, {DecayMode::BetaMinus}),
         {{5, 0.0958f, 0.0958f}, {1, 1.173f, 1.1715f}, {1, 1.332f, 1.332f}}},
        {makeNode(ChemicalElement::Cs, 137, "137", 30.08f, TimeUnit::Year, {DecayMode::BetaMinus}),
         {{5, 0.1874f, 0.1769f}}},
        {makeNode(ChemicalElement::I, 131, "131", 8.0252f, TimeUnit::Day, {DecayMode::BetaMinus}),
         {{5, 0.182f, 0.1638f}, {1, 0.364f, 0.2967f}}},
        {makeNode(ChemicalElement::Po, 212, "212", 0.299f, TimeUnit::Microsecond, {DecayMode::Alpha}),
         {{8, 8.785f, 8.785f}}},
        {makeNode(ChemicalElement::Tl, 204, "204", 3.783f, TimeUnit::Year,
                  {DecayMode::BetaMinus, DecayMode::ElectronCapture}),
         {{5, 0.244f, 0.236f}, {2, 0.07f, 0.0007f}}},
    };
    n[2].node.daughters[0].yield = 0.0309f; // the fission branch
    addDaughter(n[4].node, "Ba-137m", 1, 0.947f);
    return n;
}

class AdvancedFilterTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::vector<Nuclide> nodes;
        QByteArray spectra;
        std::int32_t position = 0;
        for (SmallNuclide& n : smallNuclides()) {
            n.node.firstLine = position;
            n.node.lineCount = static_cast<std::uint16_t>(n.lines.size());
            position += n.node.lineCount;
            for (const SpectrumLine& line : n.lines)
                appendSpectrumRecord(spectra, line);
            nodes.push_back(n.node);
        }
        write("Index.rnx", toBytes(nodes));
        write("Spectra.rnx", spectra);
        ASSERT_EQ(index.loadFromFile(dir.filePath("Index.rnx")).status, IndexLoadResult::Loaded);
    }

    void write(const char* name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    static QStringList names(const ListFilter& f) { return f.nuclides().names(); }
    static QStringList list(const char* text) { return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts); }

    QTemporaryDir dir;
    NuclideIndex index;
    SpectraFiles spectra{index};
    std::vector<SpectrumRead> readFailures;
    Notice<const SpectrumRead&>::Connection recordingFailures
        = spectra.readFailed.connect([this](const SpectrumRead& failure) { readFailures.push_back(failure); });
};

TEST_F(AdvancedFilterTest, MassNumberRangeWithEitherEnd)
{
    struct Case {
        bool minEnabled;
        int min;
        bool maxEnabled;
        int max;
        const char* passing;
        bool active;
    };
    const Case cases[] = {
        {true, 137, false, 0, "Am-241 Ba-137m Cf-252 Cs-137 Po-212 Tl-204", true},
        {false, 0, true, 137, "Ba-137m Co-60 Cs-137 I-131", true},
        {true, 131, true, 204, "Ba-137m Cs-137 I-131 Tl-204", true},
        {true, 137, true, 137, "Ba-137m Cs-137", true},
        {true, 10, true, 5, "", false}, // inverted
        {true, 1, true, 1000, "Am-241 Ba-137m Cf-252 Co-60 Cs-137 I-131 Po-212 Tl-204", true}, // 3 to 257
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max);
        MassNumberFilter f(&index);
        f.setMinValue(c.min);
        f.setMaxValue(c.max);
        f.setMinEnabled(c.minEnabled);
        f.setMaxEnabled(c.maxEnabled);
        EXPECT_EQ(names(f), list(c.passing));
        EXPECT_EQ(f.active(), c.active);
    }
    MassNumberFilter f(&index);
    f.setMinValue(1);
    f.setMaxValue(1000);
    EXPECT_EQ(f.minValue(), 3);
    EXPECT_EQ(f.maxValue(), 257);
}

TEST_F(AdvancedFilterTest, MassNumberMinimumTellsOnlyWhenItsEndIsOn)
{
    MassNumberFilter f(&index);
    int notices = 0;
    f.onChange = [&](ListFilter*) { ++notices; };
    f.setMinValue(100);
    EXPECT_EQ(notices, 0);
    f.setMaxValue(200);
    EXPECT_EQ(notices, 1);
    f.setMinEnabled(true);
    EXPECT_EQ(notices, 2);
    f.setMinValue(150);
    EXPECT_EQ(notices, 3);
    f.setMinValue(150);
    EXPECT_EQ(notices, 3);
    EXPECT_EQ(names(f), list("Am-241 Cf-252 Po-212 Tl-204"));
}

TEST_F(AdvancedFilterTest, NumbersOfAncestorsAndDaughters)
{
    struct Case {
        std::uint8_t counts;
        const char* ancestors;
        const char* daughters;
    };
    const Case cases[] = {
        {0x01, "Am-241 Cf-252 Co-60 Cs-137 I-131 Po-212 Tl-204", "Am-241 Ba-137m Cf-252 Co-60 I-131 Po-212 Tl-204"},
        {0x02, "Ba-137m", "Cs-137"},
        {0x1C, "", ""},
        {0x1F, "Am-241 Ba-137m Cf-252 Co-60 Cs-137 I-131 Po-212 Tl-204",
         "Am-241 Ba-137m Cf-252 Co-60 Cs-137 I-131 Po-212 Tl-204"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.counts));
        AncestorsFilter ancestors(&index);
        DaughtersFilter daughters(&index);
        for (RelativesCountFilter* f : std::initializer_list<RelativesCountFilter*>{&ancestors, &daughters}) {
            f->setCountSet(RelativesCountSet::fromRaw(c.counts));
            EXPECT_TRUE(f->nuclides().count() == 0) << "nothing is computed while it is off";
            f->setEnabled(true);
        }
        EXPECT_EQ(names(ancestors), list(c.ancestors));
        EXPECT_EQ(names(daughters), list(c.daughters));
    }
    AncestorsFilter none(&index);
    none.setEnabled(true);
    EXPECT_TRUE(none.active());
    none.setCountSet({});
    EXPECT_FALSE(none.active());
}

TEST_F(AdvancedFilterTest, DecayModesAnyOrAll)
{
    using Set = DecayModesAnyOf;
    struct Case {
        DecayModeMatch operation;
        Set modes;
        const char* passing;
    };
    const Case cases[] = {
        {DecayModeMatch::Any, {DecayFilterKind::AlphaOnly}, "Am-241 Po-212"},
        {DecayModeMatch::Any, {DecayFilterKind::Alpha}, "Am-241 Cf-252 Po-212"},
        {DecayModeMatch::Any, {DecayFilterKind::BetaPlus}, "Tl-204"}, // electron capture counts with beta plus
        {DecayModeMatch::Any,
         {DecayFilterKind::IsomericTransition, DecayFilterKind::SpontaneousFission},
         "Ba-137m Cf-252"},
        {DecayModeMatch::Any, {DecayFilterKind::BetaMinusOnly}, "Co-60 Cs-137 I-131"},
        {DecayModeMatch::All, {DecayFilterKind::Alpha, DecayFilterKind::SpontaneousFission}, "Cf-252"},
        {DecayModeMatch::All, {DecayFilterKind::BetaMinus, DecayFilterKind::BetaPlus}, "Tl-204"},
        {DecayModeMatch::All, {DecayFilterKind::BetaMinus}, "Co-60 Cs-137 I-131 Tl-204"},
        {DecayModeMatch::All, {DecayFilterKind::Alpha, DecayFilterKind::BetaMinus}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.operation) << " " << c.modes.raw());
        DecayModeFilter f(&index);
        f.setEnabled(true);
        f.setOperation(c.operation);
        if (c.operation == DecayModeMatch::Any)
            f.setOrSet(c.modes);
        else
            f.setAndSet(DecayModesAllOf::fromRaw(static_cast<std::uint8_t>(c.modes.raw())));
        EXPECT_EQ(names(f), list(c.passing));
        EXPECT_TRUE(f.active());
    }
}

TEST_F(AdvancedFilterTest, DecayModeSetsOfTheOtherOperationChangeNothing)
{
    DecayModeFilter f(&index);
    int notices = 0;
    f.onChange = [&](ListFilter*) { ++notices; };
    f.setEnabled(true);
    EXPECT_EQ(f.nuclides().count(), 8) << "any of the nine sets at first";
    f.setAndSet({DecayFilterKind::Alpha});
    EXPECT_EQ(notices, 1);
    f.setOperation(DecayModeMatch::All);
    EXPECT_EQ(notices, 2);
    EXPECT_EQ(names(f), list("Am-241 Cf-252 Po-212"));
    f.setOrSet({});
    EXPECT_EQ(notices, 2);
    EXPECT_TRUE(f.active());
    f.setAndSet({});
    EXPECT_FALSE(f.active());
}

TEST_F(AdvancedFilterTest, HalfLifeEndsCompareDecayConstants)
{
    HalfLifeFilter f(&index);
    EXPECT_EQ(f.minValue(), 0.299f) << "the ends start at the index's extremes";
    EXPECT_EQ(f.minUnits(), TimeUnit::Microsecond);
    EXPECT_EQ(f.maxValue(), 432.2f);
    EXPECT_EQ(f.maxUnits(), TimeUnit::Year);
    EXPECT_EQ(f.maxLambda(), index.findNuclide(u"Am-241")->decayConstant);

    f.setMinUnits(TimeUnit::Day);
    f.setMinValue(1);
    f.setMinEnabled(true);
    EXPECT_FLOAT_EQ(f.minLambda(), static_cast<float>(kLn2));
    EXPECT_EQ(names(f), list("Am-241 Cf-252 Co-60 Cs-137 I-131 Tl-204"));
    f.setMinUnits(TimeUnit::Hour);
    EXPECT_FLOAT_EQ(f.minValue(), 24);
    EXPECT_FLOAT_EQ(f.minLambda(), static_cast<float>(kLn2));
    EXPECT_EQ(names(f), list("Am-241 Cf-252 Co-60 Cs-137 I-131 Tl-204"));

    f.setMaxValue(10);
    f.setMaxEnabled(true);
    EXPECT_EQ(names(f), list("Cf-252 Co-60 I-131 Tl-204"));
    EXPECT_TRUE(f.active());
    f.setMaxValue(0.5f); // years
    EXPECT_EQ(names(f), list("I-131"));
    f.setMaxUnits(TimeUnit::Hour);
    f.setMaxValue(12);
    EXPECT_TRUE(names(f).isEmpty()) << "at least a day and at most twelve hours";
    EXPECT_FALSE(f.active());
}

TEST_F(AdvancedFilterTest, HalfLifeFromADecayConstantTakesTheUnitThatReadsBest)
{
    struct Case {
        double days;
        float value;
        TimeUnit unit;
    };
    const Case cases[] = {
        {7200, 7200 / 365.25f, TimeUnit::Year},
        {200, 200, TimeUnit::Day},
        {0.5, 12, TimeUnit::Hour},
        {2.0 / 1440, 2, TimeUnit::Minute},
        {1e-3, 1.44f, TimeUnit::Minute},
        {1e-4, 8.64f, TimeUnit::Second},
        {1e-7, 8.64f, TimeUnit::Millisecond},
        {1e-9, 86.4f, TimeUnit::Microsecond},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        HalfLifeFilter f(&index);
        f.setMinLambda(static_cast<float>(kLn2 / c.days));
        EXPECT_NEAR(f.minValue(), c.value, c.value * 1e-5);
        EXPECT_EQ(f.minUnits(), c.unit);
    }
}

TEST_F(AdvancedFilterTest, HalfLifeEndsWithoutAnIndex)
{
    HalfLifeFilter f(nullptr);
    EXPECT_EQ(f.minValue(), 0.305f);
    EXPECT_EQ(f.minUnits(), TimeUnit::Microsecond);
    EXPECT_EQ(f.maxValue(), 9.3e15f);
    EXPECT_EQ(f.maxUnits(), TimeUnit::Year);
    EXPECT_FLOAT_EQ(f.maxLambda(), static_cast<float>(kLn2 / (9.3e15 * 365.25)));
    f.setMinEnabled(true);
    EXPECT_EQ(f.nuclides().count(), 0);

    HalfLifeFilter g(&index);
    g.setMinValue(5);
    g.setMaxValue(6);
    g.setAutoMinMaxValues();
    EXPECT_EQ(g.minValue(), 0.299f);
    EXPECT_EQ(g.maxValue(), 432.2f);
}

TEST_F(AdvancedFilterTest, SpectrumCriteria)
{
    struct Case {
        std::vector<std::tuple<SpectrumCriterion, float, float>> criteria;
        const char* passing;
    };
    const Case cases[] = {
        {{{SpectrumCriterion::GammaLineEnergy, 0.6f, 0.7f}}, "Ba-137m"},
        {{{SpectrumCriterion::GammaLineEnergy, 0.661657f, 0.661657f}}, "Ba-137m"}, // both ends count
        {{{SpectrumCriterion::GammaLineYield, 0.5f, 2}}, "Ba-137m Co-60"},
        {{{SpectrumCriterion::AlphaLineEnergy, 6, 10}}, "Cf-252 Po-212"},
        {{{SpectrumCriterion::BetaLineEnergy, 0.6f, 0.65f}}, "Ba-137m"}, // a conversion electron is a beta-group line
        {{{SpectrumCriterion::GammaLineEnergy, 1.3f, 1.4f}, {SpectrumCriterion::GammaLineYield, 1.1f, 1.2f}},
         "Co-60"}, // met by two lines
        {{{SpectrumCriterion::GammaLineEnergy, 1.3f, 1.4f}, {SpectrumCriterion::BetaLineEnergy, 0.2f, 1}}, ""},
        {{{SpectrumCriterion::AlphaShare, 0.99f, 1}}, "Am-241 Cf-252 Po-212"},
        {{{SpectrumCriterion::GammaShare, 0.9f, 1}}, "Ba-137m Co-60"},
        {{{SpectrumCriterion::AlphaTotal, 4.7f, 100}}, "Cf-252 Po-212"},
        {{{SpectrumCriterion::Total, 0, 0.2f}}, "Cs-137"},
        {{{SpectrumCriterion::FissionTotal, 1, 100}}, "Cf-252"},
        {{{SpectrumCriterion::FissionShare, 0.01f, 1}}, "Cf-252"},
        {{{SpectrumCriterion::BetaTotal, 0.1f, 1}, {SpectrumCriterion::GammaTotal, 0.2f, 1}}, "I-131"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.passing);
        SpectrumFilter f(spectra);
        SpectrumCriteria options;
        for (const auto& [option, lo, hi] : c.criteria) {
            options.insert(option);
            f.setMax(option, hi);
            f.setMin(option, lo);
        }
        f.setOptions(options);
        f.setEnabled(true);
        EXPECT_EQ(names(f), list(c.passing));
    }
    EXPECT_TRUE(readFailures.empty());
}

TEST_F(AdvancedFilterTest, SpectrumBoundsStayInOrderAndInRange)
{
    SpectrumFilter f(spectra);
    f.setMin(SpectrumCriterion::AlphaShare, 1.5f);
    EXPECT_EQ(f.min(SpectrumCriterion::AlphaShare), 1);
    EXPECT_EQ(f.max(SpectrumCriterion::AlphaShare), 1);
    f.setMin(SpectrumCriterion::Total, 0.5f);
    f.setMax(SpectrumCriterion::Total, -2);
    EXPECT_EQ(f.max(SpectrumCriterion::Total), 0);
    EXPECT_EQ(f.min(SpectrumCriterion::Total), 0);
    f.setMax(SpectrumCriterion::GammaLineEnergy, 3);
    f.setMin(SpectrumCriterion::GammaLineEnergy, NAN);
    EXPECT_EQ(f.min(SpectrumCriterion::GammaLineEnergy), 0);
    f.setMax(SpectrumCriterion::GammaLineEnergy, 5);
    EXPECT_EQ(f.max(SpectrumCriterion::GammaLineEnergy), 5) << "energies have no upper limit";
    EXPECT_STREQ(spectrumBoundName(SpectrumCriterion::GammaLineEnergy, true), "GammaMaxEnergy");
    EXPECT_STREQ(spectrumBoundName(SpectrumCriterion::FissionShare, false), "SFFracMin");

    // Only a bound of a chosen criterion on an enabled filter recomputes.
    int notices = 0;
    f.onChange = [&](ListFilter*) { ++notices; };
    f.setEnabled(true);
    f.setOptions({SpectrumCriterion::GammaLineEnergy});
    EXPECT_EQ(notices, 2);
    f.setMin(SpectrumCriterion::BetaLineEnergy, 1);
    EXPECT_EQ(notices, 2);
    f.setMin(SpectrumCriterion::GammaLineEnergy, 1);
    EXPECT_EQ(notices, 3);
    EXPECT_EQ(names(f), list("Co-60"));
}

TEST_F(AdvancedFilterTest, SpectrumFilterWithoutSpectraKeepsItsList)
{
    SpectrumFilter f(spectra);
    f.setOptions({SpectrumCriterion::GammaLineEnergy});
    f.setMax(SpectrumCriterion::GammaLineEnergy, 0.7f);
    f.setMin(SpectrumCriterion::GammaLineEnergy, 0.6f);
    f.setEnabled(true);
    ASSERT_EQ(names(f), list("Ba-137m"));
    QFile::remove(dir.filePath("Spectra.rnx"));
    NuclideIndex bare;
    ASSERT_EQ(bare.loadFromFile(dir.filePath("Index.rnx")).status, IndexLoadResult::Loaded);
    SpectraFiles bareSpectra(bare);
    SpectrumFilter g(bareSpectra);
    g.assign(f);
    EXPECT_EQ(names(g), list("Ba-137m")) << "no summary: the list is left as it was";
}

TEST_F(AdvancedFilterTest, PanelOffersWhatEveryActiveCriterionPasses)
{
    NuclideFilter panel(index, spectra);
    int notices = 0;
    panel.onChange = [&](ListFilter*) { ++notices; };
    AdvancedFilter& a = panel.advanced();
    a.aMass().setMinValue(130);
    a.aMass().setMaxValue(250);
    a.aMass().setMinEnabled(true);
    a.aMass().setMaxEnabled(true);
    EXPECT_EQ(notices, 0) << "a disabled advanced filter does not tell the panel";
    a.setEnabled(true);
    EXPECT_EQ(notices, 1);
    EXPECT_FALSE(a.ignored());
    EXPECT_EQ(panel.fullNuclideList().names(), list("Am-241 Ba-137m Cs-137 I-131 Po-212 Tl-204"));

    a.decay().setOrSet({DecayFilterKind::BetaMinus});
    a.decay().setEnabled(true);
    EXPECT_EQ(names(a), list("Cs-137 I-131 Tl-204"));
    EXPECT_EQ(panel.fullNuclideList().names(), list("Cs-137 I-131 Tl-204"));
    ElementSet elements;
    for (ChemicalElement e : {ChemicalElement::Cs, ChemicalElement::I, ChemicalElement::Tl})
        elements.insert(e);
    EXPECT_EQ(panel.fullElementSet(), elements);

    // An inverted mass range drops out of the combination.
    a.aMass().setMinValue(255);
    EXPECT_EQ(names(a), list("Co-60 Cs-137 I-131 Tl-204"));
    // With the element filter too, only the elements both allow.
    ElementSet noTl = index.elements();
    noTl.erase(ChemicalElement::Tl);
    panel.setElementSet(noTl);
    panel.setUseElementFilter(true);
    elements.erase(ChemicalElement::Tl);
    elements.insert(ChemicalElement::Co);
    EXPECT_EQ(panel.fullElementSet(), elements);
    EXPECT_EQ(panel.fullNuclideList().names(), list("Co-60 Cs-137 I-131"));
}

TEST_F(AdvancedFilterTest, EnabledWithNothingActiveIsIgnored)
{
    NuclideFilter panel(index, spectra);
    const QStringList everything = panel.fullNuclideList().names();
    panel.advanced().setEnabled(true);
    EXPECT_TRUE(panel.advanced().ignored());
    EXPECT_EQ(panel.fullNuclideList().names(), everything);
    EXPECT_EQ(panel.fullElementSet(), index.elements());
    panel.advanced().spectrum().setEnabled(true); // no option chosen
    panel.advanced().aMass().setMinValue(20);
    panel.advanced().aMass().setMaxValue(10);
    panel.advanced().aMass().setMinEnabled(true);
    panel.advanced().aMass().setMaxEnabled(true);
    EXPECT_TRUE(panel.advanced().ignored());
    EXPECT_EQ(panel.fullNuclideList().names(), everything);
}

TEST_F(AdvancedFilterTest, AssignCopiesEveryCriterionWithOneNotice)
{
    NuclideFilter from(index, spectra);
    AdvancedFilter& a = from.advanced();
    a.halfLifeTime().setMaxUnits(TimeUnit::Year);
    a.halfLifeTime().setMaxValue(10);
    a.halfLifeTime().setMaxEnabled(true);
    a.spectrum().setOptions({SpectrumCriterion::AlphaShare});
    a.spectrum().setMax(SpectrumCriterion::AlphaShare, 1);
    a.spectrum().setMin(SpectrumCriterion::AlphaShare, 0.5f);
    a.spectrum().setEnabled(true);
    a.setFormLastPage(3);
    a.setFormIsMoreWidth(true);
    a.setEnabled(true);
    ASSERT_EQ(names(a), list("Cf-252 Po-212"));

    NuclideFilter to(index, spectra);
    int notices = 0;
    to.onChange = [&](ListFilter*) { ++notices; };
    to.assign(from);
    EXPECT_EQ(notices, 1);
    const AdvancedFilter& b = to.advanced();
    EXPECT_TRUE(b.enabled());
    EXPECT_EQ(names(b), list("Cf-252 Po-212"));
    EXPECT_EQ(to.fullNuclideList().names(), list("Cf-252 Po-212"));
    EXPECT_EQ(b.halfLifeTime().maxValue(), 10);
    EXPECT_TRUE(b.halfLifeTime().maxEnabled());
    EXPECT_EQ(b.spectrum().min(SpectrumCriterion::AlphaShare), 0.5f);
    EXPECT_EQ(b.formLastPage(), 3);
    EXPECT_TRUE(b.formIsMoreWidth());
}

TEST_F(AdvancedFilterTest, CriteriaTogetherHoldTheIndexsNodes)
{
    NuclideFilter panel(index, spectra);
    AdvancedFilter& a = panel.advanced();
    a.decay().setOrSet({DecayFilterKind::IsomericTransition});
    a.decay().setEnabled(true);
    a.spectrum().setOptions({SpectrumCriterion::GammaLineEnergy});
    a.spectrum().setMax(SpectrumCriterion::GammaLineEnergy, 0.7f);
    a.spectrum().setMin(SpectrumCriterion::GammaLineEnergy, 0.6f);
    a.spectrum().setEnabled(true);
    a.setEnabled(true);
    ASSERT_EQ(names(a), list("Ba-137m"));
    EXPECT_EQ(a.nuclides().objects(0), index.findNuclide(u"Ba-137m"));
    EXPECT_EQ(a.decay().nuclides().objects(0), index.findNuclide(u"Ba-137m"));
    EXPECT_EQ(a.spectrum().nuclides().objects(0), index.findNuclide(u"Ba-137m"));
    EXPECT_EQ(panel.fullNuclideList().objects(0), index.findNuclide(u"Ba-137m"));
    EXPECT_EQ(panel.fullNuclideList().objects(0)->halfLife, 2.552f);
}

// The filter answers a line criterion from the lines the spectra summary keeps; the line search
// walks each nuclide's lines as read from the file. On the shipped spectra both must name the
// same nuclides for every group, both quantities and windows narrow and wide.
TEST(ShippedAdvancedFilter, LineCriteriaPassWhatTheLineSearchFinds)
{
    NuclideIndex index;
    loadShippedIndex(index);
    SpectraFiles spectra(index);
    std::vector<const Nuclide*> all;
    for (int i = 0; i < index.count(); ++i)
        all.push_back(index.items(i));
    struct Window {
        float min;
        float max;
    };
    const Window windows[] = {{0, 0}, {0.6f, 0.65f}, {0.661657f, 0.661657f}, {0.01f, 0.02f}, {5, 6}, {0, 100}};
    for (const LineGroup group : {LineGroup::Alpha, LineGroup::Beta, LineGroup::Photon})
        for (const bool energy : {true, false})
            for (const Window& w : windows) {
                SpectrumFilter filter(spectra);
                const SpectrumCriterion option = energy ? energyOptionOf(group) : yieldOptionOf(group);
                filter.setOptions({option});
                filter.setMax(option, w.max);
                filter.setMin(option, w.min);
                filter.setEnabled(true);
                LineQuery query;
                query.types = radiationsOf(group);
                (energy ? query.energy : query.yield) = LineBounds{w.min, w.max};
                QStringList found;
                for (const FoundLine& line : findLines(spectra, all, query).lines)
                    if (!found.contains(line.node->nameText()))
                        found << line.node->nameText();
                SCOPED_TRACE(testing::Message()
                             << static_cast<int>(group) << (energy ? " energy " : " yield ") << w.min << ".." << w.max);
                EXPECT_EQ(filter.nuclides().names(), found);
            }
}

TEST(ShippedAdvancedFilter, FindsNuclidesByHalfLifeDecayModeAndGammaEnergy)
{
    NuclideIndex index;
    loadShippedIndex(index);
    SpectraFiles spectra(index);
    AdvancedFilter a(&index, spectra);
    a.setEnabled(true);
    a.spectrum().setOptions({SpectrumCriterion::GammaLineEnergy});
    a.spectrum().setMax(SpectrumCriterion::GammaLineEnergy, 0.662f);
    a.spectrum().setMin(SpectrumCriterion::GammaLineEnergy, 0.661f);
    a.spectrum().setEnabled(true);
    EXPECT_GE(a.nuclides().indexOf(QStringLiteral("Ba-137m")), 0);
    EXPECT_LT(a.nuclides().indexOf(QStringLiteral("Cs-137")), 0) << "its 662 keV gamma is its daughter's";
    a.halfLifeTime().setMinUnits(TimeUnit::Year);
    a.halfLifeTime().setMinValue(1);
    a.halfLifeTime().setMinEnabled(true);
    EXPECT_LT(a.nuclides().indexOf(QStringLiteral("Ba-137m")), 0);
    EXPECT_FALSE(a.ignored());

    // With a nuclide list (the data files), an element is offered only for a listed nuclide
    // that passes: U-232 passes the half-life range but has no place in the list.
    NuclideFilter panel(index, spectra);
    panel.setNuclideList(QStringList{"U-238", "Pu-238", "Co-60"});
    panel.setUseNuclideFilter(true);
    AdvancedFilter& years = panel.advanced();
    for (bool max : {false, true}) {
        max ? years.halfLifeTime().setMaxUnits(TimeUnit::Year) : years.halfLifeTime().setMinUnits(TimeUnit::Year);
        max ? years.halfLifeTime().setMaxValue(100) : years.halfLifeTime().setMinValue(1);
        max ? years.halfLifeTime().setMaxEnabled(true) : years.halfLifeTime().setMinEnabled(true);
    }
    years.setEnabled(true);
    ASSERT_GE(years.nuclides().indexOf(QStringLiteral("U-232")), 0);
    EXPECT_EQ(panel.fullNuclideList().names(), (QStringList{"Co-60", "Pu-238"}));
    ElementSet offered;
    offered.insert(ChemicalElement::Co);
    offered.insert(ChemicalElement::Pu);
    EXPECT_EQ(panel.fullElementSet(), offered);

    DecayModeFilter fission(&index);
    fission.setOperation(DecayModeMatch::All);
    fission.setAndSet({DecayFilterKind::Alpha, DecayFilterKind::SpontaneousFission});
    fission.setEnabled(true);
    EXPECT_GE(fission.nuclides().indexOf(QStringLiteral("Cf-252")), 0);
    EXPECT_LT(fission.nuclides().indexOf(QStringLiteral("Am-241")), 0);
    for (const NuclideList::Entry& e : fission.nuclides().items())
        EXPECT_GT(e.node->spontaneousFissionFraction(), 0) << e.name.toStdString();
}

} // namespace
} // namespace kav
