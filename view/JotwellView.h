// The entry list view: a report list with the columns "Text" and "Explanation", one row
// per entry, the placeholder entry last; editing, Copy, the tooltip with the Explanation,
// and the drag that delivers an entry into another program's window (JotwellViewDrag.cpp);
// the rows, the filter and the selection are in JotwellViewRows.cpp.
//
// How the rows are kept: the list is virtual (LVS_OWNERDATA). Which entry each row shows is
// m_rowMap's (view/RowMap.h), which follows every change the document reports, and every
// row becomes its entry through EntryOfRow before the view asks the document for anything
// (no per-row item data to renumber); the list
// holds no rows of its own, only their count (LVM_SETITEMCOUNT) and the selection, and
// asks for each visible cell's text (LVN_GETDISPINFOW, the document's bytes turned into
// UTF-16 from the code page of its encoding). An insert or a delete therefore costs the same for 10 rows as for 100,000:
// the count changes and the view moves the selection itself so that it stays with the
// entry (insert) or at the same position (delete), as a list of real rows would.
//
// How the text is shown: the list, its tooltip, the label editor and the Modify dialog are
// Unicode throughout, so an entry of a UTF-8 document shows and is edited with every
// character; an edit goes back into the document's encoding. An ANSI document converts
// through the ANSI code page, as the system converted it for an ANSI list before.
#pragma once

#include "document/JotwellDoc.h"
#include "framework/ClipboardRestore.h"
#include "framework/Handles.h"
#include "framework/ToolTipCtrl.h"
#include "framework/View.h"
#include "view/DropNotice.h"
#include "view/RowMap.h"

#include <string>
#include <vector>

class CTextDropTarget;

class CJotwellView : public CListView {
    DECLARE_DYNCREATE(CJotwellView)

public:
    CJotwellView();
    ~CJotwellView() override;

    CJotwellDoc* GetDocument() const;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    BOOL OnNotifyReflect(NMHDR* nm, LRESULT* result) override;
    BOOL OnNotifyFormatReflect(LRESULT* result) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;
    // Draws at `dpi` from now on: the list's font (and with it the rows) and the columns,
    // whose widths stay the same at 96 DPI.
    void SetDpi(UINT dpi);

    // Row operations. A "line" is an entry's index in the document, a "row" one of the list.
    BOOL IsLineSelected(int row) const;
    // The entry of the selected row, -1 when none.
    int GetSelectedLine() const;
    int RowUnderCursor() const;
    int RowAt(POINT client) const;
    int GetRowCount() const;
    void CopyEntryToClipboard(int entry, BOOL explanation);
    // Selects exactly the row of this entry (and gives it the focus mark); -1, or an entry
    // the filter hides, clears the selection.
    void SelectLine(int entry);
    // The entry a row shows (-1 for no row), and the row that shows an entry (-1 when hidden).
    int EntryOfRow(int row) const;
    int RowOfEntry(int entry) const;

    // Shows only the entries whose Text or Explanation holds `typed`, ignoring case; an
    // empty text shows every entry. The selected entry stays selected when it is shown.
    // An entry edited or inserted meanwhile stays shown until the filter changes.
    void SetFilter(const std::wstring& typed);
    BOOL IsFiltered() const { return m_rowMap.Filtered() ? TRUE : FALSE; }

    // Text dropped from another program. The drop target queues it (the program it came
    // from waits until the drop returns, so no question is asked there); DropText then
    // keeps it as a new entry before the row under `screen` (before the placeholder below
    // the rows), its line breaks (CR LF, LF, CR) as the notation, through EncodeTyped.
    // A text the entry could not give back exactly (a backslash before "n") is refused with
    // a message. FALSE when nothing was kept.
    BOOL AcceptsDroppedText() const;
    BOOL QueueDroppedText(POINT screen, const std::wstring& text);
    BOOL DropText(POINT screen, const std::wstring& text);
    // The list's drop target (null when OLE could not register it).
    IDropTarget* GetDropTarget() const;

    // Commands.
    void OnModifyText();
    void OnModifyExplanation();
    void OnInsertLine();
    void OnDeleteLine();
    void OnEditCopy();

    // The question Delete Line asks: "%s\n\n [ %s ]\n\n ( %s )" with string 57349, the
    // row's Text and its Explanation.
    CString DeleteConfirmText(int row) const;
    // The tooltip's text for a row: its Explanation, six spaces when that is empty.
    CString TipText(int row) const;

    // Drag state: the entry dragged (-1 for no drag), and what it delivers, taken at the
    // drag's start: the release never reads the list.
    int m_nDragLine = -1;
    BOOL m_bDragExplanation = FALSE;
    CString m_dragText;
    TextEncoding m_dragEncoding = TextEncoding::Ansi;
    HCURSOR m_hDragCursor = nullptr;
    HCURSOR m_hOldCursor = nullptr;
    // Why the last drop put nothing in, shown at the pointer.
    CDropNotice m_dropNotice;
    // Tooltip state.
    int m_nTipLine = -1;
    CToolTipCtrl m_ToolTip;
    // Puts back what the clipboard held before a drop ("Restore Clipboard after Drop").
    CClipboardRestore m_clipboardRestore;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnDestroy() override;
    BOOL OnNotify(WPARAM wParam, NMHDR* nm, LRESULT* result) override;
    void OnMouseMove(POINT client);
    void OnContextMenu(POINT screen);
    void OnKeyDown(UINT key);
    // The question and the dialog run a message loop, in which an Exit or a logoff may
    // destroy the view: their callers check that it is still there.
    // Asks the Delete Line question; IDOK or IDCANCEL. A test replaces it.
    virtual int AskDeleteConfirm(const CString& text);
    // Opens the edit dialog on `text` (as the user sees it); TRUE on OK. A test replaces it.
    virtual BOOL RunModifyDialog(const CString& title, std::wstring& text);
    // Puts text the user typed into the entry's Text or Explanation, unless the entries were
    // renumbered since the edit began (`generation`: the document's edit generation then).
    void ApplyTyped(int entry, BOOL explanation, const std::wstring& typed, unsigned generation);
    // The file was read again: the selection and the first visible row stay on the same
    // entries where they still exist.
    void ShowReloaded(const CReloadHint& old);
    // A read-only list (its file in no known encoding) takes no edit: TRUE, after saying so.
    BOOL RefusesEdit();

    // Drag targeting (JotwellViewDrag.cpp).
    void OnBeginDrag(const NMLISTVIEW* nm);
    void OnCancelDrag();
    void OnDropRelease(POINT client);

    // The column's width at 96 DPI, as the profile keeps it.
    int ColumnWidth(int column) const;
    // The columns are made once, at the widths of the profile; they are kept there at the end.
    BOOL m_bColumnsReady = FALSE;
    UINT m_nDpi = 96;
    HFONT m_hListFont = nullptr;  // only once the list is drawn at another DPI than the system's
    // The code page of the document's entries (CP_UTF8 or CP_ACP).
    UINT EntryCodePage() const;

    // The filter's rows, matched again over every entry (FALSE: narrowed from the last
    // result where the typed text allows), or every entry without a filter.
    void MatchFilter(BOOL narrow);
    // Sets the list's row count after the rows changed, keeping `entry` selected when it is shown.
    void ShowRows(int selectedEntry);

    ComPtr<CTextDropTarget> m_dropTarget;
    BOOL m_bDropRegistered = FALSE;
    // The entry text dropped at `screen` goes before (the placeholder below the rows).
    int DropEntryAt(POINT screen) const;
    BOOL InsertDropped(int entry, const std::wstring& dropped, unsigned generation);
    std::wstring m_droppedText;  // queued by the drop target
    int m_nDropEntry = -1;       // the entry it goes before, and the generation that numbered it
    unsigned m_nDropGeneration = 0;

    std::wstring m_filterTyped;
    std::string m_filterFolded;   // the typed text as last matched, folded
    unsigned m_filterCodePage = 0;
    RowMap m_rowMap;

    // The cell text last handed to the list (LVN_GETDISPINFOW).
    std::wstring m_cellText;
    // The document's edit generation when the label editor opened.
    unsigned m_nLabelEditGeneration = 0;
    // When the file check was first asked for since it last ran, while one waits.
    bool m_bFileCheckWaiting = false;
    DWORD m_fileCheckAsked = 0;
};
