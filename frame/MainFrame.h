// The main window: a small tool window with a menu, a toolbar and the entry list. It keeps
// its place and size across runs, hides to the notification area instead of closing, and
// comes back from its tray icon. Between the toolbar and the list sits the filter field
// (Ctrl+F): what is typed there narrows the list as it is typed; Esc clears it.
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
    BOOL PreTranslateMessage(MSG* msg) override;
    // The toolbar, then the filter field, then the list.
    void RecalcLayout() override;

    BOOL m_bExiting = FALSE;  // Exit was chosen: a close request really closes
    BOOL m_bVisible = TRUE;   // shown, as the tray toggle sees it
    CToolBar m_wndToolBar;
    CTrayIcon m_trayIcon;
    CHotKeyRegistration m_hotKey;  // the key that calls the window ("Option"/"HotKey")
    // The hotkey: shows the window near the pointer, in front, or hides it when it is in front.
    void OnCallKey();
    // Registers the key of the setting; a key another program holds is told once per value.
    void RegisterCallKey();
    HWND m_hFilter = nullptr;  // the filter field, a child window: destroyed with the frame
    // "Always on Top": read once at creation, kept in the profile by its command.
    BOOL m_bAlwaysOnTop = TRUE;

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
    void OnAlwaysOnTop();
    void OnUpdateAlwaysOnTop(CCmdUI* ui) { ui->SetCheck(m_bAlwaysOnTop ? 1 : 0); }
    // Puts the window in the topmost band or back in the normal one, by m_bAlwaysOnTop.
    void ApplyAlwaysOnTop();
    void OnDeliveryRules();
    // "Restore Clipboard after Drop": read by each drop.
    void OnRestoreClipboard();
    void OnUpdateRestoreClipboard(CCmdUI* ui);
    // Ctrl+F, and the hotkey showing the window: the filter field, its text selected.
    void OnFilterFocus();
    // The field's text changed: the list shows what it holds.
    void OnFilterChanged();
    // Esc in the field: it is cleared and the list gets the focus.
    void LeaveFilter(BOOL clear);
    int m_nFilterHeight = 0;
    void Hide();
    void ShowNearPointer();

    int m_nTakenKeyTold = 0;  // the last key reported as held by another program
};
