// Putting data on the clipboard: a new movable block, owned here until the clipboard takes it.
#pragma once

#include "framework/Handles.h"

#include <cstddef>
#include <string>
#include <string_view>

// One format's whole block, terminating zeros included.
struct ClipboardData {
    UINT Format = 0;
    std::string Bytes;
};

// A movable block holding `size` bytes from `bytes` and then `zeros` zero bytes (the one
// builder of every block this program hands the clipboard). Empty when no memory could be had.
GlobalMemory ClipboardBlock(const void* bytes, std::size_t size, std::size_t zeros = 0);

// Hands the open clipboard a block of `data` as its format, without emptying it first. False
// when no memory could be had or the clipboard refused it.
bool SetClipboardBlock(const ClipboardData& data);

// Empties the open clipboard and puts `data` on it. False when no memory could be had or the
// clipboard refused the block; the clipboard keeps what it held when the block could not be made.
bool PutClipboardData(const ClipboardSession& clipboard, const ClipboardData& data);

// The same for text: 8-bit text as CF_TEXT, UTF-16 text as CF_UNICODETEXT, in a block that holds
// the text and then `zeros` zero characters (at least the terminating one).
bool PutClipboardText(const ClipboardSession& clipboard, std::string_view text, std::size_t zeros = 1);
bool PutClipboardText(const ClipboardSession& clipboard, std::wstring_view text, std::size_t zeros = 1);

// The same with the clipboard opened for `owner` (false also when it cannot be opened in time).
bool PutClipboardText(HWND owner, std::string_view text, std::size_t zeros = 1);
bool PutClipboardText(HWND owner, std::wstring_view text, std::size_t zeros = 1);
