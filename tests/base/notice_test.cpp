#include "base/notice.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace kav {
namespace {

// Every listener hears, in the order it connected, for as long as it keeps its connection.
TEST(NoticeTest, ListenersHearWhileTheyKeepTheirConnection)
{
    Notice<int> changed;
    std::string heard;
    auto first = changed.connect([&](int n) { heard += "a" + std::to_string(n); });
    std::optional<Notice<int>::Connection> second = changed.connect([&](int n) { heard += "b" + std::to_string(n); });
    changed(1);
    EXPECT_EQ(heard, "a1b1");
    second.reset();
    changed(2);
    EXPECT_EQ(heard, "a1b1a2");
    Notice<int>::Connection moved = std::move(first);
    EXPECT_FALSE(first.connected());
    EXPECT_TRUE(moved.connected());
    changed(3);
    EXPECT_EQ(heard, "a1b1a2a3");
    moved.reset();
    changed(4);
    EXPECT_EQ(heard, "a1b1a2a3");
}

// A listener that ends another's connection while the notice is told: the other is not told
// any more; one connected meanwhile hears from the next notice; a connection may outlive its
// notice.
TEST(NoticeTest, ChangesWhileTellingAndAConnectionOutlivingItsNotice)
{
    Notice<> changed;
    std::string heard;
    Notice<>::Connection later;
    Notice<>::Connection second;
    auto first = changed.connect([&] {
        heard += "a";
        second.reset();
        if (!later.connected())
            later = changed.connect([&] { heard += "c"; });
    });
    second = changed.connect([&] { heard += "b"; });
    changed();
    EXPECT_EQ(heard, "a");
    changed();
    EXPECT_EQ(heard, "aac");

    Notice<>::Connection survivor;
    {
        Notice<> gone;
        survivor = gone.connect([] {});
        EXPECT_TRUE(survivor.connected());
    }
    EXPECT_FALSE(survivor.connected());
    survivor.reset(); // nothing to end: no harm
}

} // namespace
} // namespace kav
