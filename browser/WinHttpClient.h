// HTTP GET and a WebSocket to a server on this machine (127.0.0.1 only), over
// WinHTTP. Every wait has a time-out and every reply a size limit; a failure
// throws BrowserError with an HRESULT code.
#pragma once

#include "framework/Handles.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

struct LoopbackLimits {
    int timeoutMs = 5000;                      // connecting, sending, each wait for data
    std::size_t maxReplyBytes = 32u << 20;     // one HTTP body or one WebSocket message
    // The wait for a WebSocket's upgrade when longer than timeoutMs: a browser holds it
    // while it asks its user whether to allow the connection.
    int upgradeTimeoutMs = 0;
};

// The codes of a WebSocket that did not open: nothing listens on the port, nothing
// serves the path (404), the peer answered the upgrade with another status.
inline constexpr std::int32_t kLoopbackNotListening = static_cast<std::int32_t>(0x80072EFDu);  // ERROR_WINHTTP_CANNOT_CONNECT
inline constexpr std::int32_t kLoopbackNoEndpoint = static_cast<std::int32_t>(0x80070002u);    // ERROR_FILE_NOT_FOUND
inline constexpr std::int32_t kLoopbackUpgradeRefused = static_cast<std::int32_t>(0x800704CFu);  // ERROR_NETWORK_UNREACHABLE

// The body of GET http://127.0.0.1:port/path when the status is 200. Throws when
// nothing listens, on a time-out, another status or a body over the limit.
std::string LoopbackHttpGet(std::uint16_t port, const std::string& path, const LoopbackLimits& limits);

// Whether WinHTTP has WebSockets (Windows 8 and later, Wine): without them no
// LoopbackWebSocket can open.
bool LoopbackWebSocketsAvailable();

// A WebSocket to ws://127.0.0.1:port/path, text messages only. A reader thread
// receives the messages, so that every wait here has a time-out even where
// WinHTTP's own receive has none (Wine's waits for ever on a silent peer, and
// ignores a close of the handle). Closing sends the close frame and leaves the
// reader to close the handle when the peer answers; a reader whose peer never
// answers lingers, and while a few linger no new socket opens (BrowserError).
class LoopbackWebSocket {
public:
    LoopbackWebSocket(std::uint16_t port, const std::string& path, const LoopbackLimits& limits);
    ~LoopbackWebSocket();
    LoopbackWebSocket(const LoopbackWebSocket&) = delete;
    LoopbackWebSocket& operator=(const LoopbackWebSocket&) = delete;

    void SendText(const std::string& text);
    // One whole message (its fragments joined). Throws when the peer closes, on a
    // time-out of `timeoutMs` for the whole message, or when it exceeds the limit.
    std::string ReceiveText(int timeoutMs);
    // Whether the peer has closed the socket (or it failed) and nothing is left to read.
    bool Closed() const;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    std::thread m_reader;
};

// Readers of closed sockets still waiting for their peer's answer (for tests and figures).
int LingeringWebSocketReaders();
