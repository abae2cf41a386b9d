// CWinApp: the application object: start-up and message loop, the profile in the
// registry, the recent-file list and the document template.
#pragma once

#include <memory>

#include "framework/CmdTarget.h"
#include "framework/CommandLineInfo.h"
#include "framework/RecentFileList.h"

class CDocTemplate;

class CWinApp : public CCmdTarget {
public:
    // `appName` is the application's name when the string AFX_IDS_APP_TITLE is missing.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    // The message loop; returns the exit code.
    virtual int Run();
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;
    // Gives the windows from the message's target up to the main window a chance to
    // translate the message (accelerators, tooltips).
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Profile: HKEY_CURRENT_USER\Software\<company>\<application>\<section>, value <entry>.
    void SetRegistryKey(const char* company);
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
    CString GetProfileString(const char* section, const char* entry, const char* defaultValue = "");
    // A REG_SZ value as UTF-16 (a path, which may hold any character); empty when missing.
    // Values written the ANSI way read the same: the registry keeps every string as UTF-16.
    std::wstring GetProfileStringW(const char* section, const char* entry);
    BOOL WriteProfileInt(const char* section, const char* entry, int value);
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);
    // Stores `value` as REG_SZ; null deletes the value.
    BOOL WriteProfileStringW(const char* section, const char* entry, const wchar_t* value);
    // The application's key, created when missing; null without a registry key.
    HKEY GetAppRegistryKey();

    // The recent-file list: up to `maxMru` paths in `section`, the values named by
    // `entryFormat` with the numbers from 1, the latest first.
    void LoadStdProfileSettings(UINT maxMru, const char* section, const char* entryFormat);
    void AddDocTemplate(CDocTemplate* docTemplate);
    void ParseCommandLine(CCommandLineInfo& info);
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    virtual CDocument* OpenDocumentFile(const wchar_t* path);
    virtual void AddToRecentFileList(const wchar_t* path);
    const CDocTemplate* GetDocTemplate() const { return m_pDocTemplate.get(); }

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    CString m_pszAppName;
    CString m_pszFrameClassName;  // window class of the frames; the framework's own when empty
    CString m_pszRegistryKey;
    CString m_pszProfileName;
    std::vector<std::wstring> m_args;  // the command line's arguments, the program's name first

protected:
    void OnFileNew();
    void OnFileOpen();
    void OnUpdateRecentFileMenu(CCmdUI* ui);
    BOOL OnOpenRecentFile(UINT id);

    std::unique_ptr<CDocTemplate> m_pDocTemplate;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
};

// Runs the application object: InitInstance, the message loop, ExitInstance.
int AfxWinMain(HINSTANCE instance, int showCmd);
