#pragma once

#include "base/language.h"

#include <array>

namespace kav {

// Every text of the components that depends on the language, one catalogue per language, each
// in a source file of its own (catalogue_en.cpp, catalogue_ru.cpp, catalogue_uk.cpp).
struct TextCatalogue {
    // Hydrogen to dubnium by atomic number, then the word for no element.
    std::array<const char16_t*, 106> elementNames;
    // Radiation types 1 to 14 of the spectra: names and short codes.
    std::array<const char16_t*, 14> radiationNames;
    std::array<const char16_t*, 14> radiationCodes;
    // Year, day, hour, minute, second, millisecond, microsecond, after a half-life.
    std::array<const char16_t*, 7> halfLifeUnits;
    const char16_t* millionsWord;
    const char16_t* billionsWord;
    // The chooser's right-click menu by entry number; the unused entries (separators) are empty.
    std::array<const char16_t*, 15> chooserMenu;
    // The chooser's menu entry that switches its advanced filter off.
    const char16_t* clearAdvancedFilter;
    // An index file that cannot be read.
    const char16_t* indexErrorCaption;
    const char16_t* indexUnreadable;
    // The spectra files not found and not readable, under the index error caption: discrete lines,
    // beta spectra, Auger and Coster-Kronig electrons, neutrons, each file's two cases in turn.
    std::array<const char16_t*, 8> spectrumMessages;
    // A number field's value beyond its limits: the caption, then the leads for the lower limit
    // alone, the upper limit alone, and both.
    const char16_t* inputErrorCaption;
    std::array<const char16_t*, 3> limitLeads;
    // The advanced filter's counts: what is counted (nuclides, elements, spectrum lines), the
    // count of one and of more (%1 the number, %2 the word), the empty list and the list cut short.
    std::array<const char16_t*, 3> countedThings;
    const char16_t* countOfOne;
    const char16_t* countOfMany;
    const char16_t* listEmpty;
    const char16_t* listTooLong;
};

const TextCatalogue& englishCatalogue();
const TextCatalogue& russianCatalogue();
const TextCatalogue& ukrainianCatalogue();
// The catalogue of a language; English for any other value.
const TextCatalogue& catalogue(UiLanguage language);

} // namespace kav
