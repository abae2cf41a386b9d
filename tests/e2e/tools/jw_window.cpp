// Test tool: finds a top-level window by a part of its title and talks to it.
// Usage: jw_window COMMAND TITLE [ARGS]; TITLE "class:NAME" matches visible windows of
// exactly that class instead (class:#32768 is an open pop-up menu).
//   find TITLE                     prints the window handle
//   post TITLE MSG WPARAM LPARAM   posts a message (numbers in C notation: 0x8401, 513)
//   send TITLE MSG WPARAM LPARAM   sends it and prints the result
//   sendchild TITLE ID MSG WPARAM LPARAM   sends it to child ID and prints the result
//   visible TITLE                  prints 1 or 0
//   wait TITLE shown|hidden|gone SECONDS   polls until the window is in that state
//   rect TITLE                     prints "left top width height" of the window rectangle
//   style TITLE                    prints "style exstyle" in hex
//   child TITLE ID                 prints "visible left top width height" of child ID in
//                                  client coordinates, and "client WIDTH HEIGHT"
//   move TITLE X Y W H             moves and sizes the window (SetWindowPos)
//   count TITLE                    prints how many top-level windows match
//   tray TITLE ID                  prints 1 when the window has a notification-area icon ID
//   untray TITLE ID                removes the window's notification-area icon ID, as a
//                                  restarting shell loses it
//   owner TITLE                    prints the handle of the window's owner (0 for none)
//   boxtext TITLE                  prints a message box's text as UTF-8
//   focus TITLE                    prints "FRONT CLASS": 1 when the window is the foreground
//                                  window, and the class of the focus in its thread
//   broadcast NAME                 posts the registered message NAME to every top-level window
//   hides TITLE MSG WPARAM LPARAM SECONDS  posts a message that hides the shown window and
//                                  prints the milliseconds until it is hidden: how soon the
//                                  window's thread handles posted messages again
// Exit status: 0 on success, 1 when no window matches or the wait timed out, 2 on bad usage.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Search {
    const char* part;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    char text[512] = {};
    if (std::strncmp(search->part, "class:", 6) == 0) {
        GetClassNameA(hwnd, text, sizeof(text));
        if (std::strcmp(text, search->part + 6) == 0 && IsWindowVisible(hwnd)) search->found.push_back(hwnd);
        return TRUE;
    }
    GetWindowTextA(hwnd, text, sizeof(text));
    if (std::strstr(text, search->part)) search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> FindAll(const char* part) {
    Search search = {part, {}};
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindOne(const char* part) {
    const std::vector<HWND> all = FindAll(part);
    return all.empty() ? nullptr : all.front();
}

unsigned long Number(const char* s) { return std::strtoul(s, nullptr, 0); }

// Whether a notification-area icon exists: a change that sets nothing succeeds only then.
bool HasTrayIcon(HWND hwnd, UINT id) {
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hwnd;
    nid.uID = id;
    nid.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

bool RemoveTrayIcon(HWND hwnd, UINT id) {
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hwnd;
    nid.uID = id;
    return Shell_NotifyIconA(NIM_DELETE, &nid) != FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string command = argv[1];
    const char* title = argv[2];

    if (command == "count") {
        std::printf("%u\n", static_cast<unsigned>(FindAll(title).size()));
        return 0;
    }
    if (command == "broadcast") {
        const UINT msg = RegisterWindowMessageA(title);
        return msg != 0 && PostMessageA(HWND_BROADCAST, msg, 0, 0) ? 0 : 1;
    }
    if (command == "wait" && argc == 5) {
        const std::string state = argv[3];
        const DWORD limit = GetTickCount() + static_cast<DWORD>(Number(argv[4]) * 1000);
        for (;;) {
            HWND hwnd = FindOne(title);
            const bool ok = state == "gone" ? hwnd == nullptr
                            : state == "shown" ? hwnd && IsWindowVisible(hwnd)
                            : state == "hidden" ? hwnd && !IsWindowVisible(hwnd)
                                                : false;
            if (ok) return 0;
            if (static_cast<LONG>(GetTickCount() - limit) > 0) return 1;
            Sleep(100);
        }
    }

    HWND hwnd = FindOne(title);
    if (!hwnd) {
        std::fprintf(stderr, "no window with \"%s\" in its title\n", title);
        return 1;
    }
    if (command == "find") {
        std::printf("%p\n", static_cast<void*>(hwnd));
    } else if ((command == "post" || command == "send") && argc == 6) {
        const UINT msg = static_cast<UINT>(Number(argv[3]));
        const WPARAM wParam = static_cast<WPARAM>(Number(argv[4]));
        const LPARAM lParam = static_cast<LPARAM>(Number(argv[5]));
        if (command == "post") {
            if (!PostMessageA(hwnd, msg, wParam, lParam)) return 1;
        } else {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_NORMAL, 10000, &result)) return 1;
            std::printf("%lu\n", static_cast<unsigned long>(result));
        }
    } else if (command == "sendchild" && argc == 7) {
        HWND child = GetDlgItem(hwnd, static_cast<int>(Number(argv[3])));
        DWORD_PTR result = 0;
        if (!child || !SendMessageTimeoutA(child, static_cast<UINT>(Number(argv[4])), static_cast<WPARAM>(Number(argv[5])),
                                           static_cast<LPARAM>(Number(argv[6])), SMTO_NORMAL, 10000, &result))
            return 1;
        std::printf("%lu\n", static_cast<unsigned long>(result));
    } else if (command == "hides" && argc == 7) {
        const DWORD start = GetTickCount();
        const DWORD limitMs = static_cast<DWORD>(Number(argv[6]) * 1000);
        if (!PostMessageA(hwnd, static_cast<UINT>(Number(argv[3])), static_cast<WPARAM>(Number(argv[4])),
                          static_cast<LPARAM>(Number(argv[5]))))
            return 1;
        while (IsWindowVisible(hwnd)) {
            if (GetTickCount() - start > limitMs) return 1;
            Sleep(10);
        }
        std::printf("%lu\n", static_cast<unsigned long>(GetTickCount() - start));
    } else if (command == "focus") {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        char focusClass[64] = "-";
        if (GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) && info.hwndFocus)
            GetClassNameA(info.hwndFocus, focusClass, sizeof(focusClass));
        std::printf("%d %s\n", GetForegroundWindow() == hwnd ? 1 : 0, focusClass);
    } else if (command == "visible") {
        std::printf("%d\n", IsWindowVisible(hwnd) ? 1 : 0);
    } else if (command == "rect") {
        RECT r = {};
        GetWindowRect(hwnd, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else if (command == "move" && argc == 7) {
        if (!SetWindowPos(hwnd, nullptr, static_cast<int>(std::strtol(argv[3], nullptr, 0)),
                          static_cast<int>(std::strtol(argv[4], nullptr, 0)), static_cast<int>(Number(argv[5])),
                          static_cast<int>(Number(argv[6])), SWP_NOZORDER | SWP_NOACTIVATE))
            return 1;
    } else if (command == "style") {
        std::printf("0x%08lx 0x%08lx\n", static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)),
                    static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
    } else if (command == "child" && argc == 4) {
        HWND child = GetDlgItem(hwnd, static_cast<int>(Number(argv[3])));
        if (!child) return 1;
        RECT r = {};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        RECT client = {};
        GetClientRect(hwnd, &client);
        const bool visible = (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
        std::printf("%d %ld %ld %ld %ld\nclient %ld %ld\n", visible ? 1 : 0, r.left, r.top, r.right - r.left,
                    r.bottom - r.top, client.right, client.bottom);
    } else if (command == "owner") {
        std::printf("%p\n", static_cast<void*>(GetWindow(hwnd, GW_OWNER)));
    } else if (command == "boxtext") {
        wchar_t text[1024] = {};
        GetDlgItemTextW(hwnd, 0xFFFF, text, 1024);  // the text control of a message box
        char utf8[4096] = {};
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
        std::printf("%s\n", utf8);
    } else if (command == "tray" && argc == 4) {
        std::printf("%d\n", HasTrayIcon(hwnd, static_cast<UINT>(Number(argv[3]))) ? 1 : 0);
    } else if (command == "untray" && argc == 4) {
        if (!RemoveTrayIcon(hwnd, static_cast<UINT>(Number(argv[3])))) return 1;
    } else {
        return 2;
    }
    return 0;
}
