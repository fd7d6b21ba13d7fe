#include "units/units.h"

#include "base/numberformat.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace kav {

namespace {

struct TimeUnitInfo {
    double perDayA;
    double perDayB;
    const char16_t* shortLabel;
    const char16_t* longLabel;
    const char16_t* pluralLabel;
};

constexpr std::array<TimeUnitInfo, TimeUnitCount> kTimeUnits{{
    {1.0 / 365.25, 1.0 / 365.0, u"y", u"year", u"years"},
    {1.0, 1.0, u"d", u"day", u"days"},
    {24.0, 24.0, u"h", u"hour", u"hours"},
    {1440.0, 1440.0, u"m", u"minute", u"minutes"},
    {86400.0, 86400.0, u"s", u"second", u"seconds"},
    {8.64e7, 8.64e7, u"ms", u"millisecond", u"milliseconds"},
    {8.64e10, 8.64e10, u"\u00B5s", u"microsecond", u"microseconds"},
}};

struct ScaledUnitInfo {
    float perUnit;
    const char16_t* label;
};

constexpr std::array<ScaledUnitInfo, ActivityUnitCount> kActivityUnits{{
    {1e-18f, u"aBq"},  {1e-15f, u"fBq"},  {1e-12f, u"pBq"},  {1e-9f, u"nBq"},   {1e-6f, u"\u00B5Bq"},
    {1e-3f, u"mBq"},   {1e-2f, u"cBq"},   {0.1f, u"dBq"},    {1.0f, u"Bq"},     {1e3f, u"kBq"},
    {1e6f, u"MBq"},    {1e9f, u"GBq"},    {1e12f, u"TBq"},   {1e15f, u"PBq"},   {1e18f, u"EBq"},
    {3.7e-8f, u"aCi"}, {3.7e-5f, u"fCi"}, {3.7e-2f, u"pCi"}, {37.0f, u"nCi"},   {3.7e4f, u"\u00B5Ci"},
    {3.7e7f, u"mCi"},  {3.7e8f, u"cCi"},  {3.7e9f, u"dCi"},  {3.7e10f, u"Ci"},  {3.7e13f, u"kCi"},
    {3.7e16f, u"MCi"}, {3.7e19f, u"GCi"}, {3.7e22f, u"TCi"}, {3.7e25f, u"PCi"}, {3.7e28f, u"ECi"},
}};

// "сSv" and "сrem" begin with the Cyrillic small es (U+0441).
constexpr std::array<ScaledUnitInfo, DoseUnitCount> kDoseUnits{{
    {1e-18f, u"aSv"},  {1e-15f, u"fSv"},      {1e-12f, u"pSv"},  {1e-9f, u"nSv"},   {1e-6f, u"\u00B5Sv"},
    {1e-3f, u"mSv"},   {1e-2f, u"\u0441Sv"},  {0.1f, u"dSv"},    {1.0f, u"Sv"},     {1e3f, u"kSv"},
    {1e6f, u"MSv"},    {1e9f, u"GSv"},        {1e12f, u"TSv"},   {1e15f, u"PSv"},   {1e18f, u"ESv"},
    {1e-20f, u"arem"}, {1e-17f, u"frem"},     {1e-14f, u"prem"}, {1e-11f, u"nrem"}, {1e-8f, u"\u00B5rem"},
    {1e-5f, u"mrem"},  {1e-4f, u"\u0441rem"}, {1e-3f, u"drem"},  {1e-2f, u"rem"},   {10.0f, u"krem"},
    {1e4f, u"Mrem"},   {1e7f, u"Grem"},       {1e10f, u"Trem"},  {1e13f, u"Prem"},  {1e16f, u"Erem"},
}};

template <typename Entries, typename Unit> const auto& entry(const Entries& table, Unit unit)
{
    const int ordinal = static_cast<int>(unit);
    return table[static_cast<std::size_t>(std::clamp(ordinal, 0, static_cast<int>(table.size()) - 1))];
}

} // namespace

double timeUnitsPerDayA(TimeUnit unit)
{
    return entry(kTimeUnits, unit).perDayA;
}
double timeUnitsPerDayB(TimeUnit unit)
{
    return entry(kTimeUnits, unit).perDayB;
}
float bqPerUnit(ActivityUnit unit)
{
    return entry(kActivityUnits, unit).perUnit;
}
float svPerUnit(DoseUnit unit)
{
    return entry(kDoseUnits, unit).perUnit;
}

QString timeUnitShortLabel(TimeUnit unit, UiLanguage)
{
    return QString::fromUtf16(entry(kTimeUnits, unit).shortLabel);
}
QString timeUnitLongLabel(TimeUnit unit, UiLanguage)
{
    return QString::fromUtf16(entry(kTimeUnits, unit).longLabel);
}
QString timeUnitPluralLabel(TimeUnit unit, UiLanguage)
{
    return QString::fromUtf16(entry(kTimeUnits, unit).pluralLabel);
}
QString activityUnitLabel(ActivityUnit unit, UiLanguage)
{
    return QString::fromUtf16(entry(kActivityUnits, unit).label);
}
bool activityUnitFromLabel(QStringView label, ActivityUnit& unit)
{
    for (int u = 0; u < ActivityUnitCount; ++u)
        if (label == activityUnitLabel(static_cast<ActivityUnit>(u))) {
            unit = static_cast<ActivityUnit>(u);
            return true;
        }
    return false;
}
QString doseUnitLabel(DoseUnit unit, UiLanguage)
{
    return QString::fromUtf16(entry(kDoseUnits, unit).label);
}

double doseCoefficientInUnits(double svPerBq, DoseUnit dose, ActivityUnit activity)
{
    return svPerBq * bqPerUnit(activity) / svPerUnit(dose);
}

double contentPerIntakeInUnits(double bqPerBq, ActivityUnit content, ActivityUnit intake)
{
    return bqPerBq * bqPerUnit(intake) / bqPerUnit(content);
}

double daysInUnit(double days, TimeUnit unit)
{
    return days * timeUnitsPerDayB(unit);
}

ScaledTime scaleTimeUnit(double days)
{
    if (days > 1) {
        const double years = days / 365.25;
        if (years <= 1)
            return {days, TimeUnit::Day};
        return {years, TimeUnit::Year};
    }
    for (TimeUnit unit : {TimeUnit::Hour, TimeUnit::Minute, TimeUnit::Second, TimeUnit::Millisecond}) {
        const double value = days * timeUnitsPerDayA(unit);
        if (value >= 1)
            return {value, unit};
    }
    return {days * timeUnitsPerDayA(TimeUnit::Microsecond), TimeUnit::Microsecond};
}

namespace {

// The first 15 significant decimal digits of |x| (finite, not zero) as the number printers take
// them, and the decimal exponent of the first: |x| = d.dddd... × 10^exponent.
int writeFifteenDigits(double x, char* digits)
{
    char text[40];
    const auto end = std::to_chars(text, text + sizeof text, std::fabs(x), std::chars_format::scientific, 14).ptr;
    // "d.dddddddddddddde±xx"
    digits[0] = text[0];
    std::copy(text + 2, text + 16, digits + 1);
    int exponent = 0;
    std::from_chars(text + 17 + (text[17] == '+' ? 1 : 0), end, exponent);
    return exponent;
}

// Keeps the first n (1..14) of fifteen digits, rounding half away from zero; when they were all
// nines they become a one and zeros, one place up.
void roundDigits(char* digits, int n, int& exponent)
{
    if (digits[n] < '5')
        return;
    int i = n - 1;
    for (; i >= 0 && digits[i] == '9'; --i)
        digits[i] = '0';
    if (i >= 0) {
        ++digits[i];
    } else {
        digits[0] = '1';
        ++exponent;
    }
}

// The powers of ten a quick rounding scales numbers with.
constexpr int kQuickExponents = 200;
const std::array<double, 2 * kQuickExponents + 1>& powersOfTen()
{
    static const std::array<double, 2 * kQuickExponents + 1> powers = [] {
        std::array<double, 2 * kQuickExponents + 1> p{};
        for (int k = -kQuickExponents; k <= kQuickExponents; ++k)
            p[static_cast<std::size_t>(k + kQuickExponents)] = std::pow(10.0, k);
        return p;
    }();
    return powers;
}

// floor(log10(a)) for a positive a within 1E±190, from its binary exponent and the powers of ten
// (78913 / 2^18 is log10(2) closely enough for floor(b log10(2)) over the whole range of b); one
// more where a lies within a unit of the last place below a power of ten. False for a beyond.
bool decimalExponent(double a, int& exponent)
{
    const int binaryExponent = static_cast<int>((std::bit_cast<std::uint64_t>(a) >> 52) & 0x7ff) - 1023;
    int e = (binaryExponent * 78913) >> 18;
    if (e < -kQuickExponents + 10 || e > kQuickExponents - 10)
        return false;
    if (a >= powersOfTen()[static_cast<std::size_t>(e + 1 + kQuickExponents)])
        ++e;
    exponent = e;
    return true;
}

// The first n (1..14) significant digits of a (positive, finite) rounded as the printers round
// (to 15 digits, then half away from zero), scaled in double precision rather than written out
// in full: false when a lies so close to a point where the rounding turns, or to a power of ten,
// that the scaling's own error or the rounding to 15 digits could tip it.
bool quickSignificantDigits(double a, int n, char* digits, int& exponent)
{
    int e = 0;
    if (!decimalExponent(a, e))
        return false;
    const auto& powers = powersOfTen();
    const auto power = [&powers](int k) { return powers[static_cast<std::size_t>(k + kQuickExponents)]; };
    // n digits before the point: 10^(n-1) <= v < 10^n.
    const double v = a * power(n - 1 - e);
    // The scaling moves v by a few units of its last place, the rounding to 15 digits by up to
    // half a unit of the fifteenth digit.
    const double margin = v * 1e-15 + power(n - 15);
    const double low = power(n - 1);
    if (v < low + margin || v > 10 * low - margin)
        return false;
    const auto whole = static_cast<long long>(v);
    const double fraction = v - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) < margin)
        return false;
    long long rounded = whole + (fraction > 0.5 ? 1 : 0);
    if (static_cast<double>(rounded) == 10 * low) {
        rounded /= 10;
        ++e;
    }
    for (int i = n - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + rounded % 10);
        rounded /= 10;
    }
    exponent = e;
    return true;
}

// The first n significant digits of x (finite, not zero) rounded as the printers round (a
// digit past the fifteenth is left as the buffer had it); returns the decimal exponent of the
// first.
int significantDigits(double x, int n, char* digits)
{
    const double a = std::fabs(x);
    int exponent = 0;
    if (n <= 14 && quickSignificantDigits(a, n, digits, exponent))
        return exponent;
    exponent = writeFifteenDigits(a, digits);
    if (n < 15)
        roundDigits(digits, n, exponent);
    return exponent;
}

// Writes a number's places from its first n significant digits (the first at 10^exponent, zeros
// beyond): the integer places, at least as many as asked (zeros in front where the number has
// fewer), then up to the given decimal places as far as the last one that is not zero, at least
// keptDecimals of them; the separator only before decimals.
char16_t* writePlaces(char16_t* p, const char* digits, int n, int exponent, int integerPlaces, int decimalPlaces,
                      int keptDecimals)
{
    const auto digitAt = [&](int power) {
        const int i = exponent - power;
        return i >= 0 && i < n ? static_cast<char16_t>(digits[i]) : u'0';
    };
    for (int power = std::max(integerPlaces - 1, exponent); power >= 0; --power)
        *p++ = digitAt(power);
    int decimals = decimalPlaces;
    while (decimals > keptDecimals && digitAt(-decimals) == u'0')
        --decimals;
    if (decimals > 0) {
        *p++ = decimalSeparator().unicode();
        for (int power = -1; power >= -decimals; --power)
            *p++ = digitAt(power);
    }
    return p;
}

QString textOf(const char16_t* text, const char16_t* end)
{
    return QString(reinterpret_cast<const QChar*>(text), end - text);
}

} // namespace

QString formatSignificant(double x, int n)
{
    n = std::clamp(n, 1, 8);
    const double a = std::fabs(x);
    if (a < 1e-10)
        return QStringLiteral("0");
    if (!std::isfinite(x))
        return formatPicture(x, u"0");
    // Columns: below 0.1, 0.1..1, 1..10, 10..100, 100..1000, 1000 and above. The middle ones are
    // written without an exponent as long as n digits reach the units: "0.###", "0.##", "00.#",
    // "000" for three digits; the others with one digit before the point and an exponent.
    const int column = a < 0.1 ? 0 : a < 1 ? 1 : a < 10 ? 2 : a < 100 ? 3 : a < 1000 ? 4 : 5;
    const bool fixed = column >= 1 && column <= std::min(n + 1, 4);
    char digits[16];
    const int exponent = significantDigits(a, n, digits);
    char16_t text[40];
    char16_t* p = text;
    if (x < 0)
        *p++ = u'-';
    if (!fixed) {
        // d.ddE-e: the decimals only as far as the last one that is not zero.
        int decimals = n - 1;
        while (decimals > 0 && digits[decimals] == '0')
            --decimals;
        *p++ = static_cast<char16_t>(digits[0]);
        if (decimals > 0) {
            *p++ = decimalSeparator().unicode();
            p = std::copy(digits + 1, digits + 1 + decimals, p);
        }
        *p++ = u'E';
        if (exponent < 0)
            *p++ = u'-';
        char exponentText[8];
        p = std::copy(exponentText,
                      std::to_chars(exponentText, exponentText + sizeof exponentText, std::abs(exponent)).ptr, p);
        return textOf(text, p);
    }
    // The column's last place is the nth digit; a single digit below 1 keeps its decimal ("0.0").
    const int integerPlaces = column <= 2 ? 1 : column - 1;
    p = writePlaces(p, digits, n, exponent, integerPlaces, n + 1 - column, n == 1 && column == 1 ? 1 : 0);
    return textOf(text, p);
}

QString formatDecimals(double x, int decimals)
{
    decimals = std::clamp(decimals, 0, 15);
    if (!std::isfinite(x))
        return formatPicture(x, u"0");
    if (x == 0)
        return QStringLiteral("0");
    // The digits down to the last decimal place, rounded there.
    const double a = std::fabs(x);
    char digits[16];
    int exponent = 0;
    int n = 0;
    if (decimalExponent(a, exponent) && exponent + 1 + decimals >= 1 && exponent + 1 + decimals <= 14) {
        // Should the 15-digit rounding carry a up to the next power of ten, the digit at the
        // last place is a zero either way.
        n = exponent + 1 + decimals;
        exponent = significantDigits(a, n, digits);
    } else {
        exponent = writeFifteenDigits(a, digits);
        const int kept = exponent + 1 + decimals;
        n = std::min(kept, 15);
        if (kept <= 0) {
            // Below the last place: it, or nothing, when the number is at least half of it.
            if (kept < 0 || digits[0] < '5')
                return QStringLiteral("0");
            digits[0] = '1';
            n = 1;
            exponent = -decimals;
        } else if (n < 15) {
            roundDigits(digits, n, exponent);
        }
    }
    // Up to 309 integer digits, the separator, the decimals and a sign.
    char16_t text[330];
    char16_t* p = text;
    if (x < 0 && std::any_of(digits, digits + n, [](char d) { return d != '0'; }))
        *p++ = u'-';
    p = writePlaces(p, digits, n, exponent, 1, decimals, 0);
    return textOf(text, p);
}

std::size_t writeScientific(char* out, double x, int n)
{
    n = std::clamp(n, 1, 16);
    if (!std::isfinite(x)) {
        const QByteArray text = formatPicture(x, u"0E+0").toLatin1();
        return static_cast<std::size_t>(std::copy(text.begin(), text.end(), out) - out);
    }
    // The picture "0.0...0E+0" written out directly: as the picture printer does, the first 15
    // significant digits are rounded half away from zero.
    char digits[24];
    std::fill(std::begin(digits), std::end(digits), '0');
    const int exponent = x != 0 ? significantDigits(x, n, digits) : 0;
    char* p = out;
    if (x < 0)
        *p++ = '-';
    *p++ = digits[0];
    if (n > 1) {
        *p++ = '.';
        p = std::copy(digits + 1, digits + n, p);
    }
    *p++ = 'E';
    *p++ = exponent < 0 ? '-' : '+';
    p = std::to_chars(p, out + 32, std::abs(exponent)).ptr;
    return static_cast<std::size_t>(p - out);
}

QString formatScientific(double x, int n)
{
    char text[32];
    QString result = QString::fromLatin1(text, static_cast<qsizetype>(writeScientific(text, x, n)));
    const qsizetype point = result.indexOf(u'.');
    if (point >= 0)
        result[point] = decimalSeparator();
    return result;
}

} // namespace kav
