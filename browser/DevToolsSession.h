// One WebSocket of the DevTools protocol, to a page target or to a browser's endpoint:
// numbered commands, each waited for with a time-out, for the page's own session (none
// on a page's socket), or for a session attached to a page or a frame (flat sessions).
// Events are skipped except the attach and detach of targets, which are remembered by
// target id.
#pragma once

#include "browser/WinHttpClient.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <string>

class DevToolsSession {
public:
    DevToolsSession(std::uint16_t port, const std::string& path, const LoopbackLimits& limits);

    // The command's result. A protocol error, a reply that is not JSON, a closed
    // socket or no reply within the time-out throws BrowserError.
    nlohmann::json Call(const std::string& method, nlohmann::json params, const std::string& sessionId = std::string());

    // Runtime.callFunctionOn: `function` (fixed source of this program) on a remote
    // object, with the arguments passed as JSON values. A script exception throws.
    nlohmann::json CallFunction(const std::string& sessionId, const std::string& objectId, const char* function,
                                nlohmann::json arguments, bool byValue);

    // Reports out-of-process frames of the session as attached sessions (once per session).
    void AutoAttach(const std::string& sessionId);
    // The flat session of an attached frame target, or empty.
    std::string SessionOfTarget(const std::string& targetId) const;
    // The flat session of a page target on a browser's endpoint, attached at the first
    // request and kept while the page and the socket live.
    std::string AttachToPage(const std::string& targetId);

    // Whether the peer has closed the socket.
    bool Closed() const { return m_socket.Closed(); }
    // The wait for each reply from now on.
    void SetReplyTimeout(int timeoutMs) { m_timeoutMs = timeoutMs; }

private:
    nlohmann::json AwaitReply(const std::string& method, std::int64_t id);
    void Dispatch(const nlohmann::json& event);

    LoopbackWebSocket m_socket;
    int m_timeoutMs;
    std::int64_t m_nextId = 0;
    std::map<std::string, std::string> m_frameSessions;  // target id -> session id
    std::map<std::string, bool> m_autoAttached;
    std::map<std::string, std::string> m_pageSessions;  // target id -> session id
};
