// Test probe for the end-to-end tests: reads and drives a dialog of another program, found
// by its title, through its controls' identifiers.
//   jw_dialog item TITLE ID               the control's text (WM_GETTEXT, wide), printed as UTF-8
//   jw_dialog lbitems TITLE ID            the list box's items, one a line, as UTF-8
//   jw_dialog itempos TITLE ID            "x y": the middle of the control on the screen
//   jw_dialog waittext TITLE ID TEXT SEC  polls every millisecond until the control's text holds
//                                         TEXT; prints the high-resolution clock then (exit 1 on time-out)
//   jw_dialog cbsel TITLE ID N            selects item N of the combo box, as the user's choice
//                                         (CBN_SELCHANGE to the dialog)
//   jw_dialog lbsel TITLE ID N            selects item N of the list box, as the user's choice
//   jw_dialog sethotkey TITLE ID VALUE    the hotkey control's value (HKM_SETHOTKEY)
//   jw_dialog settext TITLE ID TEXT       the control's text (WM_SETTEXT)
//   jw_dialog press TITLE ID              posts the button's BN_CLICKED to the dialog
//   jw_dialog okwait TITLE OWNER          presses OK and waits until the dialog is gone and OWNER
//                                         (a window title) answers a message, that is until the
//                                         command that opened the dialog has returned; prints the ms
//                                         until then and, second, until the dialog was gone
// Exit 1 when the dialog or the control is missing.
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void PrintUtf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

std::wstring Text(HWND control) {
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
    return std::wstring(text, length);
}

long long Now() {
    LARGE_INTEGER t = {};
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    _setmode(_fileno(stdout), _O_BINARY);  // texts leave byte for byte
    const std::string cmd = argv[1];
    HWND dialog = FindWindowA(nullptr, argv[2]);
    if (!dialog) return 1;
    if (cmd == "okwait") {
        HWND owner = FindWindowA(nullptr, argv[3]);
        if (!owner) return 1;
        const DWORD start = GetTickCount();
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        while (IsWindow(dialog)) {
            if (GetTickCount() - start > 20000) return 1;
            Sleep(1);
        }
        const DWORD gone = GetTickCount() - start;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(owner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, &result)) return 1;
        std::printf("%lu %lu\n", static_cast<unsigned long>(GetTickCount() - start), static_cast<unsigned long>(gone));
        return 0;
    }
    const int id = std::atoi(argv[3]);
    HWND control = GetDlgItem(dialog, id);
    if (!control) return 1;
    if (cmd == "item") {
        PrintUtf8(Text(control));
        return 0;
    }
    if (cmd == "lbitems") {
        const LRESULT count = SendMessageW(control, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t item[1024] = {};
            if (SendMessageW(control, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= 1024) return 1;
            SendMessageW(control, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            PrintUtf8(item);
            std::printf("\n");
        }
        return 0;
    }
    if (cmd == "itempos") {
        RECT r = {};
        GetWindowRect(control, &r);
        std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return 0;
    }
    if (cmd == "waittext" && argc == 6) {
        const DWORD start = GetTickCount();
        const DWORD limit = static_cast<DWORD>(std::atoi(argv[5]) * 1000);
        const int n = MultiByteToWideChar(CP_ACP, 0, argv[4], -1, nullptr, 0);
        std::wstring wanted(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
        if (n > 1) MultiByteToWideChar(CP_ACP, 0, argv[4], -1, &wanted[0], n);
        while (Text(control).find(wanted) == std::wstring::npos) {
            if (GetTickCount() - start > limit) return 1;
            Sleep(1);
        }
        std::printf("%lld\n", Now());
        return 0;
    }
    if (cmd == "cbsel" && argc == 5) {
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(std::atoi(argv[4])), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
        return 0;
    }
    if (cmd == "lbsel" && argc == 5) {
        SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(std::atoi(argv[4])), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
        return 0;
    }
    if (cmd == "sethotkey" && argc == 5) {
        SendMessageA(control, HKM_SETHOTKEY, static_cast<WPARAM>(std::strtoul(argv[4], nullptr, 0)), 0);
        return 0;
    }
    if (cmd == "settext" && argc == 5) {
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        return 0;
    }
    if (cmd == "press") {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
        return 0;
    }
    return 2;
}
