#include "nuclides/indexfile.h"

#include "base/extendedfloat.h"
#include "nuclides/nuclidenames.h"

#include <cctype>
#include <cmath>
#include <cstring>

namespace kav {

namespace {

// Notes the first thing found wrong in a file being checked.
class Problems {
public:
    explicit Problems(QString* first)
        : m_first(first)
    {
    }
    bool found() const { return m_first && !m_first->isEmpty(); }
    void note(int record, const QString& what)
    {
        if (m_first && m_first->isEmpty())
            *m_first = QStringLiteral("record %1: %2").arg(record + 1).arg(what);
    }

private:
    QString* m_first;
};

ChemicalElement validElement(std::uint8_t ordinal)
{
    return ordinal < ElementCount ? static_cast<ChemicalElement>(ordinal) : ChemicalElement::None;
}

IsomerState validState(std::uint8_t state)
{
    return state <= static_cast<int>(IsomerState::N) ? static_cast<IsomerState>(state) : IsomerState::Ground;
}

// Reads little-endian values from a buffer; every read checks that the bytes are there.
class RecordReader {
public:
    RecordReader(const char* data, qsizetype size)
        : m_data(data)
        , m_size(size)
    {
    }
    qsizetype position() const { return m_pos; }
    void seek(qsizetype pos) { m_pos = pos; }
    bool atEnd() const { return m_pos >= m_size; }

    template <typename T> bool read(T& value)
    {
        if (m_size - m_pos < static_cast<qsizetype>(sizeof(T)))
            return false;
        std::memcpy(&value, m_data + m_pos, sizeof(T));
        m_pos += static_cast<qsizetype>(sizeof(T));
        return true;
    }
    bool readExtended(double& value)
    {
        Extended80 bytes;
        if (!read(bytes))
            return false;
        value = fromExtended80(bytes);
        return true;
    }
    bool skip(qsizetype n)
    {
        if (n < 0 || m_size - m_pos < n)
            return false;
        m_pos += n;
        return true;
    }

private:
    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

// The parts of a record before its daughters, whose count it returns through daughters.
bool readFixedPart(RecordReader& in, Nuclide& node, int record, Problems& problems, std::uint8_t& daughters)
{
    std::uint8_t element = 0;
    std::uint8_t state = 0;
    std::uint8_t timeUnit = 0;
    std::uint8_t radTypes = 0;
    if (!in.read(element) || !in.read(node.massNumber) || !in.read(state) || !in.read(node.halfLife)
        || !in.read(timeUnit) || !in.read(radTypes) || !in.read(daughters) || !in.read(node.lineCount)
        || !in.read(node.betaLineCount) || !in.read(node.augerLineCount) || !in.read(node.neutronLineCount)
        || !in.read(node.firstLine))
        return false;
    if ((node.betaLineCount && !in.read(node.firstBetaLine)) || (node.augerLineCount && !in.read(node.firstAugerLine))
        || (node.neutronLineCount && !in.read(node.firstNeutronLine)))
        return false;
    if (!in.readExtended(node.alphaEnergy) || !in.readExtended(node.electronEnergy)
        || !in.readExtended(node.photonEnergy) || !in.read(node.lowPhotonLines) || !in.read(node.highPhotonLines)
        || !in.read(node.betaTransitions) || !in.read(node.electronLines) || !in.read(node.alphaTransitions)
        || !in.readExtended(node.atomicMass) || !in.readExtended(node.airKermaRateConstant)
        || !in.readExtended(node.airKermaCoefficient))
        return false;

    if (element >= ordinal(ChemicalElement::None))
        problems.note(record, QStringLiteral("element %1 is not an element").arg(element));
    if (state > static_cast<int>(IsomerState::N) || timeUnit > static_cast<int>(TimeUnit::Microsecond)
        || (radTypes & ~DecayModeMask))
        problems.note(record, QStringLiteral("isomer state, time unit or decay modes out of range"));
    if (node.massNumber < 1 || node.massNumber > 999)
        problems.note(record, QStringLiteral("mass number %1 out of range").arg(node.massNumber));
    if (!(node.halfLife > 0) || !std::isfinite(node.halfLife))
        problems.note(record, QStringLiteral("half-life %1 is not a positive number").arg(node.halfLife));
    if (daughters > DaughterSlotCount)
        problems.note(record, QStringLiteral("%1 radioactive daughters").arg(daughters));
    node.element = validElement(element);
    node.mass = makeAMass(node.massNumber, validState(state));
    node.halfLifeUnit
        = timeUnit <= static_cast<int>(TimeUnit::Microsecond) ? static_cast<TimeUnit>(timeUnit) : TimeUnit::Day;
    node.decayModes = DecayModeSet::fromRaw(radTypes & DecayModeMask);
    return true;
}

// A daughter's element, mass number, isomer state and fraction.
bool readIdentity(RecordReader& in, DaughterSlot& d, int record, Problems& problems)
{
    std::uint8_t e = 0;
    std::int32_t mass = 0;
    std::uint8_t s = 0;
    if (!in.read(e) || !in.read(mass) || !in.read(s) || !in.read(d.yield))
        return false;
    if (e >= ordinal(ChemicalElement::None) || mass < 1 || mass > 999 || s > static_cast<int>(IsomerState::N)
        || !(d.yield >= 0 && d.yield <= 1))
        problems.note(record, QStringLiteral("a daughter's identity or fraction is out of range"));
    d.name = makeNuclideName(validElement(e), mass, validState(s));
    return true;
}

// The radioactive daughters, then the fission branch or the stable daughters, into the node's
// four slots; those beyond the slots are read past.
bool readDaughters(RecordReader& in, Nuclide& node, std::uint8_t daughters, int record, Problems& problems)
{
    int slot = 0;
    for (int i = 0; i < daughters; ++i) {
        DaughterSlot d;
        if (!readIdentity(in, d, record, problems) || !in.read(d.position))
            return false;
        if (slot < DaughterSlotCount)
            node.daughters[static_cast<std::size_t>(slot++)] = d;
    }
    node.daughterCount = static_cast<std::uint8_t>(slot);
    if (node.decayModes.contains(DecayMode::SpontaneousFission)) {
        float fission = 0;
        if (!in.read(fission))
            return false;
        if (slot < DaughterSlotCount)
            node.daughters[static_cast<std::size_t>(slot)].yield = fission;
        else
            problems.note(record, QStringLiteral("no place for the fission branch"));
        node.stableDaughterCount = 0;
        return true;
    }
    std::uint8_t stable = 0;
    if (!in.read(stable))
        return false;
    if (slot + stable > DaughterSlotCount)
        problems.note(record, QStringLiteral("more daughters than the record holds"));
    int kept = 0;
    for (int i = 0; i < stable; ++i) {
        DaughterSlot d;
        if (!readIdentity(in, d, record, problems))
            return false;
        if (slot < DaughterSlotCount) {
            node.daughters[static_cast<std::size_t>(slot++)] = d;
            ++kept;
        }
    }
    node.stableDaughterCount = static_cast<std::uint8_t>(kept);
    return true;
}

// One record into a node; false when the record is incomplete.
bool readRecord(RecordReader& in, Nuclide& node, int record, Problems& problems)
{
    std::uint8_t daughters = 0;
    return readFixedPart(in, node, record, problems, daughters) && readDaughters(in, node, daughters, record, problems);
}

// Little-endian writers for one record.
template <typename T> void put(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

void putExtended(QByteArray& out, double value)
{
    const Extended80 e = toExtended80(value);
    out.append(reinterpret_cast<const char*>(e.data()), static_cast<qsizetype>(e.size()));
}

IsomerState stateOfLastChar(char c)
{
    switch (std::tolower(static_cast<unsigned char>(c))) {
    case 'm': return IsomerState::M;
    case 'n': return IsomerState::N;
    default: return IsomerState::Ground;
    }
}

// Element, mass number and isomer state of a name such as "Ba-137m".
struct NameParts {
    ChemicalElement element = ChemicalElement::None;
    std::int32_t mass = 0;
    IsomerState state = IsomerState::Ground;
};

NameParts splitName(const NuclideName& name)
{
    NameParts parts;
    const std::string_view text = name.view();
    const auto dash = text.find('-');
    if (dash == std::string_view::npos)
        return parts;
    parts.element = elementBySymbol(QString::fromLatin1(text.data(), static_cast<qsizetype>(dash)));
    for (char c : text.substr(dash + 1)) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        parts.mass = parts.mass * 10 + (c - '0');
    }
    parts.state
        = std::isdigit(static_cast<unsigned char>(text.back())) ? IsomerState::Ground : stateOfLastChar(text.back());
    return parts;
}

} // namespace

std::vector<std::unique_ptr<Nuclide>> readIndexRecords(const QByteArray& bytes, int maxRecords, QString* firstProblem)
{
    Problems problems(firstProblem);
    std::vector<std::unique_ptr<Nuclide>> nodes;
    RecordReader in(bytes.constData(), bytes.size());
    while (!in.atEnd() && static_cast<int>(nodes.size()) < maxRecords && !problems.found()) {
        auto node = std::make_unique<Nuclide>();
        const int record = static_cast<int>(nodes.size());
        if (!readRecord(in, *node, record, problems)) {
            problems.note(record, QStringLiteral("the file ends inside it"));
            break;
        }
        nodes.push_back(std::move(node));
    }
    if (!in.atEnd() && static_cast<int>(nodes.size()) >= maxRecords)
        problems.note(maxRecords, QStringLiteral("more records than an index holds"));
    return nodes;
}

void writeIndexRecord(const Nuclide& node, QByteArray& out)
{
    const bool fission = node.decayModes.contains(DecayMode::SpontaneousFission);
    put<std::uint8_t>(out, static_cast<std::uint8_t>(node.element));
    put<std::uint16_t>(out, node.massNumber);
    put<std::uint8_t>(
        out, static_cast<std::uint8_t>(node.mass.empty() ? IsomerState::Ground : stateOfLastChar(node.mass.back())));
    put<float>(out, node.halfLife);
    put<std::uint8_t>(out, static_cast<std::uint8_t>(node.halfLifeUnit));
    put<std::uint8_t>(out, node.decayModes.raw());
    put<std::uint8_t>(out, node.daughterCount);
    put<std::uint16_t>(out, node.lineCount);
    put<std::uint8_t>(out, node.betaLineCount);
    put<std::uint16_t>(out, node.augerLineCount);
    put<std::uint8_t>(out, node.neutronLineCount);
    put<std::int32_t>(out, node.firstLine);
    if (node.betaLineCount)
        put<std::int32_t>(out, node.firstBetaLine);
    if (node.augerLineCount)
        put<std::int32_t>(out, node.firstAugerLine);
    if (node.neutronLineCount)
        put<std::uint16_t>(out, node.firstNeutronLine);
    putExtended(out, node.alphaEnergy);
    putExtended(out, node.electronEnergy);
    putExtended(out, node.photonEnergy);
    put<std::uint8_t>(out, node.lowPhotonLines);
    put<std::uint16_t>(out, node.highPhotonLines);
    put<std::uint8_t>(out, node.betaTransitions);
    put<std::uint16_t>(out, node.electronLines);
    put<std::uint8_t>(out, node.alphaTransitions);
    putExtended(out, node.atomicMass);
    putExtended(out, node.airKermaRateConstant);
    putExtended(out, node.airKermaCoefficient);
    auto putIdentity = [&](const NuclideName& name) {
        const NameParts parts = splitName(name);
        put<std::uint8_t>(out, static_cast<std::uint8_t>(parts.element));
        put<std::int32_t>(out, parts.mass);
        put<std::uint8_t>(out, static_cast<std::uint8_t>(parts.state));
    };
    for (int slot = 0; slot < node.daughterCount; ++slot) {
        const DaughterSlot& d = node.daughters[static_cast<std::size_t>(slot)];
        putIdentity(d.name);
        put<float>(out, d.yield);
        put<std::int32_t>(out, d.position);
    }
    if (fission) {
        put<float>(out, node.daughterCount < DaughterSlotCount ? node.daughters[node.daughterCount].yield : 0.0f);
        return;
    }
    put<std::uint8_t>(out, node.stableDaughterCount);
    for (int slot = node.daughterCount; slot < node.daughterCount + node.stableDaughterCount; ++slot) {
        const DaughterSlot& d = node.daughters[static_cast<std::size_t>(slot)];
        putIdentity(d.name);
        put<float>(out, d.yield);
    }
}

} // namespace kav
