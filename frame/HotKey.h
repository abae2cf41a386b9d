// The key that calls the main window from anywhere. Its setting holds the system hotkey
// control's value (HKM_GETHOTKEY): the virtual key in the low byte, the HOTKEYF_* modifiers
// in the high byte; 0 = none.
#pragma once

#include "framework/Dialog.h"
#include "framework/Handles.h"

#include <string>

// RegisterHotKey's modifiers for the value (MOD_NOREPEAT included: a held key toggles once).
UINT HotKeyModifiers(int value);
UINT HotKeyVirtualKey(int value);
// The key as the system names it, for instance "Ctrl+Alt+J".
std::string HotKeyName(int value);

// Where a window of `size` shows near `pointer`: the pointer over the middle of its top
// edge, moved inside `work` (the monitor's work area) as far as it fits.
POINT PlaceNearPointer(POINT pointer, SIZE size, const RECT& work);

// A hotkey registered for a window, unregistered with the object or on the next Register.
class CHotKeyRegistration {
public:
    CHotKeyRegistration() = default;
    ~CHotKeyRegistration() { Unregister(); }
    CHotKeyRegistration(const CHotKeyRegistration&) = delete;
    CHotKeyRegistration& operator=(const CHotKeyRegistration&) = delete;

    // Registers `value` as hotkey `id` of `window`, after giving up the one held before.
    // True also for 0 (none); false when the system refused the key (another program holds it).
    bool Register(HWND window, int id, int value);
    void Unregister();
    int Value() const { return m_value; }

private:
    HWND m_window = nullptr;
    int m_id = 0;
    int m_value = 0;  // registered, else 0
};

// "Hot Key": the system's hotkey control showing and giving back m_nHotKey.
class CHotKeyDlg : public CDialog {
public:
    explicit CHotKeyDlg(CWnd* parent = nullptr);
    int m_nHotKey = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
