// The browser access layer over the Chromium DevTools protocol, for Chrome, Edge and the
// other Chromium browsers. DevToolsBrowserAccess reaches a browser started with
// --remote-debugging-port: its windows are the targets of http://127.0.0.1:PORT/json/list
// in that order, each page over its own WebSocket. DevToolsEndpointAccess reaches a browser
// through its browser endpoint alone (the user's own profile, found by its
// DevToolsActivePort file): its windows are the targets of Target.getTargets, each page
// through a flat session on the one connection. A target that is not a page (a frame, a
// worker, the browser's own user interface) is a window that is not a browser. Frames in
// other processes are reached through flat sessions; every document is read in an
// isolated world of its frame.
//
// Only 127.0.0.1 is ever contacted: a target's WebSocket address gives only its
// path. Every wait has a time-out and every reply a size limit; a page that
// fails, closes or stops answering throws BrowserError. A page that cannot be
// reached at all (it went away after the list was read) has no document.
//
// An element collection is read in chunks of a few thousand elements (names, ids
// and the start of their outer HTML), so any page is read with bounded replies;
// an element's whole outer HTML is fetched only when it is longer than that start
// or the element is a form field written since, for a run of elements at once
// while the reads walk forward. A form field's outer HTML carries its current
// value in "value" (the tag index report leaves a password field's out).
// Every failure, of whatever kind, leaves the layer as BrowserError.
#pragma once

#include "browser/BrowserAccess.h"
#include "browser/WinHttpClient.h"
#include "text/TextEncoding.h"

#include <cstdint>
#include <functional>
#include <memory>

class DevToolsSession;

class DevToolsBrowserAccess : public BrowserAccess {
public:
    // `port` 0 turns the layer off: it then never opens a window list. Texts pass to and
    // from the pages in `encoding`: the ANSI code page, or UTF-8 for a run whose settings are.
    explicit DevToolsBrowserAccess(std::uint16_t port, const LoopbackLimits& limits = LoopbackLimits(),
                                   TextEncoding encoding = TextEncoding::Ansi)
        : m_port(port), m_limits(limits), m_encoding(encoding) {}

    // Nothing when the port is 0, WinHTTP has no WebSockets (Windows 7), nothing
    // listens or the list is not valid JSON.
    std::unique_ptr<WindowList> OpenWindowList() override;

private:
    std::unique_ptr<WindowList> OpenTargets();

    std::uint16_t m_port;
    LoopbackLimits m_limits;
    TextEncoding m_encoding;
};

// The pages of one browser reached through its browser endpoint: a single connection,
// which `connect` gives (kept from an earlier run, or opened now; null when the browser
// cannot be reached), lists them with Target.getTargets and reaches each through a flat
// session attached to it.
class DevToolsEndpointAccess : public BrowserAccess {
public:
    DevToolsEndpointAccess(std::function<std::shared_ptr<DevToolsSession>()> connect, TextEncoding encoding)
        : m_connect(std::move(connect)), m_encoding(encoding) {}

    std::unique_ptr<WindowList> OpenWindowList() override;

private:
    std::function<std::shared_ptr<DevToolsSession>()> m_connect;
    TextEncoding m_encoding;
};
