// Message-sequence testing in the manner of Wine's user32 conformance tests: test
// windows (and subclassed real controls) record every message they get into one log;
// a test then compares the log with a table of expected rows and clears it.
//
//   static const ExpectedMessage kClick[] = {
//       {WM_LBUTTONDOWN, kSent | kWparam | kLparam, MK_LBUTTON, MAKELPARAM(10, 20)},
//       {WM_LBUTTONUP, kSent | kWparam | kLparam, 0, MAKELPARAM(10, 20)},
//       {0}};
//   EXPECT_SEQUENCE(window, kClick, "click");
#pragma once

#include <windows.h>

#include "tests/win/MessageNames.h"

#include <functional>
#include <string>
#include <vector>

// Row flags. kSent/kPosted check how the message arrived, kWparam/kLparam compare the
// parameter (after the row's masks), kOptional lets the row be absent.
enum ExpectedMessageFlags : unsigned {
    kSent = 0x1,
    kPosted = 0x2,
    kWparam = 0x4,
    kLparam = 0x8,
    kOptional = 0x10,
};

// One expected row; a table ends with {0}. wParamMask/lParamMask (0 = all bits)
// select the bits compared, for parameters that may legitimately differ elsewhere.
struct ExpectedMessage {
    UINT message = 0;
    unsigned flags = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    WPARAM wParamMask = 0;
    LPARAM lParamMask = 0;
};

struct LoggedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;
};

// The log shared by every logging window, on any thread.
namespace MessageLog {
void Record(const LoggedMessage& message);
// What was recorded, oldest first; only that window's messages unless window is null.
std::vector<LoggedMessage> Messages(HWND window = nullptr);
void Clear();
// Mouse moves come from wherever the pointer happens to be and are ignored unless asked for.
void SetLogMouseMoves(bool log);
}  // namespace MessageLog

// Registered messages, paint, IME, hit-testing, cursor and similar messages that no
// test is about.
bool IsNoiseMessage(UINT message);

// Registers a window class (once per name) whose procedure logs and then does the default.
bool RegisterLoggingClass(const char* className);

// A window of a class registered with RegisterLoggingClass. The default is a pop-up:
// Wine without a window manager waits 2 s for every framed window it hides or destroys.
HWND CreateLoggingWindow(const char* className, DWORD style = WS_POPUP | WS_VISIBLE,
                         HWND parent = nullptr, int x = 100, int y = 100, int width = 300, int height = 200);

// Makes a real control log its messages before its own procedure handles them.
bool SubclassForLogging(HWND control);

// Dispatches this thread's messages for the given time, waiting for new ones with
// MsgWaitForMultipleObjects in between (posted messages dispatched here are logged as posted).
void PumpMessages(DWORD milliseconds);

// Pumps until done() is true or the time-out passes; gives done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Empty when the logged messages match the table; otherwise a report with both
// sequences side by side.
std::string CompareSequence(const std::vector<LoggedMessage>& actual, const ExpectedMessage* expected);

// Compares window's logged messages (all windows' when null) with the table, reports a
// mismatch as a test failure at file:line, and clears the log.
void ExpectSequence(HWND window, const ExpectedMessage* expected, const char* context, const char* file, int line);
#define EXPECT_SEQUENCE(window, expected, context) ExpectSequence((window), (expected), (context), __FILE__, __LINE__)

// A window destroyed at the end of the scope (unless already gone).
class ScopedWindow {
public:
    explicit ScopedWindow(HWND window = nullptr) : m_window(window) {}
    ~ScopedWindow() { Reset(); }
    ScopedWindow(const ScopedWindow&) = delete;
    ScopedWindow& operator=(const ScopedWindow&) = delete;

    HWND Get() const { return m_window; }
    void Reset(HWND window = nullptr) {
        if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
        m_window = window;
    }

private:
    HWND m_window;
};

// Another process that holds the clipboard open from its construction until Release
// (tests/e2e/tools/clipboard_holder.cpp, built beside the test program).
class ClipboardHolder {
public:
    ClipboardHolder();
    ~ClipboardHolder() { Release(); }
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    bool Holding() const { return m_holding; }
    void Release();

private:
    HANDLE m_ready = nullptr, m_release = nullptr, m_process = nullptr;
    bool m_holding = false;
};
