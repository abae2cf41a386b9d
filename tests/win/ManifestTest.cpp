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

// The manifest as linked: per-monitor DPI awareness with its fallbacks, long paths, and the
// systems Jotwell is made for, so that Windows neither stretches it nor runs it as an old program.
TEST(Manifest, DeclaresPerMonitorDpiAwarenessAndTheSupportedSystems) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(nullptr, found);
    const char* data = static_cast<const char*>(LockResource(LoadResource(self, found)));
    ASSERT_NE(nullptr, data);
    const std::string manifest(data, SizeofResource(self, found));
    for (const char* expected :
         {">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>", ">true</longPathAware>",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(std::string::npos, manifest.find(expected)) << expected;
}
