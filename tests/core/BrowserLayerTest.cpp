#include "browser/BusyRetry.h"
#include "browser/DevToolsActivePort.h"
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

TEST(DevToolsActivePortFile, PortAndBrowserPath) {
    const auto found = ParseDevToolsActivePort("9222\n/devtools/browser/6b1c-9f_a.2\n");
    ASSERT_TRUE(found);
    EXPECT_EQ(9222, found->port);
    EXPECT_EQ("/devtools/browser/6b1c-9f_a.2", found->path);
    // CR LF, and no line end after the path.
    const auto crlf = ParseDevToolsActivePort("65535\r\n/devtools/browser/x");
    ASSERT_TRUE(crlf);
    EXPECT_EQ(65535, crlf->port);
    EXPECT_EQ("/devtools/browser/x", crlf->path);
}

TEST(DevToolsActivePortFile, OddFilesAreNone) {
    const char* odd[] = {
        "",                                         // empty
        "9222\n",                                   // the path line missing
        "9222",                                     // one line only
        "\n/devtools/browser/x\n",                  // the port line empty
        "0\n/devtools/browser/x\n",                 // port 0
        "65536\n/devtools/browser/x\n",             // above the range
        "99999999999\n/devtools/browser/x\n",       // far above, no wrap
        "-1\n/devtools/browser/x\n",                // a sign
        " 9222\n/devtools/browser/x\n",             // a space
        "92a2\n/devtools/browser/x\n",              // not a number
        "9222\n/devtools/page/x\n",                 // a page, not the browser
        "9222\n/devtools/browser/\n",               // no id
        "9222\ndevtools/browser/x\n",               // not from the root
        "9222\nhttp://evil/devtools/browser/x\n",   // a host
        "9222\n/devtools/browser/../../json\n",     // a way out of the endpoint
        "9222\n/devtools/browser/a b\n",            // a space in the id
        "9222\n/devtools/browser/a?x=1\n",          // a query
    };
    for (const char* text : odd) EXPECT_FALSE(ParseDevToolsActivePort(text)) << text;
    // A huge file is none, even with a valid start.
    EXPECT_FALSE(ParseDevToolsActivePort("9222\n/devtools/browser/x\n" + std::string(1 << 20, 'x')));
}
