#include "framework/FrameWnd.h"

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/ToolBar.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "text/CodePageText.h"

BOOL CFrameWnd::LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context) {
    m_frameStyle = style & FWS_ADDTOTITLE;
    CString docString = AfxLoadString(idResource);
    m_strTitle = docString.substr(0, docString.find('\n'));
    HMENU menu = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(idResource));
    m_hAccelTable = LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(idResource));
    const DWORD windowStyle = style & ~FWS_ADDTOTITLE;
    if (!CreateEx(0, nullptr, m_strTitle.c_str(), windowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, menu, context)) {
        if (menu) DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!cs.lpszClass) cs.lpszClass = AfxFrameClassName();
    m_frameStyle |= static_cast<DWORD>(cs.style) & FWS_ADDTOTITLE;
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return TRUE;
}

int CFrameWnd::OnCreate(CREATESTRUCTA* cs) {
    if (Default() == -1) return -1;
    if (!OnCreateClient(cs, static_cast<CCreateContext*>(cs->lpCreateParams))) return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(CREATESTRUCTA*, CCreateContext* context) {
    if (!context || !context->m_pNewViewClass) return TRUE;
    CView* view = dynamic_cast<CView*>(context->m_pNewViewClass->CreateObject());
    if (!view) return FALSE;
    context->m_pCurrentDoc->AddView(view);
    if (!view->Create(this, AFX_IDW_PANE_FIRST)) {
        context->m_pCurrentDoc->RemoveView(view);
        delete view;  // the view window never existed, so it cannot delete itself
        return FALSE;
    }
    m_pView = view;
    m_pDocTemplate = context->m_pNewDocTemplate;
    return TRUE;
}

void CFrameWnd::PostNcDestroy() {
    if (m_pDocTemplate) m_pDocTemplate->OnFrameDestroyed(this);
    delete this;
}

CDocument* CFrameWnd::GetActiveDocument() const { return m_pView ? m_pView->GetDocument() : nullptr; }

void CFrameWnd::InitialUpdateFrame(BOOL makeVisible) {
    if (m_pView) m_pView->OnInitialUpdate();
    OnUpdateFrameTitle();
    if (makeVisible && !IsWindowVisible()) {
        ShowWindow(SW_SHOW);
        UpdateWindow(m_hWnd);
    }
    RecalcLayout();
}

void CFrameWnd::OnUpdateFrameTitle() {
    // The document's title is its file's name, in any language.
    std::wstring title = ToWide(m_strTitle, CP_ACP);
    if (m_frameStyle & FWS_ADDTOTITLE) {
        if (CDocument* doc = GetActiveDocument()) title = doc->GetTitle() + L" - " + title;
    }
    std::wstring now(static_cast<size_t>(GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    now.resize(static_cast<size_t>(GetWindowTextW(m_hWnd, &now[0], static_cast<int>(now.size()))));
    if (now != title) SetWindowTextW(m_hWnd, title.c_str());
}

void CFrameWnd::RecalcLayout() {
    if (!m_hWnd) return;
    RECT client = {};
    GetClientRect(&client);
    HWND bar = GetDlgItem(m_hWnd, AFX_IDW_TOOLBAR);
    // The bar's own visible style: the frame itself may be hidden.
    if (bar && (::GetWindowLongA(bar, GWL_STYLE) & WS_VISIBLE)) {
        RECT r = {};
        ::GetWindowRect(bar, &r);
        const int height = r.bottom - r.top;
        const CToolBar* toolBar = dynamic_cast<CToolBar*>(FromHandlePermanent(bar));
        if (toolBar && toolBar->IsDockedAtBottom()) {
            client.bottom -= height;
            ::SetWindowPos(bar, nullptr, 0, client.bottom, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            ::SetWindowPos(bar, nullptr, 0, client.top, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
            client.top += height;
        }
    }
    if (m_pView && m_pView->m_hWnd)
        m_pView->SetWindowPos(nullptr, client.left, client.top, client.right - client.left,
                              client.bottom - client.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFrameWnd::OnSize(UINT type, int, int) {
    if (type != SIZE_MINIMIZED) RecalcLayout();
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hAccelTable)
        return TranslateAcceleratorW(m_hWnd, m_hAccelTable, msg) != 0;
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, CCmdUI* ui) {
    if (m_pView && m_pView->OnCmdMsg(id, ui)) return TRUE;
    if (OnFrameCommand(id, ui)) return TRUE;
    if (CWinApp* app = AfxGetApp()) return app->OnCmdMsg(id, ui);
    return FALSE;
}

void CFrameWnd::OnClose() {
    const CWndAlive alive(this);
    if (CDocument* doc = GetActiveDocument())
        if (!doc->SaveModified()) return;
    // The question runs a message loop, in which an Exit from the tray menu or a logoff
    // may have destroyed the frame.
    if (alive) DestroyWindow();
}

void CFrameWnd::OnEndSession(BOOL ending) {
    CWinApp* app = AfxGetApp();
    if (!ending || !app || app->m_pMainWnd != this) return;
    // The session ends and the process with it once this returns: close as Exit does, only
    // without the save question; the document keeps what it could not save.
    if (CDocument* doc = GetActiveDocument()) doc->OnEndSession();
    DestroyWindow();  // saves the frame's and the view's settings, closes the document, deletes this
    app->ExitInstance();
}

void CFrameWnd::OnDestroy() {
    Default();
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
}

void CFrameWnd::UpdateMenuItems(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
        CCmdUI ui(menu, static_cast<UINT>(i));
        if (!OnCmdMsg(id, &ui)) ui.Enable(FALSE);
        // A handler may have rebuilt the menu (the recent-file list does).
        if (GetMenuItemCount(menu) != count) {
            UpdateMenuItems(menu);
            return;
        }
    }
}

LRESULT CFrameWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) UpdateMenuItems(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_DROPFILES: {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, 0, &path[0], static_cast<UINT>(path.size())));
        DragFinish(drop);
        ::SetActiveWindow(m_hWnd);
        if (!path.empty() && AfxGetApp()) AfxGetApp()->OpenDocumentFile(path.c_str());
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            if (CDocument* doc = GetActiveDocument()) doc->OnFrameActivated();
        return CWnd::WindowProc(msg, wParam, lParam);
    case WM_QUERYENDSESSION:
        return TRUE;  // nothing to ask: the logoff goes ahead
    case WM_ENDSESSION:
        OnEndSession(static_cast<BOOL>(wParam));
        return 0;
    case WM_SETFOCUS:
        if (m_pView && m_pView->m_hWnd) ::SetFocus(m_pView->m_hWnd);
        return 0;
    default:
        return CWnd::WindowProc(msg, wParam, lParam);
    }
}
