#include "framework/Clipboard.h"

#include <cstring>

namespace {

bool PutBlock(const ClipboardSession& clipboard, UINT format, const void* bytes, std::size_t size,
              std::size_t zeros) {
    if (!clipboard.IsOpen()) return false;
    GlobalMemory block = ClipboardBlock(bytes, size, zeros);
    if (!block || !EmptyClipboard()) return false;
    if (!SetClipboardData(format, block.Get())) return false;
    block.Release();  // the clipboard owns it now
    return true;
}

template <typename Char>
bool PutText(const ClipboardSession& clipboard, UINT format, std::basic_string_view<Char> text, std::size_t zeros) {
    return PutBlock(clipboard, format, text.data(), text.size() * sizeof(Char), (zeros > 0 ? zeros : 1) * sizeof(Char));
}

}  // namespace

GlobalMemory ClipboardBlock(const void* bytes, std::size_t size, std::size_t zeros) {
    GlobalMemory block(GMEM_MOVEABLE, size + zeros);
    if (!block) return block;
    GlobalLockGuard lock(block.Get());
    if (!lock) return GlobalMemory();
    if (size > 0) std::memcpy(lock.Get(), bytes, size);
    if (zeros > 0) std::memset(static_cast<char*>(lock.Get()) + size, 0, zeros);
    return block;
}

bool SetClipboardBlock(const ClipboardData& data) {
    GlobalMemory block = ClipboardBlock(data.Bytes.data(), data.Bytes.size());
    if (!block || !SetClipboardData(data.Format, block.Get())) return false;
    block.Release();
    return true;
}

bool PutClipboardData(const ClipboardSession& clipboard, const ClipboardData& data) {
    return PutBlock(clipboard, data.Format, data.Bytes.data(), data.Bytes.size(), 0);
}

bool PutClipboardText(const ClipboardSession& clipboard, std::string_view text, std::size_t zeros) {
    return PutText(clipboard, CF_TEXT, text, zeros);
}

bool PutClipboardText(const ClipboardSession& clipboard, std::wstring_view text, std::size_t zeros) {
    return PutText(clipboard, CF_UNICODETEXT, text, zeros);
}

bool PutClipboardText(HWND owner, std::string_view text, std::size_t zeros) {
    const ClipboardSession clipboard(owner);
    return PutClipboardText(clipboard, text, zeros);
}

bool PutClipboardText(HWND owner, std::wstring_view text, std::size_t zeros) {
    const ClipboardSession clipboard(owner);
    return PutClipboardText(clipboard, text, zeros);
}
