#include "nuclides/rnxnames.h"

#include "base/numberformat.h"

#include <array>
#include <cctype>
#include <cmath>

namespace kav {

namespace {

struct RadiationText {
    const char16_t* names[3];
    const char16_t* codeEnglish;
    const char16_t* codeOther;
};

constexpr std::array<RadiationText, RNXRadiationCount> kRadiations{{
    {{u"Gamma rays", u"\u0413\u0430\u043C\u043C\u0430-\u0438\u0437\u043B\u0443\u0447\u0435\u043D\u0438\u0435", u"\u0413\u0430\u043C\u043C\u0430-\u0432\u0438\u043F\u0440\u043E\u043Ci\u043D\u044E\u0432\u0430\u043D\u043D\u044F"}, u"g", u"g"},
    {{u"X-rays", u"\u0420\u0435\u043D\u0442\u0433\u0435\u043D\u043E\u0432\u0441\u043A\u043E\u0435 \u0438\u0437\u043B\u0443\u0447\u0435\u043D\u0438\u0435", u"\u0420\u0435\u043D\u0442\u0433\u0435\u043Di\u0432\u0441\u044C\u043A\u0435 \u0432\u0438\u043F\u0440\u043E\u043Ci\u043D\u044E\u0432\u0430\u043D\u043D\u044F"}, u"x", u"X-ray"},
    {{u"Annihilation photons", u"\u0410\u043D\u043D\u0438\u0433\u0438\u043B\u044F\u0446\u0438\u043E\u043D\u043D\u044B\u0435 \u0444\u043E\u0442\u043E\u043D\u044B", u"\u0410\u043Di\u0433i\u043B\u044F\u0446i\u0439\u043Di \u0444\u043E\u0442\u043E\u043D\u0438"}, u"aq", u"aq"},
    {{u"Beta+ particles", u"\u0411\u0435\u0442\u0430-\u0447\u0430\u0441\u0442\u0438\u0446\u044B (\u043F\u043E\u0437\u0438\u0442\u0440\u043E\u043D\u044B)", u"\u0411\u0435\u0442\u0430-\u0447\u0430\u0441\u0442\u043A\u0438 (\u043F\u043E\u0437\u0438\u0442\u0440\u043E\u043D\u0438)"}, u"b+", u"b+"},
    {{u"Beta- particles", u"\u0411\u0435\u0442\u0430-\u0447\u0430\u0441\u0442\u0438\u0446\u044B (\u044D\u043B\u0435\u043A\u0442\u0440\u043E\u043D\u044B)", u"\u0411\u0435\u0442\u0430-\u0447\u0430\u0441\u0442\u043A\u0438 (\u0435\u043B\u0435\u043A\u0442\u0440\u043E\u043D\u0438)"}, u"b-", u"b-"},
    {{u"Internal conversion electrons", u"\u042D\u043B\u0435\u043A\u0442\u0440\u043E\u043D\u044B \u0432\u043D\u0443\u0442\u0440\u0435\u043D\u043D\u0435\u0439 \u043A\u043E\u043D\u0432\u0435\u0440\u0441\u0438\u0438", u"\u0415\u043B\u0435\u043A\u0442\u0440\u043E\u043D\u0438 \u0432\u043D\u0443\u0442\u0440i\u0448\u043D\u044C\u043E\u0457 \u043A\u043E\u043D\u0432\u0435\u0440\u0441i\u0457"}, u"ie", u"ie"},
    {{u"Auger electrons", u"\u042D\u043B\u0435\u043A\u0442\u0440\u043E\u043D\u044B \u041E\u0436\u0435", u"\u0415\u043B\u0435\u043A\u0442\u0440\u043E\u043D\u0438 \u041E\u0436\u0435"}, u"ae", u"e \u041E\u0436\u0435"},
    {{u"Alpha particles", u"\u0410\u043B\u044C\u0444\u0430-\u0447\u0430\u0441\u0442\u0438\u0446\u044B", u"\u0410\u043B\u044C\u0444\u0430-\u0447\u0430\u0441\u0442\u043A\u0438"}, u"a", u"a"},
    {{u"Alpha recoil nuclei", u"\u042F\u0434\u0440\u0430 \u0430\u043B\u044C\u0444\u0430-\u043E\u0442\u0434\u0430\u0447\u0438", u"\u042F\u0434\u0440\u0430 \u0430\u043B\u044C\u0444\u0430-\u0432i\u0434\u0434\u0430\u0447i"}, u"ar", u"ar"},
    {{u"Fission fragments", u"\u041E\u0441\u043A\u043E\u043B\u043A\u0438 \u0434\u0435\u043B\u0435\u043D\u0438\u044F", u"\u041E\u0441\u043A\u043E\u043B\u043A\u0438 \u0434i\u043B\u0435\u043D\u043D\u044F"}, u"ff", u"ff"},
    {{u"Neutrons", u"\u041D\u0435\u0439\u0442\u0440\u043E\u043D\u044B", u"\u041D\u0435\u0439\u0442\u0440\u043E\u043D\u0438"}, u"n", u"n"},
    {{u"Prompt gamma rays", u"\u041C\u0433\u043D\u043E\u0432\u0435\u043D\u043D\u043E\u0435 \u0433\u0430\u043C\u043C\u0430-\u0438\u0437\u043B\u0443\u0447\u0435\u043D\u0438\u0435", u"\u041C\u0438\u0442\u0442\u0454\u0432\u0435 \u0433\u0430\u043C\u043C\u0430-\u0432\u0438\u043F\u0440\u043E\u043Ci\u043D\u044E\u0432\u0430\u043D\u043D\u044F"}, u"pg", u"pg"},
    {{u"Delayed gamma rays", u"\u0417\u0430\u043F\u0430\u0437\u0434\u044B\u0432\u0430\u044E\u0449\u0435\u0435 \u0433\u0430\u043C\u043C\u0430-\u0438\u0437\u043B\u0443\u0447\u0435\u043D\u0438\u0435", u"\u0417\u0430\u043Fi\u0437\u043D\u044E\u0432\u0430\u043B\u044C\u043D\u0435 \u0433\u0430\u043C\u043C\u0430-\u0432\u0438\u043F\u0440\u043E\u043Ci\u043D\u044E\u0432\u0430\u043D\u043D\u044F"}, u"dg", u"dg"},
    {{u"Delayed beta particles", u"\u0417\u0430\u043F\u0430\u0437\u0434\u044B\u0432\u0430\u044E\u0449\u0438\u0435 \u0431\u0435\u0442\u0430-\u0447\u0430\u0441\u0442\u0438\u0446\u044B", u"\u0417\u0430\u043Fi\u0437\u043D\u044E\u0432\u0430\u043B\u044C\u043Di \u0431\u0435\u0442\u0430-\u0447\u0430\u0441\u0442\u043A\u0438"}, u"sb", u"sb"},
}};
constexpr std::array<std::array<const char16_t*, TimeUnitCount>, 3> kHalfLifeUnits{{
    {{u"y", u"d", u"h", u"m", u"s", u"ms", u"\u00B5s"}},
    {{u"\u043B", u"\u0434", u"\u0447", u"\u043C\u0438\u043D", u"\u0441", u"\u043C\u0441", u"\u043C\u043A\u0441"}},
    {{u"\u0440", u"\u0434", u"\u0433\u043E\u0434", u"\u0445\u0432", u"\u0441", u"\u043C\u0441", u"\u043C\u043A\u0441"}},
}};

std::size_t languageIndex(TQzLanguage language)
{
    return std::min<std::size_t>(language, 2);
}

int compareText(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive);
}

int compareNumbers(long a, long b)
{
    return a < b ? -1 : a > b ? 1 : 0;
}

} // namespace

QChar RNXAMassCharText(TRNXAMassChar state)
{
    static constexpr char16_t chars[] = u" mn";
    return QChar(chars[std::min<int>(state, 2)]);
}

QString RNXRTypeCode(TRNXAllRadType type)
{
    static const char* const codes[] = {"B-", "IT", "B+", "A", "EC", "SF"};
    return QString::fromLatin1(codes[std::min<int>(type, 5)]);
}

QString RNXRadiationName(int code, TQzLanguage language)
{
    if (code < 1 || code > RNXRadiationCount)
        return {};
    return QString::fromUtf16(kRadiations[static_cast<std::size_t>(code - 1)].names[languageIndex(language)]);
}

QString RNXRadiationCode(int code, TQzLanguage language)
{
    if (code < 1 || code > RNXRadiationCount)
        return {};
    const RadiationText& r = kRadiations[static_cast<std::size_t>(code - 1)];
    return QString::fromUtf16(language == l_English ? r.codeEnglish : r.codeOther);
}

QString RNXHalfLifeUnitLabel(TQzTimeUnit unit, TQzLanguage language)
{
    return QString::fromUtf16(kHalfLifeUnits[languageIndex(language)][std::min<std::size_t>(unit, TimeUnitCount - 1)]);
}

QString RNXMillionsWord(TQzLanguage language)
{
    return language == l_English ? QStringLiteral("m.") : QString::fromUtf16(u"\u043C\u043B\u043D");
}

QString RNXBillionsWord(TQzLanguage language)
{
    return language == l_English ? QStringLiteral("b.") : QString::fromUtf16(u"\u043C\u043B\u0440\u0434");
}

std::uint16_t RNXAMassToInt(const TRNXAMass& aMass)
{
    std::string_view text = aMass.view().substr(0, 4);
    if (text == "stbl")
        return 65535;
    if (!text.empty() && !std::isdigit(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    int value = 0;
    if (!ParseInt(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())), value) || value < 0
        || value > 65535)
        throw ERNXConvertError("'" + std::string(aMass.view()) + "' is not a valid mass number");
    return static_cast<std::uint16_t>(value);
}

float HalfLifeToLr(double halfLife, TQzTimeUnit unit)
{
    return static_cast<float>(std::log(2.0) / halfLife * TimeUnitsPerDayA(unit));
}

TRNXHalfLife LrToHalfLife(float lr)
{
    const float days = static_cast<float>(std::log(2.0) / lr);
    if (days > 1) {
        const float years = static_cast<float>(days / 365.25);
        return years > 1 ? TRNXHalfLife{years, tuYear} : TRNXHalfLife{days, tuDay};
    }
    for (TQzTimeUnit unit : {tuHour, tuMin, tuSec, tuMSec}) {
        const double value = days * TimeUnitsPerDayA(unit);
        if (value >= 1)
            return {static_cast<float>(value), unit};
    }
    return {static_cast<float>(days * TimeUnitsPerDayA(tuMkSec)), tuMkSec};
}

int CompareRNXABC(const TBasicRNX& a, const TBasicRNX& b)
{
    const int byName = compareText(a.RNXname.toString(), b.RNXname.toString());
    if (byName == 0 || a.Element != b.Element)
        return byName;
    return CompareRNXAMassOnly(a, b);
}

int CompareRNXPeriodicTable(const TBasicRNX& a, const TBasicRNX& b)
{
    if (const int c = compareNumbers(a.Element, b.Element))
        return c;
    return CompareRNXAMassOnly(a, b);
}

int CompareRNXAMass(const TBasicRNX& a, const TBasicRNX& b)
{
    if (const int c = compareNumbers(a.AMassInt, b.AMassInt))
        return c;
    if (const int c = compareNumbers(a.Element, b.Element))
        return c;
    return compareText(a.AMass.toString(), b.AMass.toString());
}

int CompareRNXAMassOnly(const TBasicRNX& a, const TBasicRNX& b)
{
    if (const int c = compareNumbers(a.AMassInt, b.AMassInt))
        return c;
    return compareText(a.AMass.toString(), b.AMass.toString());
}

} // namespace kav
