#include "app/ProfileAccess.h"

#include <gtest/gtest.h>

#include "framework/WinApp.h"

namespace {

// A profile of its own: HKEY_CURRENT_USER\Software\JotwellTests\ProfileAccess.
class ProfileApp : public CWinApp {
public:
    ProfileApp() {
        m_pszAppName = "ProfileAccess";
        SetRegistryKey("JotwellTests");
    }
};

class ProfileAccessTest : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\JotwellTests\\ProfileAccess"); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\JotwellTests\\ProfileAccess"); }

    ProfileApp m_app;
};

}  // namespace

TEST_F(ProfileAccessTest, IntegersOutsideTheRangeAreReadAndWrittenAsTheDefault) {
    const IntSetting& width = Profile::kTextColumnWidth;
    struct Case { int written; int stored; };
    for (const Case& c : {Case{0, 64}, Case{1201, 64}, Case{-80, 64}, Case{1, 1}, Case{300, 300}}) {
        WriteSetting(width, c.written);
        EXPECT_EQ(c.stored, static_cast<int>(m_app.GetProfileInt(width.section, width.key, 7))) << c.written;
    }
    WriteSetting(Profile::kExplanationColumnWidth, 0);
    EXPECT_EQ(24, ReadSetting(Profile::kExplanationColumnWidth));

    const IntSetting& port = Profile::kDevToolsPort;
    EXPECT_EQ(9222, ReadSetting(port));  // absent
    struct Read { int stored; int read; };
    for (const Read& r : {Read{0, 0}, Read{65535, 65535}, Read{65536, 9222}, Read{-1, 9222}}) {
        m_app.WriteProfileInt(port.section, port.key, r.stored);
        EXPECT_EQ(r.read, ReadSetting(port)) << r.stored;
    }
    WriteSetting(Profile::kWindowLeft, -300);  // a place left of the screen
    EXPECT_EQ(-300, ReadSetting(Profile::kWindowLeft));
}

