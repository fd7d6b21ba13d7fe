#pragma once

#include <cstdint>

namespace kav {

// The languages the controls can speak: their captions, element names and messages.
enum TQzLanguage : std::uint8_t { l_English, l_Russian, l_Ukrainian };

} // namespace kav
