#include "nuclides/nuclidenames.h"

#include "base/catalogue.h"
#include "base/numberformat.h"
#include "nuclides/element.h"

#include <array>
#include <cctype>
#include <cmath>

namespace kav {

namespace {

int compareText(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive);
}

int compareNumbers(long a, long b)
{
    return a < b ? -1 : a > b ? 1 : 0;
}

} // namespace

QChar isomerStateText(IsomerState state)
{
    static constexpr char16_t chars[] = u" mn";
    return QChar(chars[std::min(static_cast<int>(state), 2)]);
}

QString decayModeCode(DecayMode type)
{
    static const char* const codes[] = {"B-", "IT", "B+", "A", "EC", "SF"};
    return QString::fromLatin1(codes[std::min(static_cast<int>(type), 5)]);
}

QString radiationName(int code, UiLanguage language)
{
    if (code < 1 || code > RadiationTypeCount)
        return {};
    return QString::fromUtf16(catalogue(language).radiationNames[static_cast<std::size_t>(code - 1)]);
}

QString radiationCode(int code, UiLanguage language)
{
    if (code < 1 || code > RadiationTypeCount)
        return {};
    return QString::fromUtf16(catalogue(language).radiationCodes[static_cast<std::size_t>(code - 1)]);
}

QString halfLifeUnitLabel(TimeUnit unit, UiLanguage language)
{
    return QString::fromUtf16(
        catalogue(language).halfLifeUnits[std::min<std::size_t>(static_cast<std::size_t>(unit), TimeUnitCount - 1)]);
}

QString millionsWord(UiLanguage language)
{
    return QString::fromUtf16(catalogue(language).millionsWord);
}

QString billionsWord(UiLanguage language)
{
    return QString::fromUtf16(catalogue(language).billionsWord);
}

std::optional<std::uint16_t> massNumberOf(const MassText& aMass)
{
    std::string_view text = aMass.view().substr(0, 4);
    if (text == "stbl")
        return 65535;
    if (!text.empty() && !std::isdigit(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    int value = 0;
    if (!parseInt(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())), value) || value < 0
        || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

float halfLifeToLr(double halfLife, TimeUnit unit)
{
    return static_cast<float>(std::log(2.0) / halfLife * timeUnitsPerDayA(unit));
}

HalfLifeWithUnit lrToHalfLife(float lr)
{
    const float days = static_cast<float>(std::log(2.0) / lr);
    if (days > 1) {
        const float years = static_cast<float>(days / 365.25);
        return years > 1 ? HalfLifeWithUnit{years, TimeUnit::Year} : HalfLifeWithUnit{days, TimeUnit::Day};
    }
    for (TimeUnit unit : {TimeUnit::Hour, TimeUnit::Minute, TimeUnit::Second, TimeUnit::Millisecond}) {
        const double value = days * timeUnitsPerDayA(unit);
        if (value >= 1)
            return {static_cast<float>(value), unit};
    }
    return {static_cast<float>(days * timeUnitsPerDayA(TimeUnit::Microsecond)), TimeUnit::Microsecond};
}

int compareAlphabetical(const NuclideIdentity& a, const NuclideIdentity& b)
{
    const int byName = compareText(a.name.toString(), b.name.toString());
    if (byName == 0 || a.element != b.element)
        return byName;
    return compareMassOnly(a, b);
}

int comparePeriodicTable(const NuclideIdentity& a, const NuclideIdentity& b)
{
    if (const int c = compareNumbers(ordinal(a.element), ordinal(b.element)))
        return c;
    return compareMassOnly(a, b);
}

int compareMass(const NuclideIdentity& a, const NuclideIdentity& b)
{
    if (const int c = compareNumbers(a.massNumber, b.massNumber))
        return c;
    if (const int c = compareNumbers(ordinal(a.element), ordinal(b.element)))
        return c;
    return compareText(a.mass.toString(), b.mass.toString());
}

int compareMassOnly(const NuclideIdentity& a, const NuclideIdentity& b)
{
    if (const int c = compareNumbers(a.massNumber, b.massNumber))
        return c;
    return compareText(a.mass.toString(), b.mass.toString());
}

namespace {

// "99mTc", "137cs": the mass first, then the symbol, the isomer's letter between them.
QString massFirstName(const QString& compact)
{
    qsizetype digits = 0;
    while (digits < compact.size() && compact[digits].isDigit() && compact[digits].unicode() < 128)
        ++digits;
    const QString letters = compact.mid(digits);
    if (digits < 1 || digits > 3 || letters.isEmpty() || letters.size() > 3)
        return {};
    for (QChar c : letters)
        if (!c.isLetter() || c.unicode() >= 128)
            return {};
    const auto symbolOf = [](QString s) {
        s[0] = s[0].toUpper();
        return elementBySymbol(s) != ChemicalElement::None ? s : QString();
    };
    // A symbol as a whole comes first: "99mo" is Mo-99, not an isomer of oxygen.
    if (letters.size() <= 2)
        if (const QString symbol = symbolOf(letters); !symbol.isEmpty())
            return symbol + u'-' + compact.left(digits);
    if (letters.size() >= 2 && (letters[0] == u'm' || letters[0] == u'n'))
        if (const QString symbol = symbolOf(letters.mid(1)); !symbol.isEmpty())
            return symbol + u'-' + compact.left(digits) + letters[0];
    return {};
}

} // namespace

QString nuclideNameFromTyping(QStringView typed)
{
    QString compact;
    for (QChar c : typed)
        if (c.isLetterOrNumber())
            compact += c.toLower();
        else if (c != u' ' && c != u'-' && c != u'_' && c != u'\t')
            return {};
    if (!compact.isEmpty() && compact[0].isDigit())
        return massFirstName(compact);
    qsizetype letters = 0;
    while (letters < compact.size() && compact[letters].isLetter() && compact[letters].unicode() < 128)
        ++letters;
    if (letters < 1 || letters > 2)
        return {};
    QString symbol = compact.left(letters);
    symbol[0] = symbol[0].toUpper();
    if (letters == compact.size())
        return symbol;
    qsizetype digits = letters;
    while (digits < compact.size() && compact[digits].isDigit() && compact[digits].unicode() < 128)
        ++digits;
    const QString mass = compact.mid(letters, digits - letters);
    const QString state = compact.mid(digits);
    if (mass.isEmpty() || mass.size() > 3 || (!state.isEmpty() && state != u"m" && state != u"n"))
        return {};
    return symbol + u'-' + mass + state;
}

void halfLifeText(const Nuclide& node, UiLanguage language, QString& halfLifeStr, QString& unitsStr)
{
    const double h = node.halfLife;
    unitsStr = halfLifeUnitLabel(node.halfLifeUnit, language);
    if (node.halfLifeUnit != TimeUnit::Year) {
        halfLifeStr = formatPicture(h, h >= 0.1 ? u"0.###" : u"0.###e-0");
        return;
    }
    if (h >= 1e12)
        halfLifeStr = formatPicture(h, u"0.###e-0");
    else if (h < 1000)
        halfLifeStr = formatPicture(h, u"0.###");
    else if (h >= 1e9)
        halfLifeStr = formatPicture(h * 1e-9, u"0.###") + u' ' + billionsWord(language);
    else if (h >= 1e6)
        halfLifeStr = formatPicture(h * 1e-6, u"0.###") + u' ' + millionsWord(language);
    else
        halfLifeStr = formatPicture(h, u"# ##0");
}

QString halfLifeText(const Nuclide& node, UiLanguage language)
{
    QString value;
    QString units;
    halfLifeText(node, language, value, units);
    return value + u' ' + units;
}

QString decayModeCodes(const Nuclide& node)
{
    QString text;
    for (DecayMode t : {DecayMode::BetaMinus, DecayMode::IsomericTransition, DecayMode::BetaPlus, DecayMode::Alpha,
                        DecayMode::ElectronCapture, DecayMode::SpontaneousFission})
        if (node.decayModes.contains(t))
            text += decayModeCode(t);
    return text.left(8);
}

} // namespace kav
