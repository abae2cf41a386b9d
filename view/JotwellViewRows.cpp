// The rows of CJotwellView: which entry each row shows (m_rowMap, with the filter's matches),
// how the rows and their marks follow each change of the document, and the selection.
#include "document/JotwellDoc.h"
#include "text/CodePageText.h"
#include "view/EntryFilter.h"
#include "view/JotwellView.h"

#include <utility>

namespace {

// The rows marked selected and focused (-1 where none is).
struct MarkedRows {
    int selected = -1;
    int focused = -1;
};

MarkedRows MarkedRowsOf(HWND list) {
    MarkedRows marked;
    marked.selected = static_cast<int>(
        ::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
    marked.focused = static_cast<int>(
        ::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    return marked;
}

// Sets the states in mask of row (-1: of every row) to those in state; a selected row
// becomes the selection mark.
void SetRowState(HWND list, int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    if (state & LVIS_SELECTED) ::SendMessageA(list, LVM_SETSELECTIONMARK, 0, row);
}

// Only the marked rows are cleared: clearing item -1 walks every row (tens of
// milliseconds for 100,000 rows under Wine).
void ClearMarks(HWND list, MarkedRows marked) {
    for (const int row : {marked.selected, marked.focused})
        if (row >= 0) SetRowState(list, row, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

// Selects and focuses row, and makes it the selection mark.
void MarkRow(HWND list, int row) { SetRowState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED); }

}  // namespace

int CJotwellView::GetRowCount() const { return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }

int CJotwellView::EntryOfRow(int row) const { return m_rowMap.EntryOfRow(row); }

int CJotwellView::RowOfEntry(int entry) const { return m_rowMap.RowOfEntry(entry); }

void CJotwellView::SetFilter(const std::wstring& typed) {
    if (typed == m_filterTyped && (m_rowMap.Filtered() || typed.empty())) return;
    const int selected = GetSelectedLine();
    m_filterTyped = typed;
    MatchFilter(TRUE);
    ShowRows(selected);
}

void CJotwellView::MatchFilter(BOOL narrow) {
    const CJotwellDoc* doc = GetDocument();
    if (!doc || m_filterTyped.empty()) {
        m_rowMap.ShowAll(doc ? doc->GetEntryCount() : 0);
        m_filterFolded.clear();
        return;
    }
    const bool utf8 = doc->Encoding().Encoding == TextEncoding::Utf8;
    const unsigned codePage = utf8 ? CP_UTF8 : ::GetACP();
    const EntryFilter filter(codePage);
    bool lossy = false;
    const std::string bytes = FromWide(m_filterTyped, utf8 ? CP_UTF8 : CP_ACP, &lossy);
    std::vector<int> rows;
    if (lossy) {
        // A character the list's code page lacks is in no entry.
        rows.push_back(doc->GetEntryCount() - 1);
        m_filterFolded.clear();
    } else {
        std::string folded = filter.FoldNeedle(bytes);
        // The last result holds every entry that holds the longer text (and the entries
        // edited since, which are tested again).
        const bool fromLast = narrow && m_rowMap.Filtered() && m_filterCodePage == codePage &&
                              filter.Narrows(m_filterFolded, folded);
        const EntryColumns& columns = doc->Entries().Columns();
        filter.Match(columns.Texts, columns.Explanations, folded, fromLast ? &m_rowMap.Rows() : nullptr, rows);
        m_filterFolded = std::move(folded);
    }
    m_filterCodePage = codePage;
    m_rowMap.ShowOnly(std::move(rows), doc->GetEntryCount());
}

void CJotwellView::ShowRows(int selectedEntry) {
    const MarkedRows marked = MarkedRowsOf(m_hWnd);
    ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    ClearMarks(m_hWnd, marked);
    ::SendMessageA(m_hWnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_rowMap.RowCount()), 0);
    const int row = RowOfEntry(selectedEntry);
    if (row >= 0) {
        MarkRow(m_hWnd, row);
        ::SendMessageA(m_hWnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    }
    m_nTipLine = -1;
    ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CJotwellView::OnUpdate(CView*, LPARAM hint, CObject* hintObject) {
    if (!GetDocument()) return;
    if (hint == HINT_RELOAD) {
        if (const CReloadHint* reload = dynamic_cast<const CReloadHint*>(hintObject)) ShowReloaded(*reload);
        return;
    }
    const CEntryHint* edit = dynamic_cast<const CEntryHint*>(hintObject);
    if (hint == HINT_ENTRY_CHANGE && edit && edit->m_change.Kind == EntryChangeKind::Change) {
        // The entry stays shown even when it no longer matches.
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return;
    }
    if (hint != 0 && !(hint == HINT_ENTRY_CHANGE && edit)) return;

    CWaitCursor wait;
    ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    if (hint == 0) {
        // A rebuild: no row is selected afterwards, as after inserting every row anew.
        MatchFilter(FALSE);
        ::SendMessageA(m_hWnd, LVM_DELETEALLITEMS, 0, 0);
        ::SendMessageA(m_hWnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_rowMap.RowCount()), 0);
    } else {
        // The rows move as real rows would, with the new entry shown whether or not it matches.
        const RowMove move = m_rowMap.Follow(edit->m_change);
        const int rowCount = m_rowMap.RowCount();
        const MarkedRows marked = MarkedRowsOf(m_hWnd);
        const int newSelected = move.Moved(marked.selected);
        const int newFocused = move.Moved(marked.focused);
        const bool moved = newSelected != marked.selected || newFocused != marked.focused;
        // Cleared while their indices still count. The list has single selection, so no
        // other row is selected.
        if (moved) ClearMarks(m_hWnd, marked);
        ::SendMessageA(m_hWnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount), LVSICF_NOSCROLL);
        if (moved) {
            if (newFocused >= 0 && newFocused < rowCount) SetRowState(m_hWnd, newFocused, LVIS_FOCUSED, LVIS_FOCUSED);
            if (newSelected >= 0 && newSelected < rowCount)
                SetRowState(m_hWnd, newSelected, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    m_nTipLine = -1;
    ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CJotwellView::ShowReloaded(const CReloadHint& old) {
    const EntryList& now = GetDocument()->Entries();
    const MarkedRows marked = MarkedRowsOf(m_hWnd);
    const int top = static_cast<int>(::SendMessageA(m_hWnd, LVM_GETTOPINDEX, 0, 0));
    // Rows name entries of the old list; the filter is matched again over the new one.
    const int selectedEntry = FindEntryAgain(old.m_old, now, EntryOfRow(marked.selected));
    const int topEntry = FindEntryAgain(old.m_old, now, EntryOfRow(top));
    MatchFilter(FALSE);
    const int rowCount = m_rowMap.RowCount();
    const int newSelected = RowOfEntry(selectedEntry);
    int newTop = RowOfEntry(topEntry);
    if (newTop < 0) newTop = top < rowCount ? top : rowCount - 1;

    CWaitCursor wait;
    ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    ClearMarks(m_hWnd, marked);
    ::SendMessageA(m_hWnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount), LVSICF_NOSCROLL);
    if (newSelected >= 0) MarkRow(m_hWnd, newSelected);
    const int nowTop = static_cast<int>(::SendMessageA(m_hWnd, LVM_GETTOPINDEX, 0, 0));
    RECT row = {LVIR_BOUNDS, 0, 0, 0};
    if (newTop != nowTop && rowCount > 0 && ::SendMessageA(m_hWnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)))
        ::SendMessageA(m_hWnd, LVM_SCROLL, 0, (newTop - nowTop) * (row.bottom - row.top));
    m_nTipLine = -1;
    ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

BOOL CJotwellView::IsLineSelected(int row) const {
    if (row < 0 || row >= GetRowCount()) return FALSE;
    return (::SendMessageA(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

int CJotwellView::GetSelectedLine() const {
    const CJotwellDoc* doc = GetDocument();
    if (!doc) return -1;
    const int row = static_cast<int>(
        ::SendMessageA(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
    return EntryOfRow(row);
}

void CJotwellView::SelectLine(int entry) {
    const int row = RowOfEntry(entry);
    SetRowState(m_hWnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0 || row >= GetRowCount()) return;
    MarkRow(m_hWnd, row);
}

int CJotwellView::RowAt(POINT client) const {
    LVHITTESTINFO hit = {};
    hit.pt = client;
    const int row = static_cast<int>(::SendMessageA(m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row < 0 || !(hit.flags & LVHT_ONITEM)) return -1;
    return row;
}

int CJotwellView::RowUnderCursor() const {
    POINT first = {};
    if (!::SendMessageA(m_hWnd, LVM_GETITEMPOSITION, 0, reinterpret_cast<LPARAM>(&first))) return -1;
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    if (cursor.y < first.y) return -1;
    return RowAt(cursor);
}
