#include "browser/DevToolsBrowserAccess.h"

#include "browser/BrowserText.h"
#include "browser/DevToolsScripts.h"
#include "browser/DevToolsSession.h"
#include "browser/LayerGuard.h"
#include "text/CodePageText.h"
#include "text/EncodingCodePage.h"
#include "text/SystemCodePage.h"

#include <windows.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using nlohmann::json;

namespace {

const std::int32_t kMalformed = static_cast<std::int32_t>(0x8000FFFFu);  // E_UNEXPECTED
const std::int32_t kFrameUnreachable = static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
// UTF-16 units of outer HTML read with the collection; the report shows 80 bytes.
const int kHtmlPrefix = 512;
// Elements described, or whole outer HTMLs fetched, per round trip, and the UTF-16
// units of whole outer HTML asked for at once: each reply stays some megabytes,
// far below the reply limit, whatever the page's size, and comes well within the
// reply time-out even from a browser on a busy machine.
const std::size_t kElementsPerCall = 500;
const std::int64_t kHtmlUnitsPerCall = 2 << 20;
const char kWorldName[] = "jotwell";


std::string Text(const json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

[[noreturn]] void Malformed(const char* what) { throw BrowserError(what, kMalformed); }

// The path of a target's WebSocket; the host it names is never used.
std::string WebSocketPath(const json& target) {
    std::string path;
    const std::string url = Text(target, "webSocketDebuggerUrl");
    const std::size_t scheme = url.find("://");
    if (scheme != std::string::npos) {
        const std::size_t slash = url.find('/', scheme + 3);
        if (slash != std::string::npos) path = url.substr(slash);
    } else {
        const std::string id = Text(target, "id");
        if (!id.empty()) path = "/devtools/page/" + id;
    }
    if (path.compare(0, 10, "/devtools/") != 0) return std::string();
    for (const char c : path) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
                           c == '-' || c == '_' || c == '.';
        if (!plain) return std::string();
    }
    return path;
}

// An attribute of a node that DOM.describeNode gave (its attributes come as name, value, ...).
std::string AttributeOf(const json& node, const char* name) {
    const auto attributes = node.find("attributes");
    if (attributes == node.end() || !attributes->is_array()) return std::string();
    for (std::size_t i = 0; i + 1 < attributes->size(); i += 2)
        if ((*attributes)[i] == name && (*attributes)[i + 1].is_string()) return (*attributes)[i + 1].get<std::string>();
    return std::string();
}

const json* FindFrame(const json& tree, const std::string& frameId) {
    if (!tree.is_object()) return nullptr;
    const auto frame = tree.find("frame");
    if (frame != tree.end() && frame->is_object() && Text(*frame, "id") == frameId) return &*frame;
    const auto children = tree.find("childFrames");
    if (children == tree.end() || !children->is_array()) return nullptr;
    for (const json& child : *children)
        if (const json* found = FindFrame(child, frameId)) return found;
    return nullptr;
}

// The connection a page is reached through (its own socket, or its browser's endpoint),
// with the encoding of the run's texts that every object read through it converts to and
// from the protocol's UTF-8.
struct PageSession {
    PageSession(std::shared_ptr<DevToolsSession> socket, TextEncoding encoding)
        : connection(std::move(socket)), textEncoding(encoding) {}

    json Call(const std::string& method, json params, const std::string& sessionId) {
        return connection->Call(method, std::move(params), sessionId);
    }
    json CallFunction(const std::string& sessionId, const std::string& objectId, const char* function, json arguments,
                      bool byValue) {
        return connection->CallFunction(sessionId, objectId, function, std::move(arguments), byValue);
    }
    void AutoAttach(const std::string& sessionId) { connection->AutoAttach(sessionId); }
    std::string SessionOfTarget(const std::string& targetId) const { return connection->SessionOfTarget(targetId); }

    std::string FromPage(const std::string& utf8) const { return Recode(utf8, CP_UTF8, CodePageOf(textEncoding)); }
    std::string ToPage(const std::string& text) const { return Recode(text, CodePageOf(textEncoding), CP_UTF8); }

    const std::shared_ptr<DevToolsSession> connection;
    const TextEncoding textEncoding;
};

json FrameTree(PageSession& s, const std::string& sessionId) {
    const json reply = s.Call("Page.getFrameTree", json::object(), sessionId);
    const auto tree = reply.find("frameTree");
    if (tree == reply.end() || !tree->is_object()) Malformed("Page.getFrameTree");
    return *tree;
}

std::string ObjectId(const json& remote) {
    const std::string id = Text(remote, "objectId");
    if (id.empty()) Malformed("no remote object");
    return id;
}

using Session = std::shared_ptr<PageSession>;

// ---- elements ----

struct ElementEntry {
    std::optional<std::string> name;
    std::string id;
    std::string html;       // in the system code page
    bool complete = false;  // html is the whole outer HTML, current as of `generation`
    bool field = false;
    int generation = 0;
    std::int64_t length = 0;  // of the whole outer HTML, in UTF-16 units
    bool startTag = false;    // html, even when cut, holds the whole start tag
};

struct CollectionState {
    Session s;
    std::string sessionId;
    std::string arrayId;  // the page-side list of the elements
    std::vector<ElementEntry> entries;
    int generation = 0;   // bumped by every write: form fields may have changed
    std::size_t aheadEnd = 0;  // just after the last run of whole outer HTMLs fetched
    std::size_t aheadRun = 0;  // its length: doubled while the reads walk forward

    bool Fresh(const ElementEntry& e) const { return !e.field || e.generation == generation; }
    bool Current(const ElementEntry& e) const { return e.complete && Fresh(e); }
    // What a listing shows is there already: the whole start tag and far more than a line.
    bool StartShown(const ElementEntry& e) const { return Fresh(e) && (e.complete || e.startTag); }
};

// Fetches the whole outer HTML of element `index` and, when the reads walk forward
// through the collection (the report), of the next incomplete elements too.
void FetchWholeHtml(CollectionState& state, std::size_t index) {
    const bool forward = state.aheadRun > 0 && index >= state.aheadEnd && index - state.aheadEnd < kElementsPerCall;
    state.aheadRun = forward ? std::min(state.aheadRun * 2, kElementsPerCall) : 1;
    json at = json::array();
    std::int64_t units = 0;
    std::size_t i = index;
    for (; i < state.entries.size() && at.size() < state.aheadRun; ++i) {
        const ElementEntry& e = state.entries[i];
        if (i != index && (state.Current(e) || state.StartShown(e))) continue;
        if (!at.empty() && units + e.length > kHtmlUnitsPerCall) break;
        at.push_back(i);
        units += e.length;
    }
    state.aheadEnd = i;
    const json html = state.s->CallFunction(state.sessionId, state.arrayId, devtools_scripts::kOuterHtmls,
                                            json::array({at}), true);
    const auto values = html.find("value");
    if (values == html.end() || !values->is_array() || values->size() != at.size()) Malformed("outer HTML list");
    for (std::size_t k = 0; k < at.size(); ++k) {
        const json& value = (*values)[k];
        if (!value.is_string()) {
            if (at[k].get<std::size_t>() == index) throw BrowserError("element gone", kMalformed);
            continue;
        }
        ElementEntry& e = state.entries[at[k].get<std::size_t>()];
        e.html = state.s->FromPage(value.get<std::string>());
        e.complete = true;
        e.generation = state.generation;
    }
}

class DevToolsElement : public HtmlElement {
public:
    DevToolsElement(std::shared_ptr<CollectionState> state, std::size_t index) : m_state(std::move(state)), m_index(index) {}

    std::optional<std::string> NameAttribute() override {
        return AsBrowserError([&] { return m_state->entries[m_index].name; });
    }

    std::string OuterHtml() override {
        return AsBrowserError([&] {
            if (!m_state->Current(m_state->entries[m_index])) FetchWholeHtml(*m_state, m_index);
            return m_state->entries[m_index].html;
        });
    }

    // The start read with the collection serves a listing unless it cuts the start
    // tag (or the field was written since): the html element of a huge page is
    // never fetched whole for its line.
    std::string OuterHtmlStart(std::size_t bytes) override {
        return AsBrowserError([&] {
            const ElementEntry& e = m_state->entries[m_index];
            if (m_state->StartShown(e) && (e.complete || e.html.size() >= bytes)) return e.html;
            FetchWholeHtml(*m_state, m_index);
            return m_state->entries[m_index].html;
        });
    }

    void WriteText(const std::string& text) override {
        AsBrowserError([&] {
            const json written = m_state->s->CallFunction(
                m_state->sessionId, m_state->arrayId, devtools_scripts::kWriteText,
                json::array({m_index, m_state->s->ToPage(text), TextWriteRefusedTags()}), true);
            if (written.value("value", json()) == "refused") throw BrowserError("text write refused", kAccessDenied);
            ++m_state->generation;
            m_state->entries[m_index].complete = false;
        });
    }

private:
    std::shared_ptr<CollectionState> m_state;
    std::size_t m_index;
};

class DevToolsCollection : public ElementCollection {
public:
    explicit DevToolsCollection(std::shared_ptr<CollectionState> state) : m_state(std::move(state)) {}

    std::int32_t Length() override { return static_cast<std::int32_t>(m_state->entries.size()); }

    std::unique_ptr<HtmlElement> ItemAt(std::int32_t index) override {
        if (index < 0 || static_cast<std::size_t>(index) >= m_state->entries.size()) return nullptr;
        return AsBrowserError([&] { return std::make_unique<DevToolsElement>(m_state, static_cast<std::size_t>(index)); });
    }

    // As the old browser's collection: the one element whose name or id it is.
    std::unique_ptr<HtmlElement> ItemNamed(const std::string& name) override {
        std::size_t found = 0;
        std::size_t matches = 0;
        for (std::size_t i = 0; i < m_state->entries.size(); ++i) {
            const ElementEntry& e = m_state->entries[i];
            if ((e.name && *e.name == name) || (!e.id.empty() && e.id == name)) {
                found = i;
                ++matches;
            }
        }
        if (matches != 1) return nullptr;
        return AsBrowserError([&] { return std::make_unique<DevToolsElement>(m_state, found); });
    }

private:
    std::shared_ptr<CollectionState> m_state;
};

std::shared_ptr<CollectionState> ReadCollection(const Session& s, const std::string& sessionId, const std::string& documentId) {
    auto state = std::make_shared<CollectionState>();
    state->s = s;
    state->sessionId = sessionId;
    state->arrayId = ObjectId(s->CallFunction(sessionId, documentId, devtools_scripts::kAllElements, json::array(), false));
    // In chunks, so that no reply grows with the page.
    std::size_t length = 0;
    do {
        const std::size_t start = state->entries.size();
        const json described = s->CallFunction(sessionId, state->arrayId, devtools_scripts::kDescribeElements,
                                               json::array({start, kElementsPerCall, kHtmlPrefix}), true);
        const json& reply = described.at("value");
        length = reply.at(0).get<std::size_t>();
        const json& rows = reply.at(1);
        if (!rows.is_array() || (rows.empty() && start < length)) Malformed("element list");
        if (start == 0) state->entries.reserve(length);
        for (const json& row : rows) {
            if (!row.is_array() || row.size() != 5) Malformed("element row");
            ElementEntry e;
            if (row[0].is_string()) e.name = s->FromPage(row[0].get<std::string>());
            e.id = s->FromPage(row[1].get<std::string>());
            e.html = s->FromPage(row[2].get<std::string>());
            e.length = row[3].get<std::int64_t>();
            e.complete = e.length <= kHtmlPrefix;
            e.startTag = e.complete || HoldsStartTag(e.html, LeadBytesOf(s->textEncoding));
            e.field = row[4].get<bool>();
            state->entries.push_back(std::move(e));
        }
    } while (state->entries.size() < length);
    return state;
}

// ---- documents and frames ----

class DevToolsDocument : public HtmlDocument {
public:
    DevToolsDocument(Session s, std::string sessionId, std::string frameId, std::string objectId, std::string pageOrigin)
        : m_s(std::move(s)), m_sessionId(std::move(sessionId)), m_frameId(std::move(frameId)),
          m_objectId(std::move(objectId)), m_pageOrigin(std::move(pageOrigin)) {}

    std::string Title() override { return Info().first; }
    std::string Url() override { return Info().second; }
    std::unique_ptr<FrameList> Frames() override;

    std::unique_ptr<ElementCollection> Elements() override {
        return AsBrowserError([&]() -> std::unique_ptr<ElementCollection> {
            return std::make_unique<DevToolsCollection>(ReadCollection(m_s, m_sessionId, m_objectId));
        });
    }

private:
    const std::pair<std::string, std::string>& Info() {
        if (!m_info) {
            AsBrowserError([&] {
                const json info = m_s->CallFunction(m_sessionId, m_objectId, devtools_scripts::kDocumentInfo, json::array(), true);
                const json& value = info.at("value");
                m_info = std::make_pair(m_s->FromPage(value.at(0).get<std::string>()), m_s->FromPage(value.at(1).get<std::string>()));
            });
        }
        return *m_info;
    }

    Session m_s;
    std::string m_sessionId;
    std::string m_frameId;
    std::string m_objectId;
    std::string m_pageOrigin;  // of the page's top document, which its frames are held to
    std::optional<std::pair<std::string, std::string>> m_info;
};

// The document of a frame, read in this program's own world of that frame; `pageOrigin`
// is the origin of the page's top document.
std::unique_ptr<HtmlDocument> OpenDocument(const Session& s, const std::string& sessionId, const std::string& frameId,
                                           const std::string& pageOrigin) {
    const json world = s->Call("Page.createIsolatedWorld", {{"frameId", frameId}, {"worldName", kWorldName}}, sessionId);
    const auto context = world.find("executionContextId");
    if (context == world.end() || !context->is_number_integer()) Malformed("Page.createIsolatedWorld");
    const json evaluated = s->Call("Runtime.evaluate", {{"expression", "document"}, {"contextId", *context}}, sessionId);
    if (evaluated.contains("exceptionDetails")) Malformed("no document");
    const json remote = evaluated.value("result", json::object());
    if (Text(remote, "subtype") != "node") return nullptr;
    return std::make_unique<DevToolsDocument>(s, sessionId, frameId, ObjectId(remote), pageOrigin);
}

// Whether a frame's document may be read from a page of `pageOrigin`: only when both
// have the same origin, as the page's own scripts could. An opaque origin ("null", a
// sandboxed frame) is the same as none.
bool SameOrigin(const std::string& frameOrigin, const std::string& pageOrigin) {
    return !frameOrigin.empty() && frameOrigin != "null" && frameOrigin == pageOrigin;
}

class DevToolsFrame : public FrameWindow {
public:
    DevToolsFrame(Session s, std::string parentSession, std::string elementId, std::string pageOrigin)
        : m_s(std::move(s)), m_parentSession(std::move(parentSession)), m_elementId(std::move(elementId)),
          m_pageOrigin(std::move(pageOrigin)) {}

    std::unique_ptr<HtmlDocument> Document() override {
        return AsBrowserError([&] {
            Locate();
            if (!SameOrigin(m_origin, m_pageOrigin)) throw BrowserError("frame of another origin", kAccessDenied);
            return OpenDocument(m_s, m_sessionId, m_frameId, m_pageOrigin);
        });
    }

    std::unique_ptr<HtmlDocument> NamedDocument() override {
        return AsBrowserError([&] {
            Locate();
            return OpenDocument(m_s, m_sessionId, m_frameId, m_pageOrigin);
        });
    }

    std::string Name() override {
        return AsBrowserError([&] {
            Locate();
            return m_name;
        });
    }

private:
    // Which session holds the frame: its parent's (same process) or one attached for it.
    void Locate() {
        if (!m_frameId.empty()) return;
        const json node = m_s->Call("DOM.describeNode", {{"objectId", m_elementId}}, m_parentSession).value("node", json::object());
        const std::string frameId = Text(node, "frameId");
        if (frameId.empty()) throw BrowserError("frame has no document", kFrameUnreachable);
        std::string sessionId = m_parentSession;
        json tree = FrameTree(*m_s, sessionId);
        const json* frame = FindFrame(tree, frameId);
        if (!frame) {
            sessionId = m_s->SessionOfTarget(frameId);
            if (sessionId.empty()) throw BrowserError("frame not reachable", kFrameUnreachable);
            m_s->AutoAttach(sessionId);
            tree = FrameTree(*m_s, sessionId);
            frame = FindFrame(tree, frameId);
            if (!frame) throw BrowserError("frame not reachable", kFrameUnreachable);
        }
        m_origin = Text(*frame, "securityOrigin");
        // A frame of another origin sets its own window name; the name that its page gave
        // the frame element is the one a user can have meant.
        m_name = m_s->FromPage(SameOrigin(m_origin, m_pageOrigin) ? Text(*frame, "name") : AttributeOf(node, "name"));
        m_sessionId = sessionId;
        m_frameId = frameId;
    }

    Session m_s;
    std::string m_parentSession;
    std::string m_elementId;
    std::string m_pageOrigin;
    std::string m_sessionId;
    std::string m_frameId;
    std::string m_name;
    std::string m_origin;
};

class DevToolsFrameList : public FrameList {
public:
    DevToolsFrameList(Session s, std::string sessionId, std::vector<std::string> elementIds, std::string pageOrigin)
        : m_s(std::move(s)), m_sessionId(std::move(sessionId)), m_elementIds(std::move(elementIds)),
          m_pageOrigin(std::move(pageOrigin)) {}

    std::int32_t Count() override { return static_cast<std::int32_t>(m_elementIds.size()); }

    std::unique_ptr<FrameWindow> Item(std::int32_t index) override {
        if (index < 0 || static_cast<std::size_t>(index) >= m_elementIds.size()) return nullptr;
        return AsBrowserError([&] {
            return std::make_unique<DevToolsFrame>(m_s, m_sessionId, m_elementIds[static_cast<std::size_t>(index)],
                                                   m_pageOrigin);
        });
    }

private:
    Session m_s;
    std::string m_sessionId;
    std::vector<std::string> m_elementIds;
    std::string m_pageOrigin;
};

std::unique_ptr<FrameList> DevToolsDocument::Frames() {
    return AsBrowserError([&]() -> std::unique_ptr<FrameList> {
        const std::string listId = ObjectId(m_s->CallFunction(m_sessionId, m_objectId, devtools_scripts::kFrameElements, json::array(), false));
        const json properties = m_s->Call("Runtime.getProperties", {{"objectId", listId}, {"ownProperties", true}}, m_sessionId);
        const json& result = properties.at("result");
        std::vector<std::pair<std::int32_t, std::string>> indexed;
        for (const json& p : result) {
            const std::int32_t index = ArrayIndexName(Text(p, "name"), result.size());
            if (index >= 0) indexed.emplace_back(index, ObjectId(p.at("value")));
        }
        std::vector<std::string> ids(indexed.size());
        for (const auto& item : indexed) {
            if (static_cast<std::size_t>(item.first) >= ids.size()) Malformed("frame list");
            ids[static_cast<std::size_t>(item.first)] = item.second;
        }
        return std::make_unique<DevToolsFrameList>(m_s, m_sessionId, std::move(ids), m_pageOrigin);
    });
}

// ---- windows ----

struct Target {
    bool page = false;
    std::string path;  // of the page's own socket, or its target id on a browser's endpoint
};

// The top document of a page whose session is `sessionId` on `s` (none: the page's own socket).
std::unique_ptr<HtmlDocument> OpenPageDocument(const Session& s, const std::string& sessionId) {
    s->AutoAttach(sessionId);
    const json tree = FrameTree(*s, sessionId);
    const json top = tree.value("frame", json::object());
    const std::string frameId = Text(top, "id");
    if (frameId.empty()) Malformed("no main frame");
    return OpenDocument(s, sessionId, frameId, Text(top, "securityOrigin"));
}

// A page reached through its own socket, opened for each document.
class DevToolsBrowserWindow : public BrowserWindow {
public:
    DevToolsBrowserWindow(std::uint16_t port, std::string path, const LoopbackLimits& limits, TextEncoding encoding)
        : m_port(port), m_path(std::move(path)), m_limits(limits), m_encoding(encoding) {}

    std::unique_ptr<HtmlDocument> Document() override {
        Session s;
        try {
            s = std::make_shared<PageSession>(std::make_shared<DevToolsSession>(m_port, m_path, m_limits), m_encoding);
        } catch (const std::exception&) {
            return nullptr;  // the page or the browser has gone since the list was read
        }
        return AsBrowserError([&] { return OpenPageDocument(s, std::string()); });
    }

private:
    std::uint16_t m_port;
    std::string m_path;
    LoopbackLimits m_limits;
    TextEncoding m_encoding;
};

// A page reached through a session on its browser's one connection.
class DevToolsEndpointWindow : public BrowserWindow {
public:
    DevToolsEndpointWindow(Session s, std::string targetId) : m_s(std::move(s)), m_targetId(std::move(targetId)) {}

    std::unique_ptr<HtmlDocument> Document() override {
        std::string sessionId;
        try {
            sessionId = m_s->connection->AttachToPage(m_targetId);
        } catch (const BrowserError&) {
            if (m_s->connection->Closed()) throw;
            return nullptr;  // the page has gone since the list was read
        }
        return AsBrowserError([&] { return OpenPageDocument(m_s, sessionId); });
    }

private:
    Session m_s;
    std::string m_targetId;
};

class DevToolsWindowList : public WindowList {
public:
    // Pages of their own sockets on `port`, or of the browser connection `endpoint`.
    DevToolsWindowList(std::uint16_t port, Session endpoint, std::vector<Target> targets, const LoopbackLimits& limits,
                       TextEncoding encoding)
        : m_port(port), m_endpoint(std::move(endpoint)), m_targets(std::move(targets)), m_limits(limits),
          m_encoding(encoding) {}

    std::int32_t Count() override { return static_cast<std::int32_t>(m_targets.size()); }

    std::unique_ptr<BrowserWindow> Item(std::int32_t index) override {
        if (index < 0 || static_cast<std::size_t>(index) >= m_targets.size()) return nullptr;
        const Target& t = m_targets[static_cast<std::size_t>(index)];
        if (!t.page || t.path.empty()) return nullptr;
        return AsBrowserError([&]() -> std::unique_ptr<BrowserWindow> {
            if (m_endpoint) return std::make_unique<DevToolsEndpointWindow>(m_endpoint, t.path);
            return std::make_unique<DevToolsBrowserWindow>(m_port, t.path, m_limits, m_encoding);
        });
    }

private:
    std::uint16_t m_port;
    Session m_endpoint;
    std::vector<Target> m_targets;
    LoopbackLimits m_limits;
    TextEncoding m_encoding;
};

}  // namespace

std::unique_ptr<WindowList> DevToolsBrowserAccess::OpenWindowList() {
    // Without WebSockets (Windows 7) no page could be read: the layer is off, silently.
    if (m_port == 0 || !LoopbackWebSocketsAvailable()) return nullptr;
    try {
        return OpenTargets();
    } catch (const std::exception&) {
        return nullptr;  // out of memory on a huge list: as a list that is not valid JSON
    }
}

std::unique_ptr<WindowList> DevToolsBrowserAccess::OpenTargets() {
    LoopbackLimits listLimits = m_limits;
    listLimits.maxReplyBytes = 4u << 20;
    std::string body;
    try {
        body = LoopbackHttpGet(m_port, "/json/list", listLimits);
    } catch (const BrowserError&) {
        return nullptr;
    }
    const json list = json::parse(body, nullptr, false);
    if (list.is_discarded() || !list.is_array()) return nullptr;
    std::vector<Target> targets;
    for (const json& item : list) {
        Target t;
        if (item.is_object()) {
            t.page = Text(item, "type") == "page";
            t.path = WebSocketPath(item);
        }
        targets.push_back(std::move(t));
    }
    return std::make_unique<DevToolsWindowList>(m_port, nullptr, std::move(targets), m_limits, m_encoding);
}

std::unique_ptr<WindowList> DevToolsEndpointAccess::OpenWindowList() {
    if (!LoopbackWebSocketsAvailable()) return nullptr;
    try {
        const std::shared_ptr<DevToolsSession> connection = m_connect();
        if (!connection) return nullptr;
        const json reply = connection->Call("Target.getTargets", json::object());
        const auto infos = reply.find("targetInfos");
        if (infos == reply.end() || !infos->is_array()) return nullptr;
        std::vector<Target> targets;
        for (const json& info : *infos) {
            Target t;
            if (info.is_object()) {
                t.page = Text(info, "type") == "page";
                t.path = Text(info, "targetId");
            }
            targets.push_back(std::move(t));
        }
        return std::make_unique<DevToolsWindowList>(0, std::make_shared<PageSession>(connection, m_encoding),
                                                    std::move(targets), LoopbackLimits(), m_encoding);
    } catch (const std::exception&) {
        return nullptr;  // the browser closed the connection, or did not answer: no pages this run
    }
}
