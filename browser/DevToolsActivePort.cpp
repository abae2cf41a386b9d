#include "browser/DevToolsActivePort.h"

namespace {

// The next line of `text` from `at`, without its LF or CR LF; `at` moves past it.
std::optional<std::string_view> NextLine(std::string_view text, std::size_t& at) {
    if (at >= text.size()) return std::nullopt;
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    return line;
}

bool PlainIdCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.';
}

}  // namespace

std::optional<DevToolsActivePort> ParseDevToolsActivePort(std::string_view text) {
    if (text.size() > kMaxDevToolsActivePortBytes) return std::nullopt;
    std::size_t at = 0;
    const std::optional<std::string_view> portLine = NextLine(text, at);
    const std::optional<std::string_view> pathLine = NextLine(text, at);
    if (!portLine || !pathLine || portLine->empty() || portLine->size() > 5) return std::nullopt;
    unsigned port = 0;
    for (const char c : *portLine) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + static_cast<unsigned>(c - '0');
    }
    if (port == 0 || port > 65535) return std::nullopt;
    constexpr std::string_view kPrefix = "/devtools/browser/";
    if (pathLine->substr(0, kPrefix.size()) != kPrefix || pathLine->size() == kPrefix.size()) return std::nullopt;
    for (const char c : pathLine->substr(kPrefix.size()))
        if (!PlainIdCharacter(c)) return std::nullopt;
    DevToolsActivePort found;
    found.port = static_cast<std::uint16_t>(port);
    found.path = std::string(*pathLine);
    return found;
}
