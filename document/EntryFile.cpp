#include "document/EntryFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kBackslash = '\\';

// Length of the run of lead bytes that ends just before `end`, not reaching before `from`.
std::size_t LeadRunBefore(std::string_view s, std::size_t from, std::size_t end, const LeadBytes& lead) {
    std::size_t q = end;
    while (q > from && lead.IsLead(s[q - 1])) --q;
    return end - q;
}

// The first real backslash at or after `from`, which must start a character; npos when none.
// Same result as LeadBytes::Find, but memchr does the scanning: a 0x5C found is the second
// byte of a double-byte character exactly when an odd run of lead bytes precedes it (the byte
// after any non-lead byte starts a character). Each byte is looked at back at most once.
std::size_t FindBackslash(std::string_view s, std::size_t from, const LeadBytes& lead) {
    while (from < s.size()) {
        const void* hit = std::memchr(s.data() + from, kBackslash, s.size() - from);
        if (hit == nullptr) return std::string_view::npos;
        const std::size_t p = static_cast<std::size_t>(static_cast<const char*>(hit) - s.data());
        if (LeadRunBefore(s, from, p, lead) % 2 == 0) return p;
        from = p + 1;
    }
    return std::string_view::npos;
}

// The number of LF bytes in `bytes`.
std::size_t CountLineFeeds(std::string_view bytes) {
    std::size_t n = 0;
    for (const char* p = bytes.data(), *end = p + bytes.size();
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr; ++p)
        ++n;
    return n;
}

}  // namespace

bool LineReader::Next(std::string_view& line) {
    if (m_rest.empty()) return false;
    const void* lf = std::memchr(m_rest.data(), '\n', m_rest.size());
    if (lf == nullptr) {
        line = m_rest;
        m_rest = std::string_view();
        return true;
    }
    const std::size_t n = static_cast<std::size_t>(static_cast<const char*>(lf) - m_rest.data());
    line = m_rest.substr(0, (n > 0 && m_rest[n - 1] == '\r') ? n - 1 : n);
    m_rest.remove_prefix(n + 1);
    return true;
}

void ParseEntryLine(std::string_view line, const LeadBytes& lead, std::string& text, std::string& explanation) {
    explanation.clear();
    std::size_t start = 0;  // first byte not yet appended to text
    std::size_t p = FindBackslash(line, 0, lead);
    if (p == std::string_view::npos) {
        text.assign(line);
        return;
    }
    text.clear();
    while (p != std::string_view::npos && p + 1 < line.size()) {
        const char next = line[p + 1];
        if (next == 't') {
            text.append(line.substr(start, p - start));
            explanation.assign(line.substr(p + 2));
            return;
        }
        if (next == kBackslash) {
            text.append(line.substr(start, p + 1 - start));  // one backslash for the pair
            start = p + 2;
            p = FindBackslash(line, start, lead);
        } else {
            p = FindBackslash(line, p + 1, lead);  // the backslash stays, scanning goes on
        }
    }
    text.append(line.substr(start));
}

void AppendEntryLine(std::string& out, std::string_view text, std::string_view explanation, const LeadBytes& lead) {
    const bool separated = !explanation.empty();
    std::size_t end = text.size();
    if (separated && LeadRunBefore(text, 0, end, lead) % 2 == 1) --end;  // dangling lead byte
    text = text.substr(0, end);

    std::size_t start = 0;  // first byte not yet appended to out
    for (std::size_t p = FindBackslash(text, 0, lead); p != std::string_view::npos;
         p = FindBackslash(text, p + 1, lead)) {
        const bool misread = (p + 1 == text.size()) ? separated : (text[p + 1] == 't' || text[p + 1] == kBackslash);
        if (misread) {
            out.append(text.substr(start, p + 1 - start));
            out.push_back(kBackslash);
            start = p + 1;
        }
    }
    out.append(text.substr(start));
    if (separated) {
        out.push_back(kBackslash);
        out.push_back('t');
        out.append(explanation);
    }
}

EntryColumns LoadEntries(std::string_view bytes, const LeadBytes& lead) {
    EntryColumns entries;
    const std::size_t lines = CountLineFeeds(bytes) + 2;
    entries.Texts.reserve(lines);
    entries.Explanations.reserve(lines);
    LineReader reader(bytes);
    std::string_view line;
    while (reader.Next(line)) {
        std::string& text = entries.Texts.emplace_back();
        ParseEntryLine(line, lead, text, entries.Explanations.emplace_back());
    }
    entries.Texts.emplace_back();  // the placeholder
    entries.Explanations.emplace_back();
    return entries;
}

std::string StoreEntries(const std::vector<std::string>& texts, const std::vector<std::string>& explanations,
                         const LeadBytes& lead) {
    std::string out;
    const std::size_t n = std::min(texts.size(), explanations.size());
    if (n <= 1) return out;

    std::size_t size = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) size += texts[i].size() + explanations[i].size() + 4;  // separator, line end
    out.reserve(size + size / 64);  // room for a few escapes

    for (std::size_t i = 0; i + 1 < n; ++i) {
        AppendEntryLine(out, texts[i], explanations[i], lead);
        if (i + 2 < n || LastLineNeedsLineEnd(texts[i], explanations[i])) out.append(kEntryLineEnd);
    }
    return out;
}
