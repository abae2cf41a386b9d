#include "framework/ToolTipCtrl.h"

CToolTipCtrl::~CToolTipCtrl() { Destroy(); }

BOOL CToolTipCtrl::Create(HWND owner, DWORD style) {
    Destroy();
    m_hWnd = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, AfxGetInstanceHandle(),
                             nullptr);
    return m_hWnd != nullptr;
}

BOOL CToolTipCtrl::AddWindowTool(HWND tool) {
    if (!m_hWnd) return FALSE;
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = tool;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = LPSTR_TEXTCALLBACKW;
    return ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void CToolTipCtrl::Activate(BOOL active) {
    if (m_hWnd) ::SendMessageA(m_hWnd, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

void CToolTipCtrl::SetDelayTime(DWORD which, int milliseconds) {
    if (m_hWnd) ::SendMessageA(m_hWnd, TTM_SETDELAYTIME, which, MAKELPARAM(milliseconds, 0));
}

void CToolTipCtrl::RelayEvent(MSG* msg) {
    if (m_hWnd) ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

void CToolTipCtrl::Destroy() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}
