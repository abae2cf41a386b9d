// The entry document: the list of entries (two parallel string arrays ending with the
// empty placeholder entry), the document's settings, the destination rules, and the
// document's own commands.
#pragma once

#include "destination/DestinationRuleTable.h"
#include "document/TextEncoding.h"
#include "framework/Document.h"

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

    void ToggleAlwaysOnTop();
    void ToggleActiveDestWindow();
    void OnRefresh();
    void OnEditFileByTextEditor();

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
    DestinationRuleTable m_rules;

private:
    void OnUpdateAlwaysOnTop(CCmdUI* ui) { ui->SetCheck(m_bAlwaysOnTop ? 1 : 0); }
    void OnUpdateActiveDestWindow(CCmdUI* ui) { ui->SetCheck(m_bActiveDestWindow ? 1 : 0); }
};
