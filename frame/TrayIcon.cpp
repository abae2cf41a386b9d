#include "frame/TrayIcon.h"

#include <cstring>

#include "framework/Wnd.h"
#include "text/SystemCodePage.h"

namespace {

// From Windows Vista on, messages from a program with less privilege are filtered out, and
// so is the shell's announcement when Jotwell runs elevated; it must still arrive. Both
// filter functions are looked up at run time: the per-window one exists from Windows 7,
// the other from Vista.
void AllowFromLowerPrivilege(HWND window, UINT message) {
    using ChangeFilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using ChangeFilter = BOOL(WINAPI*)(UINT, DWORD);
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW, and MSGFLT_ADD of the older function
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32 || !window) return;
    if (FARPROC ex = GetProcAddress(user32, "ChangeWindowMessageFilterEx")) {
        reinterpret_cast<ChangeFilterEx>(ex)(window, message, kAllow, nullptr);
    } else if (FARPROC old = GetProcAddress(user32, "ChangeWindowMessageFilter")) {
        reinterpret_cast<ChangeFilter>(old)(message, kAllow);
    }
}

}  // namespace

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
    AllowFromLowerPrivilege(m_nid.hWnd, TaskbarCreatedMessage());
}

BOOL CTrayIcon::SetIconResource(UINT resourceId) {
    HICON icon = nullptr;
    if (resourceId != 0) {
        LoadTip(resourceId);
        // At the system's small-icon size, which grows with the display scaling. Shared
        // icons are never destroyed.
        icon = static_cast<HICON>(LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                             LR_SHARED));
    }
    return SetIconHandle(icon);
}

BOOL CTrayIcon::SetIconHandle(HICON icon) {
    m_hWanted = icon;
    m_nRetriesLeft = kMaxAddRetries;
    return ApplyWanted();
}

BOOL CTrayIcon::ApplyWanted() {
    BOOL ok = TRUE;
    if (m_hWanted || IsShown()) {
        const DWORD operation = !m_hWanted ? NIM_DELETE : IsShown() ? NIM_MODIFY : NIM_ADD;
        if (m_hWanted) m_nid.hIcon = m_hWanted;
        m_nid.uFlags = m_hWanted ? NIF_ICON : 0;
        if (m_nid.szTip[0] != '\0') m_nid.uFlags |= NIF_TIP;
        if (m_nid.uCallbackMessage != 0 && m_nid.hWnd) m_nid.uFlags |= NIF_MESSAGE;
        ok = m_pfnShell(operation, reinterpret_cast<PNOTIFYICONDATAA>(&m_nid));
        if (operation == NIM_DELETE || !ok) m_nid.hIcon = nullptr;
    }
    if (m_nid.hWnd) {
        if (!ok && m_hWanted && m_nRetriesLeft > 0)
            SetTimer(m_nid.hWnd, kRetryTimerId, kRetryIntervalMs, nullptr);
        else
            KillTimer(m_nid.hWnd, kRetryTimerId);
    }
    return ok;
}

UINT CTrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

BOOL CTrayIcon::OnShellRestarted() {
    m_nid.hIcon = nullptr;  // so the wanted icon is added, not changed
    m_nRetriesLeft = kMaxAddRetries;
    return ApplyWanted();
}

void CTrayIcon::OnRetryTimer() {
    if (IsShown() || !m_hWanted || m_nRetriesLeft <= 0) {
        if (m_nid.hWnd) KillTimer(m_nid.hWnd, kRetryTimerId);
        return;
    }
    --m_nRetriesLeft;
    ApplyWanted();
}

LRESULT CTrayIcon::HandleCallback(WPARAM, LPARAM) { return 0; }
