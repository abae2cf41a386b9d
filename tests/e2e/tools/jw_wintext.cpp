// Prints the text of a top-level window and of every window inside it, one per line:
//   jw_wintext.exe [--class CLASS] TITLE
// Exits 1 when no such window exists.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

void PrintText(HWND window) {
    char text[4096] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 3000,
                        nullptr);
    char cls[256] = {};
    GetClassNameA(window, cls, sizeof(cls));
    std::printf("%s\t%s\n", cls, text);
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    PrintText(child);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    const char* className = nullptr;
    if (argc > 2 && std::strcmp(argv[1], "--class") == 0) {
        className = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc < 2) return 2;
    HWND window = FindWindowA(className, argv[1]);
    if (!window) return 1;
    PrintText(window);
    EnumChildWindows(window, &PrintChild, 0);
    return 0;
}
