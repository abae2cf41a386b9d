#include "app/StartupOptions.h"

#include <gtest/gtest.h>

TEST(StartupOptions, TrayStartNeedsExactlyOneMatchingArgument) {
    struct Case { std::vector<std::wstring> argv; bool tray; };
    const Case cases[] = {
        {{L"Jotwell.exe", L"/Tray"}, true},
        {{L"Jotwell.exe", L"/tRAY"}, true},
        {{L"Jotwell.exe", L"/TRAY"}, true},
        {{L"Jotwell.exe", L"/T"}, true},
        {{L"Jotwell.exe", L"/t"}, false},         // "/T" is compared exactly
        {{L"Jotwell.exe", L"/Tra"}, false},
        {{L"Jotwell.exe", L"/Trays"}, false},
        {{L"Jotwell.exe", L"-Tray"}, false},
        {{L"Jotwell.exe"}, false},
        {{L"Jotwell.exe", L"/Tray", L"list.txt"}, false},  // with a file the window shows
        {{L"Jotwell.exe", L"list.txt", L"/Tray"}, false},
        {{L"Jotwell.exe", L"/Tray\u0131"}, false},  // no letter beyond ASCII folds into the switch
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::wstring& a : c.argv) shown += std::string(a.begin(), a.end()) + " ";
        EXPECT_EQ(c.tray, IsTrayStartArgument(c.argv)) << shown;
    }
}
