#include "frame/MainFrame.h"

IMPLEMENT_DYNCREATE(CMainFrame)

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | FWS_ADDTOTITLE;
    cs.cx = 165;
    cs.cy = 343;
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMainFrame::OnFrameCommand(UINT id, CCmdUI* ui) {
    static const CommandEntry<CMainFrame> map[] = {
        {ID_APP_EXIT, &CMainFrame::OnAppExit, nullptr},
        {ID_CLOSE_WINDOW, &CMainFrame::OnCloseWindow, nullptr},
    };
    return DispatchCommand(this, map, id, ui);
}

void CMainFrame::OnAppExit() {
    m_bExiting = TRUE;
    PostMessage(WM_CLOSE);
}

void CMainFrame::OnCloseWindow() { PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }

void CMainFrame::Hide() {
    m_bVisible = FALSE;
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE);
}

void CMainFrame::OnSysCommand(UINT command, LPARAM) {
    switch (command) {
    case SC_CLOSE:
        if (m_bExiting) {
            Default();
            return;
        }
        Hide();
        return;
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
        return;
    default:
        Default();
        return;
    }
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_CONTEXTMENU:
        return 0;
    default:
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }
}
