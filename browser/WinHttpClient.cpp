#include "browser/WinHttpClient.h"

#include "browser/BrowserAccess.h"

#include <windows.h>
#include <winhttp.h>

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

// What the socket and its reader thread share; the last of them to let go closes the handles.
struct LoopbackWebSocket::Shared {
    LoopbackLimits limits;
    InternetHandle session;
    InternetHandle connection;
    HINTERNET socket = nullptr;  // closed by the owner; the reader then fails and ends
    std::mutex lock;
    std::condition_variable arrived;
    std::deque<std::string> messages;
    bool ended = false;
    DWORD error = NO_ERROR;
};

namespace {

void ReadMessages(std::shared_ptr<LoopbackWebSocket::Shared> shared) {
    std::vector<char> buffer(256 * 1024);
    std::string message;
    DWORD error = NO_ERROR;
    for (;;) {
        DWORD read = 0;
        WINHTTP_WEB_SOCKET_BUFFER_TYPE type = WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE;
        const DWORD rc = WinHttpWebSocketReceive(shared->socket, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                 &read, &type);
        if (rc != NO_ERROR) { error = rc; break; }
        if (type == WINHTTP_WEB_SOCKET_CLOSE_BUFFER_TYPE) { error = ERROR_CONNECTION_ABORTED; break; }
        if (message.size() + read > shared->limits.maxReplyBytes) { error = ERROR_INSUFFICIENT_BUFFER; break; }
        message.append(buffer.data(), read);
        if (type == WINHTTP_WEB_SOCKET_UTF8_FRAGMENT_BUFFER_TYPE || type == WINHTTP_WEB_SOCKET_BINARY_FRAGMENT_BUFFER_TYPE)
            continue;
        std::lock_guard<std::mutex> guard(shared->lock);
        shared->messages.push_back(std::move(message));
        message.clear();
        shared->arrived.notify_all();
    }
    std::lock_guard<std::mutex> guard(shared->lock);
    shared->ended = true;
    shared->error = error;
    shared->arrived.notify_all();
}

}  // namespace

LoopbackWebSocket::LoopbackWebSocket(std::uint16_t port, const std::string& path, const LoopbackLimits& limits)
    : m_shared(std::make_shared<Shared>()) {
    m_shared->limits = limits;
    m_shared->session = OpenSession(limits);
    m_shared->connection = Connect(m_shared->session, port);
    InternetHandle request = SendGet(m_shared->connection, path, true);
    if (Status(request) != 101) Fail("upgrade refused", ERROR_BAD_NET_RESP);
    m_shared->socket = WinHttpWebSocketCompleteUpgrade(request.Get(), 0);
    if (!m_shared->socket) Fail("upgrade", GetLastError());
    DWORD timeout = static_cast<DWORD>(limits.timeoutMs);
    WinHttpSetOption(m_shared->socket, WINHTTP_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);
    try {
        m_reader = std::thread(ReadMessages, m_shared);
    } catch (const std::system_error&) {
        WinHttpCloseHandle(m_shared->socket);
        Fail("reader thread", ERROR_NOT_ENOUGH_MEMORY);
    }
}

LoopbackWebSocket::~LoopbackWebSocket() {
    // Closing the handle ends the reader's receive (at once on Windows; on Wine
    // when the peer sends or goes). The reader is not waited for: a peer that
    // stopped answering must not hold up the caller.
    WinHttpCloseHandle(m_shared->socket);
    m_reader.detach();
}

void LoopbackWebSocket::SendText(const std::string& text) {
    const DWORD rc = WinHttpWebSocketSend(m_shared->socket, WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE,
                                          const_cast<char*>(text.data()), static_cast<DWORD>(text.size()));
    if (rc != NO_ERROR) Fail("WebSocket send", rc);
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
