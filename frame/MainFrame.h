// The main window: a small tool window that hides instead of closing.
#pragma once

#include "framework/FrameWnd.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

public:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnFrameCommand(UINT id, CCmdUI* ui) override;

    BOOL m_bExiting = FALSE;  // Exit was chosen: a close request really closes
    BOOL m_bVisible = TRUE;   // shown, as the tray toggle sees it

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnSysCommand(UINT command, LPARAM lParam);
    void OnAppExit();
    void OnCloseWindow();
    void Hide();
};
