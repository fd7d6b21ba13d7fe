#include "nuclides/rnxelement.h"

#include <algorithm>
#include <array>

namespace kav {

namespace {

constexpr std::array<const char16_t*, RNXElementCount> kSymbols{{
    u"H", u"He", u"Li", u"Be", u"B", u"C", u"N", u"O", u"F", u"Ne", u"Na", u"Mg",
    u"Al", u"Si", u"P", u"S", u"Cl", u"Ar", u"K", u"Ca", u"Sc", u"Ti", u"V", u"Cr",
    u"Mn", u"Fe", u"Co", u"Ni", u"Cu", u"Zn", u"Ga", u"Ge", u"As", u"Se", u"Br", u"Kr",
    u"Rb", u"Sr", u"Y", u"Zr", u"Nb", u"Mo", u"Tc", u"Ru", u"Rh", u"Pd", u"Ag", u"Cd",
    u"In", u"Sn", u"Sb", u"Te", u"I", u"Xe", u"Cs", u"Ba", u"La", u"Ce", u"Pr", u"Nd",
    u"Pm", u"Sm", u"Eu", u"Gd", u"Tb", u"Dy", u"Ho", u"Er", u"Tm", u"Yb", u"Lu", u"Hf",
    u"Ta", u"W", u"Re", u"Os", u"Ir", u"Pt", u"Au", u"Hg", u"Tl", u"Pb", u"Bi", u"Po",
    u"At", u"Rn", u"Fr", u"Ra", u"Ac", u"Th", u"Pa", u"U", u"Np", u"Pu", u"Am", u"Cm",
    u"Bk", u"Cf", u"Es", u"Fm", u"Md", u"No", u"Lr", u"Rf", u"Db", u"__",
}};

constexpr std::array<const char16_t*, RNXElementCount> kEnglishNames{{
    u"Hydrogen", u"Helium", u"Lithium", u"Beryllium", u"Boron", u"Carbon", u"Nitrogen", u"Oxygen",
    u"Fluorine", u"Neon", u"Sodium", u"Magnesium", u"Aluminium", u"Silicon", u"Phosphorus", u"Sulphur",
    u"Chlorine", u"Argon", u"Potassium", u"Calcium", u"Scandium", u"Titanium", u"Vanadium", u"Chromium",
    u"Manganese", u"Iron", u"Cobalt", u"Nickel", u"Copper", u"Zinc", u"Gallium", u"Germanium",
    u"Arsenic", u"Selenium", u"Bromine", u"Krypton", u"Rubidium", u"Strontium", u"Yttrium", u"Zirconium",
    u"Niobium", u"Molybdenum", u"Technetium", u"Ruthenium", u"Rhodium", u"Palladium", u"Silver", u"Cadmium",
    u"Indium", u"Tin", u"Antimony", u"Tellurium", u"Iodine", u"Xenon", u"Caesium", u"Barium",
    u"Lanthanum", u"Cerium", u"Praseodymium", u"Neodymium", u"Promethium", u"Samarium", u"Europium", u"Gadolinium",
    u"Terbium", u"Dysprosium", u"Holmium", u"Erbium", u"Thulium", u"Ytterbium ", u"Lutetium", u"Hafnium",
    u"Tantalum", u"Tungsten", u"Rhenium", u"Osmium", u"Iridium", u"Platinum", u"Gold", u"Mercury",
    u"Thallium", u"Lead", u"Bismuth", u"Polonium", u"Astatine", u"Radon", u"Francium", u"Radium",
    u"Actinium", u"Thorium", u"Protactinium", u"Uranium", u"Neptunium", u"Plutonium", u"Americium", u"Curium",
    u"Berkelium", u"Californium", u"Einsteinium", u"Fermium", u"Mendelevium", u"Nobelium", u"Lawrencium", u"Rutherfordium",
    u"Dubnium", u"NE",
}};

constexpr std::array<const char16_t*, RNXElementCount> kRussianNames{{
    u"\u0412\u043E\u0434\u043E\u0440\u043E\u0434", u"\u0413\u0435\u043B\u0438\u0439", u"\u041B\u0438\u0442\u0438\u0439", u"\u0411\u0435\u0440\u0438\u043B\u043B\u0438\u0439", u"\u0411\u043E\u0440", u"\u0423\u0433\u043B\u0435\u0440\u043E\u0434",
    u"\u0410\u0437\u043E\u0442", u"\u041A\u0438\u0441\u043B\u043E\u0440\u043E\u0434", u"\u0424\u0442\u043E\u0440", u"\u041D\u0435\u043E\u043D", u"\u041D\u0430\u0442\u0440\u0438\u0439", u"\u041C\u0430\u0433\u043D\u0438\u0439",
    u"\u0410\u043B\u044E\u043C\u0438\u043D\u0438\u0439", u"\u041A\u0440\u0435\u043C\u043D\u0438\u0439", u"\u0424\u043E\u0441\u0444\u043E\u0440", u"\u0421\u0435\u0440\u0430", u"\u0425\u043B\u043E\u0440", u"\u0410\u0440\u0433\u043E\u043D",
    u"\u041A\u0430\u043B\u0438\u0439", u"\u041A\u0430\u043B\u044C\u0446\u0438\u0439", u"\u0421\u043A\u0430\u043D\u0434\u0438\u0439", u"\u0422\u0438\u0442\u0430\u043D", u"\u0412\u0430\u043D\u0430\u0434\u0438\u0439", u"\u0425\u0440\u043E\u043C",
    u"\u041C\u0430\u0440\u0433\u0430\u043D\u0435\u0446", u"\u0416\u0435\u043B\u0435\u0437\u043E", u"\u041A\u043E\u0431\u0430\u043B\u044C\u0442", u"\u041D\u0438\u043A\u0435\u043B\u044C", u"\u041C\u0435\u0434\u044C", u"\u0426\u0438\u043D\u043A",
    u"\u0413\u0430\u043B\u043B\u0438\u0439", u"\u0413\u0435\u0440\u043C\u0430\u043D\u0438\u0439", u"\u041C\u044B\u0448\u044C\u044F\u043A", u"\u0421\u0435\u043B\u0435\u043D", u"\u0411\u0440\u043E\u043C", u"\u041A\u0440\u0438\u043F\u0442\u043E\u043D",
    u"\u0420\u0443\u0431\u0438\u0434\u0438\u0439", u"\u0421\u0442\u0440\u043E\u043D\u0446\u0438\u0439", u"\u0418\u0442\u0442\u0440\u0438\u0439", u"\u0426\u0438\u0440\u043A\u043E\u043D\u0438\u0439", u"\u041D\u0438\u043E\u0431\u0438\u0439", u"\u041C\u043E\u043B\u0438\u0431\u0434\u0435\u043D",
    u"\u0422\u0435\u0445\u043D\u0435\u0446\u0438\u0439", u"\u0420\u0443\u0442\u0435\u043D\u0438\u0439", u"\u0420\u043E\u0434\u0438\u0439", u"\u041F\u0430\u043B\u043B\u0430\u0434\u0438\u0439", u"\u0421\u0435\u0440\u0435\u0431\u0440\u043E", u"\u041A\u0430\u0434\u043C\u0438\u0439",
    u"\u0418\u043D\u0434\u0438\u0439", u"\u041E\u043B\u043E\u0432\u043E", u"\u0421\u0443\u0440\u044C\u043C\u0430", u"\u0422\u0435\u043B\u043B\u0443\u0440", u"\u0419\u043E\u0434", u"\u041A\u0441\u0435\u043D\u043E\u043D",
    u"\u0426\u0435\u0437\u0438\u0439", u"\u0411\u0430\u0440\u0438\u0439", u"\u041B\u0430\u043D\u0442\u0430\u043D", u"\u0426\u0435\u0440\u0438\u0439", u"\u041F\u0440\u0430\u0437\u0435\u043E\u0434\u0438\u043C", u"\u041D\u0435\u043E\u0434\u0438\u043C",
    u"\u041F\u0440\u043E\u043C\u0435\u0442\u0438\u0439", u"\u0421\u0430\u043C\u0430\u0440\u0438\u0439", u"\u0415\u0432\u0440\u043E\u043F\u0438\u0439", u"\u0413\u0430\u0434\u043E\u043B\u0438\u043D\u0438\u0439", u"\u0422\u0435\u0440\u0431\u0438\u0439", u"\u0414\u0438\u0441\u043F\u0440\u043E\u0437\u0438\u0439",
    u"\u0413\u043E\u043B\u044C\u043C\u0438\u0439", u"\u042D\u0440\u0431\u0438\u0439", u"\u0422\u0443\u043B\u043B\u0438\u0439", u"\u0418\u0442\u0442\u0435\u0440\u0431\u0438\u0439", u"\u041B\u044E\u0442\u0435\u0446\u0438\u0439", u"\u0413\u0430\u0444\u043D\u0438\u0439",
    u"\u0422\u0430\u043D\u0442\u0430\u043B", u"\u0412\u043E\u043B\u044C\u0444\u0440\u0430\u043C", u"\u0420\u0435\u043D\u0438\u0439", u"\u041E\u0441\u043C\u0438\u0439", u"\u0418\u0440\u0438\u0434\u0438\u0439", u"\u041F\u043B\u0430\u0442\u0438\u043D\u0430",
    u"\u0417\u043E\u043B\u043E\u0442\u043E", u"\u0420\u0442\u0443\u0442\u044C", u"\u0422\u0430\u043B\u043B\u0438\u0439", u"\u0421\u0432\u0438\u043D\u0435\u0446", u"\u0412\u0438\u0441\u043C\u0443\u0442", u"\u041F\u043E\u043B\u043E\u043D\u0438\u0439",
    u"\u0410\u0441\u0442\u0430\u0442", u"\u0420\u0430\u0434\u043E\u043D", u"\u0424\u0440\u0430\u043D\u0446\u0438\u0439", u"\u0420\u0430\u0434\u0438\u0439", u"\u0410\u043A\u0442\u0438\u043D\u0438\u0439", u"\u0422\u043E\u0440\u0438\u0439",
    u"\u041F\u0440\u043E\u0442\u0430\u043A\u0442\u0438\u043D\u0438\u0439", u"\u0423\u0440\u0430\u043D", u"\u041D\u0435\u043F\u0442\u0443\u043D\u0438\u0439", u"\u041F\u043B\u0443\u0442\u043E\u043D\u0438\u0439", u"\u0410\u043C\u0435\u0440\u0438\u0446\u0438\u0439", u"\u041A\u044E\u0440\u0438\u0439",
    u"\u0411\u0435\u0440\u043A\u043B\u0438\u0439", u"\u041A\u0430\u043B\u0438\u0444\u043E\u0440\u043D\u0438\u0439", u"\u042D\u0439\u043D\u0448\u0442\u0435\u0439\u043D\u0438\u0439", u"\u0424\u0435\u0440\u043C\u0438\u0439", u"\u041C\u0435\u043D\u0434\u0435\u043B\u0435\u0435\u0432\u0438\u0439", u"\u041D\u043E\u0431\u0435\u043B\u0438\u0439",
    u"\u041B\u043E\u0443\u0440\u0435\u043D\u0441\u0438\u0439", u"\u0420\u0435\u0437\u0435\u0440\u0444\u043E\u0440\u0434\u0438\u0439", u"\u0414\u0443\u0431\u043D\u0438\u0439", u" ",
}};

constexpr std::array<const char16_t*, RNXElementCount> kUkrainianNames{{
    u"\u0412\u043E\u0434\u0435\u043D\u044C", u"\u0413\u0435\u043Bi\u0439", u"\u041Bi\u0442i\u0439", u"\u0411\u0435\u0440\u0438\u043Bi\u0439", u"\u0411\u043E\u0440", u"\u0412\u0443\u0433\u043B\u0435\u0446\u044C",
    u"\u0410\u0437\u043E\u0442", u"\u041A\u0438\u0441\u0435\u043D\u044C", u"\u0424\u0442\u043E\u0440", u"\u041D\u0435\u043E\u043D", u"\u041D\u0430\u0442\u0440i\u0439", u"\u041C\u0430\u0433\u043Di\u0439",
    u"\u0410\u043B\u044E\u043Ci\u043Di\u0439", u"\u041A\u0440\u0435\u043C\u043Di\u0439", u"\u0424\u043E\u0441\u0444\u043E\u0440", u"\u0421i\u0440\u043A\u0430", u"\u0425\u043B\u043E\u0440", u"\u0410\u0440\u0433\u043E\u043D",
    u"\u041A\u0430\u043Bi\u0439", u"\u041A\u0430\u043B\u044C\u0446i\u0439", u"\u0421\u043A\u0430\u043D\u0434i\u0439", u"\u0422\u0438\u0442\u0430\u043D", u"\u0412\u0430\u043D\u0430\u0434i\u0439", u"\u0425\u0440\u043E\u043C",
    u"\u041C\u0430\u0440\u0433\u0430\u043D\u0435\u0446\u044C", u"\u0417\u0430\u043Bi\u0437\u043E", u"\u041A\u043E\u0431\u0430\u043B\u044C\u0442", u"\u041Di\u043A\u0435\u043B\u044C", u"\u041Ci\u0434\u044C", u"\u0426\u0438\u043D\u043A",
    u"\u0413\u0430\u043Bi\u0439", u"\u0413\u0435\u0440\u043C\u0430\u043Di\u0439", u"\u041C\u0438\u0448'\u044F\u043A", u"\u0421\u0435\u043B\u0435\u043D", u"\u0411\u0440\u043E\u043C", u"\u041A\u0440\u0438\u043F\u0442\u043E\u043D",
    u"\u0420\u0443\u0431i\u0434i\u0439", u"\u0421\u0442\u0440\u043E\u043D\u0446i\u0439", u"\u0406\u0442\u0440i\u0439", u"\u0426\u0438\u0440\u043A\u043E\u043Di\u0439", u"\u041Di\u043E\u0431i\u0439", u"\u041C\u043E\u043Bi\u0431\u0434\u0435\u043D",
    u"\u0422\u0435\u0445\u043D\u0435\u0446i\u0439", u"\u0420\u0443\u0442\u0435\u043Di\u0439", u"\u0420\u043E\u0434i\u0439", u"\u041F\u0430\u043B\u0430\u0434i\u0439", u"\u0421\u0440i\u0431\u043B\u043E", u"\u041A\u0430\u0434\u043Ci\u0439",
    u"\u0406\u043D\u0434i\u0439", u"\u041E\u043B\u043E\u0432\u043E", u"\u0421\u0443\u0440\u043C\u0430", u"\u0422\u0435\u043B\u0443\u0440", u"\u0419\u043E\u0434", u"\u041A\u0441\u0435\u043D\u043E\u043D",
    u"\u0426\u0435\u0437i\u0439", u"\u0411\u0430\u0440i\u0439", u"\u041B\u0430\u043D\u0442\u0430\u043D", u"\u0426\u0435\u0440i\u0439", u"\u041F\u0440\u0430\u0437\u0435\u043E\u0434\u0438\u043C", u"\u041D\u0435\u043E\u0434\u0438\u043C",
    u"\u041F\u0440\u043E\u043C\u0435\u0442i\u0439", u"\u0421\u0430\u043C\u0430\u0440i\u0439", u"\u0404\u0432\u0440\u043E\u043Fi\u0439", u"\u0413\u0430\u0434\u043E\u043Bi\u043Di\u0439", u"\u0422\u0435\u0440\u0431i\u0439", u"\u0414\u0438\u0441\u043F\u0440\u043E\u0437i\u0439",
    u"\u0413\u043E\u043B\u044C\u043Ci\u0439", u"\u0415\u0440\u0431i\u0439", u"\u0422\u0443\u043Bi\u0439", u"\u0406\u0442\u0435\u0440\u0431i\u0439", u"\u041B\u044E\u0442\u0435\u0446i\u0439", u"\u0413\u0430\u0444\u043Di\u0439",
    u"\u0422\u0430\u043D\u0442\u0430\u043B", u"\u0412\u043E\u043B\u044C\u0444\u0440\u0430\u043C", u"\u0420\u0435\u043Di\u0439", u"\u041E\u0441\u043Ci\u0439", u"\u0406\u0440\u0438\u0434i\u0439", u"\u041F\u043B\u0430\u0442\u0438\u043D\u0430",
    u"\u0417\u043E\u043B\u043E\u0442\u043E", u"\u0420\u0442\u0443\u0442\u044C", u"\u0422\u0430\u043Bi\u0439", u"\u0421\u0432\u0438\u043D\u0435\u0446\u044C", u"\u0412i\u0441\u043C\u0443\u0442", u"\u041F\u043E\u043B\u043E\u043Di\u0439",
    u"\u0410\u0441\u0442\u0430\u0442", u"\u0420\u0430\u0434\u043E\u043D", u"\u0424\u0440\u0430\u043D\u0446i\u0439", u"\u0420\u0430\u0434i\u0439", u"\u0410\u043A\u0442\u0438\u043Di\u0439", u"\u0422\u043E\u0440i\u0439",
    u"\u041F\u0440\u043E\u0442\u0430\u043A\u0442\u0438\u043Di\u0439", u"\u0423\u0440\u0430\u043D", u"\u041D\u0435\u043F\u0442\u0443\u043Di\u0439", u"\u041F\u043B\u0443\u0442\u043E\u043Di\u0439", u"\u0410\u043C\u0435\u0440\u0438\u0446i\u0439", u"\u041A\u044E\u0440i\u0439",
    u"\u0411\u0435\u0440\u043A\u043Bi\u0439", u"\u041A\u0430\u043Bi\u0444\u043E\u0440\u043Di\u0439", u"\u0415\u0439\u043D\u0448\u0442\u0435\u0439\u043Di\u0439", u"\u0424\u0435\u0440\u043Ci\u0439", u"\u041C\u0435\u043D\u0434\u0435\u043B\u0435\u0432i\u0439", u"\u041D\u043E\u0431\u0435\u043Bi\u0439",
    u"\u041B\u043E\u0443\u0440\u0435\u043D\u0441i\u0439", u"\u0420\u0435\u0437\u0435\u0440\u0444\u043E\u0440\u0434i\u0439", u"\u0414\u0443\u0431\u043Di\u0439", u" ",
}};

// The 105 real symbols in alphabetical order without regard to case, for the binary search.
const std::array<TRNXElement, RNXElementCount - 1>& symbolsAlphabetically()
{
    static const auto sorted = [] {
        std::array<TRNXElement, RNXElementCount - 1> order{};
        for (int i = 0; i < RNXElementCount - 1; ++i)
            order[static_cast<std::size_t>(i)] = static_cast<TRNXElement>(i);
        std::sort(order.begin(), order.end(), [](TRNXElement a, TRNXElement b) {
            return RNXElementSymbol(a).compare(RNXElementSymbol(b), Qt::CaseInsensitive) < 0;
        });
        return order;
    }();
    return sorted;
}

std::size_t ordinal(TRNXElement element)
{
    return std::min<std::size_t>(element, RNXElementCount - 1);
}

} // namespace

std::string_view RNXElementSymbolAscii(TRNXElement element)
{
    static const auto ascii = [] {
        std::array<std::array<char, 3>, RNXElementCount> table{};
        for (std::size_t e = 0; e < table.size(); ++e)
            for (std::size_t i = 0; i < 2 && kSymbols[e][i]; ++i)
                table[e][i] = static_cast<char>(kSymbols[e][i]);
        return table;
    }();
    return ascii[ordinal(element)].data();
}

QString RNXElementSymbol(TRNXElement element)
{
    return QString::fromUtf16(kSymbols[ordinal(element)]);
}

QString RNXElementName(TRNXElement element, TQzLanguage language)
{
    const auto& names = language == l_Russian ? kRussianNames : language == l_Ukrainian ? kUkrainianNames : kEnglishNames;
    return QString::fromUtf16(names[ordinal(element)]);
}

TRNXElement ElementBySymbol(QStringView symbol)
{
    if (symbol.size() > 2)
        return _NoRNXElement;
    const auto& sorted = symbolsAlphabetically();
    int low = 0;
    int high = static_cast<int>(sorted.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const TRNXElement candidate = sorted[static_cast<std::size_t>(middle)];
        const int c = symbol.compare(QString::fromUtf16(kSymbols[candidate]), Qt::CaseInsensitive);
        if (c == 0)
            return candidate;
        if (c < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return _NoRNXElement;
}

} // namespace kav
