#include "base/catalogue.h"

namespace kav {

const TextCatalogue& catalogue(UiLanguage language)
{
    switch (language) {
    case UiLanguage::Russian: return russianCatalogue();
    case UiLanguage::Ukrainian: return ukrainianCatalogue();
    default: return englishCatalogue();
    }
}

} // namespace kav
