#include "settings/ProfileAccess.h"

#include <gtest/gtest.h>

#include "framework/WinApp.h"

namespace {

// A profile of its own: HKEY_CURRENT_USER\Software\JotwellTests\ProfileAccess.
class ProfileApp : public CWinApp {
public:
    ProfileApp() {
        m_pszAppName = "ProfileAccess";
        SetRegistryKey("JotwellTests");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\JotwellTests\\ProfileAccess");
    }
    ~ProfileApp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\JotwellTests\\ProfileAccess"); }
};

}  // namespace

TEST(ProfileAccess, IntegersOutsideTheRangeAreReadAndWrittenAsTheDefault) {
    ProfileApp app;
    const IntSetting& width = Profile::kTextColumnWidth;
    for (const int written : {0, 1201, 300}) {
        WriteSetting(width, written);
        EXPECT_EQ(written == 300 ? 300 : 64, static_cast<int>(app.GetProfileInt(width.section, width.key, 7)));
    }
    const IntSetting& port = Profile::kDevToolsPort;
    for (const int stored : {0, 65535, 65536, -1}) {  // -1: a DWORD above every port
        app.WriteProfileInt(port.section, port.key, stored);
        EXPECT_EQ(stored == 0 || stored == 65535 ? stored : 9222, ReadSetting(port)) << stored;
    }
    WriteSetting(Profile::kWindowLeft, -300);  // a place left of the screen
    EXPECT_EQ(-300, ReadSetting(Profile::kWindowLeft));
}
