// The main frame's two clipboard commands: rewrite the CF_TEXT on the clipboard in place.
// Both fail silently; on failure the clipboard keeps what it held.
#pragma once

#include <windows.h>

#include <string>

// Clipboard text of fewer than this many bytes (block size) is converted; longer stays.
constexpr SIZE_T kHalfWidthBlockLimit = 260;

// Replaces the clipboard text by its half-width form under the system's code page.
// True when the clipboard text was replaced.
bool ClipboardToHalfWidth(HWND owner);

// Puts `prefix` before every line of the clipboard text. An empty prefix does nothing.
// True when the clipboard text was replaced.
bool ClipboardPrefixLines(HWND owner, const std::string& prefix);
