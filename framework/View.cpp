#include "framework/View.h"

#include "framework/Document.h"

BOOL CView::Create(CWnd* parent, UINT id) {
    return CreateEx(WS_EX_CLIENTEDGE, nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0,
                    parent->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.style &= ~static_cast<LONG>(WS_BORDER);
    return TRUE;
}

BOOL CView::OnCmdMsg(UINT id, CCmdUI* ui) {
    return m_pDocument ? m_pDocument->OnCmdMsg(id, ui) : FALSE;
}

void CView::PostNcDestroy() {
    if (m_pDocument) m_pDocument->RemoveView(this);
    delete this;
}

BOOL CListView::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.lpszClass = WC_LISTVIEWA;
    return CView::PreCreateWindow(cs);
}
