#include "framework/Clipboard.h"

#include <cstring>

namespace {

template <typename Char>
bool PutBlock(const ClipboardSession& clipboard, UINT format, std::basic_string_view<Char> text,
              std::size_t zeros) {
    if (!clipboard.IsOpen()) return false;
    const SIZE_T bytes = (text.size() + (zeros > 0 ? zeros : 1)) * sizeof(Char);
    GlobalMemory block(GMEM_MOVEABLE, bytes);
    if (!block) return false;
    {
        GlobalLockGuard lock(block.Get());
        if (!lock) return false;
        std::memset(lock.Get(), 0, bytes);
        if (!text.empty()) std::memcpy(lock.Get(), text.data(), text.size() * sizeof(Char));
    }
    if (!EmptyClipboard()) return false;
    if (!SetClipboardData(format, block.Get())) return false;
    block.Release();  // the clipboard owns it now
    return true;
}

}  // namespace

bool PutClipboardText(const ClipboardSession& clipboard, std::string_view text, std::size_t zeros) {
    return PutBlock(clipboard, CF_TEXT, text, zeros);
}

bool PutClipboardText(const ClipboardSession& clipboard, std::wstring_view text, std::size_t zeros) {
    return PutBlock(clipboard, CF_UNICODETEXT, text, zeros);
}

bool PutClipboardText(HWND owner, std::string_view text, std::size_t zeros) {
    const ClipboardSession clipboard(owner);
    return PutClipboardText(clipboard, text, zeros);
}

bool PutClipboardText(HWND owner, std::wstring_view text, std::size_t zeros) {
    const ClipboardSession clipboard(owner);
    return PutClipboardText(clipboard, text, zeros);
}
