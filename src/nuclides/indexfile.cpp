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
    if (!in.read(element) || !in.read(node.AMassInt) || !in.read(state) || !in.read(node.HalfLife) || !in.read(timeUnit)
        || !in.read(radTypes) || !in.read(daughters) || !in.read(node.NLines) || !in.read(node.BetaLines)
        || !in.read(node.AugerLines) || !in.read(node.NeutronLines) || !in.read(node.SLinePos))
        return false;
    if ((node.BetaLines && !in.read(node.BetaLinePos)) || (node.AugerLines && !in.read(node.AugerLinePos))
        || (node.NeutronLines && !in.read(node.NeutronLinePos)))
        return false;
    if (!in.readExtended(node.E_alpha) || !in.readExtended(node.E_electron) || !in.readExtended(node.E_photon)
        || !in.read(node.Ph_low) || !in.read(node.Ph_high) || !in.read(node.BetaTrans) || !in.read(node.MonoElectr)
        || !in.read(node.AlphaTrans) || !in.readExtended(node.AMassReal) || !in.readExtended(node.AirKermaRateConstant)
        || !in.readExtended(node.AirKermaCoefficient))
        return false;

    if (element >= Ordinal(ChemicalElement::None))
        problems.note(record, QStringLiteral("element %1 is not an element").arg(element));
    if (state > static_cast<int>(IsomerState::N) || timeUnit > static_cast<int>(TimeUnit::Microsecond)
        || (radTypes & ~DecayModeMask))
        problems.note(record, QStringLiteral("isomer state, time unit or decay modes out of range"));
    if (node.AMassInt < 1 || node.AMassInt > 999)
        problems.note(record, QStringLiteral("mass number %1 out of range").arg(node.AMassInt));
    if (!(node.HalfLife > 0) || !std::isfinite(node.HalfLife))
        problems.note(record, QStringLiteral("half-life %1 is not a positive number").arg(node.HalfLife));
    if (daughters > DaughterSlotCount)
        problems.note(record, QStringLiteral("%1 radioactive daughters").arg(daughters));
    node.Element = validElement(element);
    node.AMass = MakeAMass(node.AMassInt, validState(state));
    node.HalfLifeUnit
        = timeUnit <= static_cast<int>(TimeUnit::Microsecond) ? static_cast<TimeUnit>(timeUnit) : TimeUnit::Day;
    node.RTypeSet = DecayModeSet::fromRaw(radTypes & DecayModeMask);
    return true;
}

// A daughter's element, mass number, isomer state and fraction.
bool readIdentity(RecordReader& in, DaughterSlot& d, int record, Problems& problems)
{
    std::uint8_t e = 0;
    std::int32_t mass = 0;
    std::uint8_t s = 0;
    if (!in.read(e) || !in.read(mass) || !in.read(s) || !in.read(d.Yield))
        return false;
    if (e >= Ordinal(ChemicalElement::None) || mass < 1 || mass > 999 || s > static_cast<int>(IsomerState::N)
        || !(d.Yield >= 0 && d.Yield <= 1))
        problems.note(record, QStringLiteral("a daughter's identity or fraction is out of range"));
    d.Name = MakeNuclideName(validElement(e), mass, validState(s));
    return true;
}

// The radioactive daughters, then the fission branch or the stable daughters, into the node's
// four slots; those beyond the slots are read past.
bool readDaughters(RecordReader& in, Nuclide& node, std::uint8_t daughters, int record, Problems& problems)
{
    int slot = 0;
    for (int i = 0; i < daughters; ++i) {
        DaughterSlot d;
        if (!readIdentity(in, d, record, problems) || !in.read(d.DaughterPos))
            return false;
        if (slot < DaughterSlotCount)
            node.DaughterArray[static_cast<std::size_t>(slot++)] = d;
    }
    node.DaughtersCount = static_cast<std::uint8_t>(slot);
    if (node.RTypeSet.contains(DecayMode::SpontaneousFission)) {
        float fission = 0;
        if (!in.read(fission))
            return false;
        if (slot < DaughterSlotCount)
            node.DaughterArray[static_cast<std::size_t>(slot)].Yield = fission;
        else
            problems.note(record, QStringLiteral("no place for the fission branch"));
        node.StableCount = 0;
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
            node.DaughterArray[static_cast<std::size_t>(slot++)] = d;
            ++kept;
        }
    }
    node.StableCount = static_cast<std::uint8_t>(kept);
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
    parts.element = ElementBySymbol(QString::fromLatin1(text.data(), static_cast<qsizetype>(dash)));
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

std::vector<std::unique_ptr<Nuclide>> ReadIndexRecords(const QByteArray& bytes, int maxRecords, QString* firstProblem)
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

void WriteIndexRecord(const Nuclide& node, QByteArray& out)
{
    const bool fission = node.RTypeSet.contains(DecayMode::SpontaneousFission);
    put<std::uint8_t>(out, static_cast<std::uint8_t>(node.Element));
    put<std::uint16_t>(out, node.AMassInt);
    put<std::uint8_t>(
        out, static_cast<std::uint8_t>(node.AMass.empty() ? IsomerState::Ground : stateOfLastChar(node.AMass.back())));
    put<float>(out, node.HalfLife);
    put<std::uint8_t>(out, static_cast<std::uint8_t>(node.HalfLifeUnit));
    put<std::uint8_t>(out, node.RTypeSet.raw());
    put<std::uint8_t>(out, node.DaughtersCount);
    put<std::uint16_t>(out, node.NLines);
    put<std::uint8_t>(out, node.BetaLines);
    put<std::uint16_t>(out, node.AugerLines);
    put<std::uint8_t>(out, node.NeutronLines);
    put<std::int32_t>(out, node.SLinePos);
    if (node.BetaLines)
        put<std::int32_t>(out, node.BetaLinePos);
    if (node.AugerLines)
        put<std::int32_t>(out, node.AugerLinePos);
    if (node.NeutronLines)
        put<std::uint16_t>(out, node.NeutronLinePos);
    putExtended(out, node.E_alpha);
    putExtended(out, node.E_electron);
    putExtended(out, node.E_photon);
    put<std::uint8_t>(out, node.Ph_low);
    put<std::uint16_t>(out, node.Ph_high);
    put<std::uint8_t>(out, node.BetaTrans);
    put<std::uint16_t>(out, node.MonoElectr);
    put<std::uint8_t>(out, node.AlphaTrans);
    putExtended(out, node.AMassReal);
    putExtended(out, node.AirKermaRateConstant);
    putExtended(out, node.AirKermaCoefficient);
    auto putIdentity = [&](const NuclideName& name) {
        const NameParts parts = splitName(name);
        put<std::uint8_t>(out, static_cast<std::uint8_t>(parts.element));
        put<std::int32_t>(out, parts.mass);
        put<std::uint8_t>(out, static_cast<std::uint8_t>(parts.state));
    };
    for (int slot = 0; slot < node.DaughtersCount; ++slot) {
        const DaughterSlot& d = node.DaughterArray[static_cast<std::size_t>(slot)];
        putIdentity(d.Name);
        put<float>(out, d.Yield);
        put<std::int32_t>(out, d.DaughterPos);
    }
    if (fission) {
        put<float>(out, node.DaughtersCount < DaughterSlotCount ? node.DaughterArray[node.DaughtersCount].Yield : 0.0f);
        return;
    }
    put<std::uint8_t>(out, node.StableCount);
    for (int slot = node.DaughtersCount; slot < node.DaughtersCount + node.StableCount; ++slot) {
        const DaughterSlot& d = node.DaughterArray[static_cast<std::size_t>(slot)];
        putIdentity(d.Name);
        put<float>(out, d.Yield);
    }
}

} // namespace kav
