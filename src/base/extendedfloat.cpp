#include "base/extendedfloat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kav {

namespace {
constexpr int kBias = 16383;
constexpr std::uint16_t kMaxExponent = 0x7FFF;
} // namespace

Extended80 toExtended80(double value)
{
    std::uint64_t mantissa = 0;
    std::uint16_t exponent = 0;
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        exponent = kMaxExponent;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        exponent = kMaxExponent;
        mantissa = 0x8000000000000000ull;
    } else if (value != 0) {
        int e = 0;
        const double m = std::frexp(std::fabs(value), &e); // 0.5 <= m < 1, at most 53 bits
        mantissa = static_cast<std::uint64_t>(std::ldexp(m, 64));
        exponent = static_cast<std::uint16_t>(e - 1 + kBias);
    }
    if (negative)
        exponent |= 0x8000;
    Extended80 bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    bytes[8] = static_cast<std::uint8_t>(exponent);
    bytes[9] = static_cast<std::uint8_t>(exponent >> 8);
    return bytes;
}

double fromExtended80(const Extended80& bytes)
{
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[static_cast<std::size_t>(i)];
    const std::uint16_t signExponent = static_cast<std::uint16_t>(bytes[8] | (bytes[9] << 8));
    const bool negative = signExponent & 0x8000;
    const int exponent = signExponent & kMaxExponent;
    double value = 0;
    if (exponent == kMaxExponent) {
        value
            = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    } else if (mantissa != 0) {
        // Clamped so that the scaling stays within int; anything that far out is 0 or infinity.
        const int scale = std::clamp(exponent - kBias - 63, -3000, 3000);
        value = std::ldexp(static_cast<double>(mantissa), scale);
    }
    return negative ? -value : value;
}

} // namespace kav
