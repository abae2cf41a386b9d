// The main frame's two clipboard commands: rewrite the text on the clipboard in place, as
// CF_TEXT, or as CF_UNICODETEXT when the Unicode text holds characters that the ANSI code page
// cannot. Both fail silently; on failure the clipboard keeps what it held.
#pragma once

#include <windows.h>

#include <string>

// Clipboard text in a block of fewer than this many characters (bytes of CF_TEXT, UTF-16
// units of CF_UNICODETEXT) is converted; longer stays.
constexpr SIZE_T kHalfWidthBlockLimit = 260;

// Replaces the clipboard text by its half-width form: under the system's code page for
// CF_TEXT, by the code page 932 tables for Unicode text.
// True when the clipboard text was replaced.
bool ClipboardToHalfWidth(HWND owner);

// Puts `prefix` before every line of the clipboard text. An empty prefix does nothing.
// True when the clipboard text was replaced.
bool ClipboardPrefixLines(HWND owner, const std::string& prefix);
