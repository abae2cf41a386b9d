#include "view/DropClipboard.h"

#include <utility>
#include <vector>

#include "framework/Clipboard.h"
#include "text/AnsiText.h"
#include "text/CodePageText.h"
#include "text/SystemCodePage.h"
#include "view/LineBreaks.h"

ClipboardData ClipboardDataOf(const std::string& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        // No byte of a multi-byte UTF-8 character is a backslash: no lead bytes to step over.
        const std::wstring wide = ToWide(ExpandLineBreaks(text, LeadBytes()), CP_UTF8);
        std::string bytes(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
        bytes.append(sizeof(wchar_t), '\0');
        return {CF_UNICODETEXT, std::move(bytes)};
    }
    // The text and four zero bytes.
    std::string bytes = ExpandLineBreaks(text, SystemLeadBytes());
    bytes.append(4, '\0');
    return {CF_TEXT, std::move(bytes)};
}

BOOL PutTextOnClipboard(HWND owner, const std::string& text, TextEncoding encoding) {
    const ClipboardSession clipboard(owner);
    return PutClipboardData(clipboard, ClipboardDataOf(text, encoding)) ? TRUE : FALSE;
}

BOOL PutDropTextOnClipboard(HWND owner, const std::string& text, TextEncoding encoding,
                            CClipboardRestore* restore) {
    if (restore) {
        std::vector<ClipboardData> offered;
        offered.push_back(ClipboardDataOf(text, encoding));
        return restore->Offer(std::move(offered), true) ? TRUE : FALSE;
    }
    const ClipboardSession clipboard(owner);
    if (!PutClipboardData(clipboard, ClipboardDataOf(text, encoding))) return FALSE;
    MarkClipboardTransient(clipboard);
    return TRUE;
}
