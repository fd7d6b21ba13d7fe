#include "base/catalogue.h"

namespace kav {

const TextCatalogue& Catalogue(UiLanguage language)
{
    switch (language) {
    case UiLanguage::Russian: return RussianCatalogue();
    case UiLanguage::Ukrainian: return UkrainianCatalogue();
    default: return EnglishCatalogue();
    }
}

} // namespace kav
