#include "document/JotwellDoc.h"

#include "app/JotwellApp.h"
#include "app/ProfileAccess.h"
#include "document/EncodingCodePage.h"
#include "document/EntryFile.h"
#include "document/SystemCodePage.h"
#include "framework/FileDialog.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "res/resource.h"
#include "webinput/WebInputFile.h"

IMPLEMENT_DYNCREATE(CJotwellDoc)

CJotwellDoc::CJotwellDoc() {
    m_bAlwaysOnTop = ReadSetting(Profile::kAlwaysOnTop);
    m_bActiveDestWindow = ReadSetting(Profile::kActiveDestWindow);
    m_nSeparate = ReadSetting(Profile::kTextColumnWidth);
    m_nEndPart = ReadSetting(Profile::kExplanationColumnWidth);
    m_strWebInputFile = ReadSetting(Profile::kWebInputFile);
    m_bWebInputLoaded = FALSE;
    m_bTagIndexRequested = FALSE;
    m_rules.Load();
}

BOOL CJotwellDoc::OnCmdMsg(UINT id, CCmdUI* ui) {
    static const CommandEntry<CJotwellDoc> map[] = {
        {ID_ALWAYS_ON_TOP, &CJotwellDoc::ToggleAlwaysOnTop, &CJotwellDoc::OnUpdateAlwaysOnTop},
        {ID_ACTIVE_DEST_WINDOW, &CJotwellDoc::ToggleActiveDestWindow, &CJotwellDoc::OnUpdateActiveDestWindow},
        {ID_REFRESH, &CJotwellDoc::OnRefresh, nullptr},
        {ID_EDIT_FILE_BY_TEXT_EDITOR, &CJotwellDoc::OnEditFileByTextEditor, nullptr},
        {ID_AUTO_INPUT, &CJotwellDoc::OnAutoInput, nullptr},
        {ID_TAG_INDEX_REPORT, &CJotwellDoc::OnTagIndexReport, nullptr},
        {ID_OPEN_WEBINPUT_FILE, &CJotwellDoc::OnOpenWebInputFile, nullptr},
    };
    return DispatchCommand(this, map, id, ui) || CDocument::OnCmdMsg(id, ui);
}

BOOL CJotwellDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) return FALSE;
    m_encoding = FileEncoding();  // a new file is written in the ANSI code page
    EnsurePlaceholder();
    return TRUE;
}

BOOL CJotwellDoc::OnOpenDocument(const char* path) {
    const BOOL ok = CDocument::OnOpenDocument(path);
    // A failed read or load leaves the entries as they were; whatever happened, the list
    // ends with its placeholder.
    EnsurePlaceholder();
    return ok;
}

void CJotwellDoc::EnsurePlaceholder() {
    const int n = GetEntryCount();
    if (n == 0 || !m_aText[n - 1].empty() || !m_aExplanation[n - 1].empty()) {
        m_aText.Add(CString());
        m_aExplanation.Add(CString());
    }
}

BOOL CJotwellDoc::InsertEntry(int index) {
    if (index < 0 || index >= GetEntryCount()) return FALSE;
    m_aText.InsertAt(index, CString(), 1);
    m_aExplanation.InsertAt(index, CString(), 1);
    EditDone(HINT_INSERT_LINE, index);
    return TRUE;
}

BOOL CJotwellDoc::DeleteEntry(int index) {
    if (index < 0 || index >= GetEntryCount() - 1) return FALSE;
    m_aText.RemoveAt(index, 1);
    m_aExplanation.RemoveAt(index, 1);
    EditDone(HINT_DELETE_LINE, index + 1);
    return TRUE;
}

BOOL CJotwellDoc::SetEntryText(int index, const CString& text) { return SetEntryColumn(m_aText, index, text); }

BOOL CJotwellDoc::SetEntryExplanation(int index, const CString& text) {
    return SetEntryColumn(m_aExplanation, index, text);
}

BOOL CJotwellDoc::SetEntryColumn(CStringArray& column, int index, const CString& text) {
    if (index < 0 || index >= GetEntryCount() || column[index] == text) return FALSE;
    column[index] = text;
    if (index == GetEntryCount() - 1) {
        // The placeholder got a value: a new placeholder follows it.
        EnsurePlaceholder();
        EditDone(HINT_INSERT_LINE, index + 1);
    } else {
        EditDone(HINT_CHANGE_LINE, index);
    }
    return TRUE;
}

void CJotwellDoc::EditDone(LPARAM hint, int index) {
    EnsurePlaceholder();
    SetModifiedFlag(TRUE);
    CLineHint line(index);
    UpdateAllViews(nullptr, hint, &line);
    DoFileSave();
}

void CJotwellDoc::DeleteContents() {
    m_aText.RemoveAll();
    m_aExplanation.RemoveAll();
    CDocument::DeleteContents();
}

void CJotwellDoc::Serialize(CArchive& ar) {
    if (ar.IsLoading()) {
        // Built apart: an allocation that fails part way leaves the old entries and
        // encoding in place.
        const FileEncoding encoding = DetectFileEncoding(ar.Input());
        EntryColumns loaded =
            LoadEntries(TextAfterByteOrderMark(ar.Input(), encoding), LeadBytesOf(encoding.Encoding));
        m_aText.Items() = std::move(loaded.Texts);
        m_aExplanation.Items() = std::move(loaded.Explanations);
        m_encoding = encoding;
        return;
    }
    if (m_encoding.Encoding == TextEncoding::Utf8 && m_encoding.ByteOrderMark) ar.WriteString(kUtf8ByteOrderMark);
    ar.WriteString(StoreEntries(m_aText.Items(), m_aExplanation.Items(), LeadBytesOf(m_encoding.Encoding)));
}

void CJotwellDoc::ToggleAlwaysOnTop() {
    m_bAlwaysOnTop = m_bAlwaysOnTop ? FALSE : TRUE;
    if (CWnd* main = AfxGetMainWnd())
        main->SetWindowPos(m_bAlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE);
    WriteSetting(Profile::kAlwaysOnTop, m_bAlwaysOnTop ? 1 : 0);
}

void CJotwellDoc::ToggleActiveDestWindow() {
    m_bActiveDestWindow = m_bActiveDestWindow ? FALSE : TRUE;
    WriteSetting(Profile::kActiveDestWindow, m_bActiveDestWindow ? 1 : 0);
}

void CJotwellDoc::OnRefresh() {
    if (!SaveModified()) return;
    const CString path = GetPathName();
    OnOpenDocument(path.c_str());
    UpdateAllViews(nullptr, 0, nullptr);
}

void CJotwellDoc::OnEditFileByTextEditor() {
    if (!SaveModified()) return;
    ShellExecuteA(nullptr, "open", GetPathName().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

BOOL CJotwellDoc::StartBrowserWorker(WorkerThreadStarter start) {
    if (WorkerBusy) return FALSE;
    std::unique_ptr<BrowserWorkerJob> job = std::make_unique<BrowserWorkerJob>();
    job->settings = m_webInput;
    job->tagIndexReport = m_bTagIndexRequested != FALSE;
    job->devToolsPort = DevToolsPortSetting();
    if (!StartBrowserRun(std::move(job), start)) return FALSE;
    // The run carries the report request from here; the flag stays on this thread.
    m_bTagIndexRequested = FALSE;
    return TRUE;
}

void CJotwellDoc::OnTagIndexReport() {
    // While a run is in progress the request waits for the next run.
    m_bTagIndexRequested = TRUE;
    StartBrowserWorker();
}

void CJotwellDoc::OnOpenWebInputFile() {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Text file (*.txt)|*.txt|All file (*.*)|*.*|", nullptr);
    if (dialog.DoModal() != IDOK) return;
    m_strWebInputFile = dialog.GetPathName();
    LoadWebInputSettings();
}

void CJotwellDoc::LoadWebInputSettings() {
    // A run in progress works on its own copy, so the model may be replaced now.
    m_bWebInputLoaded = LoadWebInputFile(m_strWebInputFile, m_webInput) ? TRUE : FALSE;
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->m_hWnd) return;
    HMENU menu = main->GetMenu();
    if (!menu) return;
    const CJotwellApp* app = JotwellApp();
    const bool enable = m_bWebInputLoaded && app && app->m_bWebEnabled;
    EnableMenuItem(menu, 1, MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
    main->DrawMenuBar();
}
