#include "browser/WinHttpClient.h"

#include "browser/BrowserAccess.h"

#include <windows.h>
#include <winhttp.h>

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

LoopbackWebSocket::LoopbackWebSocket(std::uint16_t port, const std::string& path, const LoopbackLimits& limits)
    : m_limits(limits), m_session(OpenSession(limits)), m_connection(Connect(m_session, port)) {
    InternetHandle request = SendGet(m_connection, path, true);
    if (Status(request) != 101) Fail("upgrade refused", ERROR_BAD_NET_RESP);
    m_socket.Reset(WinHttpWebSocketCompleteUpgrade(request.Get(), 0));
    if (!m_socket) Fail("upgrade", GetLastError());
    // The WebSocket keeps the request's time-outs on Windows; set them again for
    // implementations that start it with none.
    DWORD timeout = static_cast<DWORD>(limits.timeoutMs);
    WinHttpSetOption(m_socket.Get(), WINHTTP_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    WinHttpSetOption(m_socket.Get(), WINHTTP_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);
}

LoopbackWebSocket::~LoopbackWebSocket() {
    // Closing the handles ends the connection; a close handshake could wait on a dead peer.
}

void LoopbackWebSocket::SendText(const std::string& text) {
    const DWORD rc = WinHttpWebSocketSend(m_socket.Get(), WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE,
                                          const_cast<char*>(text.data()), static_cast<DWORD>(text.size()));
    if (rc != NO_ERROR) Fail("WebSocket send", rc);
}

std::string LoopbackWebSocket::ReceiveText(int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    std::string message;
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        if (GetTickCount64() > deadline) Fail("WebSocket time-out", ERROR_TIMEOUT);
        DWORD read = 0;
        WINHTTP_WEB_SOCKET_BUFFER_TYPE type = WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE;
        const DWORD rc = WinHttpWebSocketReceive(m_socket.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                 &read, &type);
        if (rc != NO_ERROR) Fail("WebSocket receive", rc);
        if (type == WINHTTP_WEB_SOCKET_CLOSE_BUFFER_TYPE) Fail("WebSocket closed", ERROR_CONNECTION_ABORTED);
        if (message.size() + read > m_limits.maxReplyBytes) Fail("message too large", ERROR_INSUFFICIENT_BUFFER);
        message.append(buffer.data(), read);
        if (type == WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE || type == WINHTTP_WEB_SOCKET_BINARY_MESSAGE_BUFFER_TYPE)
            return message;
    }
}
