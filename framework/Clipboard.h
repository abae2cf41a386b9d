// Putting text on the clipboard: a new movable block, owned here until the clipboard takes it.
#pragma once

#include "framework/Handles.h"

#include <cstddef>
#include <string_view>

// Empties the open clipboard and puts `text` on it, 8-bit text as CF_TEXT and UTF-16 text as
// CF_UNICODETEXT, in a block that holds the text and then `zeros` zero characters (at least
// the terminating one). False when no memory could be had or the clipboard refused the block;
// the clipboard keeps what it held when the block could not be made.
bool PutClipboardText(const ClipboardSession& clipboard, std::string_view text, std::size_t zeros = 1);
bool PutClipboardText(const ClipboardSession& clipboard, std::wstring_view text, std::size_t zeros = 1);

// The same with the clipboard opened for `owner` (false also when it cannot be opened).
bool PutClipboardText(HWND owner, std::string_view text, std::size_t zeros = 1);
bool PutClipboardText(HWND owner, std::wstring_view text, std::size_t zeros = 1);
