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
    BrowserWaiting,  // a browser asks its user to allow the connection; %1: the browser
    BrowserGaveUp,   // no answer from that browser within the wait; %1: the browser
    BrowserRefused,  // the browser refused the connection; %1: the browser
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

    // A notice that stays, without blocking, until EndNotice (or the next notice).
    virtual void BeginNotice(const std::string& text) = 0;
    virtual void EndNotice() = 0;

    // That message with its argument.
    std::string Text(BrowserMessage which, std::string_view argument) {
        std::string text = MessageText(which);
        const std::size_t at = text.find("%1");
        if (at != std::string::npos) text.replace(at, 2, argument.data(), argument.size());
        return text;
    }
    // Shows that message with its argument.
    void Show(BrowserMessage which, std::string_view argument) { ShowMessage(Text(which, argument)); }
};
