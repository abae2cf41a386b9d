#include "app/StartupOptions.h"

#include <gtest/gtest.h>

TEST(StartupOptions, TrayStartNeedsExactlyOneMatchingArgument) {
    struct Case { std::vector<const char*> argv; bool tray; };
    const Case cases[] = {
        {{"Jotwell.exe", "/Tray"}, true},
        {{"Jotwell.exe", "/tRAY"}, true},
        {{"Jotwell.exe", "/TRAY"}, true},
        {{"Jotwell.exe", "/T"}, true},
        {{"Jotwell.exe", "/t"}, false},         // "/T" is compared exactly
        {{"Jotwell.exe", "/Tra"}, false},
        {{"Jotwell.exe", "/Trays"}, false},
        {{"Jotwell.exe", "-Tray"}, false},
        {{"Jotwell.exe"}, false},
        {{"Jotwell.exe", "/Tray", "list.txt"}, false},  // with a file the window shows
        {{"Jotwell.exe", "list.txt", "/Tray"}, false},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const char* a : c.argv) shown += std::string(a) + " ";
        EXPECT_EQ(c.tray, IsTrayStartArgument(static_cast<int>(c.argv.size()), c.argv.data())) << shown;
    }
}
