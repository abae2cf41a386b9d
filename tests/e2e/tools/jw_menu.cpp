// Test helper: reads or drives the menu bar of another process's top-level window.
// Usage:
//   jw_menu state TITLE POS     prints "enabled" or "grayed" for the menu bar item at POS
//   jw_menu command TITLE ID    posts WM_COMMAND ID to the window
// TITLE is a part of the window's title; the first visible top-level window with a
// menu bar whose title contains it is used. Exit code 0 on success, 3 when no such
// window exists, 4 when the menu cannot be read.
//
// Wine keeps a menu's state inside the process that owns it: GetMenu gives another
// process's menu handle, but GetMenuState on it fails. Then the state is read from
// the menu bar as drawn on the screen: the items are the runs of text pixels in the
// bar, and an enabled item's text is drawn in the dark menu text colour, a grayed
// one in light gray.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace {

struct Search {
    const char* part;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    char title[512] = {};
    GetWindowTextA(hwnd, title, sizeof(title));
    if (IsWindowVisible(hwnd) && GetMenu(hwnd) && std::strstr(title, search->part)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

int Brightness(DWORD pixel) {  // of a 0x00RRGGBB value: the largest channel
    const int r = static_cast<int>((pixel >> 16) & 0xFF);
    const int g = static_cast<int>((pixel >> 8) & 0xFF);
    const int b = static_cast<int>(pixel & 0xFF);
    return r > g ? (r > b ? r : b) : (g > b ? g : b);
}

// "enabled", "grayed", or null when the bar has no item at `position`.
const char* DrawnMenuItemState(HWND hwnd, int position) {
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    RECT client = {};
    GetClientRect(hwnd, &client);
    const int width = client.right;
    const int height = GetSystemMetrics(SM_CYMENU);
    if (width <= 0 || height <= 0) return nullptr;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y - height, SRCCOPY);
    SelectObject(memory, old);
    std::vector<DWORD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (bits) std::memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    // The background is the most common colour; text is anything clearly darker.
    std::map<DWORD, int> counts;
    for (DWORD& p : pixels) ++counts[p &= 0x00FFFFFF];
    DWORD background = 0;
    int most = 0;
    for (const auto& c : counts)
        if (c.second > most) { most = c.second; background = c.first; }
    const int backgroundLevel = Brightness(background);

    // Columns with text, grouped into items by gaps of at least 5 empty columns.
    int item = -1;
    int gap = 5;
    int dark = 0;
    int light = 0;
    for (int x = 0; x < width; ++x) {
        int columnDark = 0;
        int columnLight = 0;
        for (int y = 0; y < height; ++y) {
            const int level = Brightness(pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]);
            if (level < 80) ++columnDark;
            else if (level < backgroundLevel - 40) ++columnLight;
        }
        if (columnDark + columnLight == 0) { ++gap; continue; }
        if (gap >= 5) {
            if (item == position) break;
            ++item;
            dark = light = 0;
        }
        gap = 0;
        dark += columnDark;
        light += columnLight;
    }
    if (item != position) return nullptr;
    return dark >= 5 ? "enabled" : (light > 0 ? "grayed" : nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    Search search = {argv[2], nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 3;
    const long number = std::strtol(argv[3], nullptr, 10);
    if (std::strcmp(argv[1], "state") == 0) {
        const UINT state = GetMenuState(GetMenu(search.found), static_cast<UINT>(number), MF_BYPOSITION);
        if (state != static_cast<UINT>(-1)) {
            std::printf("%s\n", (state & (MF_GRAYED | MF_DISABLED)) ? "grayed" : "enabled");
            return 0;
        }
        // Under Wine without a window manager, the tray's own window may lie over the bar.
        SetWindowPos(search.found, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Sleep(300);
        const char* drawn = DrawnMenuItemState(search.found, static_cast<int>(number));
        if (!drawn) return 4;
        std::printf("%s\n", drawn);
        return 0;
    }
    if (std::strcmp(argv[1], "command") == 0) {
        return PostMessageA(search.found, WM_COMMAND, static_cast<WPARAM>(number), 0) ? 0 : 4;
    }
    return 2;
}
