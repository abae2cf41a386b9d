// An entry's text on the clipboard, for the Copy command and for a drop: backslash-n expanded
// to CR LF; CF_TEXT for an ANSI list, CF_UNICODETEXT for a UTF-8 one. A drop's text is also
// marked transient, so that clipboard managers and the system's clipboard history do not keep it.
#pragma once

#include "framework/ClipboardRestore.h"
#include "text/TextEncoding.h"

#include <string>

// The clipboard block of an entry's text: the one encoder of Copy and the drop.
ClipboardData ClipboardDataOf(const std::string& text, TextEncoding encoding);

// The Copy command's text: TRUE when the clipboard now holds it.
BOOL PutTextOnClipboard(HWND owner, const std::string& text, TextEncoding encoding = TextEncoding::Ansi);

// Puts the text of a drop on the clipboard. With `restore` ("Restore Clipboard after Drop"),
// offered through it by delayed rendering, and what the clipboard held comes back once the
// target has read it; without, the clipboard keeps the text. TRUE when the clipboard holds it;
// FALSE when the clipboard stayed busy (another program held it open) or refused the text.
BOOL PutDropTextOnClipboard(HWND owner, const std::string& text, TextEncoding encoding,
                            CClipboardRestore* restore);
