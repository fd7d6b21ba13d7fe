#include "base/numberformat.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace kav {
namespace {

struct PictureCase {
    double value;
    const char16_t* picture;
    const char16_t* expected;
};

TEST(PictureFormat, PrintsAsThePictureSays)
{
    const PictureCase cases[] = {
        // Optional and required decimals, trailing zeros dropped.
        PictureCase{0.5, u"0.###", u"0.5"},
        PictureCase{2.0, u"0.###", u"2"},
        PictureCase{1.23456, u"0.###", u"1.235"},
        PictureCase{0.0004, u"0.###", u"0"},
        PictureCase{12.34, u"00.#", u"12.3"},
        PictureCase{5.0, u"00.#", u"05"},
        PictureCase{0.1234567, u"#0.######", u"0.123457"},
        PictureCase{3.0, u"0.0", u"3.0"},
        PictureCase{1.5, u"0.00", u"1.50"},
        // Half away from zero on the decimal digits, not on the binary value.
        PictureCase{0.125, u"0.##", u"0.13"},
        PictureCase{1.005, u"0.##", u"1.01"},
        PictureCase{-0.125, u"0.##", u"-0.13"},
        PictureCase{2.5, u"0", u"3"},
        PictureCase{-2.5, u"0", u"-3"},
        PictureCase{9.9996, u"0.###", u"10"},
        PictureCase{-0.0001, u"0.##", u"0"},
        // Rounding on the first significant digit carries into a digit the number did not have.
        PictureCase{0.5, u"0", u"1"},
        PictureCase{-0.5, u"0", u"-1"},
        PictureCase{0.05, u"0.#", u"0.1"},
        PictureCase{0.005, u"0.##", u"0.01"},
        PictureCase{0.95, u"0.#", u"1"},
        PictureCase{9.5, u"0", u"10"},
        PictureCase{0.4, u"0", u"0"},
        PictureCase{0.04, u"0.#", u"0"},
        // Scientific: one integer digit, sign of the exponent only when asked.
        PictureCase{0.0123, u"0.##E-0", u"1.23E-2"},
        PictureCase{1234.5, u"0.##E-0", u"1.23E3"},
        PictureCase{12345, u"0.#######E-#", u"1.2345E4"},
        PictureCase{0, u"0.#######E-#", u"0E0"},
        PictureCase{2.5e-7, u"0.######E-#", u"2.5E-7"},
        PictureCase{1.234e-9, u"0.0E+0", u"1.2E-9"},
        PictureCase{3.4e5, u"0.0E+0", u"3.4E+5"},
        PictureCase{9.96e-3, u"0.0E+0", u"1.0E-2"},
        PictureCase{1e-5, u"0.00E+0", u"1.00E-5"},
        PictureCase{7e-3, u"0E+0", u"7E-3"},
        PictureCase{2.99e-7, u"0.###e-0", u"2.99e-7"},
        PictureCase{1.5e17, u"0.###e-0", u"1.5e17"},
        PictureCase{1.23456e-7, u"0.#####e-0", u"1.23456e-7"},
        PictureCase{0.0, u"0.0E+0", u"0.0E+0"},
        PictureCase{-4.56e-3, u"0.0E+0", u"-4.6E-3"},
        PictureCase{1e-5, u"0.0E+00", u"1.0E-05"},
        // A literal blank between thousands and the last three digits.
        PictureCase{5700.0, u"# ##0", u"5 700"},
        PictureCase{570000.0, u"# ##0", u"570 000"},
        PictureCase{999.6, u"# ##0", u"1 000"},
        PictureCase{42.0, u"# ##0", u"42"},
        // Quoted text, sections for negative and zero values.
        PictureCase{3.0, u"0 'days'", u"3 days"},
        PictureCase{-3.0, u"0;(0)", u"(3)"},
        PictureCase{0.0, u"0.0;-0.0;'none'", u"none"},
    };
    for (const PictureCase& c : cases)
        EXPECT_EQ(formatPicture(c.value, QString::fromUtf16(c.picture), u'.'), QString::fromUtf16(c.expected))
            << c.value << " with " << QString::fromUtf16(c.picture).toStdString();
}

TEST(PictureFormat, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(formatPicture(1.25, u"0.##", u','), QStringLiteral("1,25"));
    EXPECT_EQ(formatPicture(1.5e-3, u"0.0E+0", u','), QStringLiteral("1,5E-3"));
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(formatPicture(0.5, u"0.###"), QStringLiteral("0,5"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(formatPicture(0.5, u"0.###"), QStringLiteral("0.5"));
}

TEST(PictureFormat, SurvivesOddNumbersAndPictures)
{
    EXPECT_EQ(formatPicture(std::numeric_limits<double>::quiet_NaN(), u"0.0", u'.'), QStringLiteral("NAN"));
    EXPECT_EQ(formatPicture(-std::numeric_limits<double>::infinity(), u"0.0", u'.'), QStringLiteral("-INF"));
    EXPECT_EQ(formatPicture(1e300, u"0.0E+0", u'.'), QStringLiteral("1.0E+300"));
    EXPECT_EQ(formatPicture(5e-324, u"0.0E+0", u'.'), QStringLiteral("4.9E-324"));
    EXPECT_EQ(formatPicture(1e20, u"0", u'.'), QStringLiteral("100000000000000000000"));
    // Without placeholders the number follows whatever text the picture has.
    EXPECT_EQ(formatPicture(12.0, u"", u'.'), QStringLiteral("12"));
    EXPECT_EQ(formatPicture(12.0, u"'unclosed", u'.'), QStringLiteral("unclosed12"));
    EXPECT_EQ(formatPicture(12.0, u".##", u'.'), QStringLiteral("12"));
}

} // namespace
} // namespace kav
