// CToolTipCtrl: a thin owner of a tooltip window ("tooltips_class32"). The window is not
// attached as a CWnd, so its notifications (TTN_GETDISPINFO) reach the owner's OnNotify.
#pragma once

#include "framework/Afx.h"

class CToolTipCtrl {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl();
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    // Creates the tooltip window owned by `owner` with the given TTS_* style.
    BOOL Create(HWND owner, DWORD style = 0);
    // Adds a tool that is the window `tool` itself (TTF_IDISHWND) with text by callback.
    BOOL AddWindowTool(HWND tool);
    void Activate(BOOL active);
    void SetDelayTime(DWORD which, int milliseconds);
    void RelayEvent(MSG* msg);
    void Destroy();

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
};
