// User notifications shown with real message boxes and the simple beep.
#pragma once

#include "browser/UserNotifications.h"

#include <windows.h>

class MessageBoxNotifications : public UserNotifications {
public:
    // `owner`: the window the boxes belong to (Jotwell's main window, so that they
    // show above it when it is always on top); null or gone: no owner.
    explicit MessageBoxNotifications(HWND owner = nullptr) : m_owner(owner) {}
    void ShowMessage(const std::string& text) override;
    void Beep() override;

private:
    HWND m_owner;
};
