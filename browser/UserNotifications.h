// How browser automation tells the user something: a message box with an OK
// button, or the simple beep. The Windows layer shows real ones, with texts from
// its string tables; tests record them.
#pragma once

#include <string>
#include <string_view>

// The messages the browser logic shows.
enum class BrowserMessage {
    NoElement,  // an element a reference names is missing; %1: the reference
    Failure,    // a failure past the frame guards; %1: the step reached
};

class UserNotifications {
public:
    virtual ~UserNotifications() = default;
    // Blocks until the user dismisses it.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void Beep() = 0;
    // The text of a message, with "%1" where its argument goes, in the encoding of the
    // texts the logic passes to ShowMessage.
    virtual std::string MessageText(BrowserMessage which) = 0;

    // Shows that message with its argument.
    void Show(BrowserMessage which, std::string_view argument) {
        std::string text = MessageText(which);
        const std::size_t at = text.find("%1");
        if (at != std::string::npos) text.replace(at, 2, argument.data(), argument.size());
        ShowMessage(text);
    }
};
