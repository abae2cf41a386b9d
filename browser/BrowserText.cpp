#include "browser/BrowserText.h"

#include <cstdint>
#include <limits>

std::int32_t ParseLeadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > limit) {
            value = limit;
            break;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string CutToBytes(std::string_view s, std::size_t maxBytes, const LeadBytes& lead) {
    std::size_t end = 0;
    while (end < s.size()) {
        const std::size_t next = end + lead.CharLength(s, end);
        if (next > maxBytes) break;
        end = next;
    }
    return std::string(s.substr(0, end));
}
