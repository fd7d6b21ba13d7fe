#pragma once

#include "units/units.h"

#include <QString>

#include <bitset>
#include <cstdint>
#include <string_view>

namespace kav {

// Elements hydrogen to dubnium in order of atomic number (ordinal = atomic number - 1), then
// NoElement for no element or an unknown one.
enum ChemicalElement : std::uint8_t {
    _H,
    _He,
    _Li,
    _Be,
    _B,
    _C,
    _N,
    _O,
    _F,
    _Ne,
    _Na,
    _Mg,
    _Al,
    _Si,
    _P,
    _S,
    _Cl,
    _Ar,
    _K,
    _Ca,
    _Sc,
    _Ti,
    _V,
    _Cr,
    _Mn,
    _Fe,
    _Co,
    _Ni,
    _Cu,
    _Zn,
    _Ga,
    _Ge,
    _As,
    _Se,
    _Br,
    _Kr,
    _Rb,
    _Sr,
    _Y,
    _Zr,
    _Nb,
    _Mo,
    _Tc,
    _Ru,
    _Rh,
    _Pd,
    _Ag,
    _Cd,
    _In,
    _Sn,
    _Sb,
    _Te,
    _I,
    _Xe,
    _Cs,
    _Ba,
    _La,
    _Ce,
    _Pr,
    _Nd,
    _Pm,
    _Sm,
    _Eu,
    _Gd,
    _Tb,
    _Dy,
    _Ho,
    _Er,
    _Tm,
    _Yb,
    _Lu,
    _Hf,
    _Ta,
    _W,
    _Re,
    _Os,
    _Ir,
    _Pt,
    _Au,
    _Hg,
    _Tl,
    _Pb,
    _Bi,
    _Po,
    _At,
    _Rn,
    _Fr,
    _Ra,
    _Ac,
    _Th,
    _Pa,
    _U,
    _Np,
    _Pu,
    _Am,
    _Cm,
    _Bk,
    _Cf,
    _Es,
    _Fm,
    _Md,
    _No,
    _Lr,
    _Rf,
    _Db,
    NoElement
};
constexpr int ElementCount = 106; // including NoElement

// A set of elements, one bit per ordinal.
class ElementSet {
public:
    bool contains(ChemicalElement e) const { return e < ElementCount && m_bits.test(e); }
    void insert(ChemicalElement e)
    {
        if (e < ElementCount)
            m_bits.set(e);
    }
    void erase(ChemicalElement e)
    {
        if (e < ElementCount)
            m_bits.reset(e);
    }
    void clear() { m_bits.reset(); }
    bool empty() const { return m_bits.none(); }
    int count() const { return static_cast<int>(m_bits.count()); }
    friend bool operator==(const ElementSet&, const ElementSet&) = default;

private:
    std::bitset<ElementCount> m_bits;
};

// The element's symbol ("Co"; "__" for NoElement), the same in every language.
QString ElementSymbol(ChemicalElement element);
// The same symbol as plain ASCII, for building names without text conversions.
std::string_view ElementSymbolAscii(ChemicalElement element);
// The element's name in a language ("Cobalt"; "NE" or a blank for NoElement).
QString ElementName(ChemicalElement element, UiLanguage language = UiLanguage::English);
// The element of a symbol, compared without regard to case; NoElement when unknown.
ChemicalElement ElementBySymbol(QStringView symbol);

} // namespace kav
