// The file a Chromium browser writes into its user data folder while remote debugging
// is on: the port it listens on (first line) and its browser endpoint's WebSocket path
// (second line, "/devtools/browser/<id>"). The browsers whose folders are looked in,
// in the order their pages join a run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct DevToolsActivePort {
    std::uint16_t port = 0;
    std::string path;  // "/devtools/browser/" and a plain id: letters, digits, '-', '_', '.'
};

// Files are a few dozen bytes; anything longer is not one.
inline constexpr std::size_t kMaxDevToolsActivePortBytes = 4096;

// The port and path of a file's text; nothing when a line is missing, the port is not
// a number from 1 to 65535, the path is not a browser endpoint of plain characters, or
// the text is longer than a file can be. Lines end with LF or CR LF.
std::optional<DevToolsActivePort> ParseDevToolsActivePort(std::string_view text);

// A browser whose user data folder may hold the file.
struct ChromiumBrowserFolder {
    const char* name;    // as the user knows it, for the notices
    const char* folder;  // below %LOCALAPPDATA%
};

// Chrome and its channels, Edge and its channels, Brave, Chromium, Vivaldi.
inline constexpr ChromiumBrowserFolder kChromiumBrowserFolders[] = {
    {"Google Chrome", "Google\\Chrome\\User Data"},
    {"Google Chrome Beta", "Google\\Chrome Beta\\User Data"},
    {"Google Chrome Dev", "Google\\Chrome Dev\\User Data"},
    {"Google Chrome Canary", "Google\\Chrome SxS\\User Data"},
    {"Microsoft Edge", "Microsoft\\Edge\\User Data"},
    {"Microsoft Edge Beta", "Microsoft\\Edge Beta\\User Data"},
    {"Microsoft Edge Dev", "Microsoft\\Edge Dev\\User Data"},
    {"Microsoft Edge Canary", "Microsoft\\Edge SxS\\User Data"},
    {"Brave", "BraveSoftware\\Brave-Browser\\User Data"},
    {"Chromium", "Chromium\\User Data"},
    {"Vivaldi", "Vivaldi\\User Data"},
};
