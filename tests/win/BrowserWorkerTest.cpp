// The browser worker: the one-run-at-a-time flag, thread-creation failure, the
// worker's own copy of the settings, the report request's hand-over, OLE failure, a
// report that cannot be saved, and the browser commands in the application's chain.
#include "app/JotwellApp.h"
#include "browser/BrowserCommands.h"
#include "browser/BrowserWorker.h"
#include "browser/MessageBoxNotifications.h"
#include "browser/WorkerMessageFilter.h"
#include "document/JotwellDoc.h"
#include "framework/Handles.h"
#include "framework/WholeFile.h"
#include "res/resource.h"
#include "text/CodePageText.h"
#include "text/SystemCodePage.h"

#include <gtest/gtest.h>

#include "tests/core/FakeNotifications.h"

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using fake::FakeNotifications;

// A fake thread starter that takes the thread procedure but does not run it yet,
// as if the new thread had not got to its end: the test runs it later.
struct HeldThread {
    LPTHREAD_START_ROUTINE entry = nullptr;
    void* param = nullptr;
};
HeldThread g_held;

bool FakeStarterHolding(LPTHREAD_START_ROUTINE entry, void* param) {
    g_held.entry = entry;
    g_held.param = param;
    return true;
}

// A fake thread starter for a system that refuses to create the thread.
bool FakeStarterFailing(LPTHREAD_START_ROUTINE, void*) { return false; }

BrowserWorkerJob* HeldJob() { return static_cast<BrowserWorkerJob*>(g_held.param); }

// Runs the held worker on this thread, as the new thread would have; its exit code.
DWORD FinishHeldWorker(FakeNotifications& notify) {
    if (!g_held.entry) return 0;
    BrowserWorkerJob* job = HeldJob();
    job->notify = &notify;
    job->tagIndexReport = false;  // a report would wait for its save dialog
    job->devToolsPort = 0;
    const LPTHREAD_START_ROUTINE entry = g_held.entry;
    g_held = HeldThread();
    return entry(job);
}

bool WaitUntilIdle(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (WorkerBusy) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

class BrowserWorkerTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(WorkerBusy);
        g_held = HeldThread();
    }
    void TearDown() override {
        FinishHeldWorker(notify);
        EXPECT_TRUE(WaitUntilIdle(10000));
    }
    FakeNotifications notify;
};

// A file in the temporary folder, under a name of letters of no single code page.
std::wstring WriteTempFile(const char* name, const std::string& text) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + L"\u0141\u00f3d\u017a \u6771\u4eac " + ToWide(name, CP_ACP);
    AfxWriteFileSafely(path.c_str(), text);
    return path;
}

}  // namespace

TEST_F(BrowserWorkerTest, BusyWhileARunIsInProgressAndASecondStartIsRefused) {
    ASSERT_TRUE(StartBrowserRun(std::make_unique<BrowserWorkerJob>(), FakeStarterHolding));
    EXPECT_TRUE(WorkerBusy);
    ASSERT_NE(nullptr, g_held.entry);

    HeldThread first = g_held;
    EXPECT_FALSE(StartBrowserRun(std::make_unique<BrowserWorkerJob>(), FakeStarterHolding));
    EXPECT_EQ(first.param, g_held.param);  // the starter was not asked again
    EXPECT_TRUE(WorkerBusy);

    // The worker's last act clears the flag; no page sections end the run at once.
    EXPECT_EQ(1u, FinishHeldWorker(notify));
    EXPECT_FALSE(WorkerBusy);
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_EQ(0, notify.beeps);
}

TEST_F(BrowserWorkerTest, AThreadThatCannotBeCreatedLeavesTheFlagClear) {
    EXPECT_FALSE(StartBrowserRun(std::make_unique<BrowserWorkerJob>(), FakeStarterFailing));
    EXPECT_FALSE(WorkerBusy);
    // Later requests are served again.
    EXPECT_TRUE(StartBrowserRun(std::make_unique<BrowserWorkerJob>(), FakeStarterHolding));
    EXPECT_TRUE(WorkerBusy);
}

TEST_F(BrowserWorkerTest, ARealWorkerThreadClearsTheFlagWhenItEnds) {
    // Page sections against whatever the shell lists here (Wine: no window list):
    // the run ends by itself, silently, and frees the next run.
    for (int run = 0; run < 3; ++run) {
        std::unique_ptr<BrowserWorkerJob> job = std::make_unique<BrowserWorkerJob>();
        job->settings.LoadText("[]\n[:]\nq=v\n[Order]\n#0=x\n", SystemLeadBytes());
        job->notify = &notify;
        ASSERT_TRUE(StartBrowserRun(std::move(job)));
        ASSERT_TRUE(WaitUntilIdle(10000)) << "run " << run;
    }
    EXPECT_TRUE(notify.messages.empty());
}

TEST_F(BrowserWorkerTest, TheRunKeepsItsOwnCopyOfTheSettingsWhenTheFileIsReloaded) {
    CBrowserCommands doc;
    doc.m_strWebInputFile = WriteTempFile("jw_worker_a.txt", "[Order:main]\nname=first\n[$T]\nk=v\n");
    doc.LoadWebInputSettings();
    ASSERT_TRUE(doc.m_bWebInputLoaded);
    ASSERT_TRUE(doc.StartBrowserWorker(FakeStarterHolding));
    ASSERT_NE(nullptr, HeldJob());

    // A reload while the run is in progress replaces the document's model only.
    doc.m_strWebInputFile = WriteTempFile("jw_worker_b.txt", "[$Only]\nk=w\n");
    doc.LoadWebInputSettings();
    EXPECT_FALSE(doc.m_bWebInputLoaded);
    EXPECT_TRUE(doc.m_webInput.Pages.empty());

    const WebInputSettings& seen = HeldJob()->settings;
    ASSERT_EQ(1u, seen.Pages.size());
    EXPECT_EQ("Order", seen.Pages[0].TitlePrefix);
    EXPECT_EQ("main", seen.Pages[0].FrameName);
    ASSERT_EQ(1u, seen.Pages[0].Fields.size());
    EXPECT_EQ("first", seen.Pages[0].Fields[0].Value);
    EXPECT_EQ("v", seen.LookupTable("$T", "k"));
    EXPECT_EQ("", seen.LookupTable("$Only", "k"));
    EXPECT_FALSE(doc.StartBrowserWorker(FakeStarterHolding));  // still busy
}

TEST_F(BrowserWorkerTest, TheReportRequestGoesWithTheRunThatStartsAndWaitsWhileBusy) {
    CBrowserCommands doc;
    // A refused thread keeps the request for the next start.
    doc.m_bTagIndexRequested = TRUE;
    EXPECT_FALSE(doc.StartBrowserWorker(FakeStarterFailing));
    EXPECT_TRUE(doc.m_bTagIndexRequested);
    EXPECT_FALSE(WorkerBusy);

    // Command 32786 starts a fill run that carries no report.
    doc.m_bTagIndexRequested = FALSE;
    ASSERT_TRUE(doc.StartBrowserWorker(FakeStarterHolding));
    EXPECT_FALSE(HeldJob()->tagIndexReport);
    // Ctrl+Alt+D while it runs: dropped for now, kept for the next run.
    EXPECT_TRUE(doc.OnCmdMsg(ID_TAG_INDEX_REPORT, nullptr));
    EXPECT_TRUE(doc.m_bTagIndexRequested);
    FinishHeldWorker(notify);

    // The next start, by either command, produces the report.
    ASSERT_TRUE(doc.StartBrowserWorker(FakeStarterHolding));
    EXPECT_TRUE(HeldJob()->tagIndexReport);
    EXPECT_FALSE(doc.m_bTagIndexRequested);
}

TEST_F(BrowserWorkerTest, OleThatCannotBeInitialisedIsReportedAndTheRunGoesOn) {
    // A thread already in the multithreaded apartment cannot initialise OLE.
    std::thread worker([this] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        BrowserWorkerJob job;
        job.notify = &notify;
        job.settings.LoadText("[Order]\nname=x\n", SystemLeadBytes());
        RunBrowserJob(job);
        CoUninitialize();
    });
    worker.join();
    ASSERT_EQ(1u, notify.messages.size());
    EXPECT_EQ(OleFailureMessage(), notify.messages[0]);
    if (GetACP() == 932)
        EXPECT_EQ("OLE \x82\xf0\x8f\x89\x8a\xfa\x89\xbb\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42",
                  OleFailureMessage());
    else
        EXPECT_EQ(0u, OleFailureMessage().rfind("OLE ", 0));
}

TEST(BrowserWorkerSettings, LoadingSetsTheLoadedFlagByTheFieldsStored) {
    CBrowserCommands doc;
    doc.m_strWebInputFile = WriteTempFile("jw_worker_c.txt", "[Page]\n;only a comment\n[$T]\nk=v\n");
    doc.LoadWebInputSettings();
    EXPECT_FALSE(doc.m_bWebInputLoaded);
    EXPECT_EQ(1u, doc.m_webInput.Pages.size());

    doc.m_strWebInputFile = WriteTempFile("jw_worker_d.txt", "[Page]\r\nname=v\r\n");
    doc.LoadWebInputSettings();
    EXPECT_TRUE(doc.m_bWebInputLoaded);

    doc.m_strWebInputFile = L"C:\\no such folder\\none.txt";
    doc.LoadWebInputSettings();
    EXPECT_FALSE(doc.m_bWebInputLoaded);
    EXPECT_TRUE(doc.m_webInput.Pages.empty());
    EXPECT_TRUE(doc.m_webInput.Tables.empty());
}

namespace {

std::vector<std::string> g_boxes;
int RecordBox(const CString& text, UINT) {
    g_boxes.push_back(text);
    return IDOK;
}

// String `id` of the string table with its %1 and %2 replaced.
std::string Filled(UINT id, const std::string& first, const std::string& second = std::string()) {
    std::string text = AfxLoadString(id);
    const std::size_t at = text.find("%1");
    if (at == std::string::npos) return "(no %1 in string " + std::to_string(id) + ")";
    text.replace(at, 2, first);
    const std::size_t at2 = text.find("%2");
    if (at2 != std::string::npos) text.replace(at2, 2, second);
    return text;
}

std::string FileText(const std::wstring& path) {
    std::string bytes;
    AfxReadWholeFile(path.c_str(), bytes);
    return bytes;
}

}  // namespace

TEST(BrowserWorkerSettings, AnElementNumberThatIsNoneIsToldWithItsLineAndNotStored) {
    g_boxes.clear();
    AfxSetMessageBoxHook(&RecordBox);
    CBrowserCommands web;
    web.m_strWebInputFile = WriteTempFile("jw_worker_e.txt", "[Page]\nq=1\n#top=wiped\nr=$T[#x]\n");
    web.LoadWebInputSettings();
    AfxSetMessageBoxHook(nullptr);
    EXPECT_TRUE(web.m_bWebInputLoaded);
    ASSERT_EQ(1u, web.m_webInput.Pages[0].Fields.size());
    ASSERT_EQ(1u, g_boxes.size());  // one box, for the first such line
    EXPECT_EQ(Filled(IDS_WEB_SETTING_NOT_NUMBER, "3", "#top"), g_boxes[0]);
}

TEST(BrowserWorkerSettings, AReportThatCannotBeWrittenSaysSoAndLeavesTheOldFile) {
    const std::wstring path = WriteTempFile("jw_report_old.txt", "old report\r\n");
    FakeNotifications notify;
    {
        // Another program holds the old file open without sharing it: it cannot be replaced.
        UniqueHandle held(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(SaveTagIndexReport(path, "\n\n**** IE[1/1] TITLE:New ****\n", notify));
    }
    EXPECT_EQ("old report\r\n", FileText(path));
    EXPECT_EQ(std::vector<std::string>{Filled(IDS_REPORT_WRITE_FAILED, FromWide(path, CP_ACP))}, notify.messages);

    EXPECT_TRUE(SaveTagIndexReport(path, "\nnew\n", notify));
    EXPECT_EQ("\r\nnew\r\n", FileText(path));
    EXPECT_EQ(1u, notify.messages.size());
    DeleteFileW(path.c_str());
}

TEST(BrowserWorkerSettings, TheApplicationOffersTheBrowserCommandsAndTheDocumentHasNone) {
    CJotwellApp app;
    CJotwellDoc doc;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING | MF_GRAYED, ID_AUTO_INPUT, "x");
    CCmdUI ui(menu, 0);
    for (const UINT id : {ID_AUTO_INPUT, ID_OPEN_WEBINPUT_FILE, ID_TAG_INDEX_REPORT}) {
        EXPECT_TRUE(app.OnCmdMsg(id, &ui)) << id;
        EXPECT_FALSE(doc.OnCmdMsg(id, &ui)) << id;
    }
    EXPECT_EQ(0u, GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED);
    DestroyMenu(menu);
    // The texts the browser logic shows come from the string tables, with the fixed words.
    MessageBoxNotifications boxes;
    EXPECT_EQ("No Element(Get) : [%1]", boxes.MessageText(BrowserMessage::NoElement));
    EXPECT_EQ("GPF : Error:%1", boxes.MessageText(BrowserMessage::Failure));
}

TEST(BrowserWorkerSettings, ReportTextGetsTextModeLineEnds) {
    EXPECT_EQ("\r\n\r\n**** IE[1/1] ****\r\n[#  0]() <A\r\r\nB>\r\n",
              ToTextModeLineEnds("\n\n**** IE[1/1] ****\n[#  0]() <A\r\nB>\n"));
    EXPECT_EQ("", ToTextModeLineEnds(""));
    EXPECT_EQ(9222u, DevToolsPortSetting());  // no application object: the default
}

TEST(WorkerMessageFilter, RetriesABusyServerForABoundedTimeAndRestoresTheEarlierFilter) {
    std::thread worker([] {
        OleInitScope ole;
        ASSERT_TRUE(ole.Succeeded());
        {
            WorkerMessageFilterScope scope;
            ASSERT_TRUE(scope.Registered());
            IMessageFilter* current = nullptr;
            ASSERT_TRUE(SUCCEEDED(CoRegisterMessageFilter(nullptr, &current)));
            ASSERT_NE(nullptr, current);
            EXPECT_EQ(200u, current->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER));
            EXPECT_EQ(200u, current->RetryRejectedCall(nullptr, 4999, SERVERCALL_REJECTED));
            EXPECT_EQ(static_cast<DWORD>(-1), current->RetryRejectedCall(nullptr, 5000, SERVERCALL_RETRYLATER));
            EXPECT_EQ(static_cast<DWORD>(SERVERCALL_ISHANDLED), current->HandleInComingCall(0, nullptr, 0, nullptr));
            IMessageFilter* none = nullptr;
            CoRegisterMessageFilter(current, &none);  // put it back as it was
            current->Release();
        }
        IMessageFilter* after = nullptr;
        CoRegisterMessageFilter(nullptr, &after);
        EXPECT_EQ(nullptr, after);
    });
    worker.join();
}
