// How browser automation tells the user something: a message box with an OK
// button, or the simple beep. The Windows layer shows real ones; tests record them.
#pragma once

#include <string>

class UserNotifications {
public:
    virtual ~UserNotifications() = default;
    // Blocks until the user dismisses it.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void Beep() = 0;
};
