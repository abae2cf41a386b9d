// The entry document: the list of entries (two parallel string arrays ending with the
// empty placeholder entry), the document's settings, the destination rules and the web
// input settings, and the document's own commands.
#pragma once

#include "browser/BrowserWorker.h"
#include "destination/DestinationRuleTable.h"
#include "document/TextEncoding.h"
#include "framework/Document.h"
#include "webinput/WebInputSettings.h"

// Update hints the document's edits send through UpdateAllViews.
constexpr LPARAM HINT_INSERT_LINE = 2;  // m_nLine: index of the new entry
constexpr LPARAM HINT_DELETE_LINE = 3;  // m_nLine: index of the removed entry + 1
constexpr LPARAM HINT_CHANGE_LINE = 4;  // m_nLine: index of the entry whose Text or Explanation changed

class CLineHint : public CObject {
public:
    explicit CLineHint(int line = 0) : m_nLine(line) {}
    int m_nLine;
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

    // Number of entries, the placeholder included.
    int GetEntryCount() const { return m_aText.GetSize(); }
    // Keeps the last entry an empty placeholder.
    void EnsurePlaceholder();

    // The edits. Each keeps the placeholder last, marks the document modified, tells the
    // views and saves at once; a save that fails leaves the document modified. False when
    // the edit was not made (an index out of range, nothing changed).
    BOOL InsertEntry(int index);
    BOOL DeleteEntry(int index);  // never the placeholder
    BOOL SetEntryText(int index, const CString& text);
    BOOL SetEntryExplanation(int index, const CString& text);

    void ToggleAlwaysOnTop();
    void ToggleActiveDestWindow();
    void OnRefresh();
    void OnEditFileByTextEditor();

    // Starts a browser run (a fill, or the tag index report when one was requested)
    // on a worker thread, with a copy of the web input settings taken now. False when
    // a run is in progress or no thread could be made.
    BOOL StartBrowserWorker(WorkerThreadStarter start = StartWorkerThread);
    // Loads the web input setting file m_strWebInputFile and enables or grays the
    // main menu's "Web" menu by whether any page field was stored.
    void LoadWebInputSettings();

    BOOL m_bAlwaysOnTop = TRUE;
    BOOL m_bActiveDestWindow = TRUE;
    int m_nSeparate = 64;
    int m_nEndPart = 24;
    // The entry file's encoding, kept so that a save writes the file back as it was read;
    // the entries hold the file's bytes in it (ANSI code page or UTF-8).
    FileEncoding m_encoding;
    CStringArray m_aText;
    CStringArray m_aExplanation;
    BOOL m_bColumnsReady = FALSE;
    int m_nColumnWidth[2] = {0, 0};
    WebInputSettings m_webInput;
    CString m_strWebInputFile;
    BOOL m_bWebInputLoaded = FALSE;
    BOOL m_bTagIndexRequested = FALSE;
    DestinationRuleTable m_rules;

private:
    // After an edit of entry `index`: the placeholder, the modified mark, the views, the save.
    void EditDone(LPARAM hint, int index);
    BOOL SetEntryColumn(CStringArray& column, int index, const CString& text);

    void OnAutoInput() { StartBrowserWorker(); }
    void OnTagIndexReport();
    void OnOpenWebInputFile();
    void OnUpdateAlwaysOnTop(CCmdUI* ui) { ui->SetCheck(m_bAlwaysOnTop ? 1 : 0); }
    void OnUpdateActiveDestWindow(CCmdUI* ui) { ui->SetCheck(m_bActiveDestWindow ? 1 : 0); }
};
