#include "frame/MainFrame.h"

#include "settings/ProfileAccess.h"
#include "frame/ClipboardConversions.h"
#include "frame/DeliveryRulesDlg.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "view/JotwellView.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

IMPLEMENT_DYNCREATE(CMainFrame)

namespace {

constexpr int kNoPosition = Profile::kWindowLeft.defaultValue;
// Size of a window that has no saved place.
constexpr int kFirstWidth = 120;
constexpr int kFirstHeight = 280;
// Where "Initialize Window Position" puts the window.
constexpr int kResetX = 100;
constexpr int kResetY = 100;
// The identifier of the hotkey that calls the window.
constexpr int kCallKeyId = 1;

}  // namespace

CMainFrame::CMainFrame() : m_trayIcon(IDR_TRAYICON) {}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | FWS_ADDTOTITLE;
    cs.cx = 165;
    cs.cy = 343;
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(CREATESTRUCTA* cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;

    const int x = ReadSetting(Profile::kWindowLeft);
    const int y = ReadSetting(Profile::kWindowTop);
    const int w = ReadSetting(Profile::kWindowWidth);
    const int h = ReadSetting(Profile::kWindowHeight);
    // Sizes are kept at 96 DPI and scaled for the monitor the window is on.
    if (x == kNoPosition || y == kNoPosition || w == kNoPosition || h == kNoPosition) {
        const UINT dpi = WindowDpi(m_hWnd);
        SetWindowPos(HWND_TOP, 0, 0, ScaleToDpi(kFirstWidth, dpi), ScaleToDpi(kFirstHeight, dpi),
                     SWP_NOMOVE | SWP_SHOWWINDOW);
    } else {
        SetWindowPos(nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
        const UINT dpi = WindowDpi(m_hWnd);
        SetWindowPos(nullptr, 0, 0, ScaleToDpi(w, dpi), ScaleToDpi(h, dpi), SWP_NOZORDER | SWP_NOMOVE);
    }

    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME, WindowDpi(m_hWnd)))
        return -1;
    // A new window is not topmost; only the setting's "on" needs applying.
    m_bAlwaysOnTop = ReadSetting(Profile::kAlwaysOnTop) ? TRUE : FALSE;
    if (m_bAlwaysOnTop) ApplyAlwaysOnTop();

    // Docking: the bar goes to the top or the bottom of the frame.
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndToolBar.DockAt(CBRS_ALIGN_TOP);
    m_wndToolBar.LoadBarState(Profile::kToolBarStateName);

    m_hFilter = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                  0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FILTER)),
                                  AfxGetInstanceHandle(), nullptr);
    if (m_hFilter) {
        HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        ::SendMessageW(m_hFilter, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // The field is as high as its font with the frame of an edit around it.
        TEXTMETRICW metrics = {};
        if (HDC dc = ::GetDC(m_hFilter)) {
            const HGDIOBJ old = ::SelectObject(dc, font);
            ::GetTextMetricsW(dc, &metrics);
            ::SelectObject(dc, old);
            ::ReleaseDC(m_hFilter, dc);
        }
        m_nFilterHeight = metrics.tmHeight + 4 + 2 * ::GetSystemMetrics(SM_CYEDGE);
        wchar_t cue[128] = {};
        if (::LoadStringW(AfxGetResourceHandle(), IDS_FILTER_CUE, cue, 128) > 0)
            ::SendMessageW(m_hFilter, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue));
        RecalcLayout();
    }

    m_trayIcon.SetCallback(this, WM_TRAY_NOTIFY);
    m_trayIcon.SetIconResource(IDR_TRAYICON);
    RegisterCallKey();
    return 0;
}

void CMainFrame::RecalcLayout() {
    CFrameWnd::RecalcLayout();
    if (!m_hFilter || !m_pView || !m_pView->m_hWnd) return;
    RECT list = {};
    ::GetWindowRect(m_pView->m_hWnd, &list);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&list), 2);
    const int height = std::min<int>(m_nFilterHeight, list.bottom - list.top);
    ::SetWindowPos(m_hFilter, nullptr, list.left, list.top, list.right - list.left, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_pView->SetWindowPos(nullptr, list.left, list.top + height, list.right - list.left,
                          list.bottom - list.top - height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg) {
    // Keys typed in the filter field are the field's: no accelerator takes Ctrl+C,
    // Insert or F2 from it. Esc clears it, Enter and Down go on to the list.
    if (m_hFilter && msg->hwnd == m_hFilter && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        if (msg->message == WM_KEYDOWN) {
            switch (msg->wParam) {
            case VK_ESCAPE:
                LeaveFilter(TRUE);
                return TRUE;
            case VK_RETURN:
            case VK_DOWN:
                LeaveFilter(FALSE);
                return TRUE;
            default:
                break;
            }
        }
        if (msg->message == WM_CHAR && (msg->wParam == 0x1B || msg->wParam == '\r')) return TRUE;
        ::TranslateMessage(msg);
        ::DispatchMessageW(msg);
        return TRUE;
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

void CMainFrame::OnFilterFocus() {
    if (!m_hFilter) return;
    ::SetFocus(m_hFilter);
    ::SendMessageW(m_hFilter, EM_SETSEL, 0, -1);
}

void CMainFrame::OnFilterChanged() {
    const int length = ::GetWindowTextLengthW(m_hFilter);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(m_hFilter, &text[0], length + 1)));
    if (CJotwellView* view = dynamic_cast<CJotwellView*>(m_pView)) view->SetFilter(text);
}

void CMainFrame::LeaveFilter(BOOL clear) {
    if (clear) ::SetWindowTextW(m_hFilter, L"");  // EN_CHANGE shows every entry again
    CJotwellView* view = dynamic_cast<CJotwellView*>(m_pView);
    if (!view || !view->m_hWnd) return;
    ::SetFocus(view->m_hWnd);
    if (view->GetSelectedLine() < 0 && view->GetRowCount() > 0) view->SelectLine(view->EntryOfRow(0));
}

BOOL CMainFrame::DestroyWindow() {
    if (m_hWnd) {
        RECT r = {};
        GetWindowRect(&r);
        WriteSetting(Profile::kWindowLeft, r.left);
        WriteSetting(Profile::kWindowTop, r.top);
        const UINT dpi = WindowDpi(m_hWnd);
        WriteSetting(Profile::kWindowWidth, UnscaleFromDpi(r.right - r.left, dpi));
        WriteSetting(Profile::kWindowHeight, UnscaleFromDpi(r.bottom - r.top, dpi));
        m_wndToolBar.SaveBarState(Profile::kToolBarStateName);
    }
    return CFrameWnd::DestroyWindow();
}

BOOL CMainFrame::OnFrameCommand(UINT id, CCmdUI* ui) {
    static const CommandEntry<CMainFrame> map[] = {
        {ID_APP_EXIT, &CMainFrame::OnAppExit, nullptr},
        {ID_INIT_WINDOW_POS, &CMainFrame::OnInitWindowPos, nullptr},
        {ID_CLOSE_WINDOW, &CMainFrame::OnCloseWindow, nullptr},
        {ID_DISPLAY, &CMainFrame::OnDisplay, nullptr},
        {ID_CONVERT_HALF_WIDTH, &CMainFrame::OnConvertHalfWidth, nullptr},
        {ID_PREFIX_LINES, &CMainFrame::OnPrefixLines, nullptr},
        {ID_HOT_KEY, &CMainFrame::OnHotKeySetting, nullptr},
        {ID_ALWAYS_ON_TOP, &CMainFrame::OnAlwaysOnTop, &CMainFrame::OnUpdateAlwaysOnTop},
        {ID_DELIVERY_RULES, &CMainFrame::OnDeliveryRules, nullptr},
        {ID_RESTORE_CLIPBOARD, &CMainFrame::OnRestoreClipboard, &CMainFrame::OnUpdateRestoreClipboard},
        {ID_VIEW_TOOLBAR, &CMainFrame::OnViewToolBar, &CMainFrame::OnUpdateViewToolBar},
        {ID_FILTER_FOCUS, &CMainFrame::OnFilterFocus, nullptr},
    };
    return DispatchCommand(this, map, id, ui);
}

void CMainFrame::OnAppExit() {
    m_bExiting = TRUE;
    PostMessage(WM_CLOSE);
}

void CMainFrame::OnClose() {
    const CWndAlive alive(this);
    CFrameWnd::OnClose();
    if (alive) m_bExiting = FALSE;
}

void CMainFrame::OnCloseWindow() { PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }

void CMainFrame::OnDisplay() {
    m_bVisible = TRUE;
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow();
}

void CMainFrame::Hide() {
    m_bVisible = FALSE;
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE);
}

void CMainFrame::RegisterCallKey() {
    const int value = ReadSetting(Profile::kHotKey);
    if (m_hotKey.Register(m_hWnd, kCallKeyId, value)) return;
    // Told after the current message: a box during creation or a menu command would nest.
    if (value != m_nTakenKeyTold) PostMessage(WM_HOTKEY_TAKEN, static_cast<WPARAM>(value), 0);
    m_nTakenKeyTold = value;
}

void CMainFrame::OnHotKeySetting() {
    CHotKeyDlg dialog(this);
    dialog.m_nHotKey = ReadSetting(Profile::kHotKey);
    // Given up while the dialog is open, so that its control can take the same key.
    m_hotKey.Unregister();
    const CWndAlive alive(this);
    const INT_PTR answer = dialog.DoModal();
    if (!alive) return;
    if (answer == IDOK) WriteSetting(Profile::kHotKey, dialog.m_nHotKey);
    m_nTakenKeyTold = 0;  // a key chosen again is told again
    RegisterCallKey();
}

void CMainFrame::OnAlwaysOnTop() {
    m_bAlwaysOnTop = m_bAlwaysOnTop ? FALSE : TRUE;
    ApplyAlwaysOnTop();
    WriteSetting(Profile::kAlwaysOnTop, m_bAlwaysOnTop ? 1 : 0);
}

void CMainFrame::ApplyAlwaysOnTop() {
    SetWindowPos(m_bAlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMainFrame::OnDeliveryRules() {
    if (auto* doc = static_cast<CJotwellDoc*>(GetActiveDocument())) EditDeliveryRules(this, doc->m_rules);
}

void CMainFrame::OnRestoreClipboard() {
    WriteSetting(Profile::kRestoreClipboard, ReadSetting(Profile::kRestoreClipboard) ? 0 : 1);
}

void CMainFrame::OnUpdateRestoreClipboard(CCmdUI* ui) { ui->SetCheck(ReadSetting(Profile::kRestoreClipboard)); }

void CMainFrame::OnCallKey() {
    HWND front = ::GetForegroundWindow();
    const bool inFront = front && (front == m_hWnd || ::GetAncestor(front, GA_ROOTOWNER) == m_hWnd);
    // A frame disabled by its own dialog is only brought back, never hidden under it.
    if (m_bVisible && inFront && ::IsWindowEnabled(m_hWnd)) {
        Hide();
        return;
    }
    ShowNearPointer();
}

void CMainFrame::ShowNearPointer() {
    POINT pointer = {0, 0};
    ::GetCursorPos(&pointer);
    RECT r = {};
    GetWindowRect(&r);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoA(::MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
    const POINT place = PlaceNearPointer(pointer, {r.right - r.left, r.bottom - r.top}, monitor.rcWork);
    m_bVisible = TRUE;
    // Topmost, so that it also comes in front of topmost windows; without "AlwaysOnTop" it goes
    // back to the normal windows' band, still in front of them.
    SetWindowPos(HWND_TOPMOST, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    if (!m_bAlwaysOnTop) SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow();
    // A dialog of ours that was open keeps the keyboard.
    if (HWND popup = ::GetLastActivePopup(m_hWnd); popup && popup != m_hWnd) {
        ::SetForegroundWindow(popup);
        return;
    }
    OnFilterFocus();
}

void CMainFrame::OnInitWindowPos() {
    // The way back for a window whose saved place lies off the screen.
    WriteSetting(Profile::kWindowLeft, kNoPosition);
    WriteSetting(Profile::kWindowTop, kNoPosition);
    SetWindowPos(nullptr, kResetX, kResetY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    m_bVisible = TRUE;
    SetForegroundWindow();
}

void CMainFrame::OnConvertHalfWidth() { ClipboardToHalfWidth(m_hWnd); }

void CMainFrame::OnPrefixLines() {
    // Read at each use, so a changed setting applies at once.
    ClipboardPrefixLines(m_hWnd, ReadSetting(Profile::kAppendToTopText));
}

void CMainFrame::OnViewToolBar() { m_wndToolBar.ShowBar(!m_wndToolBar.IsBarVisible()); }

void CMainFrame::OnUpdateViewToolBar(CCmdUI* ui) {
    ui->Enable(m_wndToolBar.m_hWnd != nullptr);
    ui->SetCheck(m_wndToolBar.IsBarVisible() ? 1 : 0);
}

void CMainFrame::OnSysCommand(UINT command, LPARAM) {
    // Compared exactly: caption drags and border sizing carry other values in the low bits.
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

LRESULT CMainFrame::OnTrayNotify(WPARAM id, LPARAM event) {
    switch (event) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m_bVisible)
            Hide();
        else
            OnDisplay();
        return 1;
    case WM_RBUTTONUP: {
        UniqueMenu menu(LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_POPUP_TRAY)));
        HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
        if (!popup) return 0;
        POINT pt = {0, 0};
        GetCursorPos(&pt);
        SetForegroundWindow();
        const CWndAlive alive(this);  // a logoff may end the frame while the menu is open
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
        // Lets the menu close when the user clicks elsewhere.
        if (alive) PostMessage(WM_NULL, 0, 0);
        return 1;
    }
    default:
        return m_trayIcon.HandleCallback(id, event);
    }
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_CONTEXTMENU:
        return 0;
    case kDpiChanged: {
        // Moved to a monitor of another scaling (or the scaling changed): the system's
        // suggested place, then everything drawn at the new DPI.
        const UINT dpi = LOWORD(wParam);
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        m_wndToolBar.SetDpi(dpi);
        if (HWND view = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)) ::SendMessageA(view, kDpiChangedAfterParent, dpi, 0);
        if (suggested)
            SetWindowPos(nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        RecalcLayout();
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_FILTER && m_hFilter && reinterpret_cast<HWND>(lParam) == m_hFilter) {
            if (HIWORD(wParam) == EN_CHANGE) OnFilterChanged();
            return 0;
        }
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    case WM_TRAY_NOTIFY:
        return OnTrayNotify(wParam, lParam);
    case WM_HOTKEY:
        if (static_cast<int>(wParam) == kCallKeyId) OnCallKey();
        return 0;
    case WM_HOTKEY_TAKEN:
        AfxMessageBox(AfxFormatString1(IDS_HOTKEY_TAKEN, HotKeyName(static_cast<int>(wParam))),
                      MB_OK | MB_ICONINFORMATION);
        return 0;
    case WM_TIMER:
        if (wParam != CTrayIcon::kRetryTimerId) return CFrameWnd::WindowProc(msg, wParam, lParam);
        m_trayIcon.OnRetryTimer();
        return 0;
    default:
        if (msg == CTrayIcon::TaskbarCreatedMessage()) {
            // The shell restarted without our icon; a hidden Jotwell is reachable only there.
            m_trayIcon.OnShellRestarted();
            return 0;
        }
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }
}
