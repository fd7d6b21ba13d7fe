#pragma once

#include "base/enumset.h"
#include "nuclides/rnxelement.h"
#include "nuclides/shortstring.h"
#include "units/units.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace kav {

class TRNXindex;
class TRNXStringList;

enum TRNXAMassChar : std::uint8_t { mcxNone, mcx_m, mcx_n };
enum TRNXAllRadType : std::uint8_t { rtx_BetaMinus, rtx_IT, rtx_BetaPlus, rtx_Alpha, rtx_EC, rtx_SF };
using TRNXAllRadTypeSet = EnumSet<TRNXAllRadType, 8>;
constexpr std::uint8_t RNXAllRadTypeMask = 0x3F;

// A nuclide's identity as data files store it: element and mass text, six bytes.
#pragma pack(push, 1)
struct TRNXRec {
    TRNXElement El = _NoRNXElement;
    TRNXAMass AMass;
    friend bool operator==(const TRNXRec& a, const TRNXRec& b) { return a.El == b.El && a.AMass == b.AMass; }
};
#pragma pack(pop)
static_assert(sizeof(TRNXRec) == 6);

// One daughter slot: name, position of the daughter's node (-1 when none) and branching fraction.
struct TRNXDaughterRec {
    TRNXname RNXname;
    std::int32_t DaughterPos = -1;
    float Yield = 0;
};
static_assert(sizeof(TRNXDaughterRec) == 16);
constexpr int RNXDaughterSlots = 4;
using TRNXDaughterArray = std::array<TRNXDaughterRec, RNXDaughterSlots>; // slots 1..4 at 0..3

// One step of the main decay chain.
struct TRNXChainRec {
    TRNXname RNXname;
    float Yield = 0;
    float Lr = 0;
};
using TRNXChainArray = std::vector<TRNXChainRec>;

// Kinds of decay step by their effect on the nucleus: -1 beta minus, 0 isomeric transition,
// 1 beta plus or electron capture, 2 alpha.
using TRNXRadType = int;
// Indexed by kind + 1.
using TRNXRadTypeArray = std::array<std::int32_t, 4>;

// The identity of one nuclide.
class TBasicRNX {
public:
    virtual ~TBasicRNX() = default;
    virtual void Assign(const TBasicRNX& other);

    // "Co-60", "Tc-99m"; "__-0" for a new node.
    QString RNXStr() const;
    TRNXAMassChar AMassChar() const;

    TRNXElement Element = _NoRNXElement;
    TRNXAMass AMass{"0"};
    std::uint16_t AMassInt = 0;
    TRNXname RNXname;
};

class TRNXnode;

// Where a node finds the nodes its daughter slots point at: the index that holds it.
class TRNXNodeLookup {
public:
    // The node at a position, or null outside the index.
    virtual const TRNXnode* NodeAt(std::int32_t position) const = 0;
    virtual int Count() const = 0;

protected:
    ~TRNXNodeLookup() = default;
};

// One nuclide of the index: half-life, decay modes, daughters, spectrum positions, energies,
// and the links to its ancestors made at load.
class TRNXnode : public TBasicRNX {
public:
    TRNXnode();
    void Assign(const TBasicRNX& other) override;

    // Decay chains (all walk the index that holds this node).
    int GetRTypeArray(TRNXRadTypeArray& radTypes) const;
    void GetRNXByDecay(TRNXElement& element, std::uint16_t& aMassInt, TRNXRadType radType) const;
    bool GetDecayByRNX(TRNXElement element, std::uint16_t aMassInt, TRNXRadType& radType) const;
    void GetChainArray(TRNXChainArray& chain, float& maxCutted) const;
    void GetDaughtersList(TRNXStringList& daughters) const;

    // The fraction of decays that are spontaneous fissions: the fission branch's, which follows
    // the radioactive daughters; 0 for a nuclide that does not fission.
    float SpontaneousFissionFraction() const;

    // The node at a daughter slot's position, or null when the slot links to none.
    const TRNXnode* DaughterNode(int slot) const;

    float HalfLife = 0;
    TimeUnit HalfLifeUnit = tuYear;
    float Lr = 0;
    TRNXAllRadTypeSet RTypeSet;
    TRNXDaughterArray DaughterArray;
    std::int32_t SLinePos = 0;
    std::uint16_t NLines = 0;
    std::int32_t BetaLinePos = 0;
    std::uint8_t BetaLines = 0;
    std::int32_t AugerLinePos = 0;
    std::uint16_t AugerLines = 0;
    std::uint16_t NeutronLinePos = 0;
    std::uint8_t NeutronLines = 0;
    double E_alpha = 0;
    double E_electron = 0;
    double E_photon = 0;
    std::uint8_t Ph_low = 0;
    std::uint16_t Ph_high = 0;
    std::uint8_t BetaTrans = 0;
    std::uint16_t MonoElectr = 0;
    std::uint8_t AlphaTrans = 0;
    double AMassReal = 0;
    double AirKermaRateConstant = 0;
    double AirKermaCoefficient = 0;
    std::array<std::int32_t, 4> AncestorsIndex{-1, -1, -1, -1}; // slots 1..4 at 0..3
    std::uint8_t DaughtersCount = 0;
    std::uint8_t AncestorsCount = 0;
    std::uint8_t StableCount = 0;
    std::int32_t Index = 0;

private:
    friend class TRNXindex;
    const TRNXNodeLookup* FOwner = nullptr;
};

// The mass text of a mass number and isomer state: "60", "99m".
TRNXAMass MakeAMass(long aMassInt, TRNXAMassChar state);
// The name of a nuclide from its parts: symbol + "-" + mass text, cut to 7.
TRNXname MakeRNXname(TRNXElement element, const TRNXAMass& aMass);
TRNXname MakeRNXname(TRNXElement element, long aMassInt, TRNXAMassChar state);

} // namespace kav
