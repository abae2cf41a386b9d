// Test probe for the end-to-end tests: reads and sets the texts of other programs' controls,
// the clipboard and Jotwell's list from a separate process, the way a test can see what
// arrived. Top-level windows are found, moved and measured by jw_window.
//   jw_gettext text [TOPCLASS [CHILDCLASS]]  text of the first CHILDCLASS child of the first
//                                          TOPCLASS window (default Notepad, Edit), by WM_GETTEXT
//                                          in its wide form, printed as UTF-8
//   jw_gettext settext TOPCLASS CHILDCLASS TEXT   TEXT taken wide from the command line (any script)
//   jw_gettext settextfile TOPCLASS CHILDCLASS FILE   the UTF-8 text of FILE (a Windows path): for a
//                                          session whose Unix locale is missing, where Wine
//                                          takes the command line as ASCII
//   jw_gettext clip                        the clipboard's CF_TEXT, "<none>" without one
//   jw_gettext setclip TEXT
//   jw_gettext clipformats                 the clipboard's formats, one a line: registered names,
//                                          else numbers (no data read, so nothing is rendered)
//   jw_gettext unmarked SECONDS            waits until the clipboard lacks the format
//                                          "ExcludeClipboardContentFromMonitorProcessing" (looked
//                                          at every millisecond, no data read); prints the
//                                          high-resolution clock then, exit 1 on time-out
//   jw_gettext markcycle SECONDS           waits until the clipboard carries that format and
//                                          then until it lacks it; prints both moments on the
//                                          high-resolution clock, exit 1 on time-out
//   jw_gettext rowpos ROW                  screen point "x y" inside row ROW of Jotwell's list
//   jw_gettext row ROW COL                 the text of column COL of that row, by LVM_GETITEMTEXTW,
//                                          printed as UTF-8
//   jw_gettext listinfo                    "count=N selected=S focused=F editing=0|1"
//   jw_gettext keystate                    "ctrl=0|1 shift=0|1 alt=0|1" as GetAsyncKeyState sees them
//   jw_gettext qpc                         the high-resolution clock now
// Output goes to stdout without a line end added to texts; exit 1 when the window is missing.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND JotwellList() {
    HWND frame = FindWindowA("JotwellFrame", nullptr);
    return frame ? FindWindowExA(frame, nullptr, "SysListView32", nullptr) : nullptr;
}

HWND FindChild(HWND parent, const char* cls) {
    HWND direct = FindWindowExA(parent, nullptr, cls, nullptr);
    if (direct) return direct;
    for (HWND c = FindWindowExA(parent, nullptr, nullptr, nullptr); c; c = FindWindowExA(parent, c, nullptr, nullptr))
        if (HWND deep = FindChild(c, cls)) return deep;
    return nullptr;
}

void PrintUtf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

int Text(const char* top, const char* child) {
    HWND t = FindWindowA(top, nullptr);
    HWND c = t ? FindChild(t, child) : nullptr;
    if (!c) return 1;
    DWORD_PTR len = 0;
    SendMessageTimeoutW(c, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len);
    std::wstring text(len + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(c, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(got);
    PrintUtf8(text);
    return 0;
}

// A block of memory in the process that owns a window: list-view messages whose lParam
// points to a structure are not carried across processes.
class RemoteBlock {
public:
    RemoteBlock(HWND owner, size_t size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) base_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteBlock() {
        if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    explicit operator bool() const { return base_ != nullptr; }
    char* Address() const { return base_; }
    void Write(const void* data, size_t n) {
        SIZE_T done = 0;
        WriteProcessMemory(process_, base_, data, n, &done);
    }
    void Read(void* data, size_t n, size_t offset = 0) const {
        SIZE_T done = 0;
        ReadProcessMemory(process_, base_ + offset, data, n, &done);
    }

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
};

int RowText(int row, int column) {
    HWND list = JotwellList();
    if (!list) return 1;
    const int capacity = 8192;
    RemoteBlock block(list, sizeof(LVITEMW) + capacity * sizeof(wchar_t));
    if (!block) return 1;
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(block.Address() + sizeof(LVITEMW));
    item.cchTextMax = capacity;
    block.Write(&item, sizeof(item));
    const LRESULT len = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.Address()));
    std::wstring text(static_cast<size_t>(len), L'\0');
    if (len > 0) block.Read(&text[0], static_cast<size_t>(len) * sizeof(wchar_t), sizeof(LVITEMW));
    PrintUtf8(text);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    _setmode(_fileno(stdout), _O_BINARY);  // texts leave byte for byte
    const std::string cmd = argv[1];
    if (cmd == "text") return Text(argc > 2 ? argv[2] : "Notepad", argc > 3 ? argv[3] : "Edit");
    if (cmd == "settext" && argc == 5) {
        HWND t = FindWindowA(argv[2], nullptr);
        HWND c = t ? FindChild(t, argv[3]) : nullptr;
        if (!c) return 1;
        int wideCount = 0;
        LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &wideCount);
        if (!wide || wideCount != 5) return 1;
        DWORD_PTR r = 0;
        SendMessageTimeoutW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide[4]), SMTO_ABORTIFHUNG, 5000, &r);
        LocalFree(wide);
        return 0;
    }
    if (cmd == "settextfile" && argc == 5) {
        HWND t = FindWindowA(argv[2], nullptr);
        HWND c = t ? FindChild(t, argv[3]) : nullptr;
        FILE* f = c ? std::fopen(argv[4], "rb") : nullptr;
        if (!f) return 1;
        std::string bytes;
        char chunk[512];
        for (size_t n; (n = std::fread(chunk, 1, sizeof(chunk), f)) > 0;) bytes.append(chunk, n);
        std::fclose(f);
        const int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        std::wstring text(static_cast<size_t>(n), L'\0');
        if (n > 0) MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], n);
        DWORD_PTR r = 0;
        SendMessageTimeoutW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, &r);
        return 0;
    }
    if (cmd == "keystate") {  // what this process's GetAsyncKeyState sees of Ctrl, Shift, Alt
        std::printf("ctrl=%d shift=%d alt=%d\n", (GetAsyncKeyState(VK_CONTROL) & 0x8000) ? 1 : 0,
                    (GetAsyncKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, (GetAsyncKeyState(VK_MENU) & 0x8000) ? 1 : 0);
        return 0;
    }
    if (cmd == "clip") {
        std::string text = "<none>";
        for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(10);
        if (HANDLE data = GetClipboardData(CF_TEXT))
            if (const char* p = static_cast<const char*>(GlobalLock(data))) {
                text = p;
                GlobalUnlock(data);
            }
        CloseClipboard();
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    if (cmd == "clipformats") {
        for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(10);
        for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
            char name[128] = {};
            if (GetClipboardFormatNameA(format, name, sizeof(name)) > 0)
                std::printf("%s\n", name);
            else
                std::printf("%u\n", format);
        }
        CloseClipboard();
        return 0;
    }
    if ((cmd == "unmarked" || cmd == "markcycle") && argc == 3) {
        const UINT mark = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
        const DWORD start = GetTickCount();
        const DWORD limit = static_cast<DWORD>(std::atoi(argv[2]) * 1000);
        LARGE_INTEGER marked = {};
        if (cmd == "markcycle") {
            while (!IsClipboardFormatAvailable(mark)) {
                if (GetTickCount() - start > limit) return 1;
                Sleep(1);
            }
            QueryPerformanceCounter(&marked);
        }
        while (IsClipboardFormatAvailable(mark)) {
            if (GetTickCount() - start > limit) return 1;
            Sleep(1);
        }
        LARGE_INTEGER unmarked = {};
        QueryPerformanceCounter(&unmarked);
        if (cmd == "markcycle") std::printf("%lld ", static_cast<long long>(marked.QuadPart));
        std::printf("%lld\n", static_cast<long long>(unmarked.QuadPart));
        return 0;
    }
    if (cmd == "setclip" && argc == 3) {
        const size_t n = std::strlen(argv[2]) + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
        std::memcpy(GlobalLock(block), argv[2], n);
        GlobalUnlock(block);
        for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(10);
        EmptyClipboard();
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
        return 0;
    }
    if (cmd == "rowpos" && argc == 3) {
        HWND list = JotwellList();
        if (!list) return 1;
        RemoteBlock block(list, sizeof(RECT));
        if (!block) return 1;
        RECT r = {};
        r.left = LVIR_BOUNDS;
        block.Write(&r, sizeof(r));
        const LRESULT ok = SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(std::atoi(argv[2])),
                                        reinterpret_cast<LPARAM>(block.Address()));
        block.Read(&r, sizeof(r));
        if (!ok) return 1;
        POINT p = {r.left + 24, (r.top + r.bottom) / 2};
        ClientToScreen(list, &p);
        std::printf("%ld %ld\n", p.x, p.y);
        return 0;
    }
    if (cmd == "row" && argc == 4) return RowText(std::atoi(argv[2]), std::atoi(argv[3]));
    if (cmd == "listinfo") {
        HWND list = JotwellList();
        if (!list) return 1;
        std::printf("count=%ld selected=%ld focused=%ld editing=%d\n",
                    static_cast<long>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)),
                    static_cast<long>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)),
                    static_cast<long>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)),
                    SendMessageA(list, LVM_GETEDITCONTROL, 0, 0) ? 1 : 0);
        return 0;
    }
    if (cmd == "qpc") {
        LARGE_INTEGER t = {};
        QueryPerformanceCounter(&t);
        std::printf("%lld\n", static_cast<long long>(t.QuadPart));
        return 0;
    }
    return 2;
}
