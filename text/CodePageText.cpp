#include "text/CodePageText.h"

std::wstring ToWide(std::string_view text, UINT codePage) {
    std::wstring wide;
    if (text.empty()) return wide;
    const int length = static_cast<int>(text.size());
    const int chars = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (chars <= 0) return wide;
    wide.resize(static_cast<std::size_t>(chars));
    MultiByteToWideChar(codePage, 0, text.data(), length, &wide[0], chars);
    return wide;
}

std::string FromWide(std::wstring_view text, UINT codePage, bool* lossy) {
    if (lossy) *lossy = false;
    std::string out;
    if (text.empty()) return out;
    const int length = static_cast<int>(text.size());
    // UTF-8 and UTF-7 take no default character; a lone surrogate becomes U+FFFD there.
    const bool unicode = codePage == CP_UTF8 || codePage == CP_UTF7;
    const int bytes = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return out;
    out.resize(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(codePage, 0, text.data(), length, &out[0], bytes, nullptr, nullptr);
    if (lossy && !unicode) {
        // Without best fit, every character with no exact form takes the default character.
        BOOL usedDefault = FALSE;
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &usedDefault);
        *lossy = usedDefault != FALSE;
    }
    return out;
}

std::string Recode(std::string_view text, UINT from, UINT to) {
    if (from == to) return std::string(text);
    return FromWide(ToWide(text, from), to);
}
