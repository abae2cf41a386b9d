#include "browser/BrowserCommands.h"

#include "settings/ProfileAccess.h"
#include "browser/MessageBoxNotifications.h"
#include "framework/FileDialog.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "res/resource.h"
#include "text/EncodingCodePage.h"
#include "webinput/WebInputFile.h"

#include <memory>
#include <string>

BOOL CBrowserCommands::OnCmdMsg(UINT id, CCmdUI* ui) {
    static const CommandEntry<CBrowserCommands> map[] = {
        {ID_AUTO_INPUT, &CBrowserCommands::OnAutoInput, nullptr},
        {ID_TAG_INDEX_REPORT, &CBrowserCommands::OnTagIndexReport, nullptr},
        {ID_OPEN_WEBINPUT_FILE, &CBrowserCommands::OnOpenWebInputFile, nullptr},
        {ID_WEB_SETTING_ERRORS, &CBrowserCommands::OnSettingErrors, nullptr},
    };
    return DispatchCommand(this, map, id, ui);
}

void CBrowserCommands::ReadProfile() { m_strWebInputFile = ReadPathSetting(Profile::kWebInputFile); }

BOOL CBrowserCommands::StartBrowserWorker(WorkerThreadStarter start) {
    if (WorkerBusy) return FALSE;
    std::unique_ptr<BrowserWorkerJob> job = std::make_unique<BrowserWorkerJob>();
    job->settings = m_webInput;
    job->tagIndexReport = m_bTagIndexRequested != FALSE;
    job->devToolsPort = DevToolsPortSetting();
    job->devToolsPortSet = DevToolsPortSetByUser();
    job->connections = m_devTools;
    if (!StartBrowserRun(std::move(job), start)) return FALSE;
    // The run carries the report request from here; the flag stays on this thread.
    m_bTagIndexRequested = FALSE;
    return TRUE;
}

void CBrowserCommands::OnTagIndexReport() {
    // While a run is in progress the request waits for the next run.
    m_bTagIndexRequested = TRUE;
    StartBrowserWorker();
}

void CBrowserCommands::OnOpenWebInputFile() {
    const std::string filter = LoadBrowserText(IDS_WEBINPUT_FILTER_TEXT, CP_ACP) + "|*.txt|" +
                               LoadBrowserText(IDS_WEBINPUT_FILTER_ALL, CP_ACP) + "|*.*|";
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter.c_str(), nullptr);
    if (dialog.DoModal() != IDOK) return;
    m_strWebInputFile = dialog.GetPathName();
    WritePathSetting(Profile::kWebInputFile, m_strWebInputFile.c_str());
    LoadWebInputSettings();
}

void CBrowserCommands::LoadWebInputSettings() {
    // A run in progress works on its own copy, so the model may be replaced now.
    m_bWebInputLoaded = LoadWebInputFile(m_strWebInputFile, m_webInput) ? TRUE : FALSE;
    UpdateWebMenu();
    m_strSettingError.clear();
    if (m_webInput.Errors.empty()) return;
    // The first such line; the others are ignored alike. The reference is in the file's encoding.
    const SettingError& error = m_webInput.Errors.front();
    m_nSettingErrorCodePage = CodePageOf(m_webInput.Encoding);
    m_strSettingError = LoadBrowserText(IDS_WEB_SETTING_NOT_NUMBER, m_nSettingErrorCodePage);
    const std::size_t line = m_strSettingError.find("%1");
    if (line != std::string::npos) m_strSettingError.replace(line, 2, std::to_string(error.Line));
    const std::size_t reference = m_strSettingError.find("%2");
    if (reference != std::string::npos) m_strSettingError.replace(reference, 2, error.Reference);
    // Told once the window shows: at start-up the load runs before the main window appears.
    CWnd* main = AfxGetMainWnd();
    if (main && main->m_hWnd && main->PostMessage(WM_COMMAND, ID_WEB_SETTING_ERRORS, 0)) return;
    OnSettingErrors();
}

void CBrowserCommands::OnSettingErrors() {
    if (m_strSettingError.empty()) return;  // told already, or a later load had none
    const CString text = m_strSettingError;
    m_strSettingError.clear();
    AfxMessageBox(text, MB_OK, m_nSettingErrorCodePage);
}

void CBrowserCommands::UpdateWebMenu() const {
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->m_hWnd) return;
    HMENU menu = main->GetMenu();
    if (!menu) return;
    EnableMenuItem(menu, 1, MF_BYPOSITION | (m_bWebInputLoaded ? MF_ENABLED : MF_GRAYED));
    main->DrawMenuBar();
}
