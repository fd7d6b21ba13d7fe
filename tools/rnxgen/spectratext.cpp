#include "rnxgen/spectratext.h"

#include "nuclides/spectrum.h"

#include <charconv>
#include <cmath>
#include <map>
#include <string_view>

namespace kav {

namespace {

struct TextError {
    QString what;
};

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The fields of a line split at one separator, or at runs of blanks when it is a blank.
std::vector<std::string_view> fields(std::string_view line, char separator)
{
    std::vector<std::string_view> out;
    std::size_t from = 0;
    while (from <= line.size()) {
        if (separator == ' ') {
            while (from < line.size() && line[from] == ' ')
                ++from;
            if (from == line.size())
                break;
        }
        const std::size_t to = std::min(line.find(separator, from), line.size());
        out.push_back(trimmed(line.substr(from, to - from)));
        from = to + 1;
    }
    return out;
}

double number(std::string_view text, const char* what)
{
    double value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(value))
        throw TextError{QStringLiteral("%1 is not a number: \"%2\"").arg(QLatin1String(what), latin1(text))};
    if (value < 0)
        throw TextError{QStringLiteral("%1 is negative: %2").arg(QLatin1String(what), latin1(text))};
    return value;
}

long wholeNumber(std::string_view text, long min, long max, const char* what)
{
    long value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
        throw TextError{QStringLiteral("%1 is not a whole number: \"%2\"").arg(QLatin1String(what), latin1(text))};
    if (value < min || value > max)
        throw TextError{
            QStringLiteral("%1 %2 is out of range %3..%4").arg(QLatin1String(what)).arg(value).arg(min).arg(max)};
    return value;
}

// Walks the lines of a text with their numbers, counted from 1.
template <class Visit> void forEachLine(const QByteArray& text, Visit visit)
{
    const std::string_view all(text.constData(), static_cast<std::size_t>(text.size()));
    std::size_t from = 0;
    int number = 0;
    while (from < all.size()) {
        const std::size_t to = std::min(all.find('\n', from), all.size());
        visit(++number, trimmed(all.substr(from, to - from)));
        from = to + 1;
    }
}

// Opens a new block or continues the current one; a nuclide's records must stand together.
void addRecord(SpectraText& spectra, std::map<QString, std::size_t>& seen, const QString& nuclide)
{
    if (spectra.blocks.empty() || spectra.blocks.back().nuclide != nuclide) {
        if (seen.count(nuclide))
            throw TextError{QStringLiteral("the records of %1 are apart").arg(nuclide)};
        seen[nuclide] = spectra.blocks.size();
        spectra.blocks.push_back({nuclide, spectra.recordCount, 0});
    }
    ++spectra.blocks.back().count;
    ++spectra.recordCount;
}

RadiationType radiationType(std::string_view code, std::string_view mnemonic)
{
    if (mnemonic == "PG")
        return 12;
    if (mnemonic == "DG")
        return 13;
    if (mnemonic == "DB")
        return 14;
    return static_cast<RadiationType>(wholeNumber(code, 1, 11, "radiation code"));
}

SpectraText rejected(int line, const QString& what)
{
    SpectraText spectra;
    spectra.error = QStringLiteral("line %1: %2").arg(line).arg(what);
    return spectra;
}

} // namespace

SpectraText readRadiationsText(const QByteArray& text)
{
    SpectraText spectra;
    std::map<QString, std::size_t> seen;
    int lineNumber = 0;
    try {
        forEachLine(text, [&](int at, std::string_view line) {
            lineNumber = at;
            if (at == 1 || line.empty())
                return; // the header, and blank lines
            const std::vector<std::string_view> f = fields(line, '\t');
            if (f.size() != 5)
                throw TextError{QStringLiteral("%1 fields, 5 expected").arg(f.size())};
            if (f[0].empty() || f[0].size() > 7)
                throw TextError{QStringLiteral("\"%1\" is not a nuclide name").arg(latin1(f[0]))};
            const RadiationType type = radiationType(f[1], f[2]);
            const double yield = number(f[3], "yield");
            const double energy = number(f[4], "energy");
            const SpectrumLine record{type, static_cast<float>(energy), static_cast<float>(yield * energy)};
            if (!isSoundSpectrumLine(record))
                throw TextError{QStringLiteral("the energy or the energy per decay is too large")};
            addRecord(spectra, seen, latin1(f[0]));
            appendSpectrumRecord(spectra.records, record);
        });
    } catch (const TextError& e) {
        return rejected(lineNumber, e.what);
    }
    return spectra;
}

SpectraText readBetaText(const QByteArray& text)
{
    SpectraText spectra;
    std::map<QString, std::size_t> seen;
    int lineNumber = 0;
    long pointsDue = 0;
    QString nuclide;
    try {
        forEachLine(text, [&](int at, std::string_view line) {
            lineNumber = at;
            if (line.empty())
                return;
            const bool opensBlock = (line[0] >= 'A' && line[0] <= 'Z') || (line[0] >= 'a' && line[0] <= 'z');
            if (opensBlock) {
                const std::vector<std::string_view> f = fields(line, ' ');
                if (f.size() != 2)
                    throw TextError{QStringLiteral("%1 fields, 2 expected").arg(f.size())};
                if (pointsDue > 0)
                    throw TextError{QStringLiteral("%1 lacks %2 of its points").arg(nuclide).arg(pointsDue)};
                if (f[0].size() > 7)
                    throw TextError{QStringLiteral("\"%1\" is not a nuclide name").arg(latin1(f[0]))};
                nuclide = latin1(f[0]);
                pointsDue = wholeNumber(f[1], 1, 255, "number of points");
                return;
            }
            if (pointsDue == 0)
                throw TextError{QStringLiteral("a point outside any nuclide's spectrum")};
            // The energy fills the first eight columns, and may reach the density.
            number(trimmed(line.substr(0, 8)), "energy");
            const double density
                = number(trimmed(line.substr(std::min<std::size_t>(8, line.size()))), "spectrum density");
            if (!std::isfinite(static_cast<float>(density)))
                throw TextError{QStringLiteral("the spectrum density is too large")};
            addRecord(spectra, seen, nuclide);
            appendFloatRecord(spectra.records, static_cast<float>(density));
            --pointsDue;
        });
        if (pointsDue > 0)
            throw TextError{QStringLiteral("%1 lacks %2 of its points").arg(nuclide).arg(pointsDue)};
    } catch (const TextError& e) {
        return rejected(lineNumber, e.what);
    }
    return spectra;
}

QString checkSpectrumBlocks(const std::vector<Nuclide>& nodes, const SpectraText& spectra, const QString& fileName,
                            const std::function<SpectrumBlock(const Nuclide&)>& blockOf)
{
    std::map<QString, const SpectrumBlock*> blocks;
    for (const SpectrumBlock& block : spectra.blocks)
        blocks[block.nuclide] = &block;
    std::size_t placed = 0;
    for (const Nuclide& node : nodes) {
        const SpectrumBlock expected = blockOf(node);
        const auto found = blocks.find(node.name.toString());
        if (expected.count == 0 && found == blocks.end())
            continue;
        if (found == blocks.end())
            return QStringLiteral("%1: no records of %2, which the index gives %3")
                .arg(fileName, expected.nuclide)
                .arg(expected.count);
        const SpectrumBlock& block = *found->second;
        if (block.first != expected.first || block.count != expected.count)
            return QStringLiteral("%1: the %2 records of %3 start at record %4, the index has %5 from %6")
                .arg(fileName)
                .arg(block.count)
                .arg(block.nuclide)
                .arg(block.first)
                .arg(expected.count)
                .arg(expected.first);
        ++placed;
    }
    if (placed != spectra.blocks.size())
        for (const SpectrumBlock& block : spectra.blocks)
            if (std::none_of(nodes.begin(), nodes.end(),
                             [&](const Nuclide& n) { return n.name.toString() == block.nuclide; }))
                return QStringLiteral("%1: %2 is not in the index").arg(fileName, block.nuclide);
    return {};
}

} // namespace kav
