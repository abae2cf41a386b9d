#include "frame/ClipboardConversions.h"

#include "frame/HalfWidth.h"
#include "framework/Clipboard.h"
#include "framework/SystemCodePage.h"

#include <limits>

namespace {

// Opens the clipboard, hands the CF_TEXT block (pointer and block size) to `rewrite` and puts
// its result back. Blocks of `sizeLimit` bytes or more are left alone.
template <typename Rewrite>
bool RewriteClipboardText(HWND owner, SIZE_T sizeLimit, Rewrite rewrite) {
    ClipboardSession clipboard(owner);
    if (!clipboard.IsOpen()) return false;
    HGLOBAL data = static_cast<HGLOBAL>(GetClipboardData(CF_TEXT));
    if (!data) return false;
    if (GlobalSize(data) >= sizeLimit) return false;
    std::string rewritten;
    {
        GlobalLockGuard source(data);
        if (!source) return false;
        // The block's size bounds every scan: text from another program may lack its zero.
        rewritten = rewrite(static_cast<const char*>(source.Get()), static_cast<std::size_t>(source.Size()));
    }
    return PutClipboardText(clipboard, rewritten);
}

}  // namespace

bool ClipboardToHalfWidth(HWND owner) {
    const unsigned codePage = GetACP();
    return RewriteClipboardText(owner, kHalfWidthBlockLimit, [codePage](const char* bytes, std::size_t size) {
        return ConvertToHalfWidth(bytes, size, SystemLeadBytes(), codePage);
    });
}

bool ClipboardPrefixLines(HWND owner, const std::string& prefix) {
    if (prefix.empty()) return false;
    return RewriteClipboardText(owner, (std::numeric_limits<SIZE_T>::max)(),
                                [&prefix](const char* bytes, std::size_t size) {
                                    return PrefixLines(bytes, size, prefix);
                                });
}
