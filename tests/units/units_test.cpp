#include "base/numberformat.h"
#include "units/units.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kav {
namespace {

class UnitsTest : public testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(UnitsTest, LabelsUseMicroSignAndCyrillicEs)
{
    EXPECT_EQ(doseUnitLabel(DoseUnit::uSv), QString::fromUtf16(u"\u00B5Sv"));
    EXPECT_EQ(doseUnitLabel(DoseUnit::cSv), QString::fromUtf16(u"\u0441Sv"));
    EXPECT_EQ(doseUnitLabel(DoseUnit::cRem), QString::fromUtf16(u"\u0441rem"));
    EXPECT_EQ(activityUnitLabel(ActivityUnit::cBq), QStringLiteral("cBq"));
    EXPECT_EQ(activityUnitLabel(ActivityUnit::uCi), QString::fromUtf16(u"\u00B5Ci"));
    EXPECT_EQ(timeUnitShortLabel(TimeUnit::Microsecond), QString::fromUtf16(u"\u00B5s"));
    EXPECT_EQ(timeUnitLongLabel(TimeUnit::Minute), QStringLiteral("minute"));
    EXPECT_EQ(timeUnitPluralLabel(TimeUnit::Hour), QStringLiteral("hours"));
    EXPECT_EQ(doseUnitLabel(DoseUnit::ERem), QStringLiteral("Erem"));
    EXPECT_EQ(activityUnitLabel(ActivityUnit::ECi), QStringLiteral("ECi"));
}

TEST_F(UnitsTest, FactorsAreSinglePrecisionAsStored)
{
    EXPECT_EQ(bqPerUnit(ActivityUnit::nCi), 37.0f);
    EXPECT_EQ(bqPerUnit(ActivityUnit::mBq), 1e-3f);
    EXPECT_EQ(svPerUnit(DoseUnit::Rem), 1e-2f);
    EXPECT_EQ(svPerUnit(DoseUnit::MRem), 1e4f);
    EXPECT_DOUBLE_EQ(timeUnitsPerDayA(TimeUnit::Year), 1 / 365.25);
    EXPECT_DOUBLE_EQ(timeUnitsPerDayB(TimeUnit::Year), 1 / 365.0);
}

TEST_F(UnitsTest, ConversionsFollowTheFactors)
{
    // 1e-9 Sv/Bq in mSv per kBq.
    // The factors are single precision, so results agree to about seven digits.
    EXPECT_NEAR(doseCoefficientInUnits(1e-9, DoseUnit::mSv, ActivityUnit::kBq), 1e-3, 1e-10);
    EXPECT_NEAR(doseCoefficientInUnits(2e-8, DoseUnit::uSv, ActivityUnit::Bq), 2e-2, 2e-9);
    EXPECT_EQ(formatScientific(doseCoefficientInUnits(1e-9, DoseUnit::mSv, ActivityUnit::kBq), 2),
              QStringLiteral("1.0E-3"));
    // 0.5 Bq per Bq: content in mBq per intake in kBq.
    EXPECT_NEAR(contentPerIntakeInUnits(0.5, ActivityUnit::mBq, ActivityUnit::kBq), 5e5, 0.05);
    EXPECT_DOUBLE_EQ(daysInUnit(2, TimeUnit::Hour), 48);
    EXPECT_DOUBLE_EQ(daysInUnit(730, TimeUnit::Year), 2);
}

TEST_F(UnitsTest, ScaleTimeUnitPicksAReadableUnit)
{
    struct Case {
        double days;
        double value;
        TimeUnit unit;
    };
    const Case cases[] = {
        {400, 400 / 365.25, TimeUnit::Year},
        {365.25, 365.25, TimeUnit::Day},
        {2, 2, TimeUnit::Day},
        {1, 24, TimeUnit::Hour},
        {0.5, 12, TimeUnit::Hour},
        {1.0 / 1440, 1, TimeUnit::Minute},
        {2e-5, 1.728, TimeUnit::Second},
        {1e-5, 864, TimeUnit::Millisecond},
        {1e-7, 8.64, TimeUnit::Millisecond},
        {1e-10, 8.64, TimeUnit::Microsecond},
        {0, 0, TimeUnit::Microsecond},
    };
    for (const Case& c : cases) {
        const ScaledTime t = scaleTimeUnit(c.days);
        EXPECT_EQ(t.unit, c.unit) << c.days;
        EXPECT_NEAR(t.value, c.value, 1e-9 * std::max(1.0, c.value)) << c.days;
    }
}

TEST_F(UnitsTest, FormatSignificantFollowsTheMagnitudeTable)
{
    struct Case {
        double x;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {0.0123, 3, "1.23E-2"}, {12.34, 3, "12.3"},      {5e-11, 3, "0"},
        {-5e-11, 2, "0"},       {0.5, 1, "0.5"},         {7.4, 1, "7"},
        {45, 1, "5E1"},         {0.25, 2, "0.25"},       {2.25, 2, "2.3"},
        {45.6, 2, "46"},        {456, 2, "4.6E2"},       {456, 3, "456"},
        {4567, 3, "4.57E3"},    {0.123456, 4, "0.1235"}, {1.234567, 5, "1.2346"},
        {12.34567, 4, "12.35"}, {123.4567, 4, "123.5"},  {0.01234567, 6, "1.23457E-2"},
        {-12.34, 3, "-12.3"},   {1.5, 0, "2"},           {1.23456789, 12, "1.2345679"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatSignificant(c.x, c.n), QString::fromLatin1(c.expected)) << c.x << " n=" << c.n;
}

// The magnitude table written as pictures, one row per number of digits, one column per range
// (below 0.1, 0.1..1, 1..10, 10..100, 100..1000, 1000 and above): the printer of significant
// digits writes them directly and must print every number as the picture printer does.
QString significantPicture(double x, int n)
{
    const double a = std::fabs(x);
    const int column = a < 0.1 ? 0 : a < 1 ? 1 : a < 10 ? 2 : a < 100 ? 3 : a < 1000 ? 4 : 5;
    static const char* const rows[8][6] = {
        {"0E-0", "0.0", "0", "0E-0", "0E-0", "0E-0"},
        {"0.#E-0", "0.##", "0.#", "00", "0.#E-0", "0.#E-0"},
        {"0.##E-0", "0.###", "0.##", "00.#", "000", "0.##E-0"},
        {"0.###E-0", "0.####", "0.###", "00.##", "000.#", "0.###E-0"},
        {"0.####E-0", "0.#####", "0.####", "00.###", "000.##", "0.####E-0"},
        {"0.#####E-0", "0.######", "0.#####", "00.####", "000.###", "0.#####E-0"},
        {"0.######E-0", "0.#######", "0.######", "00.#####", "000.####", "0.######E-0"},
        {"0.#######E-0", "0.########", "0.#######", "00.######", "000.#####", "0.#######E-0"},
    };
    return formatPicture(x, QString::fromLatin1(rows[n - 1][column]));
}

TEST_F(UnitsTest, FormatSignificantPrintsAsItsPictures)
{
    std::vector<double> values;
    // Every range, the ends of each and numbers that round up across them (0.099996, 999.96),
    // halves (2.25, 0.125) and numbers a hair below them, all nines, and a sweep through twenty decades.
    for (const double edge : {1e-10, 0.1, 1.0, 10.0, 100.0, 1000.0})
        for (const double step : {0.9999999, 0.99996, 0.9996, 0.996, 0.96, 1.0, 1.0000001, 1.004, 1.05, 1.5})
            values.push_back(edge * step);
    for (const double x : {2.25, 0.125, 0.5, 9.5, 99.5, 999.5, 0.95, 0.995, 99999.5, 4.4445, 1.2345678e-7, 1e300,
                           5e-324, 2.2499999999999996, 0.12499999999999999, 9.9999999999999982, 99.499999999999986})
        values.push_back(x);
    for (double x = 1.7e-11; x < 1e10; x *= 1.0437)
        values.push_back(x);
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German)}) {
        QLocale::setDefault(locale);
        for (const double x : values)
            for (const double signedX : {x, -x})
                for (int n = 1; n <= 8; ++n) {
                    const QString expected
                        = std::fabs(signedX) < 1e-10 ? QStringLiteral("0") : significantPicture(signedX, n);
                    ASSERT_EQ(formatSignificant(signedX, n), expected) << signedX << " n=" << n;
                }
    }
    for (const double x : {std::nan(""), HUGE_VAL, -HUGE_VAL})
        EXPECT_EQ(formatSignificant(x, 3), formatPicture(x, u"0"));
}

TEST_F(UnitsTest, FormatDecimalsPrintsAsItsPicture)
{
    // Around every place a rounding can turn at, halves and numbers a hair below them, numbers
    // that round away to nothing, and the largest.
    std::vector<double> values{0,
                               0.5,
                               1.5,
                               2.5,
                               0.0000005,
                               0.00000049999,
                               0.0000004,
                               1e-20,
                               9.9999995,
                               99.9999999,
                               2.2499999999999996,
                               0.12499999999999999,
                               123456789.125,
                               1e300,
                               4.4e15,
                               1e16 + 2};
    for (double x = 1.3e-9; x < 1e12; x *= 1.173)
        values.push_back(x);
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German)}) {
        QLocale::setDefault(locale);
        for (const double x : values)
            for (const double signedX : {x, -x})
                for (int decimals = 0; decimals <= 8; ++decimals) {
                    const QString picture
                        = decimals == 0 ? QStringLiteral("#0") : QStringLiteral("#0.") + QString(decimals, u'#');
                    ASSERT_EQ(formatDecimals(signedX, decimals), formatPicture(signedX, picture))
                        << signedX << " decimals=" << decimals;
                }
    }
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(formatDecimals(-0.0000001, 6), QStringLiteral("0"));
    EXPECT_EQ(formatDecimals(2.5, 0), QStringLiteral("3"));
    EXPECT_EQ(formatDecimals(0.1250000, 6), QStringLiteral("0.125"));
    for (const double x : {std::nan(""), HUGE_VAL, -HUGE_VAL})
        EXPECT_EQ(formatDecimals(x, 6), formatPicture(x, u"0"));
}

TEST_F(UnitsTest, FormatScientificAlwaysHasNDigitsAndASignedExponent)
{
    EXPECT_EQ(formatScientific(1.234e-9, 2), QStringLiteral("1.2E-9"));
    EXPECT_EQ(formatScientific(3.4e5, 2), QStringLiteral("3.4E+5"));
    EXPECT_EQ(formatScientific(3e5, 3), QStringLiteral("3.00E+5"));
    EXPECT_EQ(formatScientific(3.6e5, 1), QStringLiteral("4E+5"));
    EXPECT_EQ(formatScientific(1.0, 2), QStringLiteral("1.0E+0"));
    EXPECT_EQ(formatScientific(0, 2), QStringLiteral("0.0E+0"));
    EXPECT_EQ(formatScientific(-9.96e-3, 2), QStringLiteral("-1.0E-2"));
    EXPECT_EQ(formatScientific(1.25, 2), QStringLiteral("1.3E+0")); // half away from zero, as written
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(formatScientific(1.234e-9, 2), QStringLiteral("1,2E-9"));
    EXPECT_EQ(formatScientific(-2.5e12, 3), QStringLiteral("-2,50E+12"));
}

TEST_F(UnitsTest, FormatScientificWritesWhatThePicturePatternWrites)
{
    // Values of every size and sign, ties and values just below a power of ten among them.
    std::vector<double> values{0, 1, 9.5, 9.95, 0.995, 1.25, 2.5e-7, 9.999999e-10, 1e-300, 3.4e38, 123456789012345678.0,
                               // A hair below a tie or a power of ten, which the 15-digit rounding first turns into it.
                               2.2499999999999996, 0.12499999999999999, 9.9999999999999982, 99.499999999999986,
                               4.9999999999999996e-5};
    std::uint64_t state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double mantissa = static_cast<double>(state >> 11) / 9007199254740992.0 * 10;
        const int exponent = static_cast<int>((state >> 3) % 80) - 40;
        values.push_back((i % 2 ? -1 : 1) * mantissa * std::pow(10.0, exponent));
        values.push_back(static_cast<float>(values.back()));
    }
    for (double v : values)
        for (const int n : {1, 2, 3, 4, 8, 11, 14, 15}) {
            const QString picture = QStringLiteral("0.") + QString(n - 1, u'0') + QStringLiteral("E+0");
            ASSERT_EQ(formatScientific(v, n), formatPicture(v, n == 1 ? QStringView(u"0E+0") : QStringView(picture)))
                << v << " n=" << n;
        }
}

TEST_F(UnitsTest, ParseFloatDefTakesOnlyWholeNumbersWithAPoint)
{
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"1,5", 7}, {"1.5e3", 1500}, {"", 0},        {"  ", 0},  {" 2.5 ", 2.5}, {"-3", -3},
        {"+4", 4},  {".5", 0.5},     {"1E-3", 1e-3}, {"abc", 7}, {"1.5x", 7},    {"inf", 7},
        {"nan", 7}, {"0x10", 7},     {"+-1", 7},     {"1e", 7},  {"--1", 7},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(parseFloatDef(QString::fromLatin1(c.text), 7), c.expected) << c.text;
    EXPECT_DOUBLE_EQ(parseFloatDef(QString::fromUtf16(u"1\u00B75"), 7), 7);
}

TEST_F(UnitsTest, ParseIntAcceptsOnlyWholeIntegers)
{
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"42", true, 42},  {" -7 ", true, -7},        {"+3", true, 3},     {"264", true, 264},
        {"", false, 0},    {"1.0", false, 0},         {"12abc", false, 0}, {"+", false, 0},
        {"+-1", false, 0}, {"99999999999", false, 0}, {"0x1F", false, 0},
    };
    for (const Case& c : cases) {
        int value = -1;
        EXPECT_EQ(parseInt(QString::fromLatin1(c.text), value), c.ok) << c.text;
        if (c.ok)
            EXPECT_EQ(value, c.value) << c.text;
        else
            EXPECT_EQ(value, -1) << c.text;
    }
}

} // namespace
} // namespace kav
