// Stands in for the user in the browser logic tests: records each message the logic would
// show and counts its beeps, instead of opening a box or sounding.
#pragma once

#include "browser/UserNotifications.h"

#include <string>
#include <vector>

namespace fake {

class FakeNotifications : public UserNotifications {
public:
    std::vector<std::string> messages;
    int beeps = 0;
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Beep() override { ++beeps; }
    void BeginNotice(const std::string& text) override { messages.push_back("notice: " + text); }
    void EndNotice() override {}
    // The program's English texts.
    std::string MessageText(BrowserMessage which) override {
        return which == BrowserMessage::NoElement ? "No Element(Get) : [%1]" : "GPF : Error:%1";
    }
};

}  // namespace fake
