// The program's manifest (linked into this test binary too) selects common controls 6: the
// loader takes comctl32 from the side-by-side assembly, not from the system folder. (Wine's
// version 6 reports 5.81 from DllGetVersion, so the version number tells nothing.)
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

TEST(Manifest, CommonControlsComeFromTheVersion6Assembly) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(comctl, path, MAX_PATH), 0u);
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    EXPECT_NE(lower.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::string::npos) << path;
}
