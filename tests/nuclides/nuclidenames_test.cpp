#include "base/numberformat.h"
#include "nuclides/nuclidelist.h"
#include "nuclides/nuclidenames.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace kav {
namespace {

class NamesTest : public testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(NamesTest, ElementNamesKeepTheirExactTexts)
{
    EXPECT_EQ(elementName(ChemicalElement::Yb), QStringLiteral("Ytterbium "));
    EXPECT_EQ(elementName(ChemicalElement::None), QStringLiteral("NE"));
    EXPECT_EQ(elementName(ChemicalElement::None, UiLanguage::Russian), QStringLiteral(" "));
    EXPECT_EQ(elementName(ChemicalElement::Co, UiLanguage::Russian),
              QString::fromUtf16(u"\u041A\u043E\u0431\u0430\u043B\u044C\u0442"));
    // Ukrainian names write the Latin i inside words and the Cyrillic capital at the start.
    EXPECT_EQ(elementName(ChemicalElement::He, UiLanguage::Ukrainian),
              QString::fromUtf16(u"\u0413\u0435\u043Bi\u0439"));
    EXPECT_EQ(elementName(ChemicalElement::Y, UiLanguage::Ukrainian), QString::fromUtf16(u"\u0406\u0442\u0440i\u0439"));
    EXPECT_EQ(elementSymbol(ChemicalElement::Db), QStringLiteral("Db"));
    EXPECT_EQ(elementSymbol(ChemicalElement::None), QStringLiteral("__"));
}

TEST_F(NamesTest, ElementBySymbolIgnoresCase)
{
    const std::pair<const char*, ChemicalElement> cases[] = {
        {"co", ChemicalElement::Co},   {"CO", ChemicalElement::Co},    {"H", ChemicalElement::H},
        {"Db", ChemicalElement::Db},   {"Zr", ChemicalElement::Zr},    {"Ac", ChemicalElement::Ac},
        {"", ChemicalElement::None},   {"Coo", ChemicalElement::None}, {"Xx", ChemicalElement::None},
        {"__", ChemicalElement::None}, {"-", ChemicalElement::None},
    };
    for (const auto& [symbol, element] : cases)
        EXPECT_EQ(elementBySymbol(QString::fromLatin1(symbol)), element) << symbol;
    for (std::size_t e = 0; e < ElementCount - 1; ++e)
        EXPECT_EQ(elementBySymbol(elementSymbol(static_cast<ChemicalElement>(e))), static_cast<ChemicalElement>(e));
}

TEST_F(NamesTest, HalfLivesReadAsTheUserExpects)
{
    struct Case {
        float halfLife;
        TimeUnit unit;
        UiLanguage language;
        const char16_t* value;
        const char16_t* units;
    };
    const Case cases[] = {
        {5.2713f, TimeUnit::Year, UiLanguage::English, u"5.271", u"y"},
        {1600, TimeUnit::Year, UiLanguage::English, u"1 600", u"y"},
        {5700, TimeUnit::Year, UiLanguage::English, u"5 700", u"y"},
        {1000, TimeUnit::Year, UiLanguage::English, u"1 000", u"y"},
        {1.53e6f, TimeUnit::Year, UiLanguage::English, u"1.53 m.", u"y"},
        {1e6f, TimeUnit::Year, UiLanguage::English, u"1 m.", u"y"},
        {4.468e9f, TimeUnit::Year, UiLanguage::English, u"4.468 b.", u"y"},
        {1.06e11f, TimeUnit::Year, UiLanguage::English, u"106 b.", u"y"},
        {4.41e14f, TimeUnit::Year, UiLanguage::English, u"4.41e14", u"y"},
        {6.015f, TimeUnit::Hour, UiLanguage::English, u"6.015", u"h"},
        {2.99e-7f, TimeUnit::Second, UiLanguage::English, u"2.99e-7", u"s"},
        {0.1f, TimeUnit::Minute, UiLanguage::English, u"0.1", u"m"},
        {4.468e9f, TimeUnit::Year, UiLanguage::Russian, u"4.468 \u043C\u043B\u0440\u0434", u"\u043B"},
        {12.0f, TimeUnit::Hour, UiLanguage::Ukrainian, u"12", u"\u0433\u043E\u0434"},
        {3.0f, TimeUnit::Microsecond, UiLanguage::English, u"3", u"\u00B5s"},
    };
    for (const Case& c : cases) {
        Nuclide node;
        node.halfLife = c.halfLife;
        node.halfLifeUnit = c.unit;
        QString value;
        QString units;
        halfLifeText(node, c.language, value, units);
        EXPECT_EQ(value, QString::fromUtf16(c.value)) << c.halfLife;
        EXPECT_EQ(units, QString::fromUtf16(c.units)) << c.halfLife;
        EXPECT_EQ(halfLifeText(node, c.language), value + u' ' + units);
    }
}

TEST_F(NamesTest, DecayModesAndMassTexts)
{
    Nuclide node;
    node.decayModes = {DecayMode::IsomericTransition, DecayMode::BetaMinus};
    EXPECT_EQ(decayModeCodes(node), QStringLiteral("B-IT"));
    node.decayModes = {DecayMode::SpontaneousFission, DecayMode::Alpha};
    EXPECT_EQ(decayModeCodes(node), QStringLiteral("ASF"));
    node.decayModes = {DecayMode::ElectronCapture, DecayMode::BetaPlus, DecayMode::BetaMinus};
    EXPECT_EQ(decayModeCodes(node), QStringLiteral("B-B+EC"));
    node.decayModes = DecayModeSet::fromRaw(0x3F);
    EXPECT_EQ(decayModeCodes(node), QStringLiteral("B-ITB+AE")); // cut to eight characters

    const std::pair<const char*, IsomerState> states[] = {{"99m", IsomerState::M},
                                                          {"60", IsomerState::Ground},
                                                          {"", IsomerState::Ground},
                                                          {"60x", IsomerState::Ground},
                                                          {"110n", IsomerState::N}};
    for (const auto& [mass, state] : states) {
        NuclideIdentity rnx;
        rnx.mass = MassText(mass);
        EXPECT_EQ(rnx.aMassChar(), state) << mass;
    }
    EXPECT_EQ(NuclideIdentity().nameText(), QStringLiteral("__-0"));

    EXPECT_EQ(massNumberOf("99m"), 99);
    EXPECT_EQ(massNumberOf("stbl"), 65535);
    EXPECT_EQ(massNumberOf("234"), 234);
    for (const char* bad : {"", "m", "ab", "9x9"})
        EXPECT_EQ(massNumberOf(bad), std::nullopt) << bad;
}

TEST_F(NamesTest, DecayConstantAndHalfLifeConvert)
{
    EXPECT_FLOAT_EQ(halfLifeToLr(1, TimeUnit::Day), 0.6931472f);
    EXPECT_FLOAT_EQ(halfLifeToLr(24, TimeUnit::Hour), 0.6931472f);
    struct Case {
        double days;
        float value;
        TimeUnit unit;
    };
    for (const Case& c :
         {Case{0.5, 12, TimeUnit::Hour}, Case{0.01, 14.4f, TimeUnit::Minute}, Case{800, 800 / 365.25f, TimeUnit::Year},
          Case{200, 200, TimeUnit::Day}, Case{1e-12, 0.0864f, TimeUnit::Microsecond}}) {
        const HalfLifeWithUnit h = lrToHalfLife(static_cast<float>(std::log(2.0) / c.days));
        EXPECT_EQ(h.unit, c.unit) << c.days;
        EXPECT_NEAR(h.value, c.value, 1e-4 * c.value) << c.days;
    }
}

TEST_F(NamesTest, ComparisonsGiveTheFourOrders)
{
    auto node = [](ChemicalElement e, int mass, const char* text) {
        Nuclide n;
        n.element = e;
        n.massNumber = static_cast<std::uint16_t>(mass);
        n.mass = MassText(text);
        n.name = NuclideName(QStringView(elementSymbol(e) + u'-' + QString::fromLatin1(text)));
        return n;
    };
    const Nuclide c11 = node(ChemicalElement::C, 11, "11"), ca41 = node(ChemicalElement::Ca, 41, "41"),
                  co57 = node(ChemicalElement::Co, 57, "57"), co60 = node(ChemicalElement::Co, 60, "60"),
                  h3 = node(ChemicalElement::H, 3, "3"), he6 = node(ChemicalElement::He, 6, "6"),
                  be7 = node(ChemicalElement::Be, 7, "7"), ag99 = node(ChemicalElement::Ag, 99, "99"),
                  ag117 = node(ChemicalElement::Ag, 117, "117"), ag110 = node(ChemicalElement::Ag, 110, "110"),
                  ag110m = node(ChemicalElement::Ag, 110, "110m");
    EXPECT_LT(compareAlphabetical(c11, ca41), 0);
    EXPECT_LT(compareAlphabetical(co57, co60), 0);
    EXPECT_LT(compareAlphabetical(ag99, ag117), 0);
    EXPECT_EQ(compareAlphabetical(co60, co60), 0);
    EXPECT_LT(comparePeriodicTable(h3, be7), 0);
    EXPECT_LT(comparePeriodicTable(ag110, ag110m), 0);
    EXPECT_GT(comparePeriodicTable(ca41, c11), 0);
    EXPECT_LT(compareMass(h3, he6), 0);
    EXPECT_LT(compareMass(he6, be7), 0);
    EXPECT_LT(compareMassOnly(ag110, ag110m), 0);
    EXPECT_GT(compareMassOnly(ag117, ag110m), 0);
}

TEST_F(NamesTest, RadiationNamesAndCodes)
{
    EXPECT_EQ(radiationName(1), QStringLiteral("Gamma rays"));
    EXPECT_EQ(radiationCode(2), QStringLiteral("x"));
    EXPECT_EQ(radiationCode(2, UiLanguage::Russian), QStringLiteral("X-ray"));
    EXPECT_EQ(radiationCode(14), QStringLiteral("sb"));
    EXPECT_TRUE(radiationName(0).isEmpty());
    EXPECT_TRUE(radiationCode(15).isEmpty());
}

TEST(NuclideNames, NamesFromTheWaysPeopleTypeThem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"cs137", "Cs-137"},
        {"Cs-137", "Cs-137"},
        {"cs 137", "Cs-137"},
        {"CS137", "Cs-137"},
        {"tc99m", "Tc-99m"},
        {"Tc-99M", "Tc-99m"},
        {"137Cs", "Cs-137"},
        {"137-cs", "Cs-137"},
        {"99mTc", "Tc-99m"},
        {"99Mo", "Mo-99"},
        {"238u", "U-238"},
        {"110mAg", "Ag-110m"},
        {"co", "Co"},
        {"u", "U"},
        // Not names.
        {"", ""},
        {"137", ""},
        {"co6o", ""},
        {"cs1370", ""},
        {"1370cs", ""},
        {"99xTc", ""},
        {"99Xx", ""},
        {"cs137x", ""},
        {"c$137", ""},
        {"abc1", ""},
    };
    for (const auto& [typed, name] : cases)
        EXPECT_EQ(nuclideNameFromTyping(QString::fromLatin1(typed)), QString::fromLatin1(name)) << typed;
}

// A sorted list filled at once holds what adding one by one gives: names in order without regard
// to case, the first of names equal but for case kept with its node.
TEST(NuclideList, FilledAtOnceAsOneByOne)
{
    const Nuclide* a = reinterpret_cast<const Nuclide*>(0x10);
    const Nuclide* b = reinterpret_cast<const Nuclide*>(0x20);
    const std::vector<NuclideList::Entry> entries{{"Sr-90", a},  {"co-60", a},  {"Cs-137", b}, {"Co-60", b},
                                                  {"Am-241", a}, {"cs-137", a}, {"H-3", b}};
    NuclideList oneByOne(true);
    for (const NuclideList::Entry& e : entries)
        oneByOne.add(e.name, e.node);
    NuclideList atOnce(true);
    atOnce.assign(entries);
    ASSERT_EQ(atOnce.names(), (QStringList{"Am-241", "co-60", "Cs-137", "H-3", "Sr-90"}));
    EXPECT_EQ(atOnce.names(), oneByOne.names());
    for (int i = 0; i < atOnce.count(); ++i)
        EXPECT_EQ(atOnce.objects(i), oneByOne.objects(i)) << i;
    // Unsorted: as given.
    NuclideList plain;
    plain.assign(entries);
    EXPECT_EQ(plain.count(), 7);
    EXPECT_EQ(plain.strings(1), QStringLiteral("co-60"));
}

} // namespace
} // namespace kav
