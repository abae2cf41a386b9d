#include "view/Delivery.h"

#include "framework/Handles.h"
#include "framework/KeyState.h"
#include "tests/win/MessageLog.h"

#include <gtest/gtest.h>

#include <atomic>
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
        // Message targets need not be shown; keyboard input (the Alt that ClickAt
        // releases, for one) goes to the focus window instead.
        m_target.Reset(CreateLoggingWindow(kTargetClass, WS_POPUP));
        ASSERT_NE(nullptr, m_target.Get());
        SetForegroundWindow(s_focus);
        SetFocus(s_focus);
        PumpMessages(50);
        MessageLog::Clear();
    }
    void TearDown() override { MessageLog::Clear(); }

    HWND Target() const { return m_target.Get(); }

    static HWND s_focus;
    ScopedWindow m_target;
};

HWND DeliveryTest::s_focus = nullptr;

// Runs a window on its own thread whose procedure handles WM_USER+3 (and key-down and
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

const ExpectedMessage kClickAt10x20[] = {
    {WM_LBUTTONDOWN, kSent | kWparam | kLparam, MK_LBUTTON, MAKELPARAM(10, 20)},
    {WM_LBUTTONUP, kSent | kWparam | kLparam, 0, MAKELPARAM(10, 20)},
    {0}};

}  // namespace

TEST_F(DeliveryTest, ClickAtSendsOneButtonPairAtThePoint) {
    ASSERT_FALSE(IsKeyDown(VK_MENU));
    EXPECT_TRUE(ClickAt(Target(), 10, 20));
    EXPECT_SEQUENCE(Target(), kClickAt10x20, "click");

    // Coordinates are taken modulo 65536.
    ClickAt(Target(), -1, 70000);
    const ExpectedMessage wrapped[] = {
        {WM_LBUTTONDOWN, kSent | kWparam | kLparam, MK_LBUTTON, MAKELPARAM(0xFFFF, 70000 - 65536)},
        {WM_LBUTTONUP, kSent | kWparam | kLparam, 0, MAKELPARAM(0xFFFF, 70000 - 65536)},
        {0}};
    EXPECT_SEQUENCE(Target(), wrapped, "click outside the 16-bit range");
}

TEST_F(DeliveryTest, ClickAtWithAltHeldReleasesAltAndClicksTwice) {
    keybd_event(VK_MENU, 0, 0, 0);
    if (!PumpUntil([] { return IsKeyDown(VK_MENU); }, 1000)) {
        keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
        GTEST_SKIP() << "GetAsyncKeyState does not report a keybd_event Alt here";
    }
    MessageLog::Clear();
    ClickAt(Target(), 10, 20);
    EXPECT_FALSE(IsKeyDown(VK_MENU)) << "Alt released for the system before the second click";
    const ExpectedMessage twice[] = {
        {WM_LBUTTONDOWN, kSent | kWparam | kLparam, MK_LBUTTON, MAKELPARAM(10, 20)},
        {WM_LBUTTONUP, kSent | kWparam | kLparam, 0, MAKELPARAM(10, 20)},
        {WM_LBUTTONDOWN, kSent | kWparam | kLparam, MK_LBUTTON, MAKELPARAM(10, 20)},
        {WM_LBUTTONUP, kSent | kWparam | kLparam, 0, MAKELPARAM(10, 20)},
        {0}};
    EXPECT_SEQUENCE(Target(), twice, "click with Alt");
    PumpMessages(50);
}

TEST_F(DeliveryTest, ClearTargetSendsCtrlADelete) {
    ClearTarget(Target());
    const ExpectedMessage expected[] = {
        {WM_KEYDOWN, kSent | kWparam | kLparam, VK_CONTROL, 1}, {WM_KEYDOWN, kSent | kWparam | kLparam, 'A', 1},
        {WM_KEYUP, kSent | kWparam | kLparam, 'A', 1},         {WM_KEYUP, kSent | kWparam | kLparam, VK_CONTROL, 1},
        {WM_KEYDOWN, kSent | kWparam | kLparam, VK_DELETE, 1}, {WM_KEYUP, kSent | kWparam | kLparam, VK_DELETE, 1},
        {0}};
    EXPECT_SEQUENCE(Target(), expected, "clear");
}

TEST_F(DeliveryTest, CtrlVWithAndWithoutCommand) {
    EXPECT_TRUE(DeliverByCtrlV(Target(), 26));
    const ExpectedMessage withCommand[] = {
        {WM_KEYDOWN, kSent | kWparam | kLparam, VK_CONTROL, 1},
        {WM_KEYDOWN, kSent | kWparam | kLparam, 'V', 1},
        {WM_COMMAND, kSent | kWparam | kLparam, 0x1001A, 0},
        {WM_KEYUP, kSent | kWparam | kLparam, 'V', 1},
        {WM_KEYUP, kSent | kWparam | kLparam, VK_CONTROL, 1},
        {0}};
    EXPECT_SEQUENCE(Target(), withCommand, "Ctrl+V with command 26");

    // Only the low 16 bits of the command are used.
    EXPECT_TRUE(DeliverByCtrlV(Target(), 0x2001A));
    EXPECT_SEQUENCE(Target(), withCommand, "Ctrl+V with command 0x2001A");

    EXPECT_TRUE(DeliverByCtrlV(Target(), 0));
    const ExpectedMessage keysOnly[] = {
        {WM_KEYDOWN, kSent | kWparam | kLparam, VK_CONTROL, 1},
        {WM_KEYDOWN, kSent | kWparam | kLparam, 'V', 1},
        {WM_KEYUP, kSent | kWparam | kLparam, 'V', 1},
        {WM_KEYUP, kSent | kWparam | kLparam, VK_CONTROL, 1},
        {0}};
    EXPECT_SEQUENCE(Target(), keysOnly, "Ctrl+V without command");
}

TEST_F(DeliveryTest, UserMessageAboveWmUser) {
    EXPECT_TRUE(DeliverByUser(Target(), 3, 9));
    const ExpectedMessage expected[] = {{WM_USER + 3, kSent | kWparam | kLparam, 9, 0}, {0}};
    EXPECT_SEQUENCE(Target(), expected, "user message");
}

TEST_F(DeliveryTest, PasteIsPostedNotSent) {
    EXPECT_TRUE(DeliverByPaste(Target()));
    const ExpectedMessage nothing[] = {{0}};
    EXPECT_SEQUENCE(Target(), nothing, "before the queue is pumped");
    PumpMessages(100);
    const ExpectedMessage posted[] = {{WM_PASTE, kPosted | kWparam | kLparam, 0, 0}, {0}};
    EXPECT_SEQUENCE(Target(), posted, "paste");
}

TEST_F(DeliveryTest, DestroyedWindowGetsNothing) {
    HWND gone = Target();
    m_target.Reset();
    ASSERT_FALSE(IsWindow(gone));
    PumpMessages(20);
    MessageLog::Clear();
    EXPECT_FALSE(DeliverByPaste(gone));
    EXPECT_FALSE(DeliverByCtrlV(gone, 26));
    EXPECT_FALSE(DeliverByUser(gone, 3, 9));
    EXPECT_FALSE(DeliverByPaste(nullptr));
    EXPECT_FALSE(DeliverByCtrlV(nullptr, 0));
    EXPECT_FALSE(DeliverByUser(nullptr, 0, 0));
    PumpMessages(50);
    const ExpectedMessage nothing[] = {{0}};
    EXPECT_SEQUENCE(nullptr, nothing, "destroyed window");
}

TEST_F(DeliveryTest, ActivateTopLevelNeedsCaptionOrBorder) {
    ScopedWindow popup(CreateLoggingWindow(kTargetClass, WS_POPUP));
    ActivateTopLevel(popup.Get());
    EXPECT_FALSE(IsWindowVisible(popup.Get()));

    ScopedWindow framed(CreateLoggingWindow(kTargetClass, WS_OVERLAPPEDWINDOW));
    ActivateTopLevel(framed.Get());
    PumpMessages(50);
    EXPECT_TRUE(IsWindowVisible(framed.Get()));
    EXPECT_EQ(framed.Get(), GetForegroundWindow());
    ActivateTopLevel(nullptr);
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

TEST_F(DeliveryTest, ClipboardHeldByAnotherProgramKeepsItsContents) {
    ASSERT_TRUE(PutTextOnClipboard(Target(), "old"));

    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof(exe));
    std::string holder = exe;
    holder = holder.substr(0, holder.find_last_of("\\/") + 1) + "clipboard_holder.exe";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(holder.c_str())) << holder << " is not built";

    const std::string readyName = "JotwellTestsClipboardReady" + std::to_string(GetCurrentProcessId());
    const std::string releaseName = "JotwellTestsClipboardRelease" + std::to_string(GetCurrentProcessId());
    UniqueHandle ready(CreateEventA(nullptr, TRUE, FALSE, readyName.c_str()));
    UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str()));
    std::string commandLine = "\"" + holder + "\" " + readyName + " " + releaseName;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(holder.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    const HANDLE waitFor[] = {ready.Get(), processHandle.Get()};
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, waitFor, FALSE, 10000)) << "holder did not open the clipboard";

    EXPECT_FALSE(PutTextOnClipboard(Target(), "new"));

    SetEvent(release.Get());
    WaitForSingleObject(processHandle.Get(), 10000);
    EXPECT_EQ("old", ClipboardText());
}

TEST_F(DeliveryTest, EditControlIsClearedAndPastedInto) {
    ScopedWindow edit(CreateWindowExA(0, "Edit", "old text", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 5, 5, 200, 80,
                                      Target(), nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_NE(nullptr, edit.Get());
    SubclassForLogging(edit.Get());

    // ClearTarget runs while the user holds Ctrl; the control checks the key state.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    ClearTarget(edit.Get());
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ("", WindowText(edit.Get()));

    ASSERT_TRUE(PutTextOnClipboard(Target(), "line one\\nline two"));
    MessageLog::Clear();
    EXPECT_TRUE(DeliverByPaste(edit.Get()));
    PumpMessages(200);
    const ExpectedMessage pasted[] = {{WM_PASTE, kPosted | kWparam | kLparam, 0, 0}, {0}};
    EXPECT_SEQUENCE(edit.Get(), pasted, "edit control paste");
    EXPECT_EQ("line one\r\nline two", WindowText(edit.Get()));
}

TEST_F(DeliveryTest, KeyboardCtrlVReachesTheFocusedEdit) {
    ScopedWindow edit(CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 5, 5, 200, 24, s_focus, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
    SetForegroundWindow(s_focus);
    SetFocus(edit.Get());
    PumpMessages(50);
    ASSERT_TRUE(PutTextOnClipboard(s_focus, "typed"));
    const DWORD start = GetTickCount();
    EXPECT_TRUE(DeliverByKeybd());
    EXPECT_GE(GetTickCount() - start, 30u);  // four pauses of 10 ms
    if (!PumpUntil([&] { return !WindowText(edit.Get()).empty(); }, 2000) && GetForegroundWindow() != s_focus)
        GTEST_SKIP() << "the test window is not in the foreground, so keyboard input goes elsewhere";
    EXPECT_EQ("typed", WindowText(edit.Get()));
}

TEST_F(DeliveryTest, ResponsiveTargetOnAnotherThreadIsWaitedFor) {
    std::atomic<bool> handled{false};
    ThreadWindow slow([&] {
        Sleep(300);
        handled = true;
    });
    ASSERT_NE(nullptr, slow.Get());
    EXPECT_TRUE(DeliverByUser(slow.Get(), 3, 9));
    EXPECT_TRUE(handled) << "returned before the target had handled the message";
}

TEST_F(DeliveryTest, HungTargetDoesNotFreezeTheSender) {
    UniqueHandle unblock(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HANDLE event = unblock.Get();
    ThreadWindow hung([event] { WaitForSingleObject(event, 60000); });
    ASSERT_NE(nullptr, hung.Get());

    DWORD start = GetTickCount();
    EXPECT_FALSE(DeliverByUser(hung.Get(), 3, 9));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_LT(elapsed, kDeliverySendTimeoutMs + 1000);
    std::printf("hung target, user message: returned after %lu ms\n", static_cast<unsigned long>(elapsed));

    // A sequence gives up after the first unanswered message instead of waiting for each.
    start = GetTickCount();
    EXPECT_FALSE(DeliverByCtrlV(hung.Get(), 26));
    ClearTarget(hung.Get());
    elapsed = GetTickCount() - start;
    EXPECT_LT(elapsed, 2 * kDeliverySendTimeoutMs + 1000);
    std::printf("hung target, Ctrl+V and clear: returned after %lu ms\n", static_cast<unsigned long>(elapsed));

    // The click tells the drop that the target stopped answering; by now it counts as hung.
    start = GetTickCount();
    EXPECT_FALSE(ClickAt(hung.Get(), 1, 1));
    EXPECT_LT(GetTickCount() - start, kDeliverySendTimeoutMs + 1000);
    EXPECT_FALSE(ClickAt(nullptr, 1, 1));

    SetEvent(event);
}

TEST_F(DeliveryTest, StoppedAnsweringAsksAWindowTheSystemCallsHung) {
    UniqueHandle unblock(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HANDLE event = unblock.Get();
    // Busy until released, then a moment more before it takes messages again.
    ThreadWindow busy([event] {
        WaitForSingleObject(event, 60000);
        Sleep(300);
    });
    ASSERT_NE(nullptr, busy.Get());
    EXPECT_FALSE(StoppedAnswering(busy.Get()));
    PostMessageA(busy.Get(), WM_USER + 3, 9, 0);
    // The system calls a window hung once its thread has taken no message for 5 s.
    for (int i = 0; i < 100 && !IsHungAppWindow(busy.Get()); ++i) Sleep(100);
    ASSERT_TRUE(IsHungAppWindow(busy.Get()));
    const DWORD start = GetTickCount();
    EXPECT_TRUE(StoppedAnswering(busy.Get()));
    EXPECT_LT(GetTickCount() - start, kHungConfirmTimeoutMs + 1000);
    // Released, it is called hung until it takes a message, and answers within the wait.
    SetEvent(event);
    ASSERT_TRUE(IsHungAppWindow(busy.Get()));
    EXPECT_FALSE(StoppedAnswering(busy.Get()));
}
