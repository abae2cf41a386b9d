// CDocument: a document kept in a file. Opening reads the whole file before anything is
// replaced, and the contents are replaced only when fully built, so a failed read or load
// leaves the document as it was; saving writes a temporary file
// in the same folder and replaces the old file only after the new one is complete.
#pragma once

#include <vector>

#include "framework/Archive.h"
#include "framework/CmdTarget.h"
#include "framework/WholeFile.h"

class CView;
class CDocTemplate;

class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override;

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const wchar_t* path);
    virtual BOOL OnSaveDocument(const wchar_t* path);
    virtual void DeleteContents() {}
    // Loading builds the new contents apart and puts them in place only when complete; a
    // load that throws must leave the old contents as they were.
    virtual void Serialize(CArchive& ar) {}
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;

    // Asks to save unsaved changes: false when the user cancelled, or when the main window
    // closed while the question was open (the document is then gone).
    virtual BOOL SaveModified();
    // Saves to the document's file, or through Save As when it has none or the file is
    // missing or read-only.
    BOOL DoFileSave();
    // Saves under `path`, or asks for a name when `path` is null.
    BOOL DoSave(const wchar_t* path, BOOL replace = TRUE);

    // The session ends and no question may wait: a document keeps its unsaved changes
    // somewhere now, or loses them.
    virtual void OnEndSession() {}
    // Its frame became the active window (the user came back to it).
    virtual void OnFrameActivated() {}

    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

    const std::wstring& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const wchar_t* path, BOOL addToMru = TRUE);
    const std::wstring& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::wstring& title);
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& Views() const { return m_views; }
    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    void OnFileSave() { DoFileSave(); }
    void OnFileSaveAs() { DoSave(nullptr); }

private:
    void ReportFileError(DWORD error, const wchar_t* path, UINT fallbackId);

    std::wstring m_strPathName;
    std::wstring m_strTitle;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_views;
};
