#include "browser/DevToolsSession.h"

#include "browser/BrowserAccess.h"

#include <windows.h>

#include <utility>

using nlohmann::json;

namespace {

const std::int32_t kMalformed = static_cast<std::int32_t>(0x8000FFFFu);    // E_UNEXPECTED
const std::int32_t kScriptFailed = static_cast<std::int32_t>(0x80004005u);  // E_FAIL

}  // namespace

DevToolsSession::DevToolsSession(std::uint16_t port, const std::string& path, const LoopbackLimits& limits)
    : m_socket(port, path, limits), m_timeoutMs(limits.timeoutMs) {}

json DevToolsSession::Call(const std::string& method, json params, const std::string& sessionId) {
    const std::int64_t id = ++m_nextId;
    json command = {{"id", id}, {"method", method}, {"params", std::move(params)}};
    if (!sessionId.empty()) command["sessionId"] = sessionId;
    m_socket.SendText(command.dump(-1, ' ', false, json::error_handler_t::replace));

    try {
        return AwaitReply(method, id);
    } catch (const json::exception&) {
        throw BrowserError(method + ": malformed reply", kMalformed);
    }
}

json DevToolsSession::AwaitReply(const std::string& method, std::int64_t id) {
    // Events may come first; the wait for this reply as a whole is bounded.
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(m_timeoutMs);
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) throw BrowserError(method + ": no reply", static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_TIMEOUT)));
        const json reply = json::parse(m_socket.ReceiveText(static_cast<int>(deadline - now)), nullptr, false);
        if (reply.is_discarded() || !reply.is_object()) throw BrowserError(method + ": malformed reply", kMalformed);
        const auto replyId = reply.find("id");
        if (replyId == reply.end()) {
            Dispatch(reply);
            continue;
        }
        if (!replyId->is_number_integer() || replyId->get<std::int64_t>() != id) continue;
        const auto error = reply.find("error");
        if (error != reply.end()) {
            const std::int32_t code = error->is_object() && error->value("code", json()).is_number_integer()
                                          ? error->value("code", kScriptFailed)
                                          : kScriptFailed;
            throw BrowserError(method + ": protocol error", code);
        }
        const auto result = reply.find("result");
        if (result == reply.end() || !result->is_object()) throw BrowserError(method + ": malformed reply", kMalformed);
        return *result;
    }
}

json DevToolsSession::CallFunction(const std::string& sessionId, const std::string& objectId, const char* function,
                                   json arguments, bool byValue) {
    json args = json::array();
    for (json& a : arguments) args.push_back({{"value", std::move(a)}});
    const json result = Call("Runtime.callFunctionOn",
                             {{"objectId", objectId},
                              {"functionDeclaration", function},
                              {"arguments", std::move(args)},
                              {"returnByValue", byValue},
                              {"silent", true}},
                             sessionId);
    if (result.contains("exceptionDetails")) throw BrowserError("page function failed", kScriptFailed);
    const auto remote = result.find("result");
    if (remote == result.end() || !remote->is_object()) throw BrowserError("page function: malformed reply", kMalformed);
    return *remote;
}

void DevToolsSession::AutoAttach(const std::string& sessionId) {
    if (m_autoAttached[sessionId]) return;
    Call("Target.setAutoAttach", {{"autoAttach", true}, {"waitForDebuggerOnStart", false}, {"flatten", true}},
         sessionId);
    m_autoAttached[sessionId] = true;
}

std::string DevToolsSession::SessionOfTarget(const std::string& targetId) const {
    const auto it = m_frameSessions.find(targetId);
    return it == m_frameSessions.end() ? std::string() : it->second;
}

std::string DevToolsSession::AttachToPage(const std::string& targetId) {
    const auto kept = m_pageSessions.find(targetId);
    if (kept != m_pageSessions.end()) return kept->second;
    const std::string session = Call("Target.attachToTarget", {{"targetId", targetId}, {"flatten", true}})
                                    .value("sessionId", std::string());
    if (session.empty()) throw BrowserError("Target.attachToTarget: no session", kMalformed);
    m_pageSessions[targetId] = session;
    return session;
}

void DevToolsSession::Dispatch(const json& event) {
    const std::string method = event.value("method", std::string());
    const json params = event.value("params", json::object());
    if (!params.is_object()) return;
    if (method == "Target.attachedToTarget") {
        const json info = params.value("targetInfo", json::object());
        const std::string session = params.value("sessionId", std::string());
        if (info.is_object() && !session.empty())
            m_frameSessions[info.value("targetId", std::string())] = session;
    } else if (method == "Target.detachedFromTarget") {
        const std::string session = params.value("sessionId", std::string());
        for (auto* sessions : {&m_frameSessions, &m_pageSessions}) {
            for (auto it = sessions->begin(); it != sessions->end();) {
                if (it->second == session) it = sessions->erase(it);
                else ++it;
            }
        }
        m_autoAttached.erase(session);
    }
}
