#include "nuclides/nuclide.h"

#include "base/extendedfloat.h"
#include "base/numberformat.h"
#include "nuclides/nuclidelist.h"

#include <cctype>
#include <charconv>
#include <cstring>

namespace kav {

MassText MakeAMass(long aMassInt, IsomerState state)
{
    char text[24];
    char* end = std::to_chars(text, text + 20, aMassInt).ptr;
    if (state != IsomerState::Ground)
        *end++ = state == IsomerState::M ? 'm' : 'n';
    return MassText(std::string_view(text, static_cast<std::size_t>(end - text)));
}

NuclideName MakeNuclideName(ChemicalElement element, const MassText& aMass)
{
    char text[16];
    const std::string_view symbol = ElementSymbolAscii(element);
    std::size_t n = symbol.copy(text, 2);
    text[n++] = '-';
    n += aMass.view().copy(text + n, 4);
    return NuclideName(std::string_view(text, n));
}

NuclideName MakeNuclideName(ChemicalElement element, long aMassInt, IsomerState state)
{
    return MakeNuclideName(element, MakeAMass(aMassInt, state));
}

void NuclideIdentity::Assign(const NuclideIdentity& other)
{
    Element = other.Element;
    AMass = other.AMass;
    AMassInt = other.AMassInt;
    Name = other.Name;
}

QString NuclideIdentity::NameText() const
{
    return ElementSymbol(Element) + u'-' + AMass.toString();
}

IsomerState NuclideIdentity::AMassChar() const
{
    if (AMass.empty() || std::isdigit(static_cast<unsigned char>(AMass.back())))
        return IsomerState::Ground;
    return AMass.back() == 'm' ? IsomerState::M : AMass.back() == 'n' ? IsomerState::N : IsomerState::Ground;
}

Nuclide::Nuclide() = default;

void Nuclide::Assign(const NuclideIdentity& other)
{
    const auto* node = dynamic_cast<const Nuclide*>(&other);
    if (!node) {
        NuclideIdentity::Assign(other);
        return;
    }
    const NuclideLookup* owner = m_owner;
    *this = *node;
    m_owner = owner;
}

int Nuclide::GetRTypeArray(DecayStepCounts& radTypes) const
{
    radTypes = {0, 0, 0, 0};
    radTypes[0] = RTypeSet.contains(DecayMode::BetaMinus) ? 1 : 0;
    radTypes[1] = RTypeSet.contains(DecayMode::IsomericTransition) ? 1 : 0;
    radTypes[2] = RTypeSet.contains(DecayMode::BetaPlus) || RTypeSet.contains(DecayMode::ElectronCapture) ? 1 : 0;
    radTypes[3] = RTypeSet.contains(DecayMode::Alpha) ? 1 : 0;
    return radTypes[0] + radTypes[1] + radTypes[2] + radTypes[3];
}

void Nuclide::DaughterByDecay(ChemicalElement& element, std::uint16_t& aMassInt, DecayStepKind radType) const
{
    element = static_cast<ChemicalElement>(static_cast<int>(Element) - radType);
    aMassInt = static_cast<std::uint16_t>(radType == 2 ? AMassInt - 4 : AMassInt);
}

bool Nuclide::DecayToDaughter(ChemicalElement element, std::uint16_t aMassInt, DecayStepKind& radType) const
{
    const int d = static_cast<int>(Element) - static_cast<int>(element);
    const int m = static_cast<int>(AMassInt) - static_cast<int>(aMassInt);
    if (m == 0) {
        if (d < -1 || d > 1)
            return false;
        radType = d;
        return true;
    }
    if (m == 4 && d == 2) {
        radType = 2;
        return true;
    }
    return false;
}

const Nuclide* Nuclide::DaughterNode(int slot) const
{
    if (!m_owner || slot < 0 || slot >= DaughtersCount)
        return nullptr;
    return m_owner->NodeAt(DaughterArray[static_cast<std::size_t>(slot)].DaughterPos);
}

void Nuclide::GetChainArray(DecayChain& chain, float& maxCutted) const
{
    maxCutted = 0;
    chain.clear();
    // A damaged index may link in a circle; no real chain is longer than the index.
    const int limit = m_owner ? m_owner->Count() : 0;
    const Nuclide* current = this;
    while (current && current->DaughtersCount > 0 && static_cast<int>(chain.size()) < limit) {
        int best = -1;
        float bestYield = 0;
        float second = 0;
        for (int slot = 0; slot < current->DaughtersCount; ++slot) {
            if (!current->DaughterNode(slot))
                continue;
            const float y = current->DaughterArray[static_cast<std::size_t>(slot)].Yield;
            if (best < 0 || y > bestYield) {
                if (best >= 0)
                    second = std::max(second, bestYield);
                best = slot;
                bestYield = y;
            } else {
                second = std::max(second, y);
            }
        }
        maxCutted = std::max(maxCutted, second);
        if (best < 0)
            break;
        const Nuclide* next = current->DaughterNode(best);
        chain.push_back({current->DaughterArray[static_cast<std::size_t>(best)].Name, bestYield, next->Lr});
        current = next;
    }
}

void Nuclide::GetDaughtersList(NuclideList& daughters) const
{
    daughters.Clear();
    // Depth first, each nuclide when first reached; kept on an explicit stack so that no
    // chain, however long, can exhaust the call stack.
    struct Visit {
        const Nuclide* node;
        int nextSlot;
    };
    std::vector<Visit> stack{{this, 0}};
    while (!stack.empty()) {
        Visit& top = stack.back();
        if (top.nextSlot >= top.node->DaughtersCount) {
            stack.pop_back();
            continue;
        }
        const Nuclide* daughter = top.node->DaughterNode(top.nextSlot++);
        if (!daughter || daughters.IndexOf(daughter->Name.toString()) >= 0)
            continue;
        daughters.Add(daughter->Name.toString(), daughter);
        stack.push_back({daughter, 0});
    }
}

float Nuclide::SpontaneousFissionFraction() const
{
    if (!RTypeSet.contains(DecayMode::SpontaneousFission) || DaughtersCount >= DaughterSlotCount)
        return 0;
    return DaughterArray[DaughtersCount].Yield;
}

} // namespace kav
