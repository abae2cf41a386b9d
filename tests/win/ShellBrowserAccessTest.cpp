#include "browser/AutoInput.h"
#include "browser/ShellBrowserAccess.h"
#include "browser/TagIndexReport.h"
#include "framework/Handles.h"
#include "text/BstrText.h"
#include "text/CodePageText.h"
#include "text/SystemCodePage.h"

#include <gtest/gtest.h>

#include "tests/core/FakeNotifications.h"

#include <string>
#include <vector>

using fake::FakeNotifications;

// Wine's shell window list opens but cannot count its windows; a real system
// counts them. Either way the report and a fill run end without a message.
TEST(ShellBrowserAccess, WindowListOpensOrFailsCleanly) {
    OleInitScope ole;
    ASSERT_TRUE(ole.Succeeded());
    ShellBrowserAccess shell;
    std::unique_ptr<WindowList> windows = shell.OpenWindowList();
    const bool opened = windows != nullptr;
    if (windows) {
        std::int32_t count = -1;
        EXPECT_NO_THROW(count = windows->Count());
        EXPECT_GE(count, 0);
        windows.reset();
    }

    FakeNotifications notify;
    std::string report;
    WriteTagIndexReport(shell, notify, SystemLeadBytes(), report);
    WebInputSettings settings;
    settings.LoadText("[]\n[:]\nq=v\n[Anything]\n#0=x\n", SystemLeadBytes());
    AutoInput input(settings, notify, SystemLeadBytes());
    const int result = input.Run(shell);
    if (!opened) {
        EXPECT_EQ("", report);  // the report file keeps an empty body
        EXPECT_EQ(0, result);   // every page section was skipped
    }
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_EQ(0, notify.beeps);
    // No browser here has an HTML document, so nothing is listed.
    EXPECT_EQ(std::string::npos, report.find("=== NoFrame ==="));
}

TEST(ShellBrowserAccess, WideTextRoundTripsThroughTheAnsiCodePage) {
    const UINT acp = GetACP();
    if (acp != 932 && acp != 1252) GTEST_SKIP() << "code page " << acp;
    const std::string ansi = acp == 932 ? std::string("\x83\x65\x83\x58\x83\x67 A") : std::string("caf\xE9 A");
    UniqueBstr b(TextToBstr(ansi, CP_ACP));
    ASSERT_NE(nullptr, b.Get());
    const std::wstring expected = acp == 932 ? std::wstring(L"\u30c6\u30b9\u30c8 A") : std::wstring(L"caf\u00e9 A");
    EXPECT_EQ(expected, std::wstring(b.Get(), b.Length()));
    EXPECT_EQ(ansi, FromWide(std::wstring_view(b.Get(), b.Length()), CP_ACP));
    UniqueBstr empty(TextToBstr("", CP_ACP));
    ASSERT_NE(nullptr, empty.Get());
    EXPECT_EQ(0u, empty.Length());
    EXPECT_EQ("", FromWide(std::wstring_view(), CP_ACP));
}

TEST(ShellBrowserAccess, WideTextRoundTripsThroughUtf8) {
    const std::string utf8 = "Jos\xC3\xA9 \xCE\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80";
    UniqueBstr b(TextToBstr(utf8, CP_UTF8));
    ASSERT_NE(nullptr, b.Get());
    EXPECT_EQ(std::wstring(L"Jos\u00e9 \u03a9 \u65e5 \xd83d\xde00"), std::wstring(b.Get(), b.Length()));
    EXPECT_EQ(utf8, FromWide(std::wstring_view(b.Get(), b.Length()), CP_UTF8));
}

TEST(ShellBrowserAccess, VariantOwnerReleasesItsString) {
    UniqueVariant v;
    UniqueBstr text(TextToBstr("name", CP_ACP));
    v.Get().vt = VT_BSTR;
    v.Get().bstrVal = text.Release();
    EXPECT_EQ(nullptr, text.Get());
    VARIANT* slot = v.Receive();  // clears the string it held
    EXPECT_EQ(VT_EMPTY, slot->vt);
}
