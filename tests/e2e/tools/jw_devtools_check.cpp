// Test tool: runs form auto-input and the tag index report over the DevTools
// browser access layer against a running Chromium.
// Usage:
//   jw_devtools_check report PORT OUTFILE [SETTINGFILE]
//                                             writes the tag index report (text mode); the
//                                             setting file's sections name frames to list
//   jw_devtools_check fill PORT SETTINGFILE    fills pages from a web input setting file, as
//                                             the worker's run does (shell list and DevTools
//                                             targets joined, taken once for the run)
//   jw_devtools_check browser PORT PATH SETTINGFILE OUTFILE
//                                             through the browser endpoint PATH on PORT (as a
//                                             DevToolsActivePort file names it), on one kept
//                                             connection: lists the pages twice (the second
//                                             time on the connection kept), fills them from
//                                             the setting file and writes the report
// Prints every message box text as "MESSAGE: ..." and every beep as "BEEP", then
// "RESULT n" (fill), "TIME <what> <ms> ms" and "PEAK <MB> MB" (the peak working set);
// bench/wine/devtools_figures.sh prints the figures, no test reads them.
// Exit code 0 unless the arguments or files are wrong.
#include "browser/AutoInput.h"
#include "browser/BrowserWorker.h"
#include "browser/DevToolsBrowserAccess.h"
#include "browser/MessageBoxNotifications.h"
#include "browser/TagIndexReport.h"
#include "browser/UserBrowsers.h"
#include "framework/WholeFile.h"
#include "text/CodePageText.h"
#include "text/SystemCodePage.h"
#include "webinput/WebInputFile.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// The program's own texts (its string tables are linked in), printed instead of shown.
class PrintingNotifications : public MessageBoxNotifications {
public:
    void ShowMessage(const std::string& text) override { std::printf("MESSAGE: %s\n", text.c_str()); }
    void Beep() override { std::printf("BEEP\n"); }
    void BeginNotice(const std::string& text) override { std::printf("NOTICE: %s\n", text.c_str()); std::fflush(stdout); }
    void EndNotice() override { std::printf("NOTICE ENDED\n"); }
};

double Milliseconds(const LARGE_INTEGER& from) {
    LARGE_INTEGER now = {};
    LARGE_INTEGER frequency = {};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0.0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}


// The browser command: every step on the same connection, each timed.
int ThroughBrowserEndpoint(std::uint16_t port, const std::string& path, const char* settingFile, const char* outFile,
                           PrintingNotifications& notify) {
    WebInputSettings settings;
    if (!LoadWebInputFile(ToWide(settingFile, CP_ACP), settings)) return 3;
    auto connections = std::make_shared<DevToolsConnections>();
    const FoundBrowser browser{"Chromium", {port, path}};
    DevToolsEndpointAccess browsers([&] { return connections->Connect(browser, notify); }, TextEncoding::Ansi);
    LARGE_INTEGER start = {};
    for (const char* what : {"first-list", "kept-list"}) {
        QueryPerformanceCounter(&start);
        const std::unique_ptr<WindowList> list = browsers.OpenWindowList();
        std::printf("TIME %s %.1f ms\n", what, Milliseconds(start));
        if (!list) return 4;
    }
    QueryPerformanceCounter(&start);
    AutoInput input(settings, notify, SystemLeadBytes());
    std::printf("RESULT %d\n", input.Run(browsers));
    std::printf("TIME fill %.1f ms\n", Milliseconds(start));
    QueryPerformanceCounter(&start);
    std::string report;
    WriteTagIndexReport(browsers, notify, SystemLeadBytes(), report, settings.Pages);
    std::printf("TIME report %.1f ms\n", Milliseconds(start));
    std::printf("CONNECTIONS %d\n", connections->Opened());
    return AfxWriteFileSafely(ToWide(outFile, CP_ACP).c_str(), ToTextModeLineEnds(report)) == ERROR_SUCCESS ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "browser") {
        PrintingNotifications notify;
        const long port = std::strtol(argv[2], nullptr, 10);
        if (port <= 0 || port > 65535) return 2;
        const int code = ThroughBrowserEndpoint(static_cast<std::uint16_t>(port), argv[3], argv[4], argv[5], notify);
        std::printf("PEAK %.1f MB\n", PeakMegabytes());
        std::fflush(stdout);
        return code;
    }
    if (argc != 4 && !(argc == 5 && std::string(argv[1]) == "report")) return 2;
    const std::string command = argv[1];
    const long port = std::strtol(argv[2], nullptr, 10);
    if (port < 0 || port > 65535) return 2;
    DevToolsBrowserAccess browsers(static_cast<std::uint16_t>(port));
    PrintingNotifications notify;
    LARGE_INTEGER start = {};
    QueryPerformanceCounter(&start);

    if (command == "report") {
        WebInputSettings named;
        if (argc == 5 && !LoadWebInputFile(ToWide(argv[4], CP_ACP), named) && named.Pages.empty()) return 3;
        std::string report;
        WriteTagIndexReport(browsers, notify, SystemLeadBytes(), report, named.Pages);
        std::printf("TIME report %.1f ms\n", Milliseconds(start));
        if (AfxWriteFileSafely(ToWide(argv[3], CP_ACP).c_str(), ToTextModeLineEnds(report)) != ERROR_SUCCESS) return 3;
    } else if (command == "fill") {
        BrowserWorkerJob job;
        if (!LoadWebInputFile(ToWide(argv[3], CP_ACP), job.settings)) return 3;
        job.devToolsPort = static_cast<unsigned>(port);
        job.devToolsPortSet = true;  // named on the command line, as a port the user stored
        job.notify = &notify;
        const int result = RunBrowserJob(job);
        std::printf("TIME fill %.1f ms\n", Milliseconds(start));
        std::printf("RESULT %d\n", result);
    } else {
        return 2;
    }
    std::printf("PEAK %.1f MB\n", PeakMegabytes());
    std::fflush(stdout);
    return 0;
}
