// One WebSocket to a page target of the DevTools protocol: numbered commands,
// each waited for with a time-out, for the page's own session or for a frame
// session attached to it (flat sessions). Events are skipped except the attach
// and detach of out-of-process frames, which are remembered by target id.
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

private:
    nlohmann::json AwaitReply(const std::string& method, std::int64_t id);
    void Dispatch(const nlohmann::json& event);

    LoopbackWebSocket m_socket;
    int m_timeoutMs;
    std::int64_t m_nextId = 0;
    std::map<std::string, std::string> m_frameSessions;  // target id -> session id
    std::map<std::string, bool> m_autoAttached;
};
