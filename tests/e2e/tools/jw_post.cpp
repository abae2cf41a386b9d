// Posts (or with "send", sends) a message to the top-level window with the given title:
//   jw_post.exe [--class CLASS] TITLE MESSAGE [WPARAM [LPARAM [send]]]
// Numbers in decimal or 0x hex. Exits 0 when the window was found and the call
// succeeded, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const char* className = nullptr;
    if (argc > 2 && std::strcmp(argv[1], "--class") == 0) {
        className = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: jw_post [--class CLASS] TITLE MESSAGE [WPARAM [LPARAM [send]]]\n");
        return 2;
    }
    HWND window = FindWindowA(className, argv[1]);
    if (!window) return 1;
    const UINT message = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
    const WPARAM wParam = argc > 3 ? static_cast<WPARAM>(std::strtoul(argv[3], nullptr, 0)) : 0;
    const LPARAM lParam = argc > 4 ? static_cast<LPARAM>(std::strtol(argv[4], nullptr, 0)) : 0;
    if (argc > 5 && std::strcmp(argv[5], "send") == 0) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result) ? 0 : 1;
    }
    return PostMessageA(window, message, wParam, lParam) ? 0 : 1;
}
