#include "nuclides/nuclide.h"

#include "base/extendedfloat.h"
#include "base/numberformat.h"
#include "nuclides/nuclidelist.h"

#include <cctype>
#include <charconv>
#include <cstring>

namespace kav {

MassText makeAMass(long aMassInt, IsomerState state)
{
    char text[24];
    char* end = std::to_chars(text, text + 20, aMassInt).ptr;
    if (state != IsomerState::Ground)
        *end++ = state == IsomerState::M ? 'm' : 'n';
    return MassText(std::string_view(text, static_cast<std::size_t>(end - text)));
}

NuclideName makeNuclideName(ChemicalElement element, const MassText& aMass)
{
    char text[16];
    const std::string_view symbol = elementSymbolAscii(element);
    std::size_t n = symbol.copy(text, 2);
    text[n++] = '-';
    n += aMass.view().copy(text + n, 4);
    return NuclideName(std::string_view(text, n));
}

NuclideName makeNuclideName(ChemicalElement element, long aMassInt, IsomerState state)
{
    return makeNuclideName(element, makeAMass(aMassInt, state));
}

void NuclideIdentity::assign(const NuclideIdentity& other)
{
    element = other.element;
    mass = other.mass;
    massNumber = other.massNumber;
    name = other.name;
}

QString NuclideIdentity::nameText() const
{
    return elementSymbol(element) + u'-' + mass.toString();
}

IsomerState NuclideIdentity::aMassChar() const
{
    if (mass.empty() || std::isdigit(static_cast<unsigned char>(mass.back())))
        return IsomerState::Ground;
    return mass.back() == 'm' ? IsomerState::M : mass.back() == 'n' ? IsomerState::N : IsomerState::Ground;
}

Nuclide::Nuclide() = default;

void Nuclide::assign(const NuclideIdentity& other)
{
    const auto* node = dynamic_cast<const Nuclide*>(&other);
    if (!node) {
        NuclideIdentity::assign(other);
        return;
    }
    const NuclideLookup* owner = m_owner;
    *this = *node;
    m_owner = owner;
}

int Nuclide::getRTypeArray(DecayStepCounts& radTypes) const
{
    radTypes = {0, 0, 0, 0};
    radTypes[0] = decayModes.contains(DecayMode::BetaMinus) ? 1 : 0;
    radTypes[1] = decayModes.contains(DecayMode::IsomericTransition) ? 1 : 0;
    radTypes[2] = decayModes.contains(DecayMode::BetaPlus) || decayModes.contains(DecayMode::ElectronCapture) ? 1 : 0;
    radTypes[3] = decayModes.contains(DecayMode::Alpha) ? 1 : 0;
    return radTypes[0] + radTypes[1] + radTypes[2] + radTypes[3];
}

void Nuclide::daughterByDecay(ChemicalElement& daughterElement, std::uint16_t& daughterMass,
                              DecayStepKind radType) const
{
    daughterElement = static_cast<ChemicalElement>(static_cast<int>(element) - radType);
    daughterMass = static_cast<std::uint16_t>(radType == 2 ? massNumber - 4 : massNumber);
}

bool Nuclide::decayToDaughter(ChemicalElement daughterElement, std::uint16_t daughterMass, DecayStepKind& radType) const
{
    const int d = static_cast<int>(element) - static_cast<int>(daughterElement);
    const int m = static_cast<int>(massNumber) - static_cast<int>(daughterMass);
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

const Nuclide* Nuclide::daughterNode(int slot) const
{
    if (!m_owner || slot < 0 || slot >= daughterCount)
        return nullptr;
    return m_owner->nodeAt(daughters[static_cast<std::size_t>(slot)].position);
}

void Nuclide::getChainArray(DecayChain& chain, float& maxCutted) const
{
    maxCutted = 0;
    chain.clear();
    // A damaged index may link in a circle; no real chain is longer than the index.
    const int limit = m_owner ? m_owner->count() : 0;
    const Nuclide* current = this;
    while (current && current->daughterCount > 0 && static_cast<int>(chain.size()) < limit) {
        int best = -1;
        float bestYield = 0;
        float second = 0;
        for (int slot = 0; slot < current->daughterCount; ++slot) {
            if (!current->daughterNode(slot))
                continue;
            const float y = current->daughters[static_cast<std::size_t>(slot)].yield;
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
        const Nuclide* next = current->daughterNode(best);
        chain.push_back({current->daughters[static_cast<std::size_t>(best)].name, bestYield, next->decayConstant});
        current = next;
    }
}

void Nuclide::getDaughtersList(NuclideList& found) const
{
    found.clear();
    // Depth first, each nuclide when first reached; kept on an explicit stack so that no
    // chain, however long, can exhaust the call stack.
    struct Visit {
        const Nuclide* node;
        int nextSlot;
    };
    std::vector<Visit> stack{{this, 0}};
    while (!stack.empty()) {
        Visit& top = stack.back();
        if (top.nextSlot >= top.node->daughterCount) {
            stack.pop_back();
            continue;
        }
        const Nuclide* daughter = top.node->daughterNode(top.nextSlot++);
        if (!daughter || found.indexOf(daughter->name.toString()) >= 0)
            continue;
        found.add(daughter->name.toString(), daughter);
        stack.push_back({daughter, 0});
    }
}

float Nuclide::spontaneousFissionFraction() const
{
    if (!decayModes.contains(DecayMode::SpontaneousFission) || daughterCount >= DaughterSlotCount)
        return 0;
    return daughters[daughterCount].yield;
}

} // namespace kav
