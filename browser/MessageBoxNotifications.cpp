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
    UINT id = IDS_WEB_FAILURE;
    switch (which) {
    case BrowserMessage::NoElement: id = IDS_WEB_NO_ELEMENT; break;
    case BrowserMessage::Failure: id = IDS_WEB_FAILURE; break;
    case BrowserMessage::BrowserWaiting: id = IDS_WEB_BROWSER_WAITING; break;
    case BrowserMessage::BrowserGaveUp: id = IDS_WEB_BROWSER_GAVE_UP; break;
    case BrowserMessage::BrowserRefused: id = IDS_WEB_BROWSER_REFUSED; break;
    }
    return LoadBrowserText(id, m_codePage);
}

namespace {

BOOL CALLBACK CloseNoticeBox(HWND box, LPARAM) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return TRUE;
}

}  // namespace

void MessageBoxNotifications::BeginNotice(const std::string& text) {
    EndNotice();
    std::wstring wide = ToWide(text, m_codePage);
    std::wstring title = ToWide(LoadBrowserText(AFX_IDS_APP_TITLE, CP_UTF8), CP_UTF8);
    m_notice = std::thread([this, wide = std::move(wide), title = std::move(title)] {
        m_noticeThread = GetCurrentThreadId();
        MessageBoxW(nullptr, wide.c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION | MB_TOPMOST | MB_SETFOREGROUND);
        m_noticeClosed = true;
    });
}

void MessageBoxNotifications::EndNotice() {
    if (!m_notice.joinable()) return;
    // The box may not be there yet, or closed already: asked again until its thread ends.
    while (!m_noticeClosed) {
        if (const DWORD id = m_noticeThread) {
            EnumThreadWindows(id, &CloseNoticeBox, 0);
        }
        Sleep(20);
    }
    m_notice.join();
    m_noticeThread = 0;
    m_noticeClosed = false;
}
