// The browser subsystem's commands: the web input settings with their file, the report
// request, and the start of a browser run. The application offers it every command that
// the view, the document and the frame leave.
#pragma once

#include "browser/BrowserWorker.h"
#include "framework/CmdTarget.h"
#include "webinput/WebInputSettings.h"

class CBrowserCommands : public CCmdTarget {
public:
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;

    // Reads the setting file's path from the profile (once the profile's key is set); the
    // path is written back when the user opens another file.
    void ReadProfile();
    // Starts a browser run (a fill, or the tag index report when one was requested)
    // on a worker thread, with a copy of the web input settings taken now. False when
    // a run is in progress or no thread could be made.
    BOOL StartBrowserWorker(WorkerThreadStarter start = StartWorkerThread);
    // Loads the web input setting file m_strWebInputFile, enables or grays the main
    // menu's "Web" menu by whether any page field was stored, and tells of the first
    // line whose element number is none (posted to the main window when there is one).
    void LoadWebInputSettings();

    WebInputSettings m_webInput;
    std::wstring m_strWebInputFile;
    BOOL m_bWebInputLoaded = FALSE;
    BOOL m_bTagIndexRequested = FALSE;

private:
    void OnAutoInput() { StartBrowserWorker(); }
    void OnTagIndexReport();
    void OnOpenWebInputFile();
    void OnSettingErrors();
    void UpdateWebMenu() const;

    CString m_strSettingError;  // the message of the last load, until it is shown
    // Kept while Jotwell runs, so that each browser asks its user once per browser session.
    std::shared_ptr<DevToolsConnections> m_devTools = std::make_shared<DevToolsConnections>();
    UINT m_nSettingErrorCodePage = CP_ACP;
};
