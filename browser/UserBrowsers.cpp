#include "browser/UserBrowsers.h"

#include "browser/BrowserAccess.h"
#include "browser/DevToolsSession.h"
#include "framework/Handles.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <system_error>
#include <thread>

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
    // The browser may hold the upgrade, or the first reply, until its user answers. The
    // opening runs on a thread of its own, so that the wait ends on time even where
    // WinHTTP's own time-out does not (Wine waits for ever on a silent peer); a thread
    // given up ends when its peer answers or goes.
    using Opened = std::shared_ptr<DevToolsSession>;
    auto promise = std::make_shared<std::promise<Opened>>();
    std::future<Opened> opening = promise->get_future();
    try {
        std::thread([promise, port, path, limits, allowWaitMs] {
            try {
                auto session = std::make_shared<DevToolsSession>(port, path, limits);
                session->SetReplyTimeout(allowWaitMs);
                session->Call("Target.getTargets", nlohmann::json::object());
                session->SetReplyTimeout(limits.timeoutMs);
                promise->set_value(std::move(session));
            } catch (...) {
                promise->set_exception(std::current_exception());
            }
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    const auto ready = [&](int ms) {
        return opening.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    };
    const bool waiting = !ready(m_noticeAfterMs);
    if (waiting) notify.BeginNotice(notify.Text(BrowserMessage::BrowserWaiting, browser.name));
    if (waiting && !ready(std::max(0, m_allowWaitMs - m_noticeAfterMs))) {
        notify.EndNotice();
        notify.Show(BrowserMessage::BrowserGaveUp, browser.name);
        return nullptr;
    }
    if (waiting) notify.EndNotice();
    try {
        Opened session = opening.get();
        ++m_opened;
        return session;
    } catch (const BrowserError& e) {
        if (Stale(e.Code())) return nullptr;
        notify.Show(TimedOut(e.Code()) ? BrowserMessage::BrowserGaveUp : BrowserMessage::BrowserRefused, browser.name);
    } catch (const std::exception&) {
        // Out of memory: as a browser that could not be reached.
    }
    return nullptr;
}
