// User notifications shown with real message boxes and the simple beep.
#pragma once

#include "browser/UserNotifications.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

// String `id` of the string table in the user's language, in `codePage`; empty when missing.
std::string LoadBrowserText(UINT id, UINT codePage);

class MessageBoxNotifications : public UserNotifications {
public:
    // `owner`: the window the boxes belong to (Jotwell's main window, so that they
    // show above it when it is always on top); null or gone: no owner.
    explicit MessageBoxNotifications(HWND owner = nullptr) : m_owner(owner) {}
    ~MessageBoxNotifications() override { EndNotice(); }
    MessageBoxNotifications(const MessageBoxNotifications&) = delete;
    MessageBoxNotifications& operator=(const MessageBoxNotifications&) = delete;
    // The code page the texts to show are in (by default the ANSI code page).
    void SetCodePage(UINT codePage) { m_codePage = codePage; }
    void ShowMessage(const std::string& text) override;
    void Beep() override;
    std::string MessageText(BrowserMessage which) override;
    // A message box of its own thread, owned by no window so that Jotwell stays usable,
    // closed by EndNotice unless the user closed it first.
    void BeginNotice(const std::string& text) override;
    void EndNotice() override;

private:
    std::thread m_notice;
    std::atomic<DWORD> m_noticeThread{0};
    std::atomic<bool> m_noticeClosed{false};
    HWND m_owner;
    UINT m_codePage = CP_ACP;
};
