// The hotkey that calls the main window: the setting's form turned into RegisterHotKey's,
// the place near the pointer, a key held twice, the dialog's round trip through the real
// hotkey control, and the frame's show/hide toggle on WM_HOTKEY.
#include "frame/HotKey.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/JotwellApp.h"
#include "settings/ProfileAccess.h"
#include "frame/MainFrame.h"
#include "framework/DocTemplate.h"
#include "res/resource.h"
#include "tests/win/MessageLog.h"

namespace {

constexpr int kCtrlAltJ = ((HOTKEYF_CONTROL | HOTKEYF_ALT) << 8) | 'J';

HWND MessageWindow() {
    return CreateWindowExA(0, "STATIC", "hotkey owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

TEST(HotKey, TheControlsValueBecomesRegisterHotKeysModifiersAndKey) {
    EXPECT_EQ(0x064A, Profile::kHotKey.defaultValue);
    EXPECT_EQ(kCtrlAltJ, Profile::kHotKey.defaultValue);
    struct Case { int value; UINT modifiers; UINT key; };
    const Case cases[] = {
        {kCtrlAltJ, MOD_CONTROL | MOD_ALT, 'J'},
        {(HOTKEYF_SHIFT << 8) | VK_F12, MOD_SHIFT, VK_F12},
        {((HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_EXT) << 8) | VK_HOME, MOD_CONTROL | MOD_SHIFT, VK_HOME},
        {VK_F9, 0, VK_F9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.modifiers | MOD_NOREPEAT, HotKeyModifiers(c.value)) << c.value;
        EXPECT_EQ(c.key, HotKeyVirtualKey(c.value)) << c.value;
    }
    const std::string name = HotKeyName(kCtrlAltJ);
    EXPECT_EQ('J', name.back()) << name;
    EXPECT_EQ(2u, std::count(name.begin(), name.end(), '+')) << name;
}

TEST(HotKey, TheWindowShowsUnderThePointerInsideTheWorkArea) {
    const RECT work = {0, 0, 1000, 700};
    const SIZE size = {120, 280};
    const int caption = GetSystemMetrics(SM_CYSMCAPTION) / 2;
    struct Case { POINT pointer; POINT place; };
    const Case cases[] = {
        {{500, 300}, {440, 300 - caption}},
        {{5, 2}, {0, 0}},          // top left corner
        {{995, 690}, {880, 420}},  // bottom right corner
    };
    for (const Case& c : cases) {
        const POINT place = PlaceNearPointer(c.pointer, size, work);
        EXPECT_EQ(c.place.x, place.x) << c.pointer.x;
        EXPECT_EQ(c.place.y, place.y) << c.pointer.y;
    }
    const POINT tooBig = PlaceNearPointer({50, 50}, {2000, 2000}, work);
    EXPECT_EQ(0, tooBig.x);
    EXPECT_EQ(0, tooBig.y);
}

TEST(HotKey, AKeyHeldByAnotherRegistrationIsRefusedUntilItIsGivenUp) {
    HWND first = MessageWindow();
    HWND second = MessageWindow();
    {
        CHotKeyRegistration holder;
        ASSERT_TRUE(holder.Register(first, 1, kCtrlAltJ));
        CHotKeyRegistration other;
        EXPECT_FALSE(other.Register(second, 1, kCtrlAltJ));
        EXPECT_EQ(0, other.Value());
        EXPECT_TRUE(other.Register(second, 1, 0));  // none always succeeds
        // Registering another key gives up the first one.
        ASSERT_TRUE(holder.Register(first, 1, (HOTKEYF_ALT << 8) | VK_F11));
        EXPECT_TRUE(other.Register(second, 1, kCtrlAltJ));
    }
    CHotKeyRegistration after;  // both were unregistered with their objects
    EXPECT_TRUE(after.Register(first, 2, kCtrlAltJ));
    after.Unregister();
    DestroyWindow(first);
    DestroyWindow(second);
}

namespace {

// Stands in for the user of the Hot Key dialog: notes what the control shows, sets g_pressed
// in it and presses OK.
int g_shownKey = -1;
int g_pressed = 0;
void CALLBACK FakeHotKeyUser(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND control = GetDlgItem(GetActiveWindow(), IDC_HOTKEY);
    if (!control) return;
    KillTimer(nullptr, timer);
    char cls[32] = {};
    GetClassNameA(control, cls, sizeof(cls));
    g_shownKey = lstrcmpiA(cls, HOTKEY_CLASSA) == 0 ? static_cast<int>(SendMessageA(control, HKM_GETHOTKEY, 0, 0)) : -2;
    SendMessageA(control, HKM_SETHOTKEY, static_cast<WPARAM>(g_pressed), 0);
    PostMessageA(GetParent(control), WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST(HotKey, TheDialogShowsTheValueAndGivesBackThePressedKey) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&icc);
    const int pressed[] = {(HOTKEYF_SHIFT | HOTKEYF_CONTROL) << 8 | 'K', 0};
    for (const int value : pressed) {
        CHotKeyDlg dialog;
        dialog.m_nHotKey = kCtrlAltJ;
        g_pressed = value;
        g_shownKey = -1;
        SetTimer(nullptr, 0, 50, &FakeHotKeyUser);
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_EQ(kCtrlAltJ, g_shownKey);
        EXPECT_EQ(value, dialog.m_nHotKey);
    }
}

namespace {

int g_boxes = 0;
int CountBox(const CString&, UINT) { return ++g_boxes, IDOK; }

// Jotwell's main frame with its hotkey setting written first; deleted with its window.
class HotKeyFrame : public testing::Test {
protected:
    void SetUp() override {
        m_app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, nullptr, nullptr, nullptr));
        g_boxes = 0;
        AfxSetMessageBoxHook(&CountBox);
    }
    void TearDown() override {
        if (m_frame && IsWindow(m_hwnd)) m_frame->DestroyWindow();
        AfxSetMessageBoxHook(nullptr);
        WriteSetting(Profile::kHotKey, Profile::kHotKey.defaultValue);
    }
    void Create(int hotKey) {
        WriteSetting(Profile::kHotKey, hotKey);
        m_frame = new CMainFrame;
        ASSERT_TRUE(m_frame->CreateEx(0, nullptr, "hotkey frame", WS_OVERLAPPEDWINDOW, 0, 0, 120, 280, nullptr, nullptr));
        m_hwnd = m_frame->m_hWnd;
        PumpUntil([] { return false; }, 200);
    }
    void Press() {
        SendMessageA(m_hwnd, WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'J'));
    }

    CJotwellApp m_app;
    CMainFrame* m_frame = nullptr;
    HWND m_hwnd = nullptr;
};

}  // namespace

TEST_F(HotKeyFrame, TheKeyShowsAHiddenOrCoveredFrameInFrontAndHidesItWhenInFront) {
    Create(kCtrlAltJ);
    EXPECT_EQ(0, g_boxes);
    EXPECT_EQ(kCtrlAltJ, m_frame->m_hotKey.Value());
    ShowWindow(m_hwnd, SW_HIDE);
    m_frame->m_bVisible = FALSE;
    Press();
    EXPECT_TRUE(IsWindowVisible(m_hwnd));
    EXPECT_TRUE(m_frame->m_bVisible);
    EXPECT_EQ(m_hwnd, GetForegroundWindow());
    EXPECT_TRUE(GetWindowLongA(m_hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);  // "AlwaysOnTop" is on
    POINT pointer = {};
    GetCursorPos(&pointer);
    RECT r = {};
    GetWindowRect(m_hwnd, &r);
    EXPECT_TRUE(pointer.x >= r.left && pointer.x < r.right) << pointer.x << " " << r.left;

    Press();  // in front: hidden as closing hides it
    EXPECT_FALSE(IsWindowVisible(m_hwnd));
    EXPECT_FALSE(m_frame->m_bVisible);

    // Shown but behind another window: brought in front, not hidden.
    Press();
    HWND cover = CreateWindowExA(0, "STATIC", "cover", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(cover);
    Press();
    EXPECT_TRUE(IsWindowVisible(m_hwnd));
    EXPECT_EQ(m_hwnd, GetForegroundWindow());
    DestroyWindow(cover);
}

TEST_F(HotKeyFrame, AKeyAnotherProgramHoldsIsToldOnceAndNothingElseFails) {
    HWND other = MessageWindow();
    CHotKeyRegistration holder;
    ASSERT_TRUE(holder.Register(other, 7, kCtrlAltJ));
    Create(kCtrlAltJ);
    EXPECT_EQ(1, g_boxes);
    EXPECT_EQ(0, m_frame->m_hotKey.Value());
    m_frame->RegisterCallKey();  // the same key again: not told again
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(1, g_boxes);
    EXPECT_TRUE(IsWindow(m_hwnd));
    // A setting of none registers nothing and tells nothing.
    WriteSetting(Profile::kHotKey, 0);
    m_frame->RegisterCallKey();
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(1, g_boxes);
    holder.Unregister();
    DestroyWindow(other);
}
