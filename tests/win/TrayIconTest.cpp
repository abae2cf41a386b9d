// CTrayIcon against a fake shell that records each call, and once against the real shell.
#include "frame/TrayIcon.h"
#include "framework/Wnd.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// One recorded Shell_NotifyIconA call: the operation and a copy of the 88-byte record.
struct ShellCall {
    DWORD operation;
    TrayIconRecord record;
};

std::vector<ShellCall> g_calls;
BOOL g_shellResult = TRUE;

BOOL WINAPI FakeShellNotifyIcon(DWORD operation, PNOTIFYICONDATAA data) {
    ShellCall call = {operation, {}};
    std::memcpy(&call.record, data, sizeof(call.record));
    g_calls.push_back(call);
    return g_shellResult;
}

// A string id of this program that has no icon, and an id with neither.
constexpr UINT kStringWithoutIcon = AFX_IDS_APP_TITLE;
constexpr UINT kNoResource = 4242;

class TrayIcon : public testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_shellResult = TRUE;
        m_window = CreateWindowExA(0, "STATIC", "tray owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_window, nullptr);
        m_owner.m_hWnd = m_window;  // only its handle is read
    }
    void TearDown() override {
        m_owner.m_hWnd = nullptr;
        DestroyWindow(m_window);
    }
    // The icon at the system's small-icon size (16 at 100 %, 24 at 150 %: a drawing of its own).
    static HICON TrayIconResource() {
        return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYICON), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }
    static int IconWidth(HICON icon) {
        ICONINFO info = {};
        if (!GetIconInfo(icon, &info)) return 0;
        BITMAP bitmap = {};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        return bitmap.bmWidth;
    }

    HWND m_window = nullptr;
    CWnd m_owner;
};

TEST_F(TrayIcon, ConstructionClearsTheRecordAndLoadsTheTip) {
    CTrayIcon icon(IDR_TRAYICON, &FakeShellNotifyIcon);
    const TrayIconRecord& r = icon.Record();
    EXPECT_EQ(r.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(r.uID, 129u);
    EXPECT_EQ(r.hWnd, nullptr);
    EXPECT_EQ(r.uCallbackMessage, 0u);
    EXPECT_EQ(r.hIcon, nullptr);
    EXPECT_STREQ(r.szTip, "Jotwell");
    EXPECT_FALSE(icon.IsShown());
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(TrayIcon, TheFramesIconIsAddedThenModifiedThenDeletedWithTheObject) {
    {
        CTrayIcon icon(IDR_TRAYICON, &FakeShellNotifyIcon);
        icon.SetCallback(&m_owner, 0x8401);
        EXPECT_TRUE(g_calls.empty()) << "SetCallback must not call the shell";
        EXPECT_TRUE(icon.SetIconResource(IDR_TRAYICON));
        EXPECT_TRUE(icon.SetIconResource(IDR_TRAYICON));
        ASSERT_EQ(g_calls.size(), 2u);
        for (const ShellCall& call : g_calls) {
            EXPECT_EQ(call.record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
            EXPECT_EQ(call.record.hWnd, m_window);
            EXPECT_EQ(call.record.uID, 129u);
            EXPECT_EQ(call.record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
            EXPECT_EQ(call.record.uCallbackMessage, 0x8401u);
            EXPECT_EQ(call.record.hIcon, TrayIconResource());
            EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), IconWidth(call.record.hIcon));
            EXPECT_STREQ(call.record.szTip, "Jotwell");
        }
        EXPECT_EQ(g_calls[0].operation, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(g_calls[1].operation, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_TRUE(icon.IsShown());
    }
    ASSERT_EQ(g_calls.size(), 3u) << "destruction removes the shown icon";
    EXPECT_EQ(g_calls[2].operation, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(g_calls[2].record.hWnd, m_window);
    EXPECT_EQ(g_calls[2].record.uID, 129u);
}

TEST_F(TrayIcon, RemovingAnIconThatIsNotShownSucceedsWithoutTheShell) {
    {
        CTrayIcon icon(IDR_TRAYICON, &FakeShellNotifyIcon);
        EXPECT_TRUE(icon.SetIconHandle(nullptr));
        EXPECT_TRUE(icon.SetIconResource(0));
    }
    EXPECT_TRUE(g_calls.empty()) << "neither the removals nor the destructor may call the shell";
}

TEST_F(TrayIcon, NoCallbackMeansNoMessageFlag) {
    CTrayIcon icon(IDR_TRAYICON, &FakeShellNotifyIcon);
    EXPECT_TRUE(icon.SetIconHandle(TrayIconResource()));
    icon.SetCallback(nullptr, 0x8401);  // a message without a window
    EXPECT_TRUE(icon.SetIconHandle(TrayIconResource()));
    icon.SetCallback(&m_owner, 0);  // a window without a message
    EXPECT_TRUE(icon.SetIconHandle(TrayIconResource()));
    ASSERT_EQ(g_calls.size(), 3u);
    for (const ShellCall& call : g_calls)
        EXPECT_EQ(call.record.uFlags, static_cast<UINT>(NIF_ICON | NIF_TIP));
}

TEST_F(TrayIcon, WithoutAStringResourceTheTipIsEmptyAndNotFlagged) {
    CTrayIcon icon(kNoResource, &FakeShellNotifyIcon);
    EXPECT_STREQ(icon.Record().szTip, "");
    icon.SetCallback(&m_owner, 0x8401);
    EXPECT_TRUE(icon.SetIconHandle(TrayIconResource()));
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
}

TEST_F(TrayIcon, AMissingIconResourceRemovesTheIcon) {
    CTrayIcon icon(IDR_TRAYICON, &FakeShellNotifyIcon);
    ASSERT_TRUE(icon.SetIconResource(IDR_TRAYICON));
    EXPECT_TRUE(icon.SetIconResource(kStringWithoutIcon));
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].operation, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(icon.IsShown());
    EXPECT_STREQ(icon.Record().szTip, "Jotwell") << "the tip follows the resource identifier";
}

TEST_F(TrayIcon, AFailedShellCallLeavesTheIconNotShownSoTheNextCallAdds) {
    CTrayIcon icon(IDR_TRAYICON, &FakeShellNotifyIcon);
    g_shellResult = FALSE;
    EXPECT_FALSE(icon.SetIconResource(IDR_TRAYICON));
    EXPECT_FALSE(icon.IsShown());
    EXPECT_EQ(icon.Record().hIcon, nullptr);
    g_shellResult = TRUE;
    EXPECT_TRUE(icon.SetIconResource(IDR_TRAYICON));
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].operation, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_calls[1].operation, static_cast<DWORD>(NIM_ADD));

    // A failed removal still counts as removed.
    g_shellResult = FALSE;
    EXPECT_FALSE(icon.SetIconHandle(nullptr));
    EXPECT_FALSE(icon.IsShown());
}

TEST_F(TrayIcon, AFailedAddIsRetriedOnTheOwnersTimerABoundedNumberOfTimes) {
    CTrayIcon icon(IDR_TRAYICON, &FakeShellNotifyIcon);
    icon.SetCallback(&m_owner, 0x8401);
    g_shellResult = FALSE;  // a shell that is not ready yet
    EXPECT_FALSE(icon.SetIconResource(IDR_TRAYICON));
    EXPECT_TRUE(KillTimer(m_window, CTrayIcon::kRetryTimerId)) << "no retry timer on the owner";
    for (int i = 0; i < CTrayIcon::kMaxAddRetries; ++i) icon.OnRetryTimer();
    EXPECT_EQ(g_calls.size(), 1u + CTrayIcon::kMaxAddRetries);
    for (const ShellCall& call : g_calls) EXPECT_EQ(call.operation, static_cast<DWORD>(NIM_ADD));
    EXPECT_FALSE(KillTimer(m_window, CTrayIcon::kRetryTimerId)) << "the timer outlived its tries";
    icon.OnRetryTimer();
    EXPECT_EQ(g_calls.size(), 1u + CTrayIcon::kMaxAddRetries) << "a stray tick after the last try";

    // A new request starts the tries again; the first that succeeds ends them.
    g_calls.clear();
    EXPECT_FALSE(icon.SetIconResource(IDR_TRAYICON));
    icon.OnRetryTimer();
    g_shellResult = TRUE;
    icon.OnRetryTimer();
    EXPECT_TRUE(icon.IsShown());
    EXPECT_FALSE(KillTimer(m_window, CTrayIcon::kRetryTimerId)) << "the timer runs on after the add";
    icon.OnRetryTimer();
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[2].operation, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_calls[2].record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
}

TEST_F(TrayIcon, ARestartedShellGetsTheShownIconAddedAgainButNotARemovedOne) {
    CTrayIcon icon(IDR_TRAYICON, &FakeShellNotifyIcon);
    icon.SetCallback(&m_owner, 0x8401);
    ASSERT_TRUE(icon.SetIconResource(IDR_TRAYICON));
    EXPECT_TRUE(icon.OnShellRestarted());
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].operation, static_cast<DWORD>(NIM_ADD)) << "the new shell has no icon to change";
    EXPECT_EQ(0, std::memcmp(&g_calls[0].record, &g_calls[1].record, sizeof(TrayIconRecord)));

    g_shellResult = FALSE;  // the new shell is not ready yet: retried as a failed add
    EXPECT_FALSE(icon.OnShellRestarted());
    EXPECT_FALSE(icon.IsShown());
    g_shellResult = TRUE;
    icon.OnRetryTimer();
    EXPECT_TRUE(icon.IsShown());

    EXPECT_TRUE(icon.SetIconHandle(nullptr));
    g_calls.clear();
    EXPECT_TRUE(icon.OnShellRestarted());
    EXPECT_TRUE(g_calls.empty()) << "a removed icon must stay away";
}

TEST_F(TrayIcon, ALongTipIsCutTo63BytesWithItsZero) {
    // The document string of the main frame is longer than a tip can be.
    const CString full = AfxLoadString(IDR_MAINFRAME);
    ASSERT_GT(full.size(), 63u);
    CTrayIcon icon(IDR_MAINFRAME, &FakeShellNotifyIcon);
    EXPECT_EQ(std::string(icon.Record().szTip), full.substr(0, 63));
    EXPECT_EQ(icon.Record().szTip[63], '\0');
}

TEST_F(TrayIcon, HandleCallbackReactsToNothing) {
    CTrayIcon icon(IDR_TRAYICON, &FakeShellNotifyIcon);
    EXPECT_EQ(icon.HandleCallback(129, WM_MOUSEMOVE), 0);
    EXPECT_EQ(icon.HandleCallback(129, WM_RBUTTONDOWN), 0);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(TrayIcon, TheRealShellAddsModifiesAndRemoves) {
    CTrayIcon icon(IDR_TRAYICON);
    icon.SetCallback(&m_owner, 0x8401);
    EXPECT_TRUE(icon.SetIconResource(IDR_TRAYICON));
    EXPECT_TRUE(icon.SetIconResource(IDR_TRAYICON));
    EXPECT_TRUE(icon.SetIconHandle(nullptr));
    EXPECT_FALSE(icon.IsShown());
}

}  // namespace
