#include "settings/ProfileAccess.h"

#include <gtest/gtest.h>

#include "framework/WinApp.h"
#include "text/CodePageText.h"

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

TEST(ProfileAccess, RecentFilesAndPathsReadWhatAnEarlierVersionWroteAndKeepAnyName) {
    ProfileApp app;
    HKEY appKey = app.GetAppRegistryKey();
    ASSERT_NE(nullptr, appKey);
    RegDeleteTreeA(appKey, "Recent File List");
    RegCloseKey(appKey);
    // Written the ANSI way, as earlier versions did: a name in the code page (in 932 one whose
    // second byte is a backslash).
    const std::string ansi =
        FromWide(GetACP() == 932 ? L"C:\\\u8868\\entries.txt" : L"C:\\Caf\u00e9 list\\entries.txt", CP_ACP);
    ASSERT_TRUE(app.WriteProfileString("Recent File List", "File1", ansi.c_str()));
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    list.ReadList(app);
    ASSERT_EQ(1, list.GetSize());
    EXPECT_EQ(ToWide(ansi, CP_ACP), list[0]);

    // A name no code page spells goes round whole, and the earlier value reads the same after.
    const std::wstring unicode = L"C:\\\u0141\u00f3d\u017a \u6771\u4eac\\list.txt";
    list.Add(unicode.c_str());
    list.WriteList(app);
    CRecentFileList again(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    again.ReadList(app);
    ASSERT_EQ(2, again.GetSize());
    EXPECT_EQ(unicode, again[0]);
    EXPECT_EQ(ToWide(ansi, CP_ACP), again[1]);
    EXPECT_EQ(ansi, app.GetProfileString("Recent File List", "File2")) << "still the ANSI reading of the same value";

    WritePathSetting(Profile::kRecoveryFile, unicode.c_str());
    EXPECT_EQ(unicode, ReadPathSetting(Profile::kRecoveryFile));
    WriteSetting(Profile::kRecoveryFile, "");
    EXPECT_EQ(L"", ReadPathSetting(Profile::kRecoveryFile));
}
