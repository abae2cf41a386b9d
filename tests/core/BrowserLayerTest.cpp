#include "browser/BusyRetry.h"
#include "browser/LayerGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::int32_t CodeOf(void (*raise)()) {
    try {
        AsBrowserError([&] { raise(); });
    } catch (const BrowserError& e) {
        return e.Code();
    }
    return 0;
}

}  // namespace

TEST(LayerGuard, EveryExceptionLeavesAsBrowserError) {
    EXPECT_EQ(layer_guard::kUnexpected, CodeOf([] { static_cast<void>(std::stol("99999999999999999999")); }));
    EXPECT_EQ(layer_guard::kUnexpected, CodeOf([] { static_cast<void>(std::stol("frame")); }));
    EXPECT_EQ(layer_guard::kUnexpected, CodeOf([] { static_cast<void>(std::vector<int>().at(3)); }));
    EXPECT_EQ(layer_guard::kOutOfMemory, CodeOf([] { throw std::bad_alloc(); }));
    EXPECT_EQ(-5, CodeOf([] { throw BrowserError("kept", -5); }));
    EXPECT_EQ(7, AsBrowserError([] { return 7; }));
}

TEST(LayerGuard, ArrayIndexNames) {
    EXPECT_EQ(-1, ArrayIndexName("length", 3));
    EXPECT_EQ(-1, ArrayIndexName("", 3));
    EXPECT_EQ(0, ArrayIndexName("0", 3));
    EXPECT_EQ(2, ArrayIndexName("2", 3));
    for (const char* bad : {"3", "1x", "01", "99999999999999999999999", "4294967296"})
        EXPECT_THROW(ArrayIndexName(bad, 3), BrowserError) << bad;
}

TEST(BusyRetry, RejectedCallsAreRetriedUntilTheBoundThenCancelled) {
    for (const std::uint32_t type : {busy_retry::kRejected, busy_retry::kRetryLater}) {
        EXPECT_EQ(busy_retry::kPauseMs, RetryRejectedCallDelay(0, type));
        EXPECT_EQ(busy_retry::kPauseMs, RetryRejectedCallDelay(busy_retry::kBoundMs - 1, type));
        EXPECT_EQ(-1, RetryRejectedCallDelay(busy_retry::kBoundMs, type));
        EXPECT_EQ(-1, RetryRejectedCallDelay(0xFFFFFFFFu, type));
    }
    EXPECT_EQ(-1, RetryRejectedCallDelay(0, 0));  // not a rejection COM retries
    EXPECT_GE(busy_retry::kPauseMs, 100);           // 100 and more: a pause, not an instant retry
    EXPECT_LE(busy_retry::kBoundMs, 10000u);        // seconds, not minutes
}
