// The browser worker: one run of form auto-input, or of the HTML tag index report,
// on a thread of its own, and only one run at a time in the whole process.
#pragma once

#include "browser/UserNotifications.h"
#include "browser/UserBrowsers.h"
#include "webinput/WebInputSettings.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

// True while a run is in progress. Set when a run starts; cleared by the worker as
// its last act, or at once when no thread could be made for the run.
extern std::atomic<bool> WorkerBusy;

// Everything a run reads, fixed on the user-interface thread when it starts. The
// settings are the worker's own copy: loading another setting file during a run
// leaves the run's model as it was.
struct BrowserWorkerJob {
    WebInputSettings settings;
    bool tagIndexReport = false;
    unsigned devToolsPort = 0;            // 0: no browser on a configured port
    bool devToolsPortSet = false;         // the user set the port ("WebInput"/"DevToolsPort" is stored)
    // The connections to the user's browsers, kept between runs; null: opened for this run only.
    std::shared_ptr<DevToolsConnections> connections;
    UserNotifications* notify = nullptr;  // null: real message boxes and beeps
    HWND owner = nullptr;                 // of the message boxes; StartBrowserRun fills in the main window
};

// Starts a thread that runs entry(param); false when none could be made.
using WorkerThreadStarter = bool (*)(LPTHREAD_START_ROUTINE entry, void* param);
bool StartWorkerThread(LPTHREAD_START_ROUTINE entry, void* param);

// Starts AutoInputWorker on `job` unless a run is in progress; call it on the
// user-interface thread (a job without an owner gets the main window). False when refused
// or when the thread could not be made; in the second case WorkerBusy is clear
// again and the job is freed.
bool StartBrowserRun(std::unique_ptr<BrowserWorkerJob> job, WorkerThreadStarter start = StartWorkerThread);

// The worker's thread procedure. It owns the BrowserWorkerJob it is given, frees it
// and clears WorkerBusy when it ends. Exit code: 1 when every page's last fill wrote
// every field (always 1 for a report), else 0.
DWORD WINAPI AutoInputWorker(void* param);

// The body of a run on the calling thread: OLE for this thread with the message
// filter that retries a busy browser, then the report or the fill, over the shell's
// window list, the pages of the user's browsers found by their DevToolsActivePort files
// and the DevTools targets of the configured port, taken once for the run. Leaves
// WorkerBusy alone.
int RunBrowserJob(const BrowserWorkerJob& job);

// The message shown when OLE cannot be initialised, in the ANSI code page.
std::string OleFailureMessage();

// Writes the report (ANSI code page text) to `path` with CR LF line ends, through a
// temporary file, so that a failure leaves an earlier file as it was; a failure is
// reported with a message naming the path. True when written.
bool SaveTagIndexReport(const std::wstring& path, const std::string& report, UserNotifications& notify);

// The port of the browsers' DevTools endpoint from the profile ("WebInput",
// "DevToolsPort"), read at each run: default 9222, 0 = not used.
unsigned DevToolsPortSetting();
// Whether the user stored that port: only then may a port whose listener the system cannot
// name be used.
bool DevToolsPortSetByUser();

// Text written as a text-mode file writes it: every "\n" becomes CR LF.
std::string ToTextModeLineEnds(std::string_view text);
