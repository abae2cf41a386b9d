// The entry document: the entry file (reading, writing, its encoding, its stamp and the
// questions about the file on disk) over the list of entries (EntryList), the destination
// rules, and the document's own commands.
#pragma once

#include "destination/DestinationRuleTable.h"
#include "document/EntryList.h"
#include "framework/Document.h"
#include "text/TextEncoding.h"
#include "framework/FileWatcher.h"

// Update hints the document sends through UpdateAllViews.
constexpr LPARAM HINT_ENTRY_CHANGE = 2;  // a CEntryHint: an edit of the entries
constexpr LPARAM HINT_RELOAD = 5;        // a CReloadHint: the file was read again

// Posted to the first view when the file may have changed on disk (its folder changed, or
// the main window was activated).
constexpr UINT WM_JOTWELL_FILE_CHANGED = WM_APP + 0x0360;

class CEntryHint : public CObject {
public:
    explicit CEntryHint(EntryChange change) : m_change(change) {}
    EntryChange m_change;
};

// The entries as they were before the file was read again, for a view to find the rows it
// showed and selected among the new ones.
class CReloadHint : public CObject {
public:
    EntryColumns m_old;
};

class CJotwellDoc : public CDocument {
    DECLARE_DYNCREATE(CJotwellDoc)

public:
    CJotwellDoc();

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(const wchar_t* path) override;
    void DeleteContents() override;
    void Serialize(CArchive& ar) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;
    // A save never replaces a file that changed on disk since it was read or written here
    // without a choice: with nothing unsaved the file is read again instead; with unsaved
    // edits the user keeps one of the two. A read-only list is never saved: a message says so.
    // A save of its own file that fails after changing it (written in place, part way) is
    // remembered: the changed file is then not taken for another program's.
    BOOL OnSaveDocument(const wchar_t* path) override;
    void SetPathName(const wchar_t* path, BOOL addToMru = TRUE) override;
    // An unsaved list is saved without a question where its file is unchanged on disk,
    // else written to a recovery file that the next start names.
    void OnEndSession() override;
    void OnFrameActivated() override;

    // The entries, the placeholder last.
    const EntryList& Entries() const { return m_entries; }
    // Number of entries, the placeholder included.
    int GetEntryCount() const { return m_entries.Count(); }
    // The entry file's encoding, kept so that a save writes the file back as it was read;
    // the entries hold its text in the ANSI code page or in UTF-8 (a UTF-16 file's too).
    const FileEncoding& Encoding() const { return m_encoding; }
    // A list whose file is in no known encoding: shown, never edited or saved.
    BOOL IsReadOnly() const { return m_encoding.Writable() ? FALSE : TRUE; }

    // Taken when an edit starts (before any dialog, question or editor) and handed to the
    // edit: advanced by every insert, delete, reload and open, so that an edit whose entry
    // number may name another entry by now is refused with ReportEditNotApplied.
    unsigned EditGeneration() const { return m_entries.Generation(); }

    // The edits. Each checks the file on disk and the generation, keeps the placeholder
    // last, marks the document modified, tells the views and saves at once; a save that
    // fails leaves the document modified. False when the edit was not made (an index out
    // of range, nothing changed, the file read again since `generation`).
    BOOL InsertEntry(int index, unsigned generation);
    BOOL DeleteEntry(int index, unsigned generation);  // never the placeholder
    BOOL SetEntryText(int index, const CString& text, unsigned generation);
    BOOL SetEntryExplanation(int index, const CString& text, unsigned generation);
    // A new entry with this Text before entry `index` (the placeholder's index appends),
    // in one edit: one hint, one save.
    BOOL InsertEntryText(int index, const CString& text, unsigned generation);
    // Tells the user that the file changed on disk, was read again and their edit was not made.
    void ReportEditNotApplied() const;

    // The file on disk wins. Compares its stamp with the one of the last read or write;
    // when it changed, reads it again (the views keep their rows), or with unsaved edits
    // asks which to keep; when the change is this document's own failed save, asks to save
    // again or elsewhere. False when the file changed but cannot be read yet (its writer
    // still holds it): the caller tries again later.
    BOOL CheckFileOnDisk();

    // The entry bytes for text the user typed. When the list's code page cannot store
    // some character, asks once whether to keep the list as UTF-8 from now on (its entries
    // are converted); false when the user declines: the edit is then not made.
    BOOL EncodeTyped(const std::wstring& typed, CString& bytes);
    // Writes the list to a new file in Jotwell's folder of the user's local application
    // data; `path` gets its name.
    BOOL WriteRecoveryFile(std::wstring& path);
    // At start: names the recovery file the last session's end wrote, or tells that it
    // could not write one, once.
    static void ReportRecoveryFile();

    void ToggleActiveDestWindow();
    void OnRefresh();
    void OnEditFileByTextEditor();

    BOOL m_bActiveDestWindow = TRUE;
    DestinationRuleTable m_rules;

private:
    // Before an edit: the file on disk wins. False when the edit must not be made.
    BOOL BeginEdit(unsigned generation);
    // Reads the file again without a message; false when it cannot be read now.
    BOOL ReloadFromDisk();
    // With unsaved edits and a file changed on disk: true to keep the document's list
    // (to be saved over the file), false when the file was read again.
    BOOL KeepOwnListOver(const CFileStamp& onDisk);
    // The file on disk is as this document's own failed save left it.
    BOOL IsOwnFailedWrite(const CFileStamp& onDisk) const { return m_bWriteFailed && onDisk == m_failedStamp; }
    // After the own failed save: asks to save again or elsewhere (or to decide later).
    void AskAfterFailedWrite(const CFileStamp& onDisk);
    void ConvertToUtf8();
    // Every entry from a whole file's bytes (its encoding detected); gives the entries replaced.
    EntryColumns LoadFrom(std::string_view bytes);

    EntryList m_entries;
    FileEncoding m_encoding;

    CFileStamp m_diskStamp;  // the file as last read or written here
    BOOL m_bWriteFailed = FALSE;  // the last save of its own file failed
    CFileStamp m_failedStamp;     // the file as that failed save left it
    CFileWatcher m_watcher;
    BOOL m_bCheckingDisk = FALSE;  // a question about the file is open

    // After an edit: the modified mark, the views, the save.
    BOOL EditDone(const std::optional<EntryChange>& change);
    void OnUpdateActiveDestWindow(CCmdUI* ui) { ui->SetCheck(m_bActiveDestWindow ? 1 : 0); }
};
