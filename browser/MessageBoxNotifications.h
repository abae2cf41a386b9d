// User notifications shown with real message boxes and the simple beep.
#pragma once

#include "browser/UserNotifications.h"

class MessageBoxNotifications : public UserNotifications {
public:
    void ShowMessage(const std::string& text) override;
    void Beep() override;
};
