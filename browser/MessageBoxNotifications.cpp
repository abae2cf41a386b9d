#include "browser/MessageBoxNotifications.h"

#include "text/CodePageText.h"

#include <windows.h>

void MessageBoxNotifications::ShowMessage(const std::string& text) {
    // The owner belongs to the user-interface thread, which only ever pumps
    // messages while a run is going on, so the box's cross-thread sends to it
    // (disabling it, activation) are answered and cannot deadlock.
    const HWND owner = m_owner && IsWindow(m_owner) ? m_owner : nullptr;
    MessageBoxW(owner, ToWide(text, m_codePage).c_str(), L"Jotwell", MB_OK);
}

void MessageBoxNotifications::Beep() {
    MessageBeep(0xFFFFFFFF);
}
