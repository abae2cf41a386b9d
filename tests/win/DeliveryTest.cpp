#include "view/Delivery.h"

#include "framework/Handles.h"
#include "res/resource.h"
#include "view/DropClipboard.h"
#include "view/DropNotice.h"
#include "framework/KeyState.h"
#include "tests/win/MessageLog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <commctrl.h>
#include <mutex>
#include <vector>
#include <cstdio>
#include <string>
#include <thread>

namespace {

const char kTargetClass[] = "JotwellDeliveryTarget";
const char kFocusClass[] = "JotwellFocusSink";

// The clipboard's block in `format`, whole, zeros included.
template <typename Char>
std::basic_string<Char> ClipboardBlock(UINT format) {
    ClipboardSession clipboard(nullptr);
    GlobalLockGuard lock(clipboard.IsOpen() ? GetClipboardData(format) : nullptr);
    const Char* text = static_cast<const Char*>(lock.Get());
    return lock ? std::basic_string<Char>(text, lock.Size() / sizeof(Char)) : std::basic_string<Char>();
}

std::string ClipboardText() {
    ClipboardSession clipboard(nullptr);
    if (!clipboard.IsOpen()) return "<not open>";
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return "<no text>";
    GlobalLockGuard lock(data);
    return lock ? std::string(static_cast<const char*>(lock.Get())) : "<not locked>";
}

std::string WindowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// The system as the drops below see it: Windows 7's (no DPI functions), with a target
// that Windows blocks, or that it calls hung and that does not answer, when one is named.
struct FakeSystemState {
    HWND Blocked = nullptr;        // above our integrity level
    HWND DeniedSends = nullptr;    // every send fails with ERROR_ACCESS_DENIED
    HWND Hung = nullptr;           // IsHungAppWindow says so and WM_NULL goes unanswered
    // What GetGUIThreadInfo tells of the target's thread once it has been clicked.
    HWND Focus = nullptr;
    HWND Caret = nullptr;
    bool CaretBlinking = false;
};
FakeSystemState g_fake;

bool FakeIntegrityAboveOurs(HWND window) { return window == g_fake.Blocked; }
BOOL WINAPI FakeIsHung(HWND window) { return window == g_fake.Hung; }
LRESULT WINAPI FakeSend(HWND window, UINT message, WPARAM w, LPARAM l, UINT flags, UINT timeout, PDWORD_PTR result) {
    if (window == g_fake.DeniedSends) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    if (window == g_fake.Hung) {
        SetLastError(ERROR_TIMEOUT);
        return 0;
    }
    return SendMessageTimeoutA(window, message, w, l, flags, timeout, result);
}

BOOL WINAPI FakeGuiThreadInfo(DWORD, GUITHREADINFO* info) {
    info->hwndFocus = g_fake.Focus;
    info->hwndCaret = g_fake.Caret;
    info->flags = g_fake.CaretBlinking ? GUI_CARETBLINKING : 0;
    return TRUE;
}

DeliverySystem FakeWindows7() {
    DeliverySystem system = SystemDelivery();
    system.IntegrityAboveOurs = &FakeIntegrityAboveOurs;
    system.IsHungAppWindow = &FakeIsHung;
    system.SendMessageTimeout = &FakeSend;
    system.GetGUIThreadInfo = &FakeGuiThreadInfo;
    system.GetWindowDpiAwarenessContext = nullptr;
    system.GetThreadDpiAwarenessContext = nullptr;
    system.SetThreadDpiAwarenessContext = nullptr;
    system.AreDpiAwarenessContextsEqual = nullptr;
    system.LogicalToPhysicalPointForPerMonitorDPI = nullptr;
    system.PhysicalToLogicalPointForPerMonitorDPI = nullptr;
    return system;
}

// Key events of the whole system in order, as a low-level keyboard hook on a thread of
// its own sees them: "+10" for Shift down, "-10" for its release (hexadecimal key codes).
class KeyEventLog {
public:
    KeyEventLog() {
        UniqueHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        const HANDLE event = ready.Get();
        m_thread = std::thread([this, event] {
            s_self = this;
            m_hook = SetWindowsHookExA(WH_KEYBOARD_LL, &Hook, GetModuleHandleA(nullptr), 0);
            m_threadId = GetCurrentThreadId();
            SetEvent(event);
            MSG msg = {};
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
            if (m_hook) UnhookWindowsHookEx(m_hook);
        });
        WaitForSingleObject(event, 5000);
    }
    ~KeyEventLog() {
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
        s_self = nullptr;
    }
    bool Hooked() const { return m_hook != nullptr; }
    std::string Take() {
        PumpMessages(100);
        std::lock_guard<std::mutex> lock(m_mutex);
        std::string events;
        events.swap(m_events);
        return events;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && s_self) {
            const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
            char event[8] = {};
            std::snprintf(event, sizeof(event), "%c%lX ", (key->flags & LLKHF_UP) ? '-' : '+',
                          static_cast<unsigned long>(key->vkCode));
            std::lock_guard<std::mutex> lock(s_self->m_mutex);
            s_self->m_events += event;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static KeyEventLog* s_self;
    std::thread m_thread;
    HHOOK m_hook = nullptr;
    std::atomic<DWORD> m_threadId{0};
    std::mutex m_mutex;
    std::string m_events;
};
KeyEventLog* KeyEventLog::s_self = nullptr;


class DeliveryTest : public testing::Test {
protected:
    // The focus window lives for the whole suite: Wine without a window manager takes
    // seconds to destroy a window that has been shown and activated.
    static void SetUpTestSuite() {
        s_focus = CreateLoggingWindow(kFocusClass, WS_POPUP | WS_VISIBLE, nullptr, 450, 100);
    }
    static void TearDownTestSuite() {
        DestroyWindow(s_focus);
        s_focus = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(nullptr, s_focus);
        // Message targets need not be shown; keyboard input (the Alt that the click
        // releases, for one) goes to the focus window instead.
        m_target.Reset(CreateLoggingWindow(kTargetClass, WS_POPUP));
        ASSERT_NE(nullptr, m_target.Get());
        SetForegroundWindow(s_focus);
        SetFocus(s_focus);
        PumpMessages(50);
        MessageLog::Clear();
        PutTextOnClipboard(s_focus, "before");
        m_options.ClipboardOwner = s_focus;
        m_options.Text = "dropped\\ntext";
    }
    void TearDown() override { MessageLog::Clear(); }

    HWND Target() const { return m_target.Get(); }

    // A drop at `client` in window's client area (the window's own coordinates are taken
    // while it exists).
    DropResult Drop(HWND window, DeliveryMethod method, DWORD param1 = 0, DWORD param2 = 0,
                    POINT client = {10, 20}) {
        POINT screen = client;
        ClientToScreen(window, &screen);
        DestinationMatch match;
        match.Method = method;
        match.Rule.Param1 = param1;
        match.Rule.Param2 = param2;
        const DropResult result = DeliverEntry(window, screen, match, m_options, m_system);
        PumpMessages(100);
        return result;
    }

    static HWND s_focus;
    ScopedWindow m_target;
    DeliverySystem m_system = SystemDelivery();
    DropOptions m_options;
};

HWND DeliveryTest::s_focus = nullptr;

// button-down messages) by calling onMessage.
class ThreadWindow {
public:
    template <typename OnMessage>
    explicit ThreadWindow(OnMessage onMessage) : m_onMessage(onMessage) {
        UniqueHandle created(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        m_thread = std::thread([this, &created] { Run(created.Get()); });
        WaitForSingleObject(created.Get(), 5000);
    }
    ~ThreadWindow() {
        if (m_threadId) PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }
    HWND Get() const { return m_window; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        ThreadWindow* self = reinterpret_cast<ThreadWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && (message == WM_USER + 3 || message == WM_KEYDOWN || message == WM_LBUTTONDOWN)) {
            self->m_onMessage();
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    void Run(HANDLE created) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "JotwellThreadTarget";
        RegisterClassA(&wc);
        m_window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_threadId = GetCurrentThreadId();
        SetEvent(created);
        MSG msg = {};
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        DestroyWindow(m_window);
    }

    std::function<void()> m_onMessage;
    std::thread m_thread;
    HWND m_window = nullptr;
    std::atomic<DWORD> m_threadId{0};
};


const ExpectedMessage kCtrlADelete[] = {
    {WM_KEYDOWN, kSent | kWparam | kLparam, VK_CONTROL, 1}, {WM_KEYDOWN, kSent | kWparam | kLparam, 'A', 1},
    {WM_KEYUP, kSent | kWparam | kLparam, 'A', 1},         {WM_KEYUP, kSent | kWparam | kLparam, VK_CONTROL, 1},
    {WM_KEYDOWN, kSent | kWparam | kLparam, VK_DELETE, 1}, {WM_KEYUP, kSent | kWparam | kLparam, VK_DELETE, 1}};
const ExpectedMessage kClick[] = {
    {WM_LBUTTONDOWN, kSent | kWparam | kLparam, MK_LBUTTON, MAKELPARAM(10, 20)},
    {WM_LBUTTONUP, kSent | kWparam | kLparam, 0, MAKELPARAM(10, 20)}};
const ExpectedMessage kNothing[] = {{0}};

// The click, the clearing when asked, then the method's own messages.
std::vector<ExpectedMessage> DropSequence(bool cleared, const std::vector<ExpectedMessage>& method) {
    std::vector<ExpectedMessage> rows(std::begin(kClick), std::end(kClick));
    if (cleared) rows.insert(rows.end(), std::begin(kCtrlADelete), std::end(kCtrlADelete));
    rows.insert(rows.end(), method.begin(), method.end());
    rows.push_back({0});
    return rows;
}

class DropTest : public DeliveryTest {
protected:
    void SetUp() override {
        DeliveryTest::SetUp();
        g_fake = FakeSystemState();
        m_system = FakeWindows7();
    }
    void TearDown() override {
        g_fake = FakeSystemState();
        DeliveryTest::TearDown();
    }
};

}  // namespace

TEST_F(DeliveryTest, AWindowGoneBeforeTheDropGetsNothing) {
    HWND gone = Target();
    m_target.Reset();
    ASSERT_FALSE(IsWindow(gone));
    PumpMessages(20);
    MessageLog::Clear();
    for (DeliveryMethod method : {DeliveryMethod::Paste, DeliveryMethod::CtrlV, DeliveryMethod::User})
        EXPECT_EQ(DropOutcome::Nothing, Drop(gone, method, 3, 9).Outcome) << DeliveryMethodKeyName(method);
    EXPECT_EQ(DropOutcome::Nothing, Drop(nullptr, DeliveryMethod::Paste).Outcome);
    EXPECT_SEQUENCE(nullptr, kNothing, "destroyed window");
    EXPECT_EQ("before", ClipboardText());
}

TEST_F(DeliveryTest, OnlyATopLevelWindowWithCaptionOrBorderIsBroughtForward) {
    ScopedWindow popup(CreateLoggingWindow(kTargetClass, WS_POPUP));
    EXPECT_EQ(DropOutcome::Delivered, Drop(popup.Get(), DeliveryMethod::User).Outcome);
    EXPECT_FALSE(IsWindowVisible(popup.Get()));

    ScopedWindow framed(CreateLoggingWindow(kTargetClass, WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(DropOutcome::Delivered, Drop(framed.Get(), DeliveryMethod::User).Outcome);
    PumpMessages(50);
    EXPECT_TRUE(IsWindowVisible(framed.Get()));
    EXPECT_EQ(framed.Get(), GetForegroundWindow());
}

TEST_F(DeliveryTest, ClipboardHoldsTheExpandedText) {
    ASSERT_TRUE(PutTextOnClipboard(Target(), "first\\nsecond\\Nthird\\"));
    EXPECT_EQ("first\r\nsecond\\Nthird\\", ClipboardText());
    // CF_TEXT in a block of the text and four zero bytes.
    EXPECT_EQ(std::string("first\r\nsecond\\Nthird\\\0\0\0\0", 25), ClipboardBlock<char>(CF_TEXT));
    ASSERT_TRUE(PutTextOnClipboard(Target(), ""));
    EXPECT_EQ("", ClipboardText());
}

TEST_F(DeliveryTest, Utf8TextGoesOnTheClipboardAsUnicodeText) {
    const struct { const char* utf8; const wchar_t* wide; } cases[] = {
        {"\xF0\x9F\x98\x80 smile", L"\U0001F600 smile"},
        {"\xCE\xB1\xCE\xB2\xCE\xB3\\n\xCE\xB4", L"\u03B1\u03B2\u03B3\r\n\u03B4"},
        {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\\n\\N\\", L"\u65E5\u672C\u8A9E\r\n\\N\\"},
        // 0x81 ends a UTF-8 character and is a lead byte of code page 932: the break after it counts.
        {"\xC3\x81\\n\\n", L"\u00C1\r\n\r\n"},
        {"", L""},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(PutTextOnClipboard(Target(), c.utf8, TextEncoding::Utf8)) << c.utf8;
        EXPECT_EQ(std::wstring(c.wide) + L'\0', ClipboardBlock<wchar_t>(CF_UNICODETEXT)) << c.utf8;
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT)) << c.utf8;
    }
}

TEST_F(DeliveryTest, ClipboardStepsOverDoubleByteCharactersUnderCodePage932) {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932, the test runs with " << GetACP();
    // 0x95 0x5C is one character; the n after it is text, the real \n after that is a break.
    ASSERT_TRUE(PutTextOnClipboard(Target(), "\x95\x5Cn\\n"));
    EXPECT_EQ("\x95\x5Cn\r\n", ClipboardText());
}


TEST_F(DeliveryTest, ClipboardHeldByAnotherProgramKeepsItsContentsAndTheDropSendsNothing) {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Holding()) << "clipboard_holder.exe did not open the clipboard";
    DWORD start = GetTickCount();
    EXPECT_FALSE(PutTextOnClipboard(Target(), "new"));
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited + 20, kClipboardWaitMs) << "opening is tried again for a while";
    EXPECT_LT(waited, kClipboardWaitMs + 1000);

    // A Ctrl-drop onto a text field: no click, no clearing, no paste of the old contents.
    m_options.Clear = true;
    for (DeliveryMethod method : {DeliveryMethod::Paste, DeliveryMethod::Keybd}) {
        const DropResult result = Drop(Target(), method);
        EXPECT_EQ(DropOutcome::ClipboardBusy, result.Outcome) << DeliveryMethodKeyName(method);
        EXPECT_SEQUENCE(Target(), kNothing, "clipboard busy");
        const std::wstring notice = DropNoticeText(result);
        EXPECT_FALSE(notice.empty());
        EXPECT_NE(std::wstring::npos, notice.find(L"clipboard") + notice.find(L"\u30AF\u30EA\u30C3\u30D7") + 1)
            << "the notice says the clipboard was busy";
    }
    holder.Release();
    EXPECT_EQ("before", ClipboardText());

    // Held only for a moment (shorter than the wait): the drop goes through.
    ClipboardHolder brief;
    ASSERT_TRUE(brief.Holding());
    std::thread release([&] {
        Sleep(150);
        brief.Release();
    });
    start = GetTickCount();
    EXPECT_EQ(DropOutcome::Delivered, Drop(Target(), DeliveryMethod::User, 3, 9).Outcome);
    release.join();
    EXPECT_EQ("dropped\r\ntext", ClipboardText());
}

TEST_F(DeliveryTest, ACtrlDropOntoAnEditControlReplacesItsText) {
    ScopedWindow edit(CreateWindowExA(0, "Edit", "old text", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 5, 5, 200, 80,
                                      s_focus, nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_NE(nullptr, edit.Get());
    SubclassForLogging(edit.Get());
    m_options.Text = "line one\\nline two";
    m_options.Clear = true;
    // The user holds Ctrl; the control checks the key state for Ctrl+A.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    const DropResult result = Drop(edit.Get(), DeliveryMethod::Paste);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(DropOutcome::Delivered, result.Outcome);
    PumpMessages(200);
    EXPECT_EQ("line one\r\nline two", WindowText(edit.Get()));
}

TEST_F(DeliveryTest, AKeyboardDropReachesTheFocusedEdit) {
    ScopedWindow edit(CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 5, 5, 200, 24, s_focus, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
    SetForegroundWindow(s_focus);
    SetFocus(edit.Get());
    PumpMessages(50);
    m_options.Text = "typed";
    const DWORD start = GetTickCount();
    EXPECT_EQ(DropOutcome::Delivered, Drop(edit.Get(), DeliveryMethod::Keybd, 0, 0, POINT{2, 2}).Outcome);
    EXPECT_GE(GetTickCount() - start, 30u);  // four pauses of 10 ms
    if (!PumpUntil([&] { return !WindowText(edit.Get()).empty(); }, 2000) && GetForegroundWindow() != s_focus)
        GTEST_SKIP() << "the test window is not in the foreground, so keyboard input goes elsewhere";
    EXPECT_EQ("typed", WindowText(edit.Get()));
}

TEST_F(DeliveryTest, ResponsiveTargetOnAnotherThreadIsWaitedFor) {
    std::atomic<int> handled{0};
    ThreadWindow slow([&] {
        Sleep(300);
        ++handled;
    });
    ASSERT_NE(nullptr, slow.Get());
    EXPECT_EQ(DropOutcome::Delivered, Drop(slow.Get(), DeliveryMethod::User, 3, 9).Outcome);
    EXPECT_EQ(2, handled) << "returned before the target had handled the click and the message";
}

TEST_F(DeliveryTest, HungTargetDoesNotFreezeTheSender) {
    UniqueHandle unblock(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HANDLE event = unblock.Get();
    ThreadWindow hung([event] { WaitForSingleObject(event, 60000); });
    ASSERT_NE(nullptr, hung.Get());

    // The click is not answered in time: the drop gives up at once instead of sending more.
    const DWORD start = GetTickCount();
    EXPECT_EQ(DropOutcome::StoppedAnswering, Drop(hung.Get(), DeliveryMethod::CtrlV, 26).Outcome);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_LT(elapsed, kDeliverySendTimeoutMs + 1000);
    std::printf("hung target: the drop returned after %lu ms\n", static_cast<unsigned long>(elapsed));
    SetEvent(event);
}

TEST_F(DeliveryTest, ATargetTheSystemCallsHungIsAskedOnceBeforeTheDropGivesUp) {
    UniqueHandle unblock(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HANDLE event = unblock.Get();
    // Busy until released, then a moment more before it takes messages again.
    std::atomic<int> calls{0};
    ThreadWindow busy([event, &calls] {
        ++calls;
        WaitForSingleObject(event, 60000);
        Sleep(300);
    });
    ASSERT_NE(nullptr, busy.Get());
    PostMessageA(busy.Get(), WM_USER + 3, 9, 0);
    // The system calls a window hung once its thread has taken no message for 5 s.
    for (int i = 0; i < 100 && !IsHungAppWindow(busy.Get()); ++i) Sleep(100);
    ASSERT_TRUE(IsHungAppWindow(busy.Get()));
    DWORD start = GetTickCount();
    EXPECT_EQ(DropOutcome::StoppedAnswering, Drop(busy.Get(), DeliveryMethod::User, 3, 9).Outcome);
    EXPECT_LT(GetTickCount() - start, kHungConfirmTimeoutMs + 1000);
    EXPECT_EQ(1, calls) << "no click for a program that stopped answering";
    // Released, it is called hung until it takes a message, and answers within the wait.
    SetEvent(event);
    ASSERT_TRUE(IsHungAppWindow(busy.Get()));
    EXPECT_EQ(DropOutcome::Delivered, Drop(busy.Get(), DeliveryMethod::User, 3, 9).Outcome);
}

TEST_F(DropTest, EachMethodAfterTheClickWithAndWithoutClearing) {
    RegisterLoggingClass("DirectUIHWND");
    ScopedWindow fileList(CreateLoggingWindow("DirectUIHWND", WS_POPUP));
    const std::vector<ExpectedMessage> ctrlV = {
        {WM_KEYDOWN, kSent | kWparam, VK_CONTROL}, {WM_KEYDOWN, kSent | kWparam, 'V'},
        {WM_COMMAND, kSent | kWparam | kLparam, 0x1001A, 0}, {WM_KEYUP, kSent | kWparam, 'V'},
        {WM_KEYUP, kSent | kWparam, VK_CONTROL}};
    const struct {
        DeliveryMethod method;
        DWORD param1, param2;
        std::vector<ExpectedMessage> messages;
    } methods[] = {
        {DeliveryMethod::Paste, 0, 0, {{WM_PASTE, kPosted | kWparam | kLparam, 0, 0}}},
        {DeliveryMethod::CtrlV, 26, 0, ctrlV},
        // Only the low 16 bits of the command are used; without one, the keys alone.
        {DeliveryMethod::CtrlV, 0x2001A, 0, ctrlV},
        {DeliveryMethod::CtrlV, 0, 0,
         {{WM_KEYDOWN, kSent | kWparam | kLparam, VK_CONTROL, 1}, {WM_KEYDOWN, kSent | kWparam | kLparam, 'V', 1},
          {WM_KEYUP, kSent | kWparam | kLparam, 'V', 1}, {WM_KEYUP, kSent | kWparam | kLparam, VK_CONTROL, 1}}},
        {DeliveryMethod::User, 3, 9, {{WM_USER + 3, kSent | kWparam | kLparam, 9, 0}}},
        // Synthesized keys go to the focus window, not to the target.
        {DeliveryMethod::Keybd, 0, 0, {}},
    };
    for (const auto& m : methods) {
        for (bool ctrl : {false, true}) {
            const std::string context = std::string(DeliveryMethodKeyName(m.method)) + (ctrl ? " with Ctrl" : "");
            m_options.Clear = ctrl;
            // The clicked field shows a caret.
            g_fake.Focus = g_fake.Caret = Target();
            EXPECT_EQ(DropOutcome::Delivered, Drop(Target(), m.method, m.param1, m.param2).Outcome) << context;
            EXPECT_SEQUENCE(Target(), DropSequence(ctrl, m.messages).data(), context.c_str());
            EXPECT_EQ("dropped\r\ntext", ClipboardText()) << context;
            // A file list gets the click and the method, never Ctrl+A and Delete.
            g_fake.Focus = fileList.Get();
            g_fake.Caret = nullptr;
            EXPECT_EQ(DropOutcome::Delivered, Drop(fileList.Get(), m.method, m.param1, m.param2).Outcome) << context;
            EXPECT_SEQUENCE(fileList.Get(), DropSequence(false, m.messages).data(), (context + ", file list").c_str());
        }
    }
    // The click's coordinates are taken modulo 65536.
    Drop(Target(), DeliveryMethod::User, 0, 0, POINT{-1, 70000});
    const ExpectedMessage wrapped[] = {
        {WM_LBUTTONDOWN, kSent | kWparam | kLparam, MK_LBUTTON, MAKELPARAM(0xFFFF, 70000 - 65536)},
        {WM_LBUTTONUP, kSent | kWparam | kLparam, 0, MAKELPARAM(0xFFFF, 70000 - 65536)},
        {WM_USER, kSent},
        {0}};
    EXPECT_SEQUENCE(Target(), wrapped, "click outside the 16-bit range");
}

TEST_F(DropTest, ACtrlDropClearsOnlyWhereTheFocusedWindowIsATextField) {
    ScopedWindow edit(CreateWindowExA(0, "Edit", "", WS_CHILD, 0, 0, 50, 20, Target(), nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
    const struct {
        const char* focusClass;  // the clicked window that has the focus
        bool caret, blinking;    // what GetGUIThreadInfo tells of the caret
        bool cleared;
    } cases[] = {
        // Known text fields, with or without a caret of the system's.
        {"Edit", false, false, true}, {"RichEdit20W", false, false, true}, {"RICHEDIT50W", false, false, true},
        {"RichEdit20A", true, true, true}, {"Internet Explorer_Server", false, false, true},
        {"Chrome_RenderWidgetHostHWND", false, false, true}, {"MozillaWindowClass", false, false, true},
        // Any window that shows a caret.
        {"JwCustomField", true, true, true}, {"JwCustomField", true, false, true},
        // A spreadsheet's grid and a word processor's page, even with a caret; file lists, the
        // desktop, anything else without one.
        {"EXCEL7", false, false, false}, {"EXCEL7", true, true, false}, {"_WwG", true, true, false},
        {"DirectUIHWND", false, false, false}, {"Progman", false, false, false}, {"JwCustomField", false, false, false},
        // No focus in the target's thread.
        {nullptr, false, false, false},
    };
    m_options.Clear = true;
    for (const auto& c : cases) {
        ScopedWindow focus;
        if (c.focusClass && std::string(c.focusClass) != "Edit") {
            RegisterLoggingClass(c.focusClass);
            focus.Reset(CreateLoggingWindow(c.focusClass, WS_CHILD, Target(), 0, 0, 50, 20));
        }
        g_fake.Focus = !c.focusClass ? nullptr : focus.Get() ? focus.Get() : edit.Get();
        g_fake.Caret = c.caret ? g_fake.Focus : nullptr;
        g_fake.CaretBlinking = c.blinking;
        MessageLog::Clear();
        const std::string context = std::string(c.focusClass ? c.focusClass : "no focus") + (c.caret ? " with a caret" : "");
        EXPECT_EQ(DropOutcome::Delivered, Drop(Target(), DeliveryMethod::User).Outcome) << context;
        EXPECT_SEQUENCE(Target(), DropSequence(c.cleared, {{WM_USER, kSent}}).data(), context.c_str());
    }
}

TEST_F(DropTest, AltHeldClicksTwiceThenDelivers) {
    keybd_event(VK_MENU, 0, 0, 0);
    if (!PumpUntil([] { return IsKeyDown(VK_MENU); }, 1000)) {
        keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
        GTEST_SKIP() << "GetAsyncKeyState does not report a keybd_event Alt here";
    }
    MessageLog::Clear();
    EXPECT_EQ(DropOutcome::Delivered, Drop(Target(), DeliveryMethod::User, 3, 9).Outcome);
    EXPECT_FALSE(IsKeyDown(VK_MENU));
    const ExpectedMessage expected[] = {
        kClick[0], kClick[1], kClick[0], kClick[1], {WM_USER + 3, kSent | kWparam | kLparam, 9, 0}, {0}};
    EXPECT_SEQUENCE(Target(), expected, "User with Alt");
}

TEST_F(DropTest, ShiftAndWindowsKeysAreReleasedBeforeKeysAreSent) {
    KeyEventLog keys;
    if (!keys.Hooked()) GTEST_SKIP() << "no low-level keyboard hook here";
    const struct {
        BYTE held;
        DWORD flags;
        bool clear;
        const char* expected;
    } cases[] = {
        // Shift (to drop the Explanation) still down: Ctrl+V, not Ctrl+Shift+V.
        {VK_LSHIFT, 0, false, "-A0 +11 +56 -56 -11 "},
        // The Windows key is let go after a key that means nothing, so no Start menu opens.
        {VK_LWIN, KEYEVENTF_EXTENDEDKEY, false, "+E8 -E8 -5B +11 +56 -56 -11 "},
        // A Ctrl-drop: Shift goes before the clearing messages, and once only.
        {VK_LSHIFT, 0, true, "-A0 +11 +56 -56 -11 "},
        // Nothing held: exactly the four keys.
        {0, 0, false, "+11 +56 -56 -11 "},
    };
    g_fake.Focus = g_fake.Caret = Target();  // a field with a caret
    for (const auto& c : cases) {
        const BYTE scan = static_cast<BYTE>(MapVirtualKeyA(c.held, MAPVK_VK_TO_VSC));
        if (c.held) keybd_event(c.held, scan, c.flags, 0);
        if (c.held && !PumpUntil([&] { return IsKeyDown(c.held); }, 1000)) {
            keybd_event(c.held, scan, c.flags | KEYEVENTF_KEYUP, 0);
            GTEST_SKIP() << "GetAsyncKeyState does not report a keybd_event key " << static_cast<int>(c.held) << " here";
        }
        m_options.Clear = c.clear;
        keys.Take();  // the user's own press
        MessageLog::Clear();
        EXPECT_EQ(DropOutcome::Delivered, Drop(Target(), DeliveryMethod::Keybd).Outcome);
        EXPECT_EQ(c.expected, keys.Take()) << "held " << static_cast<int>(c.held) << (c.clear ? " with clearing" : "");
        EXPECT_SEQUENCE(Target(), DropSequence(c.clear, {}).data(), "keyboard drop");
        EXPECT_FALSE(c.held && IsKeyDown(c.held));
    }
}

TEST_F(DropTest, KeybdRuleTypesItsOwnKey) {
    KeyEventLog keys;
    if (!keys.Hooked()) GTEST_SKIP() << "no low-level keyboard hook here";
    const struct {
        DWORD param1;
        const char* expected;
    } cases[] = {
        {0, "+11 +56 -56 -11 "},                       // the default: Ctrl+V
        {kShiftInsertKey, "+10 +2D -2D -10 "},         // terminals
        {kKeyControl | kKeyAlt | 'P', "+11 +12 +50 -50 -12 -11 "},
        {kKeyShift, "+11 +56 -56 -11 "},               // modifiers without a key: Ctrl+V
    };
    for (const auto& c : cases) {
        keys.Take();
        MessageLog::Clear();
        EXPECT_EQ(DropOutcome::Delivered, Drop(Target(), DeliveryMethod::Keybd, c.param1).Outcome);
        EXPECT_EQ(c.expected, keys.Take()) << std::hex << c.param1;
        EXPECT_SEQUENCE(Target(), DropSequence(false, {}).data(), "keyboard drop");
    }
}

TEST_F(DropTest, BlockedOrHungTargetGetsNothingAndTheTextStaysOnTheClipboard) {
    const ExpectedMessage nothing[] = {{0}};
    const struct {
        HWND* fakeField;
        DropOutcome outcome;
        UINT notice;
    } cases[] = {
        {&g_fake.Blocked, DropOutcome::Blocked, IDS_DROP_BLOCKED},
        {&g_fake.DeniedSends, DropOutcome::Blocked, IDS_DROP_BLOCKED},
        {&g_fake.Hung, DropOutcome::StoppedAnswering, IDS_DROP_NOT_ANSWERING},
    };
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof(exe));
    std::string name = exe;
    name = name.substr(name.find_last_of("\\/") + 1);
    for (const auto& c : cases) {
        for (DeliveryMethod method : {DeliveryMethod::Paste, DeliveryMethod::Keybd}) {
            g_fake = FakeSystemState();
            *c.fakeField = Target();
            m_options.Clear = true;
            KeyEventLog keys;
            const DropResult result = Drop(Target(), method);
            EXPECT_EQ(c.outcome, result.Outcome) << DeliveryMethodKeyName(method);
            EXPECT_SEQUENCE(Target(), nothing, "blocked or hung target");
            EXPECT_EQ("", keys.Take()) << "no keys for a target that cannot take them";
            EXPECT_EQ("dropped\r\ntext", ClipboardText());
            // The notice names the program (this test's own file here).
            const std::wstring notice = DropNoticeText(result);
            EXPECT_EQ(std::wstring(name.begin(), name.end()), result.Program);
            EXPECT_NE(std::wstring::npos, notice.find(result.Program)) << "string " << c.notice;
            EXPECT_EQ(std::wstring::npos, notice.find(L"%1"));
        }
    }
}

TEST_F(DropTest, NoticeBalloonShowsAtThePointer) {
    DropResult result;
    result.Outcome = DropOutcome::Blocked;
    result.Program = L"\u30E1\u30E2\u5E33.exe";
    const std::wstring text = DropNoticeText(result);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(DropNoticeText(DropResult()).empty()) << "nothing to say about a delivered drop";
    CDropNotice notice;
    ASSERT_TRUE(notice.Show(s_focus, POINT{300, 300}, DropNoticeTitle(), text));
    PumpMessages(100);
    EXPECT_TRUE(IsWindowVisible(notice.GetSafeHwnd()));
    wchar_t shown[512] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = s_focus;
    tool.uId = 1;
    tool.lpszText = shown;
    SendMessageW(notice.GetSafeHwnd(), TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(text, std::wstring(shown));
    notice.Hide();
    PumpMessages(50);
    EXPECT_FALSE(IsWindowVisible(notice.GetSafeHwnd()));
}

TEST_F(DropTest, NothingIsDroppedOnJotwellsOwnWindow) {
    m_options.OwnWindow = Target();
    EXPECT_EQ(DropOutcome::Nothing, Drop(Target(), DeliveryMethod::Paste).Outcome);
    const ExpectedMessage nothing[] = {{0}};
    EXPECT_SEQUENCE(Target(), nothing, "own window");
    EXPECT_EQ("before", ClipboardText());
}

namespace {

// Windows 10 at 150 % as the DPI functions answer: a target whose client area starts at
// (300, 150) in physical pixels, (200, 100) for an unaware thread; the pointer at physical
// (450, 330), logical (300, 220). Contexts: 1 unaware, 2 per-monitor aware.
struct FakeDpi {
    DpiContext Thread = nullptr;
    DpiContext Target = nullptr;
    DpiContext Jotwell = nullptr;  // the context of Jotwell's windows (8.1: its process)
    int Switches = 0;
};
FakeDpi g_dpi;
const DpiContext kUnaware = reinterpret_cast<DpiContext>(1);
const DpiContext kPerMonitor = reinterpret_cast<DpiContext>(2);

POINT Scaled(POINT p, DpiContext context) {
    return context == kPerMonitor ? p : POINT{p.x * 2 / 3, p.y * 2 / 3};
}
BOOL WINAPI FakeCursor(POINT* p) {
    *p = Scaled(POINT{450, 330}, g_dpi.Thread);
    return TRUE;
}
BOOL WINAPI FakeScreenToClient(HWND, POINT* p) {
    const POINT origin = Scaled(POINT{300, 150}, g_dpi.Thread);
    p->x -= origin.x;
    p->y -= origin.y;
    return TRUE;
}
BOOL WINAPI FakeClientToScreen(HWND, POINT* p) {
    const POINT origin = Scaled(POINT{300, 150}, g_dpi.Thread);
    p->x += origin.x;
    p->y += origin.y;
    return TRUE;
}
DpiContext WINAPI FakeWindowContext(HWND) { return g_dpi.Target; }
DpiContext WINAPI FakeThreadContext() { return g_dpi.Thread; }
BOOL WINAPI FakeContextsEqual(DpiContext a, DpiContext b) { return a == b; }
DpiContext WINAPI FakeSetThreadContext(DpiContext context) {
    ++g_dpi.Switches;
    const DpiContext previous = g_dpi.Thread;
    g_dpi.Thread = context;
    return previous;
}
// Jotwell's own window: from its units to physical; the target: from physical to its units.
BOOL WINAPI FakeLogicalToPhysical(HWND, POINT* p) {
    if (g_dpi.Jotwell == kUnaware) *p = POINT{p->x * 3 / 2, p->y * 3 / 2};
    return TRUE;
}
BOOL WINAPI FakePhysicalToLogical(HWND, POINT* p) {
    *p = Scaled(*p, g_dpi.Target);
    return TRUE;
}

}  // namespace

TEST_F(DropTest, ClickPointIsInTheTargetsDpiContext) {
    const struct {
        bool windows10;  // else 8.1
        DpiContext jotwell, target;
        POINT expected;
    } cases[] = {
        {true, kUnaware, kPerMonitor, {150, 180}},  {true, kPerMonitor, kPerMonitor, {150, 180}},
        {true, kPerMonitor, kUnaware, {100, 120}},  {true, kUnaware, kUnaware, {100, 120}},
        {false, kUnaware, kPerMonitor, {150, 180}}, {false, kPerMonitor, kPerMonitor, {150, 180}},
        {false, kPerMonitor, kUnaware, {100, 120}}, {false, kUnaware, kUnaware, {100, 120}},
    };
    for (const auto& c : cases) {
        g_dpi = FakeDpi();
        g_dpi.Thread = g_dpi.Jotwell = c.jotwell;
        g_dpi.Target = c.target;
        m_options.OwnWindow = s_focus;  // its rectangle lies away from the points below
        m_system.GetCursorPos = &FakeCursor;
        m_system.ScreenToClient = &FakeScreenToClient;
        m_system.ClientToScreen = &FakeClientToScreen;
        m_system.GetWindowDpiAwarenessContext = c.windows10 ? &FakeWindowContext : nullptr;
        m_system.GetThreadDpiAwarenessContext = c.windows10 ? &FakeThreadContext : nullptr;
        m_system.SetThreadDpiAwarenessContext = c.windows10 ? &FakeSetThreadContext : nullptr;
        m_system.AreDpiAwarenessContextsEqual = c.windows10 ? &FakeContextsEqual : nullptr;
        m_system.LogicalToPhysicalPointForPerMonitorDPI = &FakeLogicalToPhysical;
        m_system.PhysicalToLogicalPointForPerMonitorDPI = &FakePhysicalToLogical;
        // The release point as Jotwell's thread sees it.
        const POINT screen = Scaled(POINT{450, 330}, c.jotwell);
        const std::string context = std::string(c.windows10 ? "10" : "8.1") + (c.jotwell == kUnaware ? ", unaware" : ", aware") +
                                    " Jotwell, " + (c.target == kUnaware ? "unaware" : "aware") + " target";
        const DropResult result = DeliverEntry(Target(), screen, DestinationMatch{DeliveryMethod::User, {}}, m_options, m_system);
        EXPECT_EQ(DropOutcome::Delivered, result.Outcome) << context;
        const ExpectedMessage sent[] = {
            {WM_LBUTTONDOWN, kSent | kLparam, 0, MAKELPARAM(c.expected.x, c.expected.y)},
            {WM_LBUTTONUP, kSent | kLparam, 0, MAKELPARAM(c.expected.x, c.expected.y)},
            {WM_USER, kSent},
            {0}};
        EXPECT_SEQUENCE(Target(), sent, context.c_str());
        EXPECT_EQ(c.jotwell, g_dpi.Thread) << context << ": the thread's own context comes back";
        // Switched there and back only for a target of another awareness.
        EXPECT_EQ(c.windows10 && c.jotwell != c.target ? 2 : 0, g_dpi.Switches) << context;
    }
    // Windows 7: the conversion as the system makes it.
    m_system = FakeWindows7();
    EXPECT_EQ(DropOutcome::Delivered, Drop(Target(), DeliveryMethod::User).Outcome);
    EXPECT_SEQUENCE(Target(), DropSequence(false, {{WM_USER, kSent}}).data(), "Windows 7");
}
