#include "base/enumset.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

enum Colour : std::uint8_t { Red, Green, Blue, Black = 7 };

TEST(EnumSet, StoresBitIForOrdinalI)
{
    EnumSet<Colour, 8> s{Green, Black};
    EXPECT_EQ(s.raw(), 0x82);
    EXPECT_TRUE(s.contains(Green));
    EXPECT_FALSE(s.contains(Red));
    EXPECT_EQ(s.lowest(), Green);
    s.erase(Green);
    EXPECT_EQ(s, (EnumSet<Colour, 8>::fromRaw(0x80)));
}

TEST(EnumSet, IgnoresOrdinalsBeyondItsWidth)
{
    EnumSet<Colour, 8> s;
    s.insert(static_cast<Colour>(9));
    EXPECT_TRUE(s.empty());
    EXPECT_FALSE(s.contains(static_cast<Colour>(200)));
}

} // namespace
} // namespace kav
