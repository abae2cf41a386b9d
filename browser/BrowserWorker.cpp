#include "browser/BrowserWorker.h"

#include "settings/ProfileAccess.h"
#include "browser/AutoInput.h"
#include "browser/BrowserListener.h"
#include "browser/ChainedBrowserAccess.h"
#include "browser/DevToolsBrowserAccess.h"
#include "browser/MessageBoxNotifications.h"
#include "browser/ShellBrowserAccess.h"
#include "browser/TagIndexReport.h"
#include "browser/WorkerMessageFilter.h"
#include "framework/FileDialog.h"
#include "framework/Handles.h"
#include "framework/WholeFile.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "text/CodePageText.h"
#include "text/EncodingCodePage.h"
#include "text/SystemCodePage.h"

#include <exception>

std::atomic<bool> WorkerBusy{false};

namespace {

// The window sources after the shell's list: each of the user's browsers found by its
// file, then the DevTools targets on the configured port unless a found browser listens
// there, and only when the one listening there may be sent values.
std::vector<std::unique_ptr<BrowserAccess>> OpenDevToolsSources(const BrowserWorkerJob& job, TextEncoding encoding,
                                                                 UserNotifications& notify) {
    std::vector<std::unique_ptr<BrowserAccess>> sources;
    std::shared_ptr<DevToolsConnections> connections =
        job.connections ? job.connections : std::make_shared<DevToolsConnections>();
    bool portFound = false;
    for (const FoundBrowser& browser : FindUserBrowsers()) {
        portFound = portFound || browser.endpoint.port == job.devToolsPort;
        sources.push_back(std::make_unique<DevToolsEndpointAccess>(
            [connections, browser, &notify] { return connections->Connect(browser, notify); }, encoding));
    }
    const unsigned port = job.devToolsPort;
    if (port != 0 && port <= 65535 && !portFound &&
        MaySendToConfiguredPort(static_cast<std::uint16_t>(port), job.devToolsPortSet))
        sources.push_back(std::make_unique<DevToolsBrowserAccess>(static_cast<std::uint16_t>(port), LoopbackLimits(), encoding));
    return sources;
}

// The save dialog's filter: the two wordings from the string table, each with its pattern.
std::string ReportFileFilter() {
    return LoadBrowserText(IDS_REPORT_FILTER_TEXT, CP_ACP) + "|*.txt|" + LoadBrowserText(IDS_REPORT_FILTER_ALL, CP_ACP) +
           "|*.*||";
}

// Asks for the report file (the dialog owned by `owner`), builds the report and saves it.
void WriteTagIndexReportFile(BrowserAccess& browsers, UserNotifications& notify, HWND owner,
                             const std::vector<PageSection>& sections) {
    const std::string filter = ReportFileFilter();
    CFileDialog dialog(FALSE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter.c_str(), nullptr);
    dialog.m_ofn.hwndOwner = owner && IsWindow(owner) ? owner : nullptr;
    if (dialog.DoModal() != IDOK) return;
    std::string report;
    WriteTagIndexReport(browsers, notify, SystemLeadBytes(), report, sections);
    SaveTagIndexReport(dialog.GetPathName(), report, notify);
}

}  // namespace

bool StartWorkerThread(LPTHREAD_START_ROUTINE entry, void* param) {
    DWORD id = 0;
    UniqueHandle thread(CreateThread(nullptr, 0, entry, param, 0, &id));
    return static_cast<bool>(thread);
}

bool StartBrowserRun(std::unique_ptr<BrowserWorkerJob> job, WorkerThreadStarter start) {
    bool expected = false;
    if (!job || !WorkerBusy.compare_exchange_strong(expected, true)) return false;
    if (!job->owner) {
        const CWnd* main = AfxGetMainWnd();
        job->owner = main ? main->GetSafeHwnd() : nullptr;
    }
    BrowserWorkerJob* handedOver = job.release();
    if (start(&AutoInputWorker, handedOver)) return true;
    // No thread: nothing will clear the flag, so clear it here, or every later
    // request would be refused until the program restarts.
    delete handedOver;
    WorkerBusy = false;
    return false;
}

DWORD WINAPI AutoInputWorker(void* param) {
    int code = 0;
    {
        std::unique_ptr<BrowserWorkerJob> job(static_cast<BrowserWorkerJob*>(param));
        try {
            if (job) code = RunBrowserJob(*job);
        } catch (const std::exception&) {
            // Out of memory, or a browser failure past every guard: end this run, keep the program.
            code = 0;
        }
    }
    WorkerBusy = false;
    return static_cast<DWORD>(code);
}

int RunBrowserJob(const BrowserWorkerJob& job) {
    MessageBoxNotifications boxes(job.owner);
    UserNotifications& notify = job.notify ? *job.notify : boxes;
    OleInitScope ole;
    if (!ole.Succeeded()) notify.ShowMessage(OleFailureMessage());
    WorkerMessageFilterScope filter;

    // A fill speaks to the browsers in its settings' encoding; the report is written in the
    // ANSI code page.
    const TextEncoding encoding = job.tagIndexReport ? TextEncoding::Ansi : job.settings.Encoding;
    // A fill's messages quote its references, in the settings' encoding.
    boxes.SetCodePage(CodePageOf(encoding));
    ShellBrowserAccess shell(encoding);
    const std::vector<std::unique_ptr<BrowserAccess>> devTools = OpenDevToolsSources(job, encoding, notify);
    // Joined from the last: the shell's windows, then each source's in turn.
    std::vector<std::unique_ptr<ChainedBrowserAccess>> chains;
    BrowserAccess* rest = devTools.empty() ? nullptr : devTools.back().get();
    for (std::size_t i = devTools.size(); i-- > 1;) {
        chains.push_back(std::make_unique<ChainedBrowserAccess>(*devTools[i - 1], *rest));
        rest = chains.back().get();
    }
    if (rest) chains.push_back(std::make_unique<ChainedBrowserAccess>(shell, *rest));
    BrowserAccess& browsers = chains.empty() ? static_cast<BrowserAccess&>(shell) : *chains.back();

    if (job.tagIndexReport) {
        // A frame of another origin is listed when the settings name it, as a fill reaches it.
        WriteTagIndexReportFile(browsers, notify, job.owner, job.settings.Pages);
        return 1;
    }
    AutoInput input(job.settings, notify, LeadBytesOf(encoding));
    return input.Run(browsers);
}

bool SaveTagIndexReport(const std::wstring& path, const std::string& report, UserNotifications& notify) {
    if (AfxWriteFileSafely(path.c_str(), ToTextModeLineEnds(report)) == ERROR_SUCCESS) return true;
    std::string text = LoadBrowserText(IDS_REPORT_WRITE_FAILED, CP_ACP);
    const std::size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, FromWide(path, CP_ACP));  // the message's code page
    notify.ShowMessage(text);
    return false;
}

std::string OleFailureMessage() { return LoadBrowserText(IDS_WEB_OLE_FAILED, CP_ACP); }

unsigned DevToolsPortSetting() { return static_cast<unsigned>(ReadSetting(Profile::kDevToolsPort)); }

bool DevToolsPortSetByUser() { return SettingStored(Profile::kDevToolsPort); }

std::string ToTextModeLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}
