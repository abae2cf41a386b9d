#include "view/JotwellView.h"

#include "app/JotwellApp.h"
#include "document/JotwellDoc.h"

IMPLEMENT_DYNCREATE(CJotwellView)

CJotwellDoc* CJotwellView::GetDocument() const { return static_cast<CJotwellDoc*>(m_pDocument); }

BOOL CJotwellView::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.style = (cs.style & ~LVS_SMALLICON) | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS |
               LVS_OWNERDATA;
    return CListView::PreCreateWindow(cs);
}

int CJotwellView::ColumnWidth(int column) const {
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

void CJotwellView::OnInitialUpdate() {
    CJotwellDoc* doc = GetDocument();
    if (doc->m_bAlwaysOnTop) {
        doc->m_bAlwaysOnTop = FALSE;
        doc->ToggleAlwaysOnTop();
    }
    if (!doc->m_bColumnsReady) {
        doc->m_nColumnWidth[0] = doc->m_nSeparate;
        doc->m_nColumnWidth[1] = doc->m_nEndPart;
    } else {
        doc->m_nColumnWidth[0] = ColumnWidth(0);
        doc->m_nColumnWidth[1] = ColumnWidth(1);
    }
    while (::SendMessageA(m_hWnd, LVM_DELETECOLUMN, 0, 0)) {
    }
    ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | LVS_SHOWSELALWAYS);
    ::SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    static const UINT headers[2] = {IDS_COLUMN_TEXT, IDS_COLUMN_EXPLANATION};
    for (int i = 0; i < 2; ++i) {
        CString header = AfxLoadString(headers[i]);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = doc->m_nColumnWidth[i];
        column.pszText = &header[0];
        column.iSubItem = i;
        if (::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)) < 0)
            return;
    }
    doc->m_bColumnsReady = TRUE;
    CListView::OnInitialUpdate();
}

void CJotwellView::OnUpdate(CView*, LPARAM hint, CObject*) {
    if (hint != 0) return;
    CWaitCursor wait;
    ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(m_hWnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(GetDocument()->GetEntryCount()), 0);
    ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

BOOL CJotwellView::OnNotifyReflect(NMHDR* nm, LRESULT* result) {
    switch (nm->code) {
    case LVN_GETDISPINFOA: {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(nm)->item;
        const CJotwellDoc* doc = GetDocument();
        if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && item.iItem < doc->GetEntryCount()) {
            const CStringArray& column = item.iSubItem == 0 ? doc->m_aText : doc->m_aExplanation;
            // The list only reads the text; it points into the document's own string.
            item.pszText = const_cast<char*>(column[item.iItem].c_str());
        }
        *result = 0;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void CJotwellView::OnDestroy() {
    const int w0 = ColumnWidth(0);
    const int w1 = ColumnWidth(1);
    Default();
    CJotwellApp* app = JotwellApp();
    if (!app || !app->m_bStarted || !GetDocument()) return;
    app->WriteProfileInt("Pos", "Separate", (w0 <= 0 || w0 > 1200) ? 80 : w0);
    app->WriteProfileInt("Pos", "EndPart", (w1 <= 0 || w1 > 1200) ? 80 : w1);
    app->WriteProfileString("WebInput", "File", GetDocument()->m_strWebInputFile.c_str());
}
