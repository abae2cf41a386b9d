// User notifications shown with real message boxes and the simple beep.
#pragma once

#include "browser/UserNotifications.h"

#include <windows.h>

#include <string>

// String `id` of the string table in the user's language, in `codePage`; empty when missing.
std::string LoadBrowserText(UINT id, UINT codePage);

class MessageBoxNotifications : public UserNotifications {
public:
    // `owner`: the window the boxes belong to (Jotwell's main window, so that they
    // show above it when it is always on top); null or gone: no owner.
    explicit MessageBoxNotifications(HWND owner = nullptr) : m_owner(owner) {}
    // The code page the texts to show are in (by default the ANSI code page).
    void SetCodePage(UINT codePage) { m_codePage = codePage; }
    void ShowMessage(const std::string& text) override;
    void Beep() override;
    std::string MessageText(BrowserMessage which) override;

private:
    HWND m_owner;
    UINT m_codePage = CP_ACP;
};
