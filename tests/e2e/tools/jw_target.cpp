// Test target for the end-to-end drop tests: windows of chosen classes that log every
// message they receive (noise such as mouse moves, hit tests and painting left out) to a
// file, one line each, with the moment of arrival on the high-resolution clock.
//
// Usage: jw_target LOGFILE [HANG_SECONDS]
// Windows (title: child class):
//   "JW Target IE"     : "Internet Explorer_Server" child (default CtrlV rule, command 26)
//   "JW Target User"   : "JwUserPane" child (a User rule the test registers)
//   "JW Target Keybd"  : "JwKeybdPane" child (no rule: keyboard input)
//   "JW Target Paste"  : "JwPastePane" child (a Paste rule the test registers)
//   "JW Target Popup"  : a borderless WS_POPUP of class "JwPopupPane" (no caption, no border)
//   "JW Target Files"  : "DirectUIHWND" child (a file list as Explorer shows one: no rule)
//   "JW Target Excel"  : "EXCEL7" child (a spreadsheet's grid: no rule)
//   "JW Target Word"   : "_WwG" child (a word processor's page: no rule)
//   "JW Target Rich"   : "RichEdit20W" child (a rich edit field; the test registers a Paste rule)
//   "JW Target Hung"   : "JwHungPane" child on a thread of its own, which stops answering for
//                        HANG_SECONDS (40 unless given) in its WM_LBUTTONDOWN handler and then
//                        logs "<qpc> HUNG-WOKE"
// A pane takes the keyboard focus when clicked, and its frame gives the focus back to it
// when activated, as a real application's field would.
// Log line: "<qpc> <top-level title>|<class> <S|P> <message hex> <name> <wParam hex> <lParam hex>"
// WM_PASTE lines also carry " text=<clipboard text, \r and \n escaped>": like a program that
// pastes, a pane waits for the clipboard (up to 10 s) while another program holds it open.
// The low-level mouse hook adds "<qpc> LL-LBUTTONUP" for each left-button release that
// the system sees, so the figures can measure from the release on the same clock; the
// low-level keyboard hook adds "<qpc> LL-KEY +10" (down) or "-10" (up) with the key code in
// hexadecimal for every key event of the system, physical or synthesized, in order.
#include <windows.h>

#include "tests/win/MessageNames.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

FILE* g_log = nullptr;
LARGE_INTEGER g_freq = {};
DWORD g_hangMs = 40000;

long long Now() {
    LARGE_INTEGER t = {};
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

bool IsNoise(UINT m) {
    switch (m) {
    case WM_NCHITTEST: case WM_SETCURSOR: case WM_MOUSEMOVE: case WM_NCMOUSEMOVE: case WM_PAINT:
    case WM_NCPAINT: case WM_ERASEBKGND: case WM_GETICON: case WM_GETOBJECT: case WM_TIMER:
    case WM_GETTEXT: case WM_GETTEXTLENGTH: case WM_MOUSEACTIVATE: case 0x02A1 /*WM_MOUSEHOVER*/:
    case 0x02A3 /*WM_MOUSELEAVE*/: case WM_NCMOUSELEAVE: case WM_GETMINMAXINFO: case WM_CTLCOLORSTATIC:
        return true;
    default:
        return m >= 0xC000;
    }
}

std::string Escape(const char* s) {
    std::string out;
    for (; *s; ++s) {
        if (*s == '\r') out += "\\r";
        else if (*s == '\n') out += "\\n";
        else out += *s;
    }
    return out;
}

std::string ClipboardText(HWND owner) {
    std::string text = "<none>";
    for (int i = 0; i < 2000 && !OpenClipboard(owner); ++i) Sleep(5);
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = Escape(p);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void Log(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
    const long long t = Now();
    char title[128] = {};
    HWND top = GetAncestor(hwnd, GA_ROOT);
    GetWindowTextA(top ? top : hwnd, title, sizeof(title));
    for (char* p = title; *p; ++p)
        if (*p == ' ') *p = '_';
    char cls[128] = {};
    GetClassNameA(hwnd, cls, sizeof(cls));
    for (char* p = cls; *p; ++p)
        if (*p == ' ') *p = '_';
    const bool sent = InSendMessage() != FALSE;
    std::string extra;
    if (m == WM_PASTE) extra = " text=" + ClipboardText(hwnd);
    std::fprintf(g_log, "%lld %s|%s %s 0x%04X %s 0x%lX 0x%lX%s\n", t, title, cls, sent ? "S" : "P", m,
                 MessageName(m).c_str(), static_cast<unsigned long>(w), static_cast<unsigned long>(l), extra.c_str());
    std::fflush(g_log);
}

LRESULT CALLBACK PaneProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
    if (!IsNoise(m)) Log(hwnd, m, w, l);
    if (m == WM_LBUTTONDOWN && GetParent(hwnd)) SetFocus(hwnd);  // a field takes the focus; the pop-up does not
    if (m == WM_PASTE || m == WM_COMMAND || (m >= WM_USER && m < 0x8000)) return 0;
    return DefWindowProcA(hwnd, m, w, l);
}

LRESULT CALLBACK HungPaneProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_LBUTTONDOWN) {
        Log(hwnd, m, w, l);
        Sleep(g_hangMs);
        std::fprintf(g_log, "%lld HUNG-WOKE - - - 0x0 0x0\n", Now());
        std::fflush(g_log);
        return 0;
    }
    return PaneProc(hwnd, m, w, l);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
    if (!IsNoise(m)) Log(hwnd, m, w, l);
    HWND pane = GetWindow(hwnd, GW_CHILD);
    if (m == WM_SIZE && pane) MoveWindow(pane, 0, 0, LOWORD(l), HIWORD(l), TRUE);
    if ((m == WM_SETFOCUS) && pane) { SetFocus(pane); return 0; }
    if (m == WM_ACTIVATE && LOWORD(w) != WA_INACTIVE && pane) { SetFocus(pane); return 0; }
    if (m == WM_CLOSE) { PostQuitMessage(0); return 0; }
    return DefWindowProcA(hwnd, m, w, l);
}

LRESULT CALLBACK MouseHook(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION && w == WM_LBUTTONUP) {
        std::fprintf(g_log, "%lld LL-LBUTTONUP - - - 0x0 0x0\n", Now());
        std::fflush(g_log);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(l);
        std::fprintf(g_log, "%lld LL-KEY %c%lX - - 0x0 0x0\n", Now(), (key->flags & LLKHF_UP) ? '-' : '+',
                     static_cast<unsigned long>(key->vkCode));
        std::fflush(g_log);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

void Register(const char* name, WNDPROC proc, HBRUSH brush) {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = brush;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

void MakeFramed(const char* title, const char* paneClass, int x, int y) {
    HWND frame = CreateWindowExA(0, "JwTargetFrame", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 260, 160,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    RECT r = {};
    GetClientRect(frame, &r);
    CreateWindowExA(0, paneClass, "", WS_CHILD | WS_VISIBLE, 0, 0, r.right, r.bottom, frame, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
}

// The hung window's thread: a program of its own as far as input goes.
DWORD WINAPI HungThread(void*) {
    MakeFramed("JW Target Hung", "JwHungPane", 900, 200);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    g_log = std::fopen(argv[1], "a");
    if (!g_log) return 3;
    if (argc > 2) g_hangMs = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10) * 1000);
    QueryPerformanceFrequency(&g_freq);
    std::fprintf(g_log, "%lld START freq=%lld\n", Now(), static_cast<long long>(g_freq.QuadPart));
    std::fflush(g_log);
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    Register("JwTargetFrame", FrameProc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    for (const char* pane : {"Internet Explorer_Server", "JwUserPane", "JwKeybdPane", "JwPastePane", "JwPopupPane",
                             "DirectUIHWND", "EXCEL7", "_WwG", "RichEdit20W"})
        Register(pane, PaneProc, white);
    Register("JwHungPane", HungPaneProc, white);
    MakeFramed("JW Target IE", "Internet Explorer_Server", 600, 20);
    MakeFramed("JW Target User", "JwUserPane", 600, 200);
    MakeFramed("JW Target Keybd", "JwKeybdPane", 600, 380);
    MakeFramed("JW Target Paste", "JwPastePane", 900, 20);
    MakeFramed("JW Target Files", "DirectUIHWND", 600, 560);
    MakeFramed("JW Target Excel", "EXCEL7", 900, 560);
    MakeFramed("JW Target Word", "_WwG", 600, 740);
    MakeFramed("JW Target Rich", "RichEdit20W", 900, 740);
    CreateWindowExA(0, "JwPopupPane", "JW Target Popup", WS_POPUP | WS_VISIBLE, 900, 380, 200, 120, nullptr,
                    nullptr, GetModuleHandleA(nullptr), nullptr);
    HANDLE hung = CreateThread(nullptr, 0, &HungThread, nullptr, 0, nullptr);
    if (hung) CloseHandle(hung);
    HHOOK hook = SetWindowsHookExA(WH_MOUSE_LL, MouseHook, GetModuleHandleA(nullptr), 0);
    HHOOK keyHook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, GetModuleHandleA(nullptr), 0);
    std::fprintf(g_log, "%lld READY hook=%d keyhook=%d\n", Now(), hook ? 1 : 0, keyHook ? 1 : 0);
    std::fflush(g_log);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (hook) UnhookWindowsHookEx(hook);
    if (keyHook) UnhookWindowsHookEx(keyHook);
    std::fclose(g_log);
    return 0;
}
