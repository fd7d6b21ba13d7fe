#include "rnxgen/ndxreader.h"

#include "nuclides/nuclidenames.h"

#include <QList>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kav {

namespace {

constexpr int kRecordWidth = 226;

// Thrown inside the reader with the 1-based line and the 0-based column of the field.
struct NdxError {
    int column;
    QString what;
};

class RecordLine {
public:
    explicit RecordLine(QByteArrayView line)
        : m_line(line)
    {
    }

    std::string_view field(int from, int to) const
    {
        std::string_view all(m_line.data(), static_cast<std::size_t>(m_line.size()));
        std::string_view f = all.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
        while (!f.empty() && f.front() == ' ')
            f.remove_prefix(1);
        while (!f.empty() && f.back() == ' ')
            f.remove_suffix(1);
        return f;
    }
    long integer(int from, int to, long min, long max, const char* what) const
    {
        const std::string_view f = field(from, to);
        long value = 0;
        const auto r = std::from_chars(f.data(), f.data() + f.size(), value);
        if (f.empty() || r.ec != std::errc() || r.ptr != f.data() + f.size())
            throw NdxError{from, QStringLiteral("%1 is not a whole number: \"%2\"").arg(what, text(f))};
        if (value < min || value > max)
            throw NdxError{from, QStringLiteral("%1 %2 is out of range %3..%4").arg(what).arg(value).arg(min).arg(max)};
        return value;
    }
    double real(int from, int to, const char* what) const
    {
        const std::string_view f = field(from, to);
        const QString t = text(f);
        bool ok = false;
        const double value = t.toDouble(&ok);
        if (!ok || !std::isfinite(value))
            throw NdxError{from, QStringLiteral("%1 is not a number: \"%2\"").arg(what, t)};
        return value;
    }
    static QString text(std::string_view f) { return QString::fromLatin1(f.data(), static_cast<qsizetype>(f.size())); }

private:
    QByteArrayView m_line;
};

struct ParsedName {
    ChemicalElement element;
    long mass;
    IsomerState state;
};

ParsedName parseName(std::string_view name, int column)
{
    const auto dash = name.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 >= name.size())
        throw NdxError{column, QStringLiteral("\"%1\" is not a nuclide name").arg(RecordLine::text(name))};
    ParsedName parsed{elementBySymbol(RecordLine::text(name.substr(0, dash))), 0, IsomerState::Ground};
    if (parsed.element == ChemicalElement::None)
        throw NdxError{column, QStringLiteral("unknown element in \"%1\"").arg(RecordLine::text(name))};
    std::string_view mass = name.substr(dash + 1);
    if (mass.back() == 'm' || mass.back() == 'n') {
        parsed.state = mass.back() == 'm' ? IsomerState::M : IsomerState::N;
        mass.remove_suffix(1);
    }
    const auto r = std::from_chars(mass.data(), mass.data() + mass.size(), parsed.mass);
    if (mass.empty() || r.ec != std::errc() || r.ptr != mass.data() + mass.size() || parsed.mass < 1
        || parsed.mass > 999)
        throw NdxError{column, QStringLiteral("\"%1\" has no valid mass number").arg(RecordLine::text(name))};
    return parsed;
}

TimeUnit parseUnit(std::string_view unit, int column)
{
    static const std::pair<std::string_view, TimeUnit> units[] = {
        {"y", TimeUnit::Year},   {"d", TimeUnit::Day},          {"h", TimeUnit::Hour},        {"m", TimeUnit::Minute},
        {"s", TimeUnit::Second}, {"ms", TimeUnit::Millisecond}, {"us", TimeUnit::Microsecond}};
    for (const auto& [text, u] : units)
        if (unit == text)
            return u;
    throw NdxError{column, QStringLiteral("unknown half-life unit \"%1\"").arg(RecordLine::text(unit))};
}

DecayModeSet parseModes(std::string_view modes, int column)
{
    static const std::pair<std::string_view, DecayMode> codes[]
        = {{"B-", DecayMode::BetaMinus},          {"B+", DecayMode::BetaPlus},
           {"EC", DecayMode::ElectronCapture},    {"IT", DecayMode::IsomericTransition},
           {"SF", DecayMode::SpontaneousFission}, {"A", DecayMode::Alpha}};
    DecayModeSet set;
    std::size_t i = 0;
    while (i < modes.size()) {
        if (modes[i] == ' ') {
            ++i;
            continue;
        }
        bool matched = false;
        for (const auto& [code, type] : codes)
            if (modes.substr(i, code.size()) == code) {
                set.insert(type);
                i += code.size();
                matched = true;
                break;
            }
        if (!matched)
            throw NdxError{column + static_cast<int>(i),
                           QStringLiteral("unknown decay mode in \"%1\"").arg(RecordLine::text(modes))};
    }
    return set;
}

struct SpectrumField {
    int from, to;
};
constexpr SpectrumField kPositions[4] = {{25, 32}, {32, 39}, {39, 46}, {46, 52}};
constexpr int kDaughterColumns[4] = {53, 78, 103, 128};

// The daughters of a record into the node's slots: radioactive ones first (in the order of the
// text), then the fission branch, then the stable ones.
void parseDaughters(const RecordLine& r, Nuclide& node)
{
    std::vector<DaughterSlot> radioactive;
    std::vector<DaughterSlot> stable;
    std::optional<float> fission;
    for (int column : kDaughterColumns) {
        const std::string_view dname = r.field(column, column + 7);
        const long dpos = r.integer(column + 7, column + 13, 0, 9999, "daughter position");
        const double fraction = r.real(column + 13, column + 24, "branching fraction");
        if (dname.empty())
            continue;
        if (dname == "SF" && dpos == 9999) {
            fission = static_cast<float>(fraction);
            continue;
        }
        const ParsedName d = parseName(dname, column);
        DaughterSlot rec{makeNuclideName(d.element, d.mass, d.state), -1, static_cast<float>(fraction)};
        if (dpos == 0) {
            stable.push_back(rec);
        } else {
            rec.position = static_cast<std::int32_t>(dpos - 2);
            radioactive.push_back(rec);
        }
    }
    if (fission && !stable.empty())
        throw NdxError{53, QStringLiteral("a nuclide with spontaneous fission cannot also have stable daughters")};
    if (fission.has_value() != node.decayModes.contains(DecayMode::SpontaneousFission))
        throw NdxError{17, QStringLiteral("the fission branch and the decay modes disagree")};
    std::size_t slot = 0;
    for (const DaughterSlot& d : radioactive)
        node.daughters[slot++] = d;
    node.daughterCount = static_cast<std::uint8_t>(radioactive.size());
    if (fission)
        node.daughters[slot].yield = *fission;
    for (const DaughterSlot& d : stable)
        node.daughters[slot++] = d;
    node.stableDaughterCount = static_cast<std::uint8_t>(stable.size());
}

// One record: the node, and the positions of its blocks in the four spectrum files.
Nuclide parseRecord(const RecordLine& r, std::array<long, 4>& positions)
{
    Nuclide node;
    const ParsedName name = parseName(r.field(0, 7), 0);
    node.element = name.element;
    node.massNumber = static_cast<std::uint16_t>(name.mass);
    node.mass = makeAMass(name.mass, name.state);
    node.name = NuclideName(r.field(0, 7));
    node.halfLife = static_cast<float>(r.real(7, 15, "half-life"));
    node.halfLifeUnit = parseUnit(r.field(15, 17), 15);
    node.decayModes = parseModes(r.field(17, 25), 17);
    for (int f = 0; f < 4; ++f)
        positions[static_cast<std::size_t>(f)]
            = r.integer(kPositions[f].from, kPositions[f].to, 0, 99999999, "spectrum position");
    parseDaughters(r, node);
    node.alphaEnergy = r.real(152, 159, "alpha energy");
    node.electronEnergy = r.real(159, 167, "electron energy");
    node.photonEnergy = r.real(167, 175, "photon energy");
    node.lowPhotonLines = static_cast<std::uint8_t>(r.integer(175, 179, 0, 255, "photon lines up to 10 keV"));
    node.highPhotonLines = static_cast<std::uint16_t>(r.integer(179, 183, 0, 65535, "photon lines above 10 keV"));
    node.betaTransitions = static_cast<std::uint8_t>(r.integer(183, 187, 0, 255, "beta transitions"));
    node.electronLines = static_cast<std::uint16_t>(r.integer(187, 192, 0, 65535, "electron lines"));
    node.alphaTransitions = static_cast<std::uint8_t>(r.integer(192, 196, 0, 255, "alpha transitions"));
    node.atomicMass = r.real(196, 207, "atomic mass");
    node.airKermaRateConstant = r.real(207, 217, "air-kerma rate constant");
    node.airKermaCoefficient = r.real(217, 226, "air-kerma coefficient");
    return node;
}

// Each nuclide's first record and record count in the four spectrum files. In a file's order,
// the j-th block's records start after the j header lines before it and its own. Empty when
// fine, otherwise what is wrong.
QString assignSpectrumBlocks(std::vector<Nuclide>& nodes, const std::vector<std::array<long, 4>>& positions,
                             const SpectrumTotals& totals)
{
    static const char* const files[] = {"discrete-radiation", "beta-spectrum", "Auger/Coster-Kronig", "neutron"};
    static const long maxCount[] = {65535, 255, 65535, 255};
    for (std::size_t f = 0; f < 4; ++f) {
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < positions.size(); ++i)
            if (positions[i][f] > 0)
                order.push_back(i);
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return positions[a][f] < positions[b][f]; });
        for (std::size_t j = 0; j < order.size(); ++j) {
            const long pos = positions[order[j]][f];
            const long first = pos - 1 - static_cast<long>(j);
            if (j + 1 == order.size() && totals[f] < 0)
                return QStringLiteral("the record total of the %1 file is not known").arg(QLatin1String(files[f]));
            const long count = j + 1 < order.size() ? positions[order[j + 1]][f] - pos - 1 : totals[f] - first;
            if (count < 0 || count > maxCount[f] || (f == 3 && first > 65535))
                return QStringLiteral("line %1: the %2 block at %3 holds %4 records, which the index cannot hold")
                    .arg(order[j] + 2)
                    .arg(QLatin1String(files[f]))
                    .arg(pos)
                    .arg(count);
            Nuclide& node = nodes[order[j]];
            switch (f) {
            case 0:
                node.firstLine = static_cast<std::int32_t>(first);
                node.lineCount = static_cast<std::uint16_t>(count);
                break;
            case 1:
                node.firstBetaLine = static_cast<std::int32_t>(first);
                node.betaLineCount = static_cast<std::uint8_t>(count);
                break;
            case 2:
                node.firstAugerLine = static_cast<std::int32_t>(first);
                node.augerLineCount = static_cast<std::uint16_t>(count);
                break;
            default:
                node.firstNeutronLine = static_cast<std::uint16_t>(first);
                node.neutronLineCount = static_cast<std::uint8_t>(count);
                break;
            }
        }
    }
    return {};
}

} // namespace

NdxResult readNdx(const QByteArray& text, const SpectrumTotals& totals)
{
    NdxResult result;
    std::vector<std::array<long, 4>> positions;
    int lineNumber = 0;
    try {
        for (const QByteArray& whole : text.split('\n')) {
            ++lineNumber;
            QByteArrayView line(whole);
            if (line.endsWith('\r'))
                line.chop(1);
            if (lineNumber == 1 || line.trimmed().isEmpty())
                continue; // the header, and blank lines at the end
            if (line.size() < kRecordWidth)
                throw NdxError{
                    static_cast<int>(line.size()),
                    QStringLiteral("the record has %1 characters, %2 expected").arg(line.size()).arg(kRecordWidth)};
            positions.emplace_back();
            Nuclide node = parseRecord(RecordLine(line), positions.back());
            node.position = static_cast<std::int32_t>(result.nodes.size());
            result.nodes.push_back(node);
        }
        // Daughter positions must name records of this file.
        const long count = static_cast<long>(result.nodes.size());
        for (const Nuclide& node : result.nodes)
            for (int s = 0; s < node.daughterCount; ++s)
                if (node.daughters[static_cast<std::size_t>(s)].position >= count) {
                    lineNumber = node.position + 2;
                    throw NdxError{kDaughterColumns[s] + 7, QStringLiteral("daughter position beyond the last record")};
                }
    } catch (const NdxError& e) {
        result.nodes.clear();
        result.error = QStringLiteral("line %1, column %2: %3").arg(lineNumber).arg(e.column + 1).arg(e.what);
        return result;
    }
    result.error = assignSpectrumBlocks(result.nodes, positions, totals);
    if (!result.error.isEmpty())
        result.nodes.clear();
    return result;
}

} // namespace kav
