#include "browser/BrowserText.h"

#include <cstdint>
#include <limits>
#include <vector>

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

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        if (x != b[i]) return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

struct Attribute {
    std::size_t from = 0;  // the white space before its name
    std::size_t to = 0;    // just after its value
    std::string_view name;
    std::string_view value;
};

}  // namespace

namespace {

// Reads the start tag at the beginning of `html`: its name and attributes, and
// where it ends (just after its ">", or npos when the text ends first).
std::size_t ReadStartTag(std::string_view html, const LeadBytes& lead, std::string_view& tag,
                         std::vector<Attribute>& attributes) {
    std::size_t i = 0;
    while (i < html.size() && IsSpace(html[i])) ++i;
    if (i >= html.size() || html[i] != '<') return std::string_view::npos;
    const std::size_t tagStart = ++i;
    while (i < html.size() && !IsSpace(html[i]) && html[i] != '>' && html[i] != '/') i += lead.CharLength(html, i);
    tag = html.substr(tagStart, i - tagStart);
    while (i < html.size() && html[i] != '>') {
        Attribute a;
        a.from = i;
        while (i < html.size() && (IsSpace(html[i]) || html[i] == '/')) ++i;
        const std::size_t nameStart = i;
        while (i < html.size() && !IsSpace(html[i]) && html[i] != '=' && html[i] != '>' && html[i] != '/')
            i += lead.CharLength(html, i);
        a.name = html.substr(nameStart, i - nameStart);
        std::size_t j = i;
        while (j < html.size() && IsSpace(html[j])) ++j;
        if (j < html.size() && html[j] == '=') {
            i = j + 1;
            while (i < html.size() && IsSpace(html[i])) ++i;
            std::size_t valueStart = i;
            if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                const std::size_t close = lead.Find(html, html[i], i + 1);
                valueStart = i + 1;
                i = close == std::string_view::npos ? html.size() : close;
                a.value = html.substr(valueStart, i - valueStart);
                if (i < html.size()) ++i;
            } else {
                while (i < html.size() && !IsSpace(html[i]) && html[i] != '>') i += lead.CharLength(html, i);
                a.value = html.substr(valueStart, i - valueStart);
            }
        }
        a.to = i;
        if (!a.name.empty()) attributes.push_back(a);
    }
    return i < html.size() ? i + 1 : std::string_view::npos;
}

}  // namespace

bool HoldsStartTag(std::string_view html, const LeadBytes& lead) {
    std::string_view tag;
    std::vector<Attribute> attributes;
    return ReadStartTag(html, lead, tag, attributes) != std::string_view::npos;
}

namespace {

bool IsPasswordInput(std::string_view tag, const std::vector<Attribute>& attributes, bool whole) {
    if (!EqualsAsciiNoCase(tag, "input")) return false;
    for (const Attribute& a : attributes)
        if (EqualsAsciiNoCase(a.name, "type")) return EqualsAsciiNoCase(Trimmed(a.value), "password");
    // A tag cut before its end may have its type still to come.
    return !whole;
}

// Whether `html` has "<input" (any case) at `at`, followed by what ends a tag name.
bool InputTagAt(std::string_view html, std::size_t at) {
    if (html.size() - at < 6 || html[at] != '<' || !EqualsAsciiNoCase(html.substr(at + 1, 5), "input")) return false;
    if (html.size() - at == 6) return true;
    const char next = html[at + 6];
    return IsSpace(next) || next == '>' || next == '/';
}

}  // namespace

std::string HidePasswordValue(std::string_view html, const LeadBytes& lead) {
    std::string out;
    std::size_t copied = 0;
    std::size_t i = 0;
    while (i < html.size()) {
        if (!InputTagAt(html, i)) {
            i += lead.CharLength(html, i);
            continue;
        }
        const std::string_view rest = html.substr(i);
        std::string_view tag;
        std::vector<Attribute> attributes;
        const std::size_t end = ReadStartTag(rest, lead, tag, attributes);
        const bool whole = end != std::string_view::npos;
        if (IsPasswordInput(tag, attributes, whole)) {
            for (const Attribute& a : attributes) {
                if (!EqualsAsciiNoCase(a.name, "value")) continue;
                out.append(html.substr(copied, i + a.from - copied));
                copied = i + a.to;
            }
        }
        if (!whole) break;
        i += end;
    }
    if (copied == 0) return std::string(html);
    out.append(html.substr(copied));
    return out;
}

const std::vector<std::string>& TextWriteRefusedTags() {
    static const std::vector<std::string> tags = {"html",  "head",  "title", "style", "table",    "thead", "tbody",
                                                  "tfoot", "tr",    "col",   "colgroup", "frameset", "script"};
    return tags;
}

bool RefusesTextWrite(std::string_view tagName) {
    for (const std::string& tag : TextWriteRefusedTags())
        if (EqualsAsciiNoCase(tagName, tag)) return true;
    return false;
}
