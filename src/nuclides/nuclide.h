#pragma once

#include "base/enumset.h"
#include "nuclides/element.h"
#include "nuclides/shortstring.h"
#include "units/units.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace kav {

class NuclideIndex;
class NuclideList;

enum class IsomerState : std::uint8_t { Ground, M, N };
enum class DecayMode : std::uint8_t {
    BetaMinus,
    IsomericTransition,
    BetaPlus,
    Alpha,
    ElectronCapture,
    SpontaneousFission
};
using DecayModeSet = EnumSet<DecayMode, 8>;
constexpr std::uint8_t DecayModeMask = 0x3F;

// A nuclide's identity as data files store it: element and mass text, six bytes.
#pragma pack(push, 1)
struct StoredNuclideId {
    ChemicalElement element = ChemicalElement::None;
    MassText mass;
    friend bool operator==(const StoredNuclideId& a, const StoredNuclideId& b)
    {
        return a.element == b.element && a.mass == b.mass;
    }
};
#pragma pack(pop)
static_assert(sizeof(StoredNuclideId) == 6);

// One daughter slot: name, position of the daughter's node (-1 when none) and branching fraction.
struct DaughterSlot {
    NuclideName name;
    std::int32_t position = -1;
    float yield = 0;
};
static_assert(sizeof(DaughterSlot) == 16);
constexpr int DaughterSlotCount = 4;
using DaughterSlots = std::array<DaughterSlot, DaughterSlotCount>; // slots 1..4 at 0..3

// One step of the main decay chain.
struct ChainStep {
    NuclideName name;
    float yield = 0;
    float decayConstant = 0;
};
using DecayChain = std::vector<ChainStep>;

// Kinds of decay step by their effect on the nucleus: -1 beta minus, 0 isomeric transition,
// 1 beta plus or electron capture, 2 alpha.
using DecayStepKind = int;
// Indexed by kind + 1.
using DecayStepCounts = std::array<std::int32_t, 4>;

// The identity of one nuclide.
class NuclideIdentity {
public:
    virtual ~NuclideIdentity() = default;
    virtual void assign(const NuclideIdentity& other);

    // "Co-60", "Tc-99m"; "__-0" for a new node.
    QString nameText() const;
    IsomerState aMassChar() const;

    ChemicalElement element = ChemicalElement::None;
    MassText mass{"0"};
    std::uint16_t massNumber = 0;
    NuclideName name;
};

class Nuclide;

// Where a node finds the nodes its daughter slots point at: the index that holds it.
class NuclideLookup {
public:
    // The node at a position, or null outside the index.
    virtual const Nuclide* nodeAt(std::int32_t position) const = 0;
    virtual int count() const = 0;

protected:
    ~NuclideLookup() = default;
};

// One nuclide of the index: half-life, decay modes, daughters, spectrum positions, energies,
// and the links to its ancestors made at load.
class Nuclide : public NuclideIdentity {
public:
    Nuclide();
    void assign(const NuclideIdentity& other) override;

    // Decay chains (all walk the index that holds this node).
    int getRTypeArray(DecayStepCounts& radTypes) const;
    void daughterByDecay(ChemicalElement& daughterElement, std::uint16_t& daughterMass, DecayStepKind radType) const;
    bool decayToDaughter(ChemicalElement daughterElement, std::uint16_t daughterMass, DecayStepKind& radType) const;
    void getChainArray(DecayChain& chain, float& maxCutted) const;
    void getDaughtersList(NuclideList& found) const;

    // The fraction of decays that are spontaneous fissions: the fission branch's, which follows
    // the radioactive daughters; 0 for a nuclide that does not fission.
    float spontaneousFissionFraction() const;

    // The node at a daughter slot's position, or null when the slot links to none.
    const Nuclide* daughterNode(int slot) const;

    float halfLife = 0;
    TimeUnit halfLifeUnit = TimeUnit::Year;
    float decayConstant = 0;
    DecayModeSet decayModes;
    DaughterSlots daughters;
    std::int32_t firstLine = 0;
    std::uint16_t lineCount = 0;
    std::int32_t firstBetaLine = 0;
    std::uint8_t betaLineCount = 0;
    std::int32_t firstAugerLine = 0;
    std::uint16_t augerLineCount = 0;
    std::uint16_t firstNeutronLine = 0;
    std::uint8_t neutronLineCount = 0;
    double alphaEnergy = 0;
    double electronEnergy = 0;
    double photonEnergy = 0;
    std::uint8_t lowPhotonLines = 0;
    std::uint16_t highPhotonLines = 0;
    std::uint8_t betaTransitions = 0;
    std::uint16_t electronLines = 0;
    std::uint8_t alphaTransitions = 0;
    double atomicMass = 0;
    double airKermaRateConstant = 0;
    double airKermaCoefficient = 0;
    std::array<std::int32_t, 4> ancestors{-1, -1, -1, -1}; // slots 1..4 at 0..3
    std::uint8_t daughterCount = 0;
    std::uint8_t ancestorCount = 0;
    std::uint8_t stableDaughterCount = 0;
    std::int32_t position = 0;

private:
    friend class NuclideIndex;
    const NuclideLookup* m_owner = nullptr;
};

// The mass text of a mass number and isomer state: "60", "99m".
MassText makeAMass(long aMassInt, IsomerState state);
// The name of a nuclide from its parts: symbol + "-" + mass text, cut to 7.
NuclideName makeNuclideName(ChemicalElement element, const MassText& aMass);
NuclideName makeNuclideName(ChemicalElement element, long aMassInt, IsomerState state);

} // namespace kav
