#include "framework/WinApp.h"

#include <cstdlib>

#include "framework/DocTemplate.h"
#include "framework/FileDialog.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "text/CodePageText.h"

namespace {

CWinApp* g_app = nullptr;
AfxMessageBoxHook g_messageBoxHook = nullptr;

}  // namespace

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }
HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleA(nullptr); }
HINSTANCE AfxGetResourceHandle() { return GetModuleHandleA(nullptr); }

CString AfxLoadString(UINT id) {
    std::string buffer(256, '\0');
    for (;;) {
        const int n = LoadStringA(AfxGetResourceHandle(), id, &buffer[0], static_cast<int>(buffer.size()));
        if (n <= 0) return CString();
        if (static_cast<size_t>(n) < buffer.size() - 1) {
            buffer.resize(static_cast<size_t>(n));
            return buffer;
        }
        buffer.resize(buffer.size() * 4);
    }
}

CString AfxFormatString1(UINT id, const CString& arg) {
    CString text = AfxLoadString(id);
    const size_t at = text.find("%1");
    if (at != CString::npos) text.replace(at, 2, arg);
    return text;
}

CString AfxFormatPath(UINT id, const std::wstring& path) {
    CString text = Recode(AfxLoadString(id), CP_ACP, CP_UTF8);
    const size_t at = text.find("%1");
    if (at != CString::npos) text.replace(at, 2, FromWide(path, CP_UTF8));
    return text;
}

int AfxMessageBoxPath(UINT idText, const std::wstring& path, UINT type) {
    return AfxMessageBox(AfxFormatPath(idText, path), type, CP_UTF8);
}

int AfxMessageBox(const CString& text, UINT type, UINT codePage) {
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    if (g_messageBoxHook) return g_messageBoxHook(text, type);
    CWnd* main = AfxGetMainWnd();
    HWND owner = main && main->m_hWnd && IsWindowEnabled(main->m_hWnd) ? main->m_hWnd : nullptr;
    const CString title = g_app ? g_app->m_pszAppName : CString();
    return MessageBoxW(owner, ToWide(text, codePage).c_str(), ToWide(title, CP_ACP).c_str(), type);
}

void AfxSetMessageBoxHook(AfxMessageBoxHook hook) { g_messageBoxHook = hook; }

int AfxMessageBox(UINT idText, UINT type) { return AfxMessageBox(AfxLoadString(idText), type); }

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName ? appName : "") { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

int CWinApp::ExitInstance() {
    if (m_pRecentFileList) m_pRecentFileList->WriteList(*this);
    return 0;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    HWND main = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(h))
            if (wnd->PreTranslateMessage(msg)) return TRUE;
        if (h == main) break;
    }
    return FALSE;
}

int CWinApp::Run() {
    MSG msg = {};
    for (;;) {
        // Wide: a character typed into a Unicode window arrives whole, whatever the code page;
        // an ANSI window still gets its messages converted by the system.
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (PreTranslateMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return ExitInstance();
}

BOOL CWinApp::OnCmdMsg(UINT id, CCmdUI* ui) {
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST) {
        if (ui) {
            if (id == ID_FILE_MRU_FILE1) OnUpdateRecentFileMenu(ui);
            else ui->Enable(TRUE);
            return TRUE;
        }
        return OnOpenRecentFile(id);
    }
    static const CommandEntry<CWinApp> map[] = {
        {ID_FILE_NEW, &CWinApp::OnFileNew, nullptr},
        {ID_FILE_OPEN, &CWinApp::OnFileOpen, nullptr},
    };
    return DispatchCommand(this, map, id, ui);
}

void CWinApp::SetRegistryKey(const char* company) {
    m_pszRegistryKey = company;
    m_pszProfileName = m_pszAppName;
}

HKEY CWinApp::GetAppRegistryKey() {
    if (m_pszRegistryKey.empty()) return nullptr;
    const CString path = "Software\\" + m_pszRegistryKey + "\\" + m_pszProfileName;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

namespace {

// The section's key under the application's key, created when missing.
RegKey OpenSection(CWinApp& app, const char* section) {
    RegKey appKey(app.GetAppRegistryKey());
    RegKey key;
    if (appKey)
        RegCreateKeyExA(appKey.Get(), section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                        key.Receive(), nullptr);
    return key;
}

}  // namespace

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) {
    RegKey key = OpenSection(*this, section);
    if (!key) return static_cast<UINT>(defaultValue);
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key.Get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return static_cast<UINT>(defaultValue);
    return value;
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) {
    const CString fallback = defaultValue ? defaultValue : "";
    RegKey key = OpenSection(*this, section);
    if (!key) return fallback;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return fallback;
    std::string value(size + 1, '\0');
    if (RegQueryValueExA(key.Get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return fallback;
    value.resize(strnlen(value.c_str(), size));  // the stored value may lack its zero
    return value;
}

std::wstring CWinApp::GetProfileStringW(const char* section, const char* entry) {
    RegKey key = OpenSection(*this, section);
    if (!key) return std::wstring();
    const std::wstring name = ToWide(entry, CP_ACP);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return std::wstring();
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::wstring();
    value.resize(wcsnlen(value.c_str(), size / sizeof(wchar_t)));  // the stored value may lack its zero
    return value;
}

BOOL CWinApp::WriteProfileStringW(const char* section, const char* entry, const wchar_t* value) {
    RegKey key = OpenSection(*this, section);
    if (!key) return FALSE;
    const std::wstring name = ToWide(entry, CP_ACP);
    if (!value) return RegDeleteValueW(key.Get(), name.c_str()) == ERROR_SUCCESS;
    return RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) {
    RegKey key = OpenSection(*this, section);
    if (!key) return FALSE;
    const DWORD v = static_cast<DWORD>(value);
    return RegSetValueExA(key.Get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v)) ==
           ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) {
    RegKey key = OpenSection(*this, section);
    if (!key) return FALSE;
    if (!value) return RegDeleteValueA(key.Get(), entry) == ERROR_SUCCESS;
    return RegSetValueExA(key.Get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(strlen(value) + 1)) == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT maxMru, const char* section, const char* entryFormat) {
    if (maxMru > 0) {
        m_pRecentFileList.reset(new CRecentFileList(ID_FILE_MRU_FILE1, section, entryFormat, static_cast<int>(maxMru)));
        m_pRecentFileList->ReadList(*this);
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) { m_pDocTemplate.reset(docTemplate); }

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    for (size_t i = 1; i < m_args.size(); ++i) {
        const wchar_t* arg = m_args[i].c_str();
        const BOOL isFlag = (arg[0] == L'/' || arg[0] == L'-');
        info.ParseParam(isFlag ? arg + 1 : arg, isFlag, i + 1 == m_args.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName.c_str()) != nullptr;
    default:
        return TRUE;
    }
}

CDocument* CWinApp::OpenDocumentFile(const wchar_t* path) {
    return m_pDocTemplate ? m_pDocTemplate->OpenDocumentFile(path) : nullptr;
}

void CWinApp::AddToRecentFileList(const wchar_t* path) {
    if (m_pRecentFileList) m_pRecentFileList->Add(path);
}

void CWinApp::OnFileNew() {
    if (m_pDocTemplate) m_pDocTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
    CString filter;
    if (m_pDocTemplate) {
        CString ext = m_pDocTemplate->GetDocString(CDocTemplate::filterExt);
        if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
        filter = m_pDocTemplate->GetDocString(CDocTemplate::filterName) + "|*." + ext + "|";
    }
    filter += AfxLoadString(AFX_IDS_ALL_FILES) + "|*.*||";
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter.c_str(), m_pMainWnd);
    if (dlg.DoModal() == IDOK) OpenDocumentFile(dlg.GetPathName().c_str());
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* ui) {
    if (m_pRecentFileList) m_pRecentFileList->UpdateMenu(ui);
    else ui->Enable(FALSE);
}

BOOL CWinApp::OnOpenRecentFile(UINT id) {
    if (!m_pRecentFileList) return FALSE;
    const int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    if (index >= m_pRecentFileList->GetSize()) return FALSE;
    const std::wstring path = (*m_pRecentFileList)[index];
    if (!OpenDocumentFile(path.c_str())) m_pRecentFileList->Remove(index);
    return TRUE;
}

int AfxWinMain(HINSTANCE instance, int) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    int argc = 0;
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        app->m_args.assign(argv, argv + argc);
        LocalFree(argv);
    }
    CString name = AfxLoadString(AFX_IDS_APP_TITLE);
    if (name.empty()) name = app->m_pszAppName;
    app->m_pszAppName = name;
    app->m_pszProfileName = name;

    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    // OLE on the UI thread for the whole run: windows register drop targets with it, and it
    // outlives them (they are gone when Run or ExitInstance returns).
    const OleInitScope ole;

    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
