// The entry document: the list of entries (two parallel string arrays ending with the
// empty placeholder entry), the document's settings, the destination rules and the web
// input settings, and the document's own commands.
#pragma once

#include "browser/BrowserWorker.h"
#include "destination/DestinationRuleTable.h"
#include "framework/Document.h"
#include "text/TextEncoding.h"
#include "webinput/WebInputSettings.h"

class CJotwellDoc : public CDocument {
    DECLARE_DYNCREATE(CJotwellDoc)

public:
    CJotwellDoc();

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(const char* path) override;
    // A read-only list is never saved: the message says so.
    BOOL OnSaveDocument(const char* path) override;
    void DeleteContents() override;
    void Serialize(CArchive& ar) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;

    // Number of entries, the placeholder included.
    int GetEntryCount() const { return m_aText.GetSize(); }
    // Keeps the last entry an empty placeholder.
    void EnsurePlaceholder();
    // A list whose file is in no known encoding: shown, never edited or saved.
    BOOL IsReadOnly() const { return m_encoding.Writable() ? FALSE : TRUE; }

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
    // the entries hold its text in the ANSI code page or in UTF-8 (a UTF-16 file's too).
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
    void OnAutoInput() { StartBrowserWorker(); }
    void OnTagIndexReport();
    void OnOpenWebInputFile();
    void OnUpdateAlwaysOnTop(CCmdUI* ui) { ui->SetCheck(m_bAlwaysOnTop ? 1 : 0); }
    void OnUpdateActiveDestWindow(CCmdUI* ui) { ui->SetCheck(m_bActiveDestWindow ? 1 : 0); }
};
