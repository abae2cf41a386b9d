#include "frame/TrayIcon.h"

#include <cstring>

#include "framework/SystemCodePage.h"
#include "framework/Wnd.h"

CTrayIcon::CTrayIcon(UINT id, ShellNotifyIconFunction shell) : m_nid(), m_pfnShell(shell) {
    m_nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_nid.uID = id;
    LoadTip(id);
}

CTrayIcon::~CTrayIcon() { SetIconHandle(nullptr); }

void CTrayIcon::LoadTip(UINT resourceId) {
    // At most 63 bytes, never cutting a double-byte character in two.
    const CString text = AfxLoadString(resourceId);
    const size_t limit = sizeof(m_nid.szTip) - 1;
    const LeadBytes& lead = SystemLeadBytes();
    size_t length = 0;
    while (length < text.size()) {
        const size_t next = length + lead.CharLength(text, length);
        if (next > limit) break;
        length = next;
    }
    std::memset(m_nid.szTip, 0, sizeof(m_nid.szTip));
    std::memcpy(m_nid.szTip, text.data(), length);
}

void CTrayIcon::SetCallback(CWnd* wnd, UINT message) {
    m_nid.hWnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    m_nid.uCallbackMessage = message;
}

BOOL CTrayIcon::SetIconResource(UINT resourceId) {
    HICON icon = nullptr;
    if (resourceId != 0) {
        LoadTip(resourceId);
        // Icons from LoadIconA are shared and never destroyed.
        icon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId));
    }
    return SetIconHandle(icon);
}

BOOL CTrayIcon::SetIconHandle(HICON icon) {
    m_nid.uFlags = 0;
    DWORD operation = NIM_ADD;
    if (icon) {
        operation = IsShown() ? NIM_MODIFY : NIM_ADD;
        m_nid.hIcon = icon;
        m_nid.uFlags |= NIF_ICON;
    } else {
        if (!IsShown()) return TRUE;
        operation = NIM_DELETE;
    }
    if (m_nid.szTip[0] != '\0') m_nid.uFlags |= NIF_TIP;
    if (m_nid.uCallbackMessage != 0 && m_nid.hWnd) m_nid.uFlags |= NIF_MESSAGE;

    const BOOL ok = m_pfnShell(operation, reinterpret_cast<PNOTIFYICONDATAA>(&m_nid));
    if (operation == NIM_DELETE || !ok) m_nid.hIcon = nullptr;
    return ok;
}

LRESULT CTrayIcon::HandleCallback(WPARAM, LPARAM) { return 0; }
