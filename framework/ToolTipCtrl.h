// CToolTipCtrl: a thin owner of a tooltip window ("tooltips_class32"). The window is not
// attached as a CWnd, so its notifications reach the tool window's OnNotify. The tooltip is a
// Unicode window with a Unicode tool, so a tip can hold any character: it asks the tool window
// for the form of its TTN_GETDISPINFO (WM_NOTIFYFORMAT), and an owner that answers
// NFR_UNICODE gets TTN_GETDISPINFOW.
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
