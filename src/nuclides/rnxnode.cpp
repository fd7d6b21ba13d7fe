#include "nuclides/rnxnode.h"

#include "base/extendedfloat.h"
#include "base/numberformat.h"
#include "nuclides/rnxlist.h"

#include <cctype>
#include <charconv>
#include <cstring>

namespace kav {

TRNXAMass MakeAMass(long aMassInt, TRNXAMassChar state)
{
    char text[24];
    char* end = std::to_chars(text, text + 20, aMassInt).ptr;
    if (state != mcxNone)
        *end++ = state == mcx_m ? 'm' : 'n';
    return TRNXAMass(std::string_view(text, static_cast<std::size_t>(end - text)));
}

TRNXname MakeRNXname(TRNXElement element, const TRNXAMass& aMass)
{
    char text[16];
    const std::string_view symbol = RNXElementSymbolAscii(element);
    std::size_t n = symbol.copy(text, 2);
    text[n++] = '-';
    n += aMass.view().copy(text + n, 4);
    return TRNXname(std::string_view(text, n));
}

TRNXname MakeRNXname(TRNXElement element, long aMassInt, TRNXAMassChar state)
{
    return MakeRNXname(element, MakeAMass(aMassInt, state));
}

void TBasicRNX::Assign(const TBasicRNX& other)
{
    Element = other.Element;
    AMass = other.AMass;
    AMassInt = other.AMassInt;
    RNXname = other.RNXname;
}

QString TBasicRNX::RNXStr() const
{
    return RNXElementSymbol(Element) + u'-' + AMass.toString();
}

TRNXAMassChar TBasicRNX::AMassChar() const
{
    if (AMass.empty() || std::isdigit(static_cast<unsigned char>(AMass.back())))
        return mcxNone;
    return AMass.back() == 'm' ? mcx_m : AMass.back() == 'n' ? mcx_n : mcxNone;
}

TRNXnode::TRNXnode() = default;

void TRNXnode::Assign(const TBasicRNX& other)
{
    const auto* node = dynamic_cast<const TRNXnode*>(&other);
    if (!node) {
        TBasicRNX::Assign(other);
        return;
    }
    const TRNXNodeLookup* owner = FOwner;
    *this = *node;
    FOwner = owner;
}

int TRNXnode::GetRTypeArray(TRNXRadTypeArray& radTypes) const
{
    radTypes = {0, 0, 0, 0};
    radTypes[0] = RTypeSet.contains(rtx_BetaMinus) ? 1 : 0;
    radTypes[1] = RTypeSet.contains(rtx_IT) ? 1 : 0;
    radTypes[2] = RTypeSet.contains(rtx_BetaPlus) || RTypeSet.contains(rtx_EC) ? 1 : 0;
    radTypes[3] = RTypeSet.contains(rtx_Alpha) ? 1 : 0;
    return radTypes[0] + radTypes[1] + radTypes[2] + radTypes[3];
}

void TRNXnode::GetRNXByDecay(TRNXElement& element, std::uint16_t& aMassInt, TRNXRadType radType) const
{
    element = static_cast<TRNXElement>(static_cast<int>(Element) - radType);
    aMassInt = static_cast<std::uint16_t>(radType == 2 ? AMassInt - 4 : AMassInt);
}

bool TRNXnode::GetDecayByRNX(TRNXElement element, std::uint16_t aMassInt, TRNXRadType& radType) const
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

const TRNXnode* TRNXnode::DaughterNode(int slot) const
{
    if (!FOwner || slot < 0 || slot >= DaughtersCount)
        return nullptr;
    return FOwner->NodeAt(DaughterArray[static_cast<std::size_t>(slot)].DaughterPos);
}

void TRNXnode::GetChainArray(TRNXChainArray& chain, float& maxCutted) const
{
    maxCutted = 0;
    chain.clear();
    // A damaged index may link in a circle; no real chain is longer than the index.
    const int limit = FOwner ? FOwner->Count() : 0;
    const TRNXnode* current = this;
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
        const TRNXnode* next = current->DaughterNode(best);
        chain.push_back({current->DaughterArray[static_cast<std::size_t>(best)].RNXname, bestYield, next->Lr});
        current = next;
    }
}

void TRNXnode::GetDaughtersList(TRNXStringList& daughters) const
{
    daughters.Clear();
    // Depth first, each nuclide when first reached; kept on an explicit stack so that no
    // chain, however long, can exhaust the call stack.
    struct Visit {
        const TRNXnode* node;
        int nextSlot;
    };
    std::vector<Visit> stack{{this, 0}};
    while (!stack.empty()) {
        Visit& top = stack.back();
        if (top.nextSlot >= top.node->DaughtersCount) {
            stack.pop_back();
            continue;
        }
        const TRNXnode* daughter = top.node->DaughterNode(top.nextSlot++);
        if (!daughter || daughters.IndexOf(daughter->RNXname.toString()) >= 0)
            continue;
        daughters.Add(daughter->RNXname.toString(), daughter);
        stack.push_back({daughter, 0});
    }
}

float TRNXnode::SpontaneousFissionFraction() const
{
    if (!RTypeSet.contains(rtx_SF) || DaughtersCount >= RNXDaughterSlots)
        return 0;
    return DaughterArray[DaughtersCount].Yield;
}

} // namespace kav
