#include "frame/ClipboardConversions.h"

#include "document/SystemCodePage.h"
#include "frame/HalfWidth.h"
#include "framework/Handles.h"

#include <cstring>
#include <limits>

namespace {

// Copies `text` and a terminating zero into a new movable block and puts it on the open
// clipboard as CF_TEXT. The block belongs to the clipboard only once SetClipboardData took it.
bool PutClipboardText(const std::string& text) {
    GlobalMemory block(GMEM_MOVEABLE, text.size() + 1);
    if (!block) return false;
    {
        GlobalLockGuard target(block.Get());
        if (!target) return false;
        char* out = static_cast<char*>(target.Get());
        std::memcpy(out, text.data(), text.size());
        out[text.size()] = '\0';
    }
    if (!EmptyClipboard()) return false;
    if (!SetClipboardData(CF_TEXT, block.Get())) return false;
    block.Release();
    return true;
}

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
    return PutClipboardText(rewritten);
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
