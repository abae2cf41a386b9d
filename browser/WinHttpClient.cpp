#include "browser/WinHttpClient.h"

#include "browser/BrowserAccess.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

namespace {

const wchar_t kLoopback[] = L"127.0.0.1";

[[noreturn]] void Fail(const char* what, DWORD error) {
    throw BrowserError(std::string("WinHTTP ") + what, static_cast<std::int32_t>(HRESULT_FROM_WIN32(error)));
}

void Check(BOOL ok, const char* what) {
    if (!ok) Fail(what, GetLastError());
}

std::wstring WidePath(const std::string& path) {
    // Paths are built by this program or checked to be plain ASCII before they get here.
    return std::wstring(path.begin(), path.end());
}

InternetHandle OpenSession(const LoopbackLimits& limits) {
    InternetHandle session(
        WinHttpOpen(L"Jotwell", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) Fail("open", GetLastError());
    const int t = limits.timeoutMs;
    Check(WinHttpSetTimeouts(session.Get(), t, t, t, t), "timeouts");
    return session;
}

InternetHandle Connect(const InternetHandle& session, std::uint16_t port) {
    InternetHandle connection(WinHttpConnect(session.Get(), kLoopback, port, 0));
    if (!connection) Fail("connect", GetLastError());
    return connection;
}

InternetHandle SendGet(const InternetHandle& connection, const std::string& path, bool upgrade) {
    const std::wstring widePath = WidePath(path);
    InternetHandle request(WinHttpOpenRequest(connection.Get(), L"GET", widePath.c_str(), nullptr,
                                              WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    if (!request) Fail("request", GetLastError());
    // No redirects: a reply must come from the loopback server itself.
    DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    Check(WinHttpSetOption(request.Get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy), "redirects");
    if (upgrade) Check(WinHttpSetOption(request.Get(), WINHTTP_OPTION_UPGRADE_TO_WEB_SOCKET, nullptr, 0), "upgrade");
    Check(WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0),
          "send");
    Check(WinHttpReceiveResponse(request.Get(), nullptr), "response");
    return request;
}

DWORD Status(const InternetHandle& request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    Check(WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                              WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX),
          "status");
    return status;
}

}  // namespace

std::string LoopbackHttpGet(std::uint16_t port, const std::string& path, const LoopbackLimits& limits) {
    InternetHandle session = OpenSession(limits);
    InternetHandle connection = Connect(session, port);
    InternetHandle request = SendGet(connection, path, false);
    if (Status(request) != 200) Fail("status", ERROR_BAD_NET_RESP);
    std::string body;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        Check(WinHttpReadData(request.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read), "read");
        if (read == 0) break;
        if (body.size() + read > limits.maxReplyBytes) Fail("reply too large", ERROR_INSUFFICIENT_BUFFER);
        body.append(buffer.data(), read);
    }
    return body;
}

namespace {

// WinHTTP's WebSocket functions, which Windows 7 lacks: looked up once, at the
// first use, so that the program loads there (without them DevTools is off).
struct WebSocketFunctions {
    decltype(&WinHttpWebSocketCompleteUpgrade) completeUpgrade = nullptr;
    decltype(&WinHttpWebSocketSend) send = nullptr;
    decltype(&WinHttpWebSocketReceive) receive = nullptr;
    decltype(&WinHttpWebSocketShutdown) shutdown = nullptr;

    bool Complete() const { return completeUpgrade && send && receive && shutdown; }
};

template <typename F>
void Resolve(HMODULE module, const char* name, F& function) {
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const WebSocketFunctions& WebSocketApi() {
    static const WebSocketFunctions functions = [] {
        WebSocketFunctions f;
        // WinHTTP is loaded already: the program imports its Windows 7 functions.
        const HMODULE winhttp = GetModuleHandleA("winhttp.dll");
        if (!winhttp) return f;
        Resolve(winhttp, "WinHttpWebSocketCompleteUpgrade", f.completeUpgrade);
        Resolve(winhttp, "WinHttpWebSocketSend", f.send);
        Resolve(winhttp, "WinHttpWebSocketReceive", f.receive);
        Resolve(winhttp, "WinHttpWebSocketShutdown", f.shutdown);
        if (!f.Complete()) f = WebSocketFunctions();
        return f;
    }();
    return functions;
}

// Readers still waiting for the peer to answer the close of a socket whose owner
// has gone (a peer that stopped answering), held to a few for the whole process.
const int kMaxLingeringReaders = 4;
int g_lingeringReaders = 0;  // guarded by g_lingeringLock
std::mutex g_lingeringLock;

}  // namespace

bool LoopbackWebSocketsAvailable() {
    return WebSocketApi().Complete();
}

// What the socket and its reader thread share. The socket handle is closed by the
// reader alone, as its last act, under `lock`; the owner uses it only under `lock`
// while `ended` is false, so no thread ever touches it after it is closed.
struct LoopbackWebSocket::Shared {
    LoopbackLimits limits;
    InternetHandle session;
    InternetHandle connection;
    HINTERNET socket = nullptr;
    std::mutex lock;
    std::condition_variable arrived;
    std::deque<std::string> messages;
    bool ended = false;      // the reader has stopped and closed the socket
    bool lingering = false;  // the owner has gone while the reader was still waiting
    DWORD error = NO_ERROR;
};

namespace {

void ReadMessages(std::shared_ptr<LoopbackWebSocket::Shared> shared) {
    const WebSocketFunctions& api = WebSocketApi();
    std::vector<char> buffer(256 * 1024);
    std::string message;
    DWORD error = NO_ERROR;
    for (;;) {
        DWORD read = 0;
        WINHTTP_WEB_SOCKET_BUFFER_TYPE type = WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE;
        const DWORD rc = api.receive(shared->socket, buffer.data(), static_cast<DWORD>(buffer.size()), &read, &type);
        if (rc != NO_ERROR) { error = rc; break; }
        if (type == WINHTTP_WEB_SOCKET_CLOSE_BUFFER_TYPE) { error = ERROR_CONNECTION_ABORTED; break; }
        if (message.size() + read > shared->limits.maxReplyBytes) { error = ERROR_INSUFFICIENT_BUFFER; break; }
        message.append(buffer.data(), read);
        if (type == WINHTTP_WEB_SOCKET_UTF8_FRAGMENT_BUFFER_TYPE || type == WINHTTP_WEB_SOCKET_BINARY_FRAGMENT_BUFFER_TYPE)
            continue;
        std::lock_guard<std::mutex> guard(shared->lock);
        if (shared->lingering) { error = ERROR_CONNECTION_ABORTED; break; }  // nobody reads it any more
        shared->messages.push_back(std::move(message));
        message.clear();
        shared->arrived.notify_all();
    }
    std::lock_guard<std::mutex> guard(shared->lock);
    WinHttpCloseHandle(shared->socket);
    shared->socket = nullptr;
    shared->ended = true;
    shared->error = error;
    if (shared->lingering) {
        std::lock_guard<std::mutex> count(g_lingeringLock);
        --g_lingeringReaders;
    }
    shared->arrived.notify_all();
}

}  // namespace

LoopbackWebSocket::LoopbackWebSocket(std::uint16_t port, const std::string& path, const LoopbackLimits& limits)
    : m_shared(std::make_shared<Shared>()) {
    const WebSocketFunctions& api = WebSocketApi();
    if (!api.Complete()) Fail("WebSocket", ERROR_CALL_NOT_IMPLEMENTED);
    {
        std::lock_guard<std::mutex> count(g_lingeringLock);
        if (g_lingeringReaders >= kMaxLingeringReaders) Fail("WebSocket: earlier sockets still closing", ERROR_BUSY);
    }
    m_shared->limits = limits;
    LoopbackLimits upgradeLimits = limits;
    upgradeLimits.timeoutMs = std::max(limits.timeoutMs, limits.upgradeTimeoutMs);
    m_shared->session = OpenSession(upgradeLimits);
    m_shared->connection = Connect(m_shared->session, port);
    InternetHandle request = SendGet(m_shared->connection, path, true);
    const DWORD status = Status(request);
    if (status == 404) throw BrowserError("WinHTTP: no such endpoint", kLoopbackNoEndpoint);
    if (status != 101) throw BrowserError("WinHTTP: upgrade refused", kLoopbackUpgradeRefused);
    m_shared->socket = api.completeUpgrade(request.Get(), 0);
    if (!m_shared->socket) Fail("upgrade", GetLastError());
    DWORD timeout = static_cast<DWORD>(limits.timeoutMs);
    WinHttpSetOption(m_shared->socket, WINHTTP_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);
    try {
        m_reader = std::thread(ReadMessages, m_shared);
    } catch (const std::system_error&) {
        WinHttpCloseHandle(m_shared->socket);
        m_shared->socket = nullptr;
        Fail("reader thread", ERROR_NOT_ENOUGH_MEMORY);
    }
}

LoopbackWebSocket::~LoopbackWebSocket() {
    // The close frame asks the peer to close too; the reader then gets its close,
    // closes the handle and ends. The reader is not waited for: a peer that stopped
    // answering must not hold up the caller. Its reader lingers until the peer
    // answers or goes, and counts against the few that may linger.
    {
        std::lock_guard<std::mutex> guard(m_shared->lock);
        if (!m_shared->ended) {
            WebSocketApi().shutdown(m_shared->socket, WINHTTP_WEB_SOCKET_SUCCESS_CLOSE_STATUS, nullptr, 0);
            m_shared->lingering = true;
            std::lock_guard<std::mutex> count(g_lingeringLock);
            ++g_lingeringReaders;
        }
    }
    m_reader.detach();
}

void LoopbackWebSocket::SendText(const std::string& text) {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    if (m_shared->ended) Fail("WebSocket closed", m_shared->error);
    const DWORD rc = WebSocketApi().send(m_shared->socket, WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE,
                                         const_cast<char*>(text.data()), static_cast<DWORD>(text.size()));
    if (rc != NO_ERROR) Fail("WebSocket send", rc);
}

bool LoopbackWebSocket::Closed() const {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    return m_shared->ended && m_shared->messages.empty();
}

int LingeringWebSocketReaders() {
    std::lock_guard<std::mutex> count(g_lingeringLock);
    return g_lingeringReaders;
}
std::string LoopbackWebSocket::ReceiveText(int timeoutMs) {
    std::unique_lock<std::mutex> guard(m_shared->lock);
    const bool ready = m_shared->arrived.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] {
        return !m_shared->messages.empty() || m_shared->ended;
    });
    if (!m_shared->messages.empty()) {
        std::string message = std::move(m_shared->messages.front());
        m_shared->messages.pop_front();
        return message;
    }
    if (!ready) Fail("WebSocket time-out", ERROR_TIMEOUT);
    Fail("WebSocket closed", m_shared->error);
}
