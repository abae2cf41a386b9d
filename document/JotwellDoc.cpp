#include "document/JotwellDoc.h"

#include "app/ProfileAccess.h"
#include "document/EncodingCodePage.h"
#include "document/EntryFile.h"
#include "document/SystemCodePage.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CJotwellDoc)

CJotwellDoc::CJotwellDoc() {
    m_bAlwaysOnTop = ReadSetting(Profile::kAlwaysOnTop);
    m_bActiveDestWindow = ReadSetting(Profile::kActiveDestWindow);
    m_nSeparate = ReadSetting(Profile::kTextColumnWidth);
    m_nEndPart = ReadSetting(Profile::kExplanationColumnWidth);
    m_rules.Load();
}

BOOL CJotwellDoc::OnCmdMsg(UINT id, CCmdUI* ui) {
    static const CommandEntry<CJotwellDoc> map[] = {
        {ID_ALWAYS_ON_TOP, &CJotwellDoc::ToggleAlwaysOnTop, &CJotwellDoc::OnUpdateAlwaysOnTop},
        {ID_ACTIVE_DEST_WINDOW, &CJotwellDoc::ToggleActiveDestWindow, &CJotwellDoc::OnUpdateActiveDestWindow},
        {ID_REFRESH, &CJotwellDoc::OnRefresh, nullptr},
        {ID_EDIT_FILE_BY_TEXT_EDITOR, &CJotwellDoc::OnEditFileByTextEditor, nullptr},
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
