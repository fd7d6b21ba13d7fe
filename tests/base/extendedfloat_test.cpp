#include "base/extendedfloat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kav {
namespace {

TEST(ExtendedFloat, KnownBitPatterns)
{
    // 1.0: exponent 0x3FFF, mantissa with only the integer bit.
    EXPECT_EQ(toExtended80(1.0), (Extended80{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
    EXPECT_EQ(toExtended80(-2.0), (Extended80{0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}));
    EXPECT_EQ(toExtended80(0.0), Extended80{});
    EXPECT_EQ(fromExtended80(Extended80{0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F}), 1.5);
}

TEST(ExtendedFloat, DoublesComeBackExactly)
{
    for (double v : {1.0, -0.0, 6.672, 223.019136, 3.739e-18, 2.5e-310, 1.7e308, -4.2e-5,
                     std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::infinity()}) {
        const double back = fromExtended80(toExtended80(v));
        EXPECT_EQ(back, v) << v;
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << v;
    }
    EXPECT_TRUE(std::isnan(fromExtended80(toExtended80(std::numeric_limits<double>::quiet_NaN()))));
}

TEST(ExtendedFloat, OutOfRangeExtendedValuesSaturate)
{
    // Exponents beyond a double's range, and an unnormal (integer bit clear).
    EXPECT_EQ(fromExtended80(Extended80{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F}),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(fromExtended80(Extended80{0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00}), 0.0);
    EXPECT_EQ(fromExtended80(Extended80{0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F}), 0.5);
}

} // namespace
} // namespace kav
