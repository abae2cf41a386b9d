#include "frame/HotKey.h"

#include <commctrl.h>

#include <algorithm>

#include "res/resource.h"

namespace {

// The system's name of a key, from its scan code; empty when it has none.
std::string KeyName(UINT virtualKey, bool extended) {
    LONG code = static_cast<LONG>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    if (extended) code |= 1L << 24;
    char name[64] = {};
    const int length = GetKeyNameTextA(code, name, sizeof(name));
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace

UINT HotKeyModifiers(int value) {
    const int flags = (value >> 8) & 0xFF;
    UINT modifiers = MOD_NOREPEAT;
    if (flags & HOTKEYF_SHIFT) modifiers |= MOD_SHIFT;
    if (flags & HOTKEYF_CONTROL) modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_ALT) modifiers |= MOD_ALT;
    return modifiers;
}

UINT HotKeyVirtualKey(int value) { return static_cast<UINT>(value & 0xFF); }

std::string HotKeyName(int value) {
    const int flags = (value >> 8) & 0xFF;
    std::string name;
    if (flags & HOTKEYF_CONTROL) name += KeyName(VK_CONTROL, false) + "+";
    if (flags & HOTKEYF_ALT) name += KeyName(VK_MENU, false) + "+";
    if (flags & HOTKEYF_SHIFT) name += KeyName(VK_SHIFT, false) + "+";
    const UINT key = HotKeyVirtualKey(value);
    std::string keyName = KeyName(key, (flags & HOTKEYF_EXT) != 0);
    if (keyName.empty()) keyName = "#" + std::to_string(key);
    return name + keyName;
}

POINT PlaceNearPointer(POINT pointer, SIZE size, const RECT& work) {
    POINT place = {pointer.x - size.cx / 2, pointer.y - GetSystemMetrics(SM_CYSMCAPTION) / 2};
    // The right and bottom edges first, so a window larger than the area keeps its top left in it.
    place.x = std::max(std::min(place.x, work.right - size.cx), work.left);
    place.y = std::max(std::min(place.y, work.bottom - size.cy), work.top);
    return place;
}

bool CHotKeyRegistration::Register(HWND window, int id, int value) {
    Unregister();
    if (value == 0) return true;
    if (!RegisterHotKey(window, id, HotKeyModifiers(value), HotKeyVirtualKey(value))) return false;
    m_window = window;
    m_id = id;
    m_value = value;
    return true;
}

void CHotKeyRegistration::Unregister() {
    if (m_value != 0) UnregisterHotKey(m_window, m_id);
    m_window = nullptr;
    m_value = 0;
}

CHotKeyDlg::CHotKeyDlg(CWnd* parent) : CDialog(IDD_HOTKEY, parent) {}

BOOL CHotKeyDlg::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    // A global key needs a modifier besides Shift: the control adds Ctrl+Alt to one without.
    SendDlgItemMessageA(m_hWnd, IDC_HOTKEY, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                        MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendDlgItemMessageA(m_hWnd, IDC_HOTKEY, HKM_SETHOTKEY, static_cast<WPARAM>(m_nHotKey), 0);
    return result;
}

void CHotKeyDlg::OnOK() {
    m_nHotKey = static_cast<int>(SendDlgItemMessageA(m_hWnd, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
    CDialog::OnOK();
}
