// The entry document: the list of entries (two parallel string arrays ending with the
// empty placeholder entry), the document's settings, the destination rules, and the
// document's own commands.
#pragma once

#include "destination/DestinationRuleTable.h"
#include "framework/Document.h"
#include "text/TextEncoding.h"
#include "framework/FileWatcher.h"

// Update hints the document's edits send through UpdateAllViews.
constexpr LPARAM HINT_INSERT_LINE = 2;  // m_nLine: index of the new entry
constexpr LPARAM HINT_DELETE_LINE = 3;  // m_nLine: index of the removed entry + 1
constexpr LPARAM HINT_CHANGE_LINE = 4;  // m_nLine: index of the entry whose Text or Explanation changed
constexpr LPARAM HINT_RELOAD = 5;       // a CReloadHint: the file was read again

// Posted to the first view when the file may have changed on disk (its folder changed, or
// the main window was activated).
constexpr UINT WM_JOTWELL_FILE_CHANGED = WM_APP + 0x0360;

class CLineHint : public CObject {
public:
    explicit CLineHint(int line = 0) : m_nLine(line) {}
    int m_nLine;
};

// The entries as they were before the file was read again, for a view to find the rows it
// showed and selected among the new ones.
class CReloadHint : public CObject {
public:
    std::vector<CString> m_oldText;
    std::vector<CString> m_oldExplanation;
};

class CJotwellDoc : public CDocument {
    DECLARE_DYNCREATE(CJotwellDoc)

public:
    CJotwellDoc();

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(const char* path) override;
    void DeleteContents() override;
    void Serialize(CArchive& ar) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;
    // A save never replaces a file that changed on disk since it was read or written here
    // without a choice: with nothing unsaved the file is read again instead; with unsaved
    // edits the user keeps one of the two. A read-only list is never saved: a message says so.
    BOOL OnSaveDocument(const char* path) override;
    void SetPathName(const char* path, BOOL addToMru = TRUE) override;
    // An unsaved list is saved without a question where its file is unchanged on disk,
    // else written to a recovery file that the next start names.
    void OnEndSession() override;
    void OnFrameActivated() override;

    // Number of entries, the placeholder included.
    int GetEntryCount() const { return m_aText.GetSize(); }
    // Keeps the last entry an empty placeholder.
    void EnsurePlaceholder();
    // A list whose file is in no known encoding: shown, never edited or saved.
    BOOL IsReadOnly() const { return m_encoding.Writable() ? FALSE : TRUE; }

    // The edits. Each keeps the placeholder last, marks the document modified, tells the
    // views and saves at once; a save that fails leaves the document modified. False when
    // the edit was not made (an index out of range, nothing changed).
    BOOL InsertEntry(int index);
    BOOL DeleteEntry(int index);  // never the placeholder
    BOOL SetEntryText(int index, const CString& text);
    BOOL SetEntryExplanation(int index, const CString& text);
    // A new entry with this Text before entry `index` (the placeholder's index appends),
    // in one edit: one hint, one save.
    BOOL InsertEntryText(int index, const CString& text);
    // Counts the times the entries were read again from disk: an edit prepared (in a
    // dialog) before a reload is not applied after it.
    int ReloadCount() const { return m_nReloads; }
    // Tells the user that the file changed on disk, was read again and their edit was not made.
    void ReportEditNotApplied() const;

    // The file on disk wins. Compares its stamp with the one of the last read or write;
    // when it changed, reads it again (the views keep their rows), or with unsaved edits
    // asks which to keep. False when the file changed but cannot be read yet (its writer
    // still holds it): the caller tries again later.
    BOOL CheckFileOnDisk();

    // The entry bytes for text the user typed. When the list's code page cannot store
    // some character, asks once whether to keep the list as UTF-8 from now on (its entries
    // are converted); false when the user declines: the edit is then not made.
    BOOL EncodeTyped(const std::wstring& typed, CString& bytes);
    // Writes the list to a new file in Jotwell's folder of the user's local application
    // data; `path` gets its name.
    BOOL WriteRecoveryFile(CString& path);
    // At start: names the recovery file the last session's end wrote, once.
    static void ReportRecoveryFile();

    void ToggleAlwaysOnTop();
    void ToggleActiveDestWindow();
    void OnRefresh();
    void OnEditFileByTextEditor();

    BOOL m_bAlwaysOnTop = TRUE;
    BOOL m_bActiveDestWindow = TRUE;
    int m_nSeparate = 64;
    int m_nEndPart = 24;
    // The entry file's encoding, kept so that a save writes the file back as it was read;
    // the entries hold its text in the ANSI code page or in UTF-8 (a UTF-16 file's too).
    FileEncoding m_encoding;
    CStringArray m_aText;
    CStringArray m_aExplanation;
    BOOL m_bColumnsReady = FALSE;
    int m_nColumnWidth[2] = {0, 0};
    DestinationRuleTable m_rules;

private:
    // Before an edit: the file on disk wins. False when the edit must not be made.
    BOOL BeginEdit();
    // Reads the file again without a message; false when it cannot be read now.
    BOOL ReloadFromDisk();
    // With unsaved edits and a file changed on disk: true to keep the document's list
    // (to be saved over the file), false when the file was read again.
    BOOL KeepOwnListOver(const CFileStamp& onDisk);
    void ConvertToUtf8();

    CFileStamp m_diskStamp;  // the file as last read or written here
    CFileWatcher m_watcher;
    BOOL m_bCheckingDisk = FALSE;  // a question about the file is open
    int m_nReloads = 0;

    // After an edit of entry `index`: the placeholder, the modified mark, the views, the save.
    void EditDone(LPARAM hint, int index);
    BOOL SetEntryColumn(CStringArray& column, int index, const CString& text);
    void OnUpdateAlwaysOnTop(CCmdUI* ui) { ui->SetCheck(m_bAlwaysOnTop ? 1 : 0); }
    void OnUpdateActiveDestWindow(CCmdUI* ui) { ui->SetCheck(m_bActiveDestWindow ? 1 : 0); }
};
