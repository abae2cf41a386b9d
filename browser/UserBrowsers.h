// The user's own Chromium browsers with remote debugging switched on, found by the
// DevToolsActivePort file each writes into its user data folder, and the one connection
// to each browser's endpoint, kept while Jotwell runs: the browser asks its user to allow
// every new connection, so a user allows Jotwell once per browser session.
#pragma once

#include "browser/BrowserListener.h"
#include "browser/DevToolsActivePort.h"
#include "browser/UserNotifications.h"
#include "browser/WinHttpClient.h"

#include <memory>
#include <string>
#include <vector>

class DevToolsSession;

struct FoundBrowser {
    std::string name;
    DevToolsActivePort endpoint;
};

// The browsers whose file lies in their user data folder under %LOCALAPPDATA%, in the
// order of kChromiumBrowserFolders. A file that cannot be read or parsed is no browser.
std::vector<FoundBrowser> FindUserBrowsers();

// The connections to the browsers' endpoints. One worker at a time uses them; the last
// owner (the application, at exit) closes them.
class DevToolsConnections {
public:
    // `allowWaitMs`: how long a browser may hold a new connection while its user decides;
    // `noticeAfterMs`: how long before the user is told why nothing happens.
    // `system`: who listens on a port, asked before a new connection.
    explicit DevToolsConnections(int allowWaitMs = 60000, int noticeAfterMs = 1000,
                                 const ListenerSystem& system = SystemListener())
        : m_allowWaitMs(allowWaitMs), m_noticeAfterMs(noticeAfterMs), m_system(system) {}

    // The connection to `browser`: the one kept from an earlier run while the browser keeps
    // it open, else a new one. Null, without a word, for a stale file: nothing listens on
    // its port, another program does, or the endpoint is not there. Null after a refusal,
    // or when the user did not answer within the wait, each told once in a message.
    std::shared_ptr<DevToolsSession> Connect(const FoundBrowser& browser, UserNotifications& notify);

    // Connections opened so far (for the figures and tests).
    int Opened() const { return m_opened; }

private:
    struct Kept {
        std::uint16_t port;
        std::string path;
        std::shared_ptr<DevToolsSession> session;
    };

    std::shared_ptr<DevToolsSession> Open(const FoundBrowser& browser, UserNotifications& notify);

    int m_allowWaitMs;
    int m_noticeAfterMs;
    const ListenerSystem& m_system;
    std::vector<Kept> m_kept;
    int m_opened = 0;
};
