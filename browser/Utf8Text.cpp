#include "browser/Utf8Text.h"

#include "browser/WideText.h"

#include <windows.h>

#include <vector>

namespace {

std::vector<wchar_t> ToWide(UINT codePage, const std::string& text) {
    std::vector<wchar_t> wide;
    if (text.empty()) return wide;
    const int length = static_cast<int>(text.size());
    const int chars = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (chars <= 0) return wide;
    wide.resize(static_cast<std::size_t>(chars));
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), chars);
    return wide;
}

}  // namespace

std::string AnsiToUtf8(const std::string& text) {
    const std::vector<wchar_t> wide = ToWide(CP_ACP, text);
    if (wide.empty()) return std::string();
    const int length = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string Utf8ToAnsi(const std::string& text) {
    const std::vector<wchar_t> wide = ToWide(CP_UTF8, text);
    return WideToAnsi(wide.data(), static_cast<int>(wide.size()));
}
