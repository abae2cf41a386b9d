#include "app/JotwellApp.h"

#include "app/AboutDlg.h"
#include "settings/ProfileSettings.h"
#include "app/StartupOptions.h"
#include "document/JotwellDoc.h"
#include "frame/MainFrame.h"
#include "framework/DocTemplate.h"
#include "res/resource.h"
#include "view/JotwellView.h"

const char kInstanceMutexName[] = "JotwellApp";

CJotwellApp::CJotwellApp() : CWinApp("Jotwell") { m_pszFrameClassName = "JotwellFrame"; }

CJotwellApp* JotwellApp() { return dynamic_cast<CJotwellApp*>(AfxGetApp()); }

BOOL CJotwellApp::InitInstance() {
    // Another instance runs: end without a word.
    if (UniqueHandle other{OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kInstanceMutexName)}) return FALSE;
    m_hMutex.Reset(CreateMutexA(nullptr, FALSE, kInstanceMutexName));

    SetRegistryKey(kRegistryCompany);
    LoadStdProfileSettings(Profile::kRecentFileCount, Profile::kRecentFileSection, Profile::kRecentFileEntry);
    m_browser.ReadProfile();
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CJotwellDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CJotwellView)));

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    // Without a file on the command line, start with the file used last.
    if (cmdInfo.m_strFileName.empty() && cmdInfo.m_nShellCommand != CCommandLineInfo::FileOpen) {
        const std::wstring last =
            m_pRecentFileList && m_pRecentFileList->GetSize() > 0 ? (*m_pRecentFileList)[0] : std::wstring();
        if (!last.empty()) {
            cmdInfo.m_strFileName = last;
            cmdInfo.m_nShellCommand = CCommandLineInfo::FileOpen;
        }
    }
    if (!ProcessShellCommand(cmdInfo)) {
        cmdInfo.m_strFileName.clear();
        cmdInfo.m_nShellCommand = CCommandLineInfo::FileNew;
        if (!ProcessShellCommand(cmdInfo)) return FALSE;
    }
    // Once the main window is there: the load grays its Web menu or tells of a faulty line.
    m_browser.LoadWebInputSettings();

    if (IsTrayStartArgument(m_args) && m_pMainWnd)
        m_pMainWnd->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    if (m_pMainWnd) DragAcceptFiles(m_pMainWnd->m_hWnd, TRUE);
    CJotwellDoc::ReportRecoveryFile();
    return TRUE;
}

int CJotwellApp::ExitInstance() {
    // The end of a session runs this from the frame; should the message loop still end
    // afterwards, it runs again and finds the mutex gone.
    if (m_hMutex) {
        ReleaseMutex(m_hMutex.Get());
        m_hMutex.Reset();
    }
    return CWinApp::ExitInstance();
}

BOOL CJotwellApp::OnCmdMsg(UINT id, CCmdUI* ui) {
    static const CommandEntry<CJotwellApp> map[] = {
        {ID_APP_ABOUT, &CJotwellApp::OnAppAbout, nullptr},
    };
    return DispatchCommand(this, map, id, ui) || m_browser.OnCmdMsg(id, ui) || CWinApp::OnCmdMsg(id, ui);
}

void CJotwellApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}
