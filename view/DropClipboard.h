// The clipboard step of a drop: the entry's text as the Copy command puts it (backslash-n
// expanded to CR LF; CF_TEXT for an ANSI list, CF_UNICODETEXT for a UTF-8 one), marked
// transient so that clipboard managers and the system's clipboard history do not keep it.
#pragma once

#include "framework/ClipboardRestore.h"
#include "text/TextEncoding.h"

#include <string>

// The clipboard block of an entry's text.
CClipboardRestore::Data ClipboardDataOf(const std::string& text, TextEncoding encoding);

// Puts the text of a drop on the clipboard. With `restore` ("Restore Clipboard after Drop"),
// offered through it by delayed rendering, and what the clipboard held comes back once the
// target has read it; without, the clipboard keeps the text. TRUE when the clipboard holds it.
BOOL PutDropTextOnClipboard(HWND owner, const std::string& text, TextEncoding encoding,
                            CClipboardRestore* restore);
