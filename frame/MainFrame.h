// The main window: a small tool window with a menu, a toolbar and the entry list. It keeps
// its place and size across runs, hides to the notification area instead of closing, and
// comes back from its tray icon.
#pragma once

#include "frame/HotKey.h"
#include "frame/TrayIcon.h"
#include "framework/FrameWnd.h"
#include "framework/ToolBar.h"

// Message the tray icon sends for its mouse events.
constexpr UINT WM_TRAY_NOTIFY = 0x8401;
// Posted when the hotkey could not be registered: wParam is its value.
constexpr UINT WM_HOTKEY_TAKEN = 0x8402;

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

public:
    CMainFrame();
    BOOL DestroyWindow() override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnFrameCommand(UINT id, CCmdUI* ui) override;

    BOOL m_bExiting = FALSE;  // Exit was chosen: a close request really closes
    BOOL m_bVisible = TRUE;   // shown, as the tray toggle sees it
    CToolBar m_wndToolBar;
    CTrayIcon m_trayIcon;
    CHotKeyRegistration m_hotKey;  // the key that calls the window ("Option"/"HotKey")
    // The hotkey: shows the window near the pointer, in front, or hides it when it is in front.
    void OnCallKey();
    // Registers the key of the setting; a key another program holds is told once per value.
    void RegisterCallKey();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    // Exit cancelled at the save question: the window stays, and closing it hides it again.
    void OnClose() override;
    void OnSysCommand(UINT command, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM id, LPARAM event);
    void OnAppExit();
    void OnCloseWindow();
    void OnDisplay();
    void OnInitWindowPos();
    void OnConvertHalfWidth();
    void OnPrefixLines();
    void OnViewToolBar();
    void OnUpdateViewToolBar(CCmdUI* ui);
    void OnHotKeySetting();
    // "Restore Clipboard after Drop": read by each drop.
    void OnRestoreClipboard();
    void OnUpdateRestoreClipboard(CCmdUI* ui);
    void Hide();
    void ShowNearPointer();
    // Where the keyboard goes when the hotkey shows the window.
    void FocusFilterField();

    int m_nTakenKeyTold = 0;  // the last key reported as held by another program
};
