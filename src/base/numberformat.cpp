#include "base/numberformat.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kav {

namespace {

// One parsed section of a picture.
struct Picture {
    enum class Kind { Zero, Hash, Point, Exponent, Literal };
    struct Item {
        Kind kind;
        QString text; // Literal: the text; Exponent: the letter
        bool alwaysSign = false; // Exponent: "+" form
        int minDigits = 1; // Exponent: zeros after the sign
    };
    std::vector<Item> items;
    int intCount = 0; // digit placeholders before the point
    int intRequired = 0; // of those, how many from the first "0" on
    int decMax = 0; // digit placeholders after the point
    int decRequired = 0; // up to and including the last "0" after the point
    bool scientific = false;
};

Picture parsePicture(QStringView s)
{
    Picture p;
    bool afterPoint = false;
    bool afterExponent = false;
    int firstIntZero = -1;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = s.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? s.size() : end;
            p.items.push_back({Picture::Kind::Literal, s.mid(i + 1, stop - i - 1).toString()});
            i = stop;
            continue;
        }
        if (!afterExponent && (c == u'0' || c == u'#')) {
            const bool zero = c == u'0';
            p.items.push_back({zero ? Picture::Kind::Zero : Picture::Kind::Hash, {}});
            if (afterPoint) {
                ++p.decMax;
                if (zero)
                    p.decRequired = p.decMax;
            } else {
                if (zero && firstIntZero < 0)
                    firstIntZero = p.intCount;
                ++p.intCount;
            }
            continue;
        }
        if (!afterExponent && !afterPoint && c == u'.') {
            afterPoint = true;
            p.items.push_back({Picture::Kind::Point, {}});
            continue;
        }
        if (!afterExponent && (c == u'E' || c == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            Picture::Item item{Picture::Kind::Exponent, QString(c)};
            item.alwaysSign = s[i + 1] == u'+';
            int zeros = 0;
            qsizetype j = i + 2;
            // "#" places a digit as "0" does, but asks for no more than the exponent has.
            while (j < s.size() && (s[j] == u'0' || s[j] == u'#')) {
                zeros += s[j] == u'0';
                ++j;
            }
            item.minDigits = std::clamp(zeros, 1, 4);
            p.items.push_back(item);
            p.scientific = true;
            afterExponent = true;
            i = j - 1;
            continue;
        }
        p.items.push_back({Picture::Kind::Literal, QString(c)});
    }
    p.intRequired = firstIntZero < 0 ? 0 : p.intCount - firstIntZero;
    return p;
}

// The first 15 significant decimal digits of |x| (x finite, not zero) and the decimal exponent
// of the first one: |x| = d.ddd... × 10^exponent.
struct Digits {
    std::string digits;
    int exponent = 0;
};

Digits decimalDigits(double x)
{
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    const std::string text(buf, r.ptr);
    Digits d;
    const auto e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            d.digits += text[i];
    d.exponent = std::stoi(text.substr(e + 1));
    return d;
}

// Adds one to a string of decimal digits; returns true when it grew by a digit ("99" -> "100").
bool incrementDigits(std::string& s)
{
    for (auto it = s.rbegin(); it != s.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    // All nines became zeros: a one in front makes it one digit longer.
    s.front() = '1';
    s.push_back('0');
    return true;
}

// Keeps the first n digits, rounding half away from zero.
void roundDigits(std::string& s, std::size_t n, int& exponent)
{
    if (n >= s.size())
        return;
    const bool up = s[n] >= '5';
    s.resize(n);
    if (up && incrementDigits(s)) {
        s.pop_back();
        ++exponent;
    }
}

void stripTrailingZeros(QString& dec, int keep)
{
    while (dec.size() > keep && dec.endsWith(u'0'))
        dec.chop(1);
}

QString render(const Picture& p, const QString& intDigits, const QString& decDigits, int exponent,
               bool exponentNegative, QChar decimalSep)
{
    QString out;
    int placeholder = 0;
    bool digitWritten = false;
    bool pastPoint = false;
    const qsizetype n = intDigits.size();
    const int count = p.intCount;
    auto flushIntWithoutPlaceholders = [&] {
        if (count == 0 && !digitWritten && n > 0) {
            out += intDigits;
            digitWritten = true;
        }
    };
    int decIndex = 0;
    for (const Picture::Item& item : p.items) {
        switch (item.kind) {
        case Picture::Kind::Zero:
        case Picture::Kind::Hash:
            if (pastPoint) {
                if (decIndex < decDigits.size())
                    out += decDigits[decIndex];
                ++decIndex;
                break;
            }
            {
                const int pos = count - 1 - placeholder;
                if (placeholder == 0 && n > count) {
                    out += QStringView(intDigits).left(n - count);
                    digitWritten = true;
                }
                if (pos < n) {
                    out += intDigits[n - 1 - pos];
                    digitWritten = true;
                } else if (pos < p.intRequired) {
                    out += u'0';
                    digitWritten = true;
                }
                ++placeholder;
            }
            break;
        case Picture::Kind::Point:
            flushIntWithoutPlaceholders();
            pastPoint = true;
            if (!decDigits.isEmpty())
                out += decimalSep;
            break;
        case Picture::Kind::Exponent:
            flushIntWithoutPlaceholders();
            pastPoint = true;
            out += item.text;
            if (exponentNegative)
                out += u'-';
            else if (item.alwaysSign)
                out += u'+';
            out += QString::number(exponent).rightJustified(item.minDigits, u'0');
            break;
        case Picture::Kind::Literal:
            // A literal between integer digits (a thousands blank) stands only after a digit.
            if (pastPoint || placeholder == 0 || digitWritten)
                out += item.text;
            break;
        }
    }
    flushIntWithoutPlaceholders();
    return out;
}

QString formatSection(double x, const Picture& p, QChar decimalSep, bool& anyNonZero)
{
    QString intDigits;
    QString decDigits;
    int exponent = 0;
    bool exponentNegative = false;

    if (p.scientific) {
        const int intPlaces = std::max(p.intCount, 1);
        if (x != 0) {
            Digits d = decimalDigits(x);
            roundDigits(d.digits, static_cast<std::size_t>(intPlaces + p.decMax), d.exponent);
            d.digits.resize(static_cast<std::size_t>(intPlaces + p.decMax), '0');
            intDigits = QString::fromLatin1(d.digits.data(), intPlaces);
            decDigits = QString::fromLatin1(d.digits.data() + intPlaces, p.decMax);
            const int e = d.exponent - (intPlaces - 1);
            exponentNegative = e < 0;
            exponent = std::abs(e);
        } else {
            intDigits = QString(intPlaces, u'0');
            decDigits = QString(p.decMax, u'0');
        }
        // Leading zeros of the mantissa are the pattern's business, not the number's.
        while (intDigits.size() > 1 && intDigits.startsWith(u'0'))
            intDigits.remove(0, 1);
        if (intDigits == u"0")
            intDigits.clear();
    } else if (x != 0) {
        Digits d = decimalDigits(x);
        // Digits kept: everything down to the last decimal place of the pattern.
        const long keep = static_cast<long>(d.exponent) + 1 + p.decMax;
        std::string all;
        if (keep <= 0) {
            all.assign(1, keep == 0 && d.digits[0] >= '5' ? '1' : '0');
        } else if (static_cast<std::size_t>(keep) >= d.digits.size()) {
            all = d.digits + std::string(static_cast<std::size_t>(keep) - d.digits.size(), '0');
        } else {
            all = d.digits.substr(0, static_cast<std::size_t>(keep));
            if (d.digits[static_cast<std::size_t>(keep)] >= '5')
                incrementDigits(all);
        }
        if (all.size() < static_cast<std::size_t>(p.decMax)) {
            std::string padded(static_cast<std::size_t>(p.decMax) - all.size(), '0');
            padded += all;
            all.swap(padded);
        }
        const std::size_t split = all.size() - static_cast<std::size_t>(p.decMax);
        intDigits = QString::fromLatin1(all.data(), static_cast<qsizetype>(split));
        decDigits = QString::fromLatin1(all.data() + split, p.decMax);
        while (intDigits.startsWith(u'0'))
            intDigits.remove(0, 1);
    } else {
        decDigits = QString(p.decMax, u'0');
    }

    anyNonZero = false;
    for (const QString* s : {&intDigits, &decDigits})
        for (QChar c : *s)
            anyNonZero = anyNonZero || c != u'0';
    stripTrailingZeros(decDigits, p.decRequired);
    return render(p, intDigits, decDigits, exponent, exponentNegative, decimalSep);
}

std::vector<QStringView> splitSections(QStringView picture)
{
    std::vector<QStringView> sections;
    qsizetype start = 0;
    QChar quote;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';' && sections.size() < 2) {
            sections.push_back(picture.mid(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(picture.mid(start));
    return sections;
}

// The sections of a picture: positive (always), negative and zero (when given and not empty).
struct ParsedPicture {
    Picture positive;
    std::optional<Picture> negative;
    std::optional<Picture> zero;
};

// Views print thousands of cells with a handful of pictures: each is parsed once per thread.
const ParsedPicture& parsedPicture(QStringView picture)
{
    thread_local std::unordered_map<QString, ParsedPicture> cache;
    const QString key = picture.toString();
    if (const auto it = cache.find(key); it != cache.end())
        return it->second;
    if (cache.size() > 256)
        cache.clear();
    const std::vector<QStringView> sections = splitSections(picture);
    ParsedPicture parsed{parsePicture(sections[0]), {}, {}};
    if (sections.size() > 1 && !sections[1].isEmpty())
        parsed.negative = parsePicture(sections[1]);
    if (sections.size() > 2 && !sections[2].isEmpty())
        parsed.zero = parsePicture(sections[2]);
    return cache.emplace(key, std::move(parsed)).first->second;
}

} // namespace

QChar decimalSeparator()
{
    // Asking the locale costs more than a number's printing; its answer is kept for as long as
    // the locale in force is the same one.
    thread_local QLocale asked = QLocale::c();
    thread_local QChar separator = u'.';
    const QLocale now;
    if (now != asked) {
        asked = now;
        const QString point = now.decimalPoint();
        separator = point.isEmpty() ? QChar(u'.') : point.front();
    }
    return separator;
}

QString formatPicture(double value, QStringView picture)
{
    return formatPicture(value, picture, decimalSeparator());
}

QString formatPicture(double value, QStringView picture, QChar decimalSep)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    const ParsedPicture& parsed = parsedPicture(picture);
    if (value == 0 && parsed.zero) {
        bool ignored = false;
        return formatSection(0, *parsed.zero, decimalSep, ignored);
    }
    const bool negativeSection = value < 0 && parsed.negative;
    const Picture& p = negativeSection ? *parsed.negative : parsed.positive;
    bool anyNonZero = false;
    const QString text = formatSection(std::fabs(value), p, decimalSep, anyNonZero);
    if (value < 0 && !negativeSection && anyNonZero)
        return u'-' + text;
    return text;
}

bool readTypedNumber(QStringView text, double& value)
{
    bool ok = false;
    double read = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        read = QLocale::system().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(read))
        return false;
    value = read;
    return true;
}

double parseFloatDef(const QString& text, double defaultValue)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    if (bytes.isEmpty())
        return 0;
    const char* first = bytes.constData();
    const char* const last = first + bytes.size();
    if (*first == '+' && ++first == last)
        return defaultValue;
    if (*first == '-' && first != bytes.constData())
        return defaultValue;
    // Only digits, one point, an exponent and signs belong to a number: no "inf", "nan" or hex.
    for (const char* p = first; p != last; ++p)
        if (!std::isdigit(static_cast<unsigned char>(*p)) && *p != '.' && *p != 'e' && *p != 'E' && *p != '-'
            && *p != '+')
            return defaultValue;
    double value = 0;
    const auto r = std::from_chars(first, last, value, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != last)
        return defaultValue;
    return value;
}

bool parseInt(const QString& text, int& value)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* first = bytes.constData();
    const char* const last = first + bytes.size();
    if (first != last && *first == '+') {
        ++first;
        if (first == last || !std::isdigit(static_cast<unsigned char>(*first)))
            return false;
    }
    int parsed = 0;
    const auto r = std::from_chars(first, last, parsed);
    if (first == last || r.ec != std::errc() || r.ptr != last)
        return false;
    value = parsed;
    return true;
}

} // namespace kav
