#include "base/catalogue.h"

namespace kav {

const TextCatalogue& Catalogue(UiLanguage language)
{
    switch (language) {
    case l_Russian: return RussianCatalogue();
    case l_Ukrainian: return UkrainianCatalogue();
    default: return EnglishCatalogue();
    }
}

} // namespace kav
