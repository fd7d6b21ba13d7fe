#pragma once

#include <array>
#include <cstdint>

namespace kav {

// The 80-bit extended floating-point format of the x87 (64-bit mantissa with an explicit integer
// bit, 15-bit exponent, sign), as files store it: ten little-endian bytes. Converted without
// relying on the compiler's long double.
using Extended80 = std::array<std::uint8_t, 10>;

Extended80 toExtended80(double value);
// Values beyond the range of a double become infinities or zeros.
double fromExtended80(const Extended80& bytes);

} // namespace kav
