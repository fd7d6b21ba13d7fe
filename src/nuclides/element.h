#pragma once

#include "base/enumset.h"
#include "units/units.h"

#include <QString>

#include <bitset>
#include <cstdint>
#include <string_view>

namespace kav {

// Elements hydrogen to dubnium in order of atomic number (ordinal = atomic number - 1), then
// ChemicalElement::None for no element or an unknown one.
enum class ChemicalElement : std::uint8_t {
    H,
    He,
    Li,
    Be,
    B,
    C,
    N,
    O,
    F,
    Ne,
    Na,
    Mg,
    Al,
    Si,
    P,
    S,
    Cl,
    Ar,
    K,
    Ca,
    Sc,
    Ti,
    V,
    Cr,
    Mn,
    Fe,
    Co,
    Ni,
    Cu,
    Zn,
    Ga,
    Ge,
    As,
    Se,
    Br,
    Kr,
    Rb,
    Sr,
    Y,
    Zr,
    Nb,
    Mo,
    Tc,
    Ru,
    Rh,
    Pd,
    Ag,
    Cd,
    In,
    Sn,
    Sb,
    Te,
    I,
    Xe,
    Cs,
    Ba,
    La,
    Ce,
    Pr,
    Nd,
    Pm,
    Sm,
    Eu,
    Gd,
    Tb,
    Dy,
    Ho,
    Er,
    Tm,
    Yb,
    Lu,
    Hf,
    Ta,
    W,
    Re,
    Os,
    Ir,
    Pt,
    Au,
    Hg,
    Tl,
    Pb,
    Bi,
    Po,
    At,
    Rn,
    Fr,
    Ra,
    Ac,
    Th,
    Pa,
    U,
    Np,
    Pu,
    Am,
    Cm,
    Bk,
    Cf,
    Es,
    Fm,
    Md,
    No,
    Lr,
    Rf,
    Db,
    None
};
constexpr std::size_t ElementCount = 106; // including ChemicalElement::None

// A set of elements, one bit per ordinal.
class ElementSet {
public:
    bool contains(ChemicalElement e) const { return ordinal(e) < ElementCount && m_bits.test(ordinal(e)); }
    void insert(ChemicalElement e)
    {
        if (ordinal(e) < ElementCount)
            m_bits.set(ordinal(e));
    }
    void erase(ChemicalElement e)
    {
        if (ordinal(e) < ElementCount)
            m_bits.reset(ordinal(e));
    }
    void clear() { m_bits.reset(); }
    bool empty() const { return m_bits.none(); }
    int count() const { return static_cast<int>(m_bits.count()); }
    friend bool operator==(const ElementSet&, const ElementSet&) = default;

private:
    std::bitset<ElementCount> m_bits;
};

// The element's symbol ("Co"; "__" for ChemicalElement::None), the same in every language.
QString elementSymbol(ChemicalElement element);
// The same symbol as plain ASCII, for building names without text conversions.
std::string_view elementSymbolAscii(ChemicalElement element);
// The element's name in a language ("Cobalt"; "NE" or a blank for ChemicalElement::None).
QString elementName(ChemicalElement element, UiLanguage language = UiLanguage::English);
// The element of a symbol, compared without regard to case; ChemicalElement::None when unknown.
ChemicalElement elementBySymbol(QStringView symbol);

} // namespace kav
