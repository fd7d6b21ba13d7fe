#include "base/termination.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include <gtest/gtest.h>

namespace kav {
namespace {

std::atomic<int> requests{0};

bool waitFor(int count)
{
    for (int i = 0; i < 500 && requests.load() < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return requests.load() >= count;
}

// Each termination signal reaches the callback once, on the seam's own thread; a second
// installation changes nothing.
TEST(TerminationTest, EachSignalIsHandedOnOnce)
{
    ASSERT_TRUE(callOnTerminationRequest([] { ++requests; }));
    EXPECT_TRUE(callOnTerminationRequest([] { requests += 100; }));
    std::raise(SIGTERM);
    EXPECT_TRUE(waitFor(1));
    std::raise(SIGINT);
    EXPECT_TRUE(waitFor(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(requests.load(), 2);
}

} // namespace
} // namespace kav
