// Figures of the drop's own steps against a responsive target in another process (this
// program started again with "--target"): the median cost of each question the drop asks
// the system, of the clipboard step, and of a whole drop with the User method. Printed, not
// asserted; scripts/figures.sh runs it.
#include "view/Delivery.h"
#include "view/DropClipboard.h"

#include "framework/Handles.h"
#include "framework/KeyState.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 200;

// The median of kRuns calls, in microseconds.
double MedianUs(const std::function<void()>& step) {
    std::vector<double> us;
    for (int i = 0; i < kRuns; ++i) {
        const Clock::time_point start = Clock::now();
        step();
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::nth_element(us.begin(), us.begin() + kRuns / 2, us.end());
    return us[kRuns / 2];
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER && message < 0x8000) return 0;
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool NotAbove(HWND) { return false; }
BOOL WINAPI NotHung(HWND) { return FALSE; }

int RunTarget() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "JwStepTarget";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, "JW Step Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 100, 300, 200,
                    nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--target") return RunTarget();
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof(exe));
    std::string commandLine = "\"" + std::string(exe) + "\" --target";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return 1;
    UniqueHandle child(process.hProcess);
    UniqueHandle thread(process.hThread);
    HWND target = nullptr;
    for (int i = 0; i < 200 && !target; ++i, Sleep(50)) target = FindWindowA("JwStepTarget", nullptr);
    if (!target) return 2;
    HWND own = CreateWindowExA(0, "STATIC", "own", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);

    const DeliverySystem& system = SystemDelivery();
    const Clock::time_point first = Clock::now();
    system.IntegrityAboveOurs(target);
    const double integrityFirst = std::chrono::duration<double, std::micro>(Clock::now() - first).count();
    std::printf("Drop steps against a responsive target in another process, median of %d calls (us):\n", kRuns);
    std::printf("  integrity level above ours: first ask %.0f, then (kept for the process) %.1f\n", integrityFirst,
                MedianUs([&] { system.IntegrityAboveOurs(target); }));
    std::printf("  hung check (IsHungAppWindow): %.1f\n", MedianUs([&] { system.IsHungAppWindow(target); }));
    if (system.GetWindowDpiAwarenessContext && system.GetThreadDpiAwarenessContext && system.AreDpiAwarenessContextsEqual)
        std::printf("  DPI contexts compared (window's, thread's): %.1f\n", MedianUs([&] {
                        system.AreDpiAwarenessContextsEqual(system.GetWindowDpiAwarenessContext(target),
                                                            system.GetThreadDpiAwarenessContext());
                    }));
    const DWORD targetThread = GetWindowThreadProcessId(target, nullptr);
    std::printf("  focus and caret of the target's thread (GetGUIThreadInfo): %.1f\n", MedianUs([&] {
                    GUITHREADINFO info = {};
                    info.cbSize = sizeof(info);
                    system.GetGUIThreadInfo(targetThread, &info);
                }));
    std::printf("  one key's state (GetAsyncKeyState): %.1f\n", MedianUs([] { IsKeyDown(VK_LSHIFT); }));
    std::printf("  one message answered by the target (WM_NULL): %.1f\n", MedianUs([&] {
                    DWORD_PTR result = 0;
                    system.SendMessageTimeout(target, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result);
                }));
    std::printf("  Copy's clipboard text: %.1f\n", MedianUs([&] { PutTextOnClipboard(own, "figure text\\nline"); }));
    std::printf("  a drop's clipboard text (marked transient): %.1f\n",
                MedianUs([&] { PutDropTextOnClipboard(own, "figure text\\nline", TextEncoding::Ansi, nullptr); }));
    DropOptions options;
    options.ClipboardOwner = own;
    options.Text = "figure text";
    DestinationMatch match;
    match.Method = DeliveryMethod::User;
    RECT rect = {};
    GetWindowRect(target, &rect);
    const POINT screen = {rect.left + 40, rect.top + 60};
    std::printf("  a whole drop, User method (clipboard, click, activation, message): %.1f\n",
                MedianUs([&] { DeliverEntry(target, screen, match, options); }));
    // The same with the questions about the target answered without asking the system.
    DeliverySystem unasked = system;
    unasked.IntegrityAboveOurs = &NotAbove;
    unasked.IsHungAppWindow = &NotHung;
    unasked.GetWindowDpiAwarenessContext = nullptr;
    unasked.LogicalToPhysicalPointForPerMonitorDPI = nullptr;
    std::printf("  the same drop with the integrity, hung and DPI questions not asked: %.1f\n",
                MedianUs([&] { DeliverEntry(target, screen, match, options, unasked); }));
    PostMessageA(target, WM_CLOSE, 0, 0);
    DestroyWindow(own);
    WaitForSingleObject(child.Get(), 5000);
    TerminateProcess(child.Get(), 0);
    return 0;
}
