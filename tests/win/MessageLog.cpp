#include "tests/win/MessageLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <set>

namespace {

std::mutex g_logMutex;
std::vector<LoggedMessage> g_log;
bool g_logMouseMoves = false;

// The posted message this thread's pump is dispatching right now, until its window
// procedure has logged it; anything else that arrives meanwhile was sent.
thread_local const MSG* t_dispatching = nullptr;

const char kOldProcProperty[] = "JotwellTestsOldProc";

bool IsMouseMove(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE || message == WM_MOUSELEAVE ||
           message == WM_NCMOUSELEAVE || message == WM_MOUSEHOVER || message == WM_NCMOUSEHOVER;
}

void Log(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool posted = false;
    if (t_dispatching && t_dispatching->hwnd == hwnd && t_dispatching->message == message &&
        t_dispatching->wParam == wParam && t_dispatching->lParam == lParam) {
        posted = true;
        t_dispatching = nullptr;
    }
    if (IsNoiseMessage(message)) return;
    MessageLog::Record(LoggedMessage{hwnd, message, wParam, lParam, posted});
}

// Alt pressed and released alone would open the (absent) window menu in a modal loop.
bool IsKeyMenu(UINT message, WPARAM wParam) {
    return message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU;
}

LRESULT CALLBACK LoggingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Log(hwnd, message, wParam, lParam);
    if (IsKeyMenu(message, wParam)) return 0;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK LoggingSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC oldProc = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProperty));
    Log(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
        RemovePropA(hwnd, kOldProcProperty);
    }
    return oldProc ? CallWindowProcA(oldProc, hwnd, message, wParam, lParam)
                   : DefWindowProcA(hwnd, message, wParam, lParam);
}

std::string Hex(ULONG_PTR value) {
    char text[24] = {};
    std::snprintf(text, sizeof(text), "0x%lx", static_cast<unsigned long>(value));
    return text;
}

std::string FlagsText(unsigned flags) {
    std::string text = (flags & kPosted) ? "posted" : (flags & kSent) ? "sent" : "any";
    if (flags & kOptional) text += ",optional";
    return text;
}

std::string Describe(const ExpectedMessage& row) {
    std::string text = MessageName(row.message) + " " + FlagsText(row.flags);
    text += " w=" + ((row.flags & kWparam) ? Hex(row.wParam) : std::string("*"));
    text += " l=" + ((row.flags & kLparam) ? Hex(static_cast<ULONG_PTR>(row.lParam)) : std::string("*"));
    return text;
}

std::string Describe(const LoggedMessage& row) {
    return MessageName(row.message) + (row.posted ? " posted" : " sent") + " w=" + Hex(row.wParam) +
           " l=" + Hex(static_cast<ULONG_PTR>(row.lParam));
}

bool Matches(const ExpectedMessage& expected, const LoggedMessage& actual, std::string* why) {
    if (expected.message != actual.message) {
        *why = "message differs";
        return false;
    }
    if ((expected.flags & kSent) && actual.posted) {
        *why = "posted, expected sent";
        return false;
    }
    if ((expected.flags & kPosted) && !actual.posted) {
        *why = "sent, expected posted";
        return false;
    }
    const WPARAM wMask = expected.wParamMask ? expected.wParamMask : ~static_cast<WPARAM>(0);
    if ((expected.flags & kWparam) && ((expected.wParam ^ actual.wParam) & wMask) != 0) {
        *why = "wParam differs";
        return false;
    }
    const LPARAM lMask = expected.lParamMask ? expected.lParamMask : ~static_cast<LPARAM>(0);
    if ((expected.flags & kLparam) && ((expected.lParam ^ actual.lParam) & lMask) != 0) {
        *why = "lParam differs";
        return false;
    }
    return true;
}

std::string SideBySide(const std::vector<LoggedMessage>& actual, const ExpectedMessage* expected) {
    std::vector<std::string> left;
    for (const ExpectedMessage* row = expected; row->message != 0; ++row) left.push_back(Describe(*row));
    std::vector<std::string> right;
    for (const LoggedMessage& row : actual) right.push_back(Describe(row));
    std::size_t width = std::string("expected").size();
    for (const std::string& s : left) width = std::max(width, s.size());

    std::string text = "  " + std::string("expected") + std::string(width - 8, ' ') + " | actual\n";
    const std::size_t rows = std::max(left.size(), right.size());
    for (std::size_t i = 0; i < rows; ++i) {
        const std::string l = i < left.size() ? left[i] : "";
        const std::string r = i < right.size() ? right[i] : "";
        text += "  " + l + std::string(width - l.size(), ' ') + " | " + r + "\n";
    }
    return text;
}

}  // namespace

namespace MessageLog {

void Record(const LoggedMessage& message) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    if (!g_logMouseMoves && IsMouseMove(message.message)) return;
    g_log.push_back(message);
}

std::vector<LoggedMessage> Messages(HWND window) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    std::vector<LoggedMessage> result;
    for (const LoggedMessage& m : g_log) {
        if (!window || m.hwnd == window) result.push_back(m);
    }
    return result;
}

void Clear() {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_log.clear();
}

void SetLogMouseMoves(bool log) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_logMouseMoves = log;
}

}  // namespace MessageLog

bool IsNoiseMessage(UINT message) {
    if (message >= 0xC000) return true;  // registered messages
    if (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_KEYLAST) return true;
    if (message >= WM_IME_SETCONTEXT && message <= WM_IME_KEYUP) return true;
    switch (message) {
    case WM_GETICON:
    case WM_GETOBJECT:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_MOUSEACTIVATE:
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_SYNCPAINT:
    case WM_TIMER:
    case 0x0118:  // WM_SYSTIMER (caret blink)
    case WM_DEVICECHANGE:
    case WM_DISPLAYCHANGE:
    case WM_ENTERIDLE:
    case 0x031F:  // WM_DWMNCRENDERINGCHANGED
        return true;
    default:
        return false;
    }
}

bool RegisterLoggingClass(const char* className) {
    static std::mutex mutex;
    static std::set<std::string> registered;
    std::lock_guard<std::mutex> lock(mutex);
    if (registered.count(className)) return true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = LoggingWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registered.insert(className);
    return true;
}

HWND CreateLoggingWindow(const char* className, DWORD style, HWND parent, int x, int y, int width, int height) {
    if (!RegisterLoggingClass(className)) return nullptr;
    return CreateWindowExA(0, className, className, style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

bool SubclassForLogging(HWND control) {
    const LONG_PTR oldProc = GetWindowLongPtrA(control, GWLP_WNDPROC);
    if (!oldProc || !SetPropA(control, kOldProcProperty, reinterpret_cast<HANDLE>(oldProc))) return false;
    return SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggingSubclassProc)) != 0;
}

void PumpMessages(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg = {};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            t_dispatching = &msg;
            DispatchMessageA(&msg);
            t_dispatching = nullptr;
        }
        if (done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

std::string CompareSequence(const std::vector<LoggedMessage>& actual, const ExpectedMessage* expected) {
    const ExpectedMessage* row = expected;
    std::size_t i = 0;
    std::string why;
    while (row->message != 0 && i < actual.size()) {
        std::string rowWhy;
        if (Matches(*row, actual[i], &rowWhy)) {
            ++row;
            ++i;
        } else if (row->flags & kOptional) {
            ++row;
        } else {
            why = "expected row " + std::to_string(row - expected) + " (" + Describe(*row) + "), actual row " +
                  std::to_string(i) + " (" + Describe(actual[i]) + "): " + rowWhy;
            break;
        }
    }
    if (why.empty()) {
        while (row->message != 0 && (row->flags & kOptional)) ++row;
        if (row->message != 0) why = "missing expected row " + std::to_string(row - expected) + " (" + Describe(*row) + ")";
        else if (i < actual.size()) why = "unexpected actual row " + std::to_string(i) + " (" + Describe(actual[i]) + ")";
    }
    if (why.empty()) return std::string();
    return why + "\n" + SideBySide(actual, expected);
}

void ExpectSequence(HWND window, const ExpectedMessage* expected, const char* context, const char* file, int line) {
    const std::string report = CompareSequence(MessageLog::Messages(window), expected);
    if (!report.empty()) ADD_FAILURE_AT(file, line) << context << ": " << report;
    MessageLog::Clear();
}

ClipboardHolder::ClipboardHolder() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof(exe));
    std::string holder = exe;
    holder = holder.substr(0, holder.find_last_of("\\/") + 1) + "clipboard_holder.exe";
    static int count = 0;
    const std::string id = std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++count);
    const std::string ready = "JotwellTestsClipboardReady" + id, release = "JotwellTestsClipboardRelease" + id;
    m_ready = CreateEventA(nullptr, TRUE, FALSE, ready.c_str());
    m_release = CreateEventA(nullptr, TRUE, FALSE, release.c_str());
    std::string commandLine = "\"" + holder + "\" " + ready + " " + release;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!m_ready || !m_release ||
        !CreateProcessA(holder.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    m_process = process.hProcess;
    CloseHandle(process.hThread);
    const HANDLE waitFor[] = {m_ready, m_process};
    m_holding = WaitForMultipleObjects(2, waitFor, FALSE, 10000) == WAIT_OBJECT_0;
}

void ClipboardHolder::Release() {
    if (m_process) {
        SetEvent(m_release);
        WaitForSingleObject(m_process, 10000);
        CloseHandle(m_process);
        m_process = nullptr;
    }
    for (HANDLE* event : {&m_ready, &m_release}) {
        if (*event) CloseHandle(*event);
        *event = nullptr;
    }
    m_holding = false;
}
