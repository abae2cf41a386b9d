#include "browser/MessageBoxNotifications.h"

#include <windows.h>

void MessageBoxNotifications::ShowMessage(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "Jotwell", MB_OK);
}

void MessageBoxNotifications::Beep() {
    MessageBeep(0xFFFFFFFF);
}
