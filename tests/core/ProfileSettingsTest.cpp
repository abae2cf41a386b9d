#include "settings/ProfileSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

// The names, defaults and ranges users' registries already hold: none may change.
TEST(ProfileSettings, IntegerSettingsKeepTheirNamesDefaultsAndRanges) {
    struct Case { const IntSetting& setting; const char* section; const char* key; int def; int lowest; int highest; };
    const Case cases[] = {
        {Profile::kAlwaysOnTop, "Option", "AlwaysOnTop", 1, INT_MIN, INT_MAX},
        {Profile::kActiveDestWindow, "Option", "ActiveDestWindow", 1, INT_MIN, INT_MAX},
        {Profile::kTextColumnWidth, "Pos", "Separate", 64, 1, 1200},
        {Profile::kExplanationColumnWidth, "Pos", "EndPart", 24, 1, 1200},
        {Profile::kWindowLeft, "Pos", "x", -1, INT_MIN, INT_MAX},
        {Profile::kWindowTop, "Pos", "y", -1, INT_MIN, INT_MAX},
        {Profile::kWindowWidth, "Pos", "w", -1, INT_MIN, INT_MAX},
        {Profile::kWindowHeight, "Pos", "h", -1, INT_MIN, INT_MAX},
        {Profile::kDevToolsPort, "WebInput", "DevToolsPort", 9222, 0, 65535},
        {Profile::kHotKey, "Option", "HotKey", 0x064A, 0, 0x0FFF},  // Ctrl+Alt+J; 0 = none
        {Profile::kRestoreClipboard, "Option", "RestoreClipboard", 0, 0, 1},
    };
    for (const Case& c : cases) {
        const IntSetting& s = c.setting;
        EXPECT_STREQ(c.section, s.section) << c.key;
        EXPECT_STREQ(c.key, s.key) << c.section;
        EXPECT_EQ(c.def, s.defaultValue) << c.key;
        EXPECT_EQ(c.lowest, InRangeOrDefault(s, c.lowest)) << c.key;
        EXPECT_EQ(c.highest, InRangeOrDefault(s, c.highest)) << c.key;
        if (c.lowest > INT_MIN) EXPECT_EQ(c.def, InRangeOrDefault(s, c.lowest - 1)) << c.key;
        if (c.highest < INT_MAX) EXPECT_EQ(c.def, InRangeOrDefault(s, c.highest + 1)) << c.key;
    }
}

TEST(ProfileSettings, TextSettingsListsAndRootsKeepTheirNames) {
    const std::pair<std::string, std::string> names[] = {
        {Profile::kAppendToTopText.section, "Option"}, {Profile::kAppendToTopText.key, "AppendToTopText"},
        {Profile::kAppendToTopText.defaultValue, ">"}, {Profile::kWebInputFile.section, "WebInput"},
        {Profile::kWebInputFile.key, "File"}, {Profile::kWebInputFile.defaultValue, ""},
        {Profile::kRecentFileSection, "Recent File List"}, {Profile::kRecentFileEntry, "File%d"},
        {Profile::kToolBarStateName, "Jotwell"}, {kRegistryCompany, "Velmora"},
        {kDestinationRulesPath, "HKEY_CURRENT_USER\\Software\\Velmora\\Jotwell\\DestWnd"},
    };
    for (const auto& n : names) EXPECT_EQ(n.second, n.first);
    EXPECT_EQ(10, Profile::kRecentFileCount);
}
