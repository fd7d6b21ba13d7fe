#include "nuclides/element.h"

#include "base/catalogue.h"

#include <algorithm>
#include <array>

namespace kav {

namespace {

constexpr std::array<const char16_t*, ElementCount> kSymbols{{
    u"H",  u"He", u"Li", u"Be", u"B",  u"C",  u"N",  u"O",  u"F",  u"Ne", u"Na", u"Mg", u"Al", u"Si", u"P",  u"S",
    u"Cl", u"Ar", u"K",  u"Ca", u"Sc", u"Ti", u"V",  u"Cr", u"Mn", u"Fe", u"Co", u"Ni", u"Cu", u"Zn", u"Ga", u"Ge",
    u"As", u"Se", u"Br", u"Kr", u"Rb", u"Sr", u"Y",  u"Zr", u"Nb", u"Mo", u"Tc", u"Ru", u"Rh", u"Pd", u"Ag", u"Cd",
    u"In", u"Sn", u"Sb", u"Te", u"I",  u"Xe", u"Cs", u"Ba", u"La", u"Ce", u"Pr", u"Nd", u"Pm", u"Sm", u"Eu", u"Gd",
    u"Tb", u"Dy", u"Ho", u"Er", u"Tm", u"Yb", u"Lu", u"Hf", u"Ta", u"W",  u"Re", u"Os", u"Ir", u"Pt", u"Au", u"Hg",
    u"Tl", u"Pb", u"Bi", u"Po", u"At", u"Rn", u"Fr", u"Ra", u"Ac", u"Th", u"Pa", u"U",  u"Np", u"Pu", u"Am", u"Cm",
    u"Bk", u"Cf", u"Es", u"Fm", u"Md", u"No", u"Lr", u"Rf", u"Db", u"__",
}};

// The 105 real symbols in alphabetical order without regard to case, for the binary search.
const std::array<ChemicalElement, ElementCount - 1>& symbolsAlphabetically()
{
    static const auto sorted = [] {
        std::array<ChemicalElement, ElementCount - 1> order{};
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<ChemicalElement>(i);
        std::sort(order.begin(), order.end(), [](ChemicalElement a, ChemicalElement b) {
            return elementSymbol(a).compare(elementSymbol(b), Qt::CaseInsensitive) < 0;
        });
        return order;
    }();
    return sorted;
}

std::size_t clampedOrdinal(ChemicalElement element)
{
    return std::min<std::size_t>(ordinal(element), ElementCount - 1);
}

} // namespace

std::string_view elementSymbolAscii(ChemicalElement element)
{
    static const auto ascii = [] {
        std::array<std::array<char, 3>, ElementCount> table{};
        for (std::size_t e = 0; e < table.size(); ++e)
            for (std::size_t i = 0; i < 2 && kSymbols[e][i]; ++i)
                table[e][i] = static_cast<char>(kSymbols[e][i]);
        return table;
    }();
    return ascii[clampedOrdinal(element)].data();
}

QString elementSymbol(ChemicalElement element)
{
    return QString::fromUtf16(kSymbols[clampedOrdinal(element)]);
}

QString elementName(ChemicalElement element, UiLanguage language)
{
    return QString::fromUtf16(catalogue(language).elementNames[clampedOrdinal(element)]);
}

ChemicalElement elementBySymbol(QStringView symbol)
{
    if (symbol.size() > 2)
        return ChemicalElement::None;
    const auto& sorted = symbolsAlphabetically();
    int low = 0;
    int high = static_cast<int>(sorted.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const ChemicalElement candidate = sorted[static_cast<std::size_t>(middle)];
        const int c = symbol.compare(QStringView(kSymbols[ordinal(candidate)]), Qt::CaseInsensitive);
        if (c == 0)
            return candidate;
        if (c < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return ChemicalElement::None;
}

} // namespace kav
