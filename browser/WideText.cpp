#include "browser/WideText.h"

#include <ole2.h>

#include <vector>

std::string WideToAnsi(const wchar_t* text, int length) {
    if (!text || length <= 0) return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], bytes, nullptr, nullptr);
    return out;
}

BSTR AnsiToBstr(const std::string& text) {
    if (text.empty()) return SysAllocStringLen(L"", 0);
    const int length = static_cast<int>(text.size());
    const int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (chars <= 0) return SysAllocStringLen(L"", 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(chars));
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), chars);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(chars));
}
