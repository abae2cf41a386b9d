// Who listens on a loopback port before anything is sent there: a DevTools port is a door
// that any program of any user on the machine can stand behind, and a page's values must
// reach only the user's own browser. What the system is asked goes through a
// ListenerSystem of function pointers, which tests replace to give the answers Windows
// gives and Wine does not (it names no owner of a socket).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

enum class OwnerUser { Same, Other, Unknown };

struct ListenerSystem {
    // The process listening on 127.0.0.1:port (or on every address); 0 when the system
    // cannot name it.
    DWORD (*ListenerProcess)(std::uint16_t port);
    // The process's image file name without its folder; false when it cannot be read.
    bool (*ImageName)(DWORD process, std::wstring& name);
    // Whether the process runs as the user Jotwell runs as.
    OwnerUser (*UserOf)(DWORD process);
};

// The system's own answers.
const ListenerSystem& SystemListener();

enum class ListenerTrust {
    OwnBrowser,  // a Chromium browser of this user
    NotOurs,     // another user's process, one that is no browser, or one that cannot be read
    Unknown,     // the system names no owner
};

ListenerTrust CheckListener(std::uint16_t port, const ListenerSystem& system = SystemListener());

// Whether values may be sent to the configured port: to a browser of this user, or, where
// the system names no owner, only when the user set the port (never on the default alone).
bool MaySendToConfiguredPort(std::uint16_t port, bool portSetByUser, const ListenerSystem& system = SystemListener());

// Whether the image file name is one of the Chromium browsers' (case ignored).
bool IsBrowserImage(const std::wstring& name);
