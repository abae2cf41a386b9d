#include "browser/MessageBoxNotifications.h"

#include "text/CodePageText.h"
#include "framework/WinApp.h"
#include "res/resource.h"

#include <windows.h>

std::string LoadBrowserText(UINT id, UINT codePage) {
    // Loaded as UTF-16, so that a UTF-8 run gets every character and an ANSI one its code page.
    std::wstring buffer(256, L'\0');
    for (;;) {
        const int n = LoadStringW(AfxGetResourceHandle(), id, &buffer[0], static_cast<int>(buffer.size()));
        if (n <= 0) return std::string();
        if (static_cast<size_t>(n) < buffer.size() - 1) {
            buffer.resize(static_cast<size_t>(n));
            return FromWide(buffer, codePage);
        }
        buffer.resize(buffer.size() * 4);
    }
}

void MessageBoxNotifications::ShowMessage(const std::string& text) {
    // The owner belongs to the user-interface thread, which only ever pumps
    // messages while a run is going on, so the box's cross-thread sends to it
    // (disabling it, activation) are answered and cannot deadlock.
    const HWND owner = m_owner && IsWindow(m_owner) ? m_owner : nullptr;
    const std::string title = LoadBrowserText(AFX_IDS_APP_TITLE, CP_UTF8);
    MessageBoxW(owner, ToWide(text, m_codePage).c_str(), ToWide(title, CP_UTF8).c_str(), MB_OK);
}

void MessageBoxNotifications::Beep() {
    MessageBeep(0xFFFFFFFF);
}

std::string MessageBoxNotifications::MessageText(BrowserMessage which) {
    return LoadBrowserText(which == BrowserMessage::NoElement ? IDS_WEB_NO_ELEMENT : IDS_WEB_FAILURE, m_codePage);
}
