// Test helper: keeps the clipboard open from another process.
// Usage: clipboard_holder READY_EVENT RELEASE_EVENT
//   Opens the clipboard, signals READY_EVENT, and closes it again once RELEASE_EVENT is
//   signalled (or after 30 seconds, so a failed test cannot leave it held).
// Usage: clipboard_holder --for SECONDS
//   Opens the clipboard, prints "holding" (for a script waiting on its output), and closes it
//   again after SECONDS.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--for") == 0) {
        if (!OpenClipboard(nullptr)) return 4;
        std::printf("holding\n");
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(std::atof(argv[2]) * 1000));
        CloseClipboard();
        return 0;
    }
    if (argc != 3) return 2;
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    if (!ready || !release) return 3;
    if (!OpenClipboard(nullptr)) return 4;
    SetEvent(ready);
    WaitForSingleObject(release, 30000);
    CloseClipboard();
    CloseHandle(ready);
    CloseHandle(release);
    return 0;
}
