#include "framework/Document.h"

#include <algorithm>

#include "framework/DocTemplate.h"
#include "framework/FileDialog.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "text/CodePageText.h"

namespace {

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The full form of `path` (relative to the current folder), at any length.
std::wstring FullPathOf(const wchar_t* path) {
    const DWORD length = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(path, length, &full[0], nullptr);
    if (written == 0 || written >= length) return path;
    full.resize(written);
    return full;
}

}  // namespace

CDocument::~CDocument() {
    for (CView* v : m_views) v->m_pDocument = nullptr;
}

BOOL CDocument::OnCmdMsg(UINT id, CCmdUI* ui) {
    static const CommandEntry<CDocument> map[] = {
        {ID_FILE_SAVE, &CDocument::OnFileSave, nullptr},
        {ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs, nullptr},
    };
    return DispatchCommand(this, map, id, ui);
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportFileError(DWORD error, const wchar_t* path, UINT fallbackId) {
    UINT id = fallbackId;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        id = AFX_IDP_FILE_NOT_FOUND;
        break;
    case ERROR_ACCESS_DENIED:
        id = AFX_IDP_FILE_ACCESS_DENIED;
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        id = AFX_IDP_FILE_SHARING;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        id = AFX_IDP_FILE_DISK_FULL;
        break;
    default:
        break;
    }
    if (id == fallbackId)
        AfxMessageBox(fallbackId, MB_OK | MB_ICONEXCLAMATION);
    else
        AfxMessageBoxPath(id, FullPathOf(path), MB_OK | MB_ICONEXCLAMATION);
}

BOOL CDocument::OnOpenDocument(const wchar_t* path) {
    if (!path || !*path) {  // a document that has no file yet
        AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    std::string bytes;
    const DWORD error = AfxReadWholeFile(path, bytes);
    if (error != ERROR_SUCCESS) {
        ReportFileError(error, path, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    // A loading Serialize replaces the contents only once it has built them all, so a load
    // that fails part way leaves the contents, the file and the modified flag as they were.
    try {
        CArchive ar{std::string_view(bytes)};
        Serialize(ar);
    } catch (const std::exception&) {
        AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const wchar_t* path) {
    DWORD error = ERROR_SUCCESS;
    try {
        CArchive ar;
        Serialize(ar);
        error = AfxWriteFileSafely(path, ar.Output());
    } catch (const std::exception&) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    }
    if (error != ERROR_SUCCESS) {
        ReportFileError(error, path, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::SaveModified() {
    if (!IsModified()) return TRUE;
    const std::wstring& name = m_strPathName.empty() ? m_strTitle : m_strPathName;
    const CWnd* const main = AfxGetMainWnd();
    const int answer = AfxMessageBoxPath(AFX_IDP_ASK_TO_SAVE, name, MB_YESNOCANCEL);
    // The question runs a message loop: when the main window closed in it (an Exit from the
    // tray menu, a logoff), this document went with it and must not be touched.
    if (main && AfxGetMainWnd() != main) return FALSE;
    switch (answer) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::DoFileSave() {
    const DWORD attributes = m_strPathName.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(AfxLongPath(m_strPathName).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return DoSave(nullptr);
    return DoSave(m_strPathName.c_str());
}

BOOL CDocument::DoSave(const wchar_t* path, BOOL replace) {
    std::wstring newName = path ? std::wstring(path) : std::wstring();
    if (newName.empty()) {
        CString filter;
        CString ext;
        if (m_pDocTemplate) {
            filter = m_pDocTemplate->GetDocString(CDocTemplate::filterName);
            ext = m_pDocTemplate->GetDocString(CDocTemplate::filterExt);
        }
        if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
        CString dialogFilter;
        if (!filter.empty()) dialogFilter = filter + "|*." + ext + "|";
        dialogFilter += AfxLoadString(AFX_IDS_ALL_FILES) + "|*.*||";
        std::wstring initial = m_strPathName.empty() ? std::wstring() : FileNameOf(m_strPathName);
        if (initial.empty() && m_pDocTemplate) {
            CString newName = m_pDocTemplate->GetDocString(CDocTemplate::fileNewName);
            if (!newName.empty() && !ext.empty()) newName += "." + ext;
            initial = ToWide(newName, CP_ACP);
        }
        CFileDialog dlg(FALSE, ext.empty() ? nullptr : ext.c_str(), initial.c_str(),
                        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, dialogFilter.c_str(),
                        AfxGetMainWnd());
        if (dlg.DoModal() != IDOK) return FALSE;
        newName = dlg.GetPathName();
    }
    if (!OnSaveDocument(newName.c_str())) return FALSE;
    if (replace) SetPathName(newName.c_str());
    return TRUE;
}

void CDocument::SetPathName(const wchar_t* path, BOOL addToMru) {
    m_strPathName = FullPathOf(path);
    SetTitle(FileNameOf(m_strPathName));
    if (addToMru && AfxGetApp()) AfxGetApp()->AddToRecentFileList(m_strPathName.c_str());
}

void CDocument::SetTitle(const std::wstring& title) {
    m_strTitle = title;
    for (CView* v : m_views)
        if (CFrameWnd* frame = v->GetParentFrame()) frame->OnUpdateFrameTitle();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject) {
    for (CView* v : m_views)
        if (v != sender) v->OnUpdate(sender, hint, hintObject);
}

void CDocument::AddView(CView* view) {
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    view->m_pDocument = nullptr;
}
