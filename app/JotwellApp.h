// The application object: single instance, the profile's home, the document template,
// the start-up file and the "/Tray" start.
#pragma once

#include "browser/BrowserCommands.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"

class CJotwellApp : public CWinApp {
public:
    CJotwellApp();
    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;

    UniqueHandle m_hMutex;       // marks a running instance for the life of the process
    CBrowserCommands m_browser;  // web input and browser runs: offered the commands no window took

protected:
    void OnAppAbout();
};

// The running application object.
CJotwellApp* JotwellApp();

// Name of the mutex that marks a running instance.
extern const char kInstanceMutexName[];
