#include "document/JotwellDoc.h"

#include "settings/ProfileAccess.h"
#include "document/EntryFile.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "res/resource.h"
#include "text/CodePageText.h"
#include "text/EncodingCodePage.h"
#include "text/SystemCodePage.h"

#include <shlobj.h>

IMPLEMENT_DYNCREATE(CJotwellDoc)

CJotwellDoc::CJotwellDoc() {
    m_bActiveDestWindow = ReadSetting(Profile::kActiveDestWindow);
    m_rules.Load();
}

BOOL CJotwellDoc::OnCmdMsg(UINT id, CCmdUI* ui) {
    static const CommandEntry<CJotwellDoc> map[] = {
        {ID_ACTIVE_DEST_WINDOW, &CJotwellDoc::ToggleActiveDestWindow, &CJotwellDoc::OnUpdateActiveDestWindow},
        {ID_REFRESH, &CJotwellDoc::OnRefresh, nullptr},
        {ID_EDIT_FILE_BY_TEXT_EDITOR, &CJotwellDoc::OnEditFileByTextEditor, nullptr},
    };
    return DispatchCommand(this, map, id, ui) || CDocument::OnCmdMsg(id, ui);
}

BOOL CJotwellDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) return FALSE;
    m_encoding = FileEncoding();  // a new file is written in the ANSI code page
    m_watcher.Stop();
    m_diskStamp = CFileStamp();
    m_bWriteFailed = FALSE;
    return TRUE;
}

BOOL CJotwellDoc::OnOpenDocument(const wchar_t* path) {
    // Taken before the read: a change during it shows as a newer stamp later.
    const CFileStamp stamp = CFileStamp::Of(path);
    const BOOL ok = CDocument::OnOpenDocument(path);
    // A failed read or load leaves the entries as they were.
    if (ok) {
        m_diskStamp = stamp;
        m_bWriteFailed = FALSE;
    }
    if (ok && IsReadOnly()) AfxMessageBoxPath(IDS_UNKNOWN_ENCODING, path, MB_OK | MB_ICONEXCLAMATION);
    return ok;
}

void CJotwellDoc::SetPathName(const wchar_t* path, BOOL addToMru) {
    CDocument::SetPathName(path, addToMru);
    HWND view = Views().empty() ? nullptr : Views().front()->m_hWnd;
    if (!m_watcher.Start(GetPathName().c_str(), view, WM_JOTWELL_FILE_CHANGED)) m_watcher.Stop();
}

void CJotwellDoc::OnFrameActivated() {
    // Checked once the activation is over: the check may ask a question.
    if (!Views().empty() && Views().front()->m_hWnd) Views().front()->PostMessage(WM_JOTWELL_FILE_CHANGED, 0, 0);
}

BOOL CJotwellDoc::ReloadFromDisk() {
    const std::wstring path = GetPathName();
    const CFileStamp stamp = CFileStamp::Of(path.c_str());
    std::string bytes;
    if (!stamp.exists || AfxReadWholeFile(path.c_str(), bytes) != ERROR_SUCCESS) return FALSE;
    CReloadHint hint;
    try {
        hint.m_old = LoadFrom(bytes);
    } catch (const std::exception&) {
        return FALSE;  // the entries stay as they were
    }
    SetModifiedFlag(FALSE);
    m_diskStamp = stamp;
    m_bWriteFailed = FALSE;
    UpdateAllViews(nullptr, HINT_RELOAD, &hint);
    return TRUE;
}

BOOL CJotwellDoc::KeepOwnListOver(const CFileStamp& onDisk) {
    m_bCheckingDisk = TRUE;
    const int answer = AfxMessageBoxPath(IDS_FILE_CHANGED_KEEP_WHICH, GetPathName(), MB_YESNO | MB_ICONQUESTION);
    m_bCheckingDisk = FALSE;
    if (answer == IDYES) {
        m_diskStamp = onDisk;  // seen and overruled: the next save replaces it
        return TRUE;
    }
    ReloadFromDisk();
    return FALSE;
}

void CJotwellDoc::AskAfterFailedWrite(const CFileStamp& onDisk) {
    m_bCheckingDisk = TRUE;
    const int answer = AfxMessageBoxPath(IDS_SAVE_FAILED_SAVE_AGAIN, GetPathName(), MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    m_bCheckingDisk = FALSE;
    // Seen: the half-written file is this document's own, and the next save replaces it.
    m_diskStamp = onDisk;
    if (answer == IDYES) DoFileSave();
    else if (answer == IDNO) DoSave(nullptr);
}

BOOL CJotwellDoc::CheckFileOnDisk() {
    if (m_bCheckingDisk || GetPathName().empty()) return TRUE;
    const CFileStamp now = CFileStamp::Of(GetPathName().c_str());
    if (now == m_diskStamp) return TRUE;
    if (!now.exists) {
        // Deleted or renamed: the list stays in memory, and the next save asks for a name
        // (a file that comes back under the name is read again).
        m_diskStamp = now;
        return TRUE;
    }
    if (IsOwnFailedWrite(now)) {
        AskAfterFailedWrite(now);
        return TRUE;
    }
    if (IsModified()) {
        if (KeepOwnListOver(now)) DoFileSave();
        return TRUE;
    }
    return ReloadFromDisk();
}

BOOL CJotwellDoc::BeginEdit(unsigned generation) {
    if (IsReadOnly()) return FALSE;  // never written: its bytes would not come back as they were
    if (!GetPathName().empty() && !m_bCheckingDisk) {
        const CFileStamp now = CFileStamp::Of(GetPathName().c_str());
        // A file gone from disk is not recreated silently: the save after the edit asks for a name.
        if (now != m_diskStamp && now.exists) {
            if (IsOwnFailedWrite(now)) {
                m_diskStamp = now;  // the edit's own save writes the whole list again
            } else if (IsModified()) {
                if (!KeepOwnListOver(now)) return FALSE;  // read again: told there
            } else if (!ReloadFromDisk()) {
                // Still held by its writer: the edit waits for the list as it is on disk.
                AfxMessageBoxPath(IDS_FILE_CHANGED_UNREADABLE, GetPathName(), MB_OK | MB_ICONINFORMATION);
                return FALSE;
            }
        }
    }
    // Read again now or while a question or editor was open: the number may name another entry.
    if (generation == m_entries.Generation()) return TRUE;
    ReportEditNotApplied();
    return FALSE;
}

void CJotwellDoc::ReportEditNotApplied() const {
    AfxMessageBoxPath(IDS_FILE_CHANGED_RELOADED, GetPathName(), MB_OK | MB_ICONINFORMATION);
}

BOOL CJotwellDoc::OnSaveDocument(const wchar_t* path) {
    if (IsReadOnly()) {
        AfxMessageBox(IDS_READ_ONLY_LIST, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    const std::wstring own = GetPathName();
    const bool ownFile = path && !own.empty() && lstrcmpiW(path, own.c_str()) == 0;
    if (!m_bCheckingDisk && ownFile) {
        const CFileStamp now = CFileStamp::Of(path);
        if (now.exists && now != m_diskStamp && IsOwnFailedWrite(now)) {
            m_diskStamp = now;  // written again, whole, below
        } else if (now.exists && now != m_diskStamp) {
            // Nothing unsaved: the file wins, and is written back as read. Else the user keeps one.
            if (!IsModified()) {
                if (!ReloadFromDisk()) return FALSE;
            } else if (!KeepOwnListOver(now)) {
                return TRUE;  // the file was kept and read again
            }
        }
    }
    if (!CDocument::OnSaveDocument(path)) {
        // A write in place that failed part way changed the file: that change is this
        // document's own, not another program's.
        const CFileStamp after = CFileStamp::Of(path);
        if (ownFile && after != m_diskStamp) {
            m_bWriteFailed = TRUE;
            m_failedStamp = after;
        }
        return FALSE;
    }
    m_diskStamp = CFileStamp::Of(path);
    if (ownFile) m_bWriteFailed = FALSE;
    return TRUE;
}

void CJotwellDoc::OnEndSession() {
    if (!IsModified()) return;
    const std::wstring path = GetPathName();
    if (!path.empty()) {
        const CFileStamp now = CFileStamp::Of(path.c_str());
        if (now.exists && (now == m_diskStamp || IsOwnFailedWrite(now))) {
            try {
                CArchive ar;
                Serialize(ar);
                if (AfxWriteFileSafely(path.c_str(), ar.Output()) == ERROR_SUCCESS) {
                    SetModifiedFlag(FALSE);
                    return;
                }
            } catch (const std::exception&) {
            }
        }
    }
    // No question may wait now: the next start tells where the list went, or that it is lost.
    std::wstring recovery;
    if (WriteRecoveryFile(recovery)) WritePathSetting(Profile::kRecoveryFile, recovery.c_str());
    else WriteSetting(Profile::kRecoveryFailed, 1);
}

BOOL CJotwellDoc::WriteRecoveryFile(std::wstring& path) {
    wchar_t base[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, base)))
        return FALSE;
    const std::wstring folder = std::wstring(base) + L"\\Jotwell";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return FALSE;
    std::wstring title = GetTitle().empty() ? std::wstring(L"Jotwell") : GetTitle();
    const size_t dot = title.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) title.resize(dot);
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    wchar_t stamp[64] = {};
    wsprintfW(stamp, L" (%04u-%02u-%02u %02u%02u%02u).txt", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
              now.wSecond);
    path = folder + L"\\" + title + stamp;
    try {
        CArchive ar;
        Serialize(ar);
        return AfxWriteFileSafely(path.c_str(), ar.Output()) == ERROR_SUCCESS;
    } catch (const std::exception&) {
        return FALSE;
    }
}

void CJotwellDoc::ReportRecoveryFile() {
    if (ReadSetting(Profile::kRecoveryFailed)) {
        WriteSetting(Profile::kRecoveryFailed, 0);
        AfxMessageBox(IDS_RECOVERY_FILE_FAILED, MB_OK | MB_ICONEXCLAMATION);
    }
    const std::wstring path = ReadPathSetting(Profile::kRecoveryFile);
    if (path.empty()) return;
    WriteSetting(Profile::kRecoveryFile, "");
    AfxMessageBoxPath(IDS_RECOVERY_FILE_KEPT, path, MB_OK | MB_ICONINFORMATION);
}

BOOL CJotwellDoc::EncodeTyped(const std::wstring& typed, CString& bytes) {
    bool lossy = false;
    CString encoded = FromWide(typed, CodePageOf(m_encoding.Encoding), &lossy);
    if (lossy) {
        if (AfxMessageBox(AfxLoadString(IDS_KEEP_AS_UTF8), MB_YESNO | MB_ICONQUESTION) != IDYES) return FALSE;
        ConvertToUtf8();
        encoded = FromWide(typed, CP_UTF8);
    }
    bytes = std::move(encoded);
    return TRUE;
}

void CJotwellDoc::ConvertToUtf8() {
    if (m_encoding.Encoding == TextEncoding::Utf8) return;
    const UINT from = CodePageOf(m_encoding.Encoding);
    // ASCII bytes are UTF-8 as they stand; only entries with other bytes are converted.
    m_entries.ConvertEach([from](std::string& field) {
        for (const char c : field)
            if (static_cast<unsigned char>(c) >= 0x80) {
                field = FromWide(ToWide(field, from), CP_UTF8);
                return;
            }
    });
    m_encoding = FileEncoding{TextEncoding::Utf8, false};
    CEntryHint hint(EntryChange{EntryChangeKind::Change, -1});
    UpdateAllViews(nullptr, HINT_ENTRY_CHANGE, &hint);
}

BOOL CJotwellDoc::InsertEntry(int index, unsigned generation) {
    return InsertEntryText(index, CString(), generation);
}

BOOL CJotwellDoc::InsertEntryText(int index, const CString& text, unsigned generation) {
    if (!m_entries.Contains(index) || !BeginEdit(generation)) return FALSE;
    return EditDone(m_entries.Insert(index, text));
}

BOOL CJotwellDoc::DeleteEntry(int index, unsigned generation) {
    if (!m_entries.Contains(index) || index == GetEntryCount() - 1 || !BeginEdit(generation)) return FALSE;
    return EditDone(m_entries.Delete(index));
}

BOOL CJotwellDoc::SetEntryText(int index, const CString& text, unsigned generation) {
    if (!m_entries.Contains(index) || m_entries.Text(index) == text || !BeginEdit(generation)) return FALSE;
    return EditDone(m_entries.SetText(index, text));
}

BOOL CJotwellDoc::SetEntryExplanation(int index, const CString& text, unsigned generation) {
    if (!m_entries.Contains(index) || m_entries.Explanation(index) == text || !BeginEdit(generation)) return FALSE;
    return EditDone(m_entries.SetExplanation(index, text));
}

BOOL CJotwellDoc::EditDone(const std::optional<EntryChange>& change) {
    if (!change) return FALSE;
    SetModifiedFlag(TRUE);
    CEntryHint hint(*change);
    UpdateAllViews(nullptr, HINT_ENTRY_CHANGE, &hint);
    DoFileSave();
    return TRUE;
}

void CJotwellDoc::DeleteContents() {
    m_entries.Reload(EntryColumns());
    CDocument::DeleteContents();
}

EntryColumns CJotwellDoc::LoadFrom(std::string_view bytes) {
    // Built apart: an allocation that fails part way leaves the old entries and encoding in place.
    const FileEncoding encoding = DetectFileEncoding(bytes);
    std::string converted;
    EntryColumns loaded = LoadEntries(FileText(bytes, encoding, converted), LeadBytesOf(encoding.Encoding));
    EntryColumns old = m_entries.Reload(std::move(loaded));
    m_encoding = encoding;
    return old;
}

void CJotwellDoc::Serialize(CArchive& ar) {
    if (ar.IsLoading()) {
        LoadFrom(ar.Input());
        return;
    }
    const EntryColumns& columns = m_entries.Columns();
    ar.WriteString(
        FileBytes(StoreEntries(columns.Texts, columns.Explanations, LeadBytesOf(m_encoding.Encoding)), m_encoding));
}

void CJotwellDoc::ToggleActiveDestWindow() {
    m_bActiveDestWindow = m_bActiveDestWindow ? FALSE : TRUE;
    WriteSetting(Profile::kActiveDestWindow, m_bActiveDestWindow ? 1 : 0);
}

void CJotwellDoc::OnRefresh() {
    if (!SaveModified()) return;
    const std::wstring path = GetPathName();
    OnOpenDocument(path.c_str());  // an open advances the edit generation
    UpdateAllViews(nullptr, 0, nullptr);
}

void CJotwellDoc::OnEditFileByTextEditor() {
    if (!SaveModified()) return;
    ShellExecuteW(nullptr, L"open", GetPathName().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
