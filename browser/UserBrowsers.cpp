#include "browser/UserBrowsers.h"

#include "browser/BrowserAccess.h"
#include "browser/DevToolsSession.h"
#include "framework/Handles.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <future>

namespace {

// The text of a file of at most `limit` bytes (one byte more tells that it is longer).
bool ReadSmallFile(const std::wstring& path, std::size_t limit, std::string& text) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    text.assign(limit + 1, '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr)) return false;
    text.resize(read);
    return true;
}

std::wstring LocalAppData() {
    std::wstring folder(MAX_PATH, L'\0');
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", &folder[0], static_cast<DWORD>(folder.size()));
    if (length >= folder.size()) {
        folder.resize(length);
        length = GetEnvironmentVariableW(L"LOCALAPPDATA", &folder[0], static_cast<DWORD>(folder.size()));
    }
    if (length == 0 || length >= folder.size()) return std::wstring();
    folder.resize(length);
    return folder;
}

bool Stale(std::int32_t code) { return code == kLoopbackNotListening || code == kLoopbackNoEndpoint; }

bool TimedOut(std::int32_t code) {
    return code == static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_WINHTTP_TIMEOUT)) ||
           code == static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_TIMEOUT));
}

}  // namespace

std::vector<FoundBrowser> FindUserBrowsers() {
    std::vector<FoundBrowser> found;
    const std::wstring root = LocalAppData();
    if (root.empty()) return found;
    for (const ChromiumBrowserFolder& browser : kChromiumBrowserFolders) {
        const std::string folder = browser.folder;  // ASCII
        const std::wstring path = root + L"\\" + std::wstring(folder.begin(), folder.end()) + L"\\DevToolsActivePort";
        std::string text;
        if (!ReadSmallFile(path, kMaxDevToolsActivePortBytes, text)) continue;
        if (const auto endpoint = ParseDevToolsActivePort(text)) found.push_back({browser.name, *endpoint});
    }
    return found;
}

std::shared_ptr<DevToolsSession> DevToolsConnections::Connect(const FoundBrowser& browser, UserNotifications& notify) {
    // A connection the browser closed (it restarted, or its user switched debugging off) is
    // dropped, and opened anew when its browser is still there.
    m_kept.erase(std::remove_if(m_kept.begin(), m_kept.end(), [](const Kept& k) { return k.session->Closed(); }),
                 m_kept.end());
    for (const Kept& kept : m_kept)
        if (kept.port == browser.endpoint.port && kept.path == browser.endpoint.path) return kept.session;
    // A port whose listener the system names must be a browser of this user: a file left
    // by a browser that has gone may name a port that another program took since.
    if (CheckListener(browser.endpoint.port, m_system) == ListenerTrust::NotOurs) return nullptr;
    std::shared_ptr<DevToolsSession> session = Open(browser, notify);
    if (session) m_kept.push_back({browser.endpoint.port, browser.endpoint.path, session});
    return session;
}

std::shared_ptr<DevToolsSession> DevToolsConnections::Open(const FoundBrowser& browser, UserNotifications& notify) {
    LoopbackLimits limits;
    limits.upgradeTimeoutMs = m_allowWaitMs;
    const std::uint16_t port = browser.endpoint.port;
    const std::string path = browser.endpoint.path;
    const int allowWaitMs = m_allowWaitMs;
    // The browser may hold the upgrade, or the first reply, until its user answers.
    std::future<std::shared_ptr<DevToolsSession>> opening = std::async(std::launch::async, [=] {
        auto session = std::make_shared<DevToolsSession>(port, path, limits);
        session->SetReplyTimeout(allowWaitMs);
        session->Call("Target.getTargets", nlohmann::json::object());
        session->SetReplyTimeout(limits.timeoutMs);
        return session;
    });
    const bool waiting = opening.wait_for(std::chrono::milliseconds(m_noticeAfterMs)) != std::future_status::ready;
    if (waiting) notify.BeginNotice(notify.Text(BrowserMessage::BrowserWaiting, browser.name));
    try {
        std::shared_ptr<DevToolsSession> session = opening.get();
        if (waiting) notify.EndNotice();
        ++m_opened;
        return session;
    } catch (const BrowserError& e) {
        if (waiting) notify.EndNotice();
        if (Stale(e.Code())) return nullptr;
        notify.Show(TimedOut(e.Code()) ? BrowserMessage::BrowserGaveUp : BrowserMessage::BrowserRefused, browser.name);
    } catch (const std::exception&) {
        if (waiting) notify.EndNotice();
    }
    return nullptr;
}
