#include "view/EntryFilter.h"

#include "text/TextEncoding.h"

#include <cstring>

namespace {

// The lower-case form of a code point, for the scripts a list of snippets holds; anything
// else is its own. Only forms of the same length class are used, so no character folds
// into ASCII (no Kelvin sign to "k").
char32_t FoldCodePoint(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        if (c == 0x178) return 0xFF;
        const bool evenUpper = (c < 0x138) || (c >= 0x14A && c < 0x178);
        if (evenUpper) return (c % 2 == 0) ? c + 1 : c;
        return (c % 2 == 1) ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c == 0x3C2) return 0x3C3;  // final sigma
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x2160 && c <= 0x216F) return c + 0x10;  // Roman numerals
    if (c >= 0x24B6 && c <= 0x24CF) return c + 0x1A;  // circled letters
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;  // full-width letters
    return c;
}

// The folded form of a Shift-JIS double-byte character (lead, trail).
unsigned FoldSjis(unsigned ch) {
    if (ch >= 0x8260 && ch <= 0x8279) return ch + 0x21;         // Ａ-Ｚ to ａ-ｚ
    if (ch >= 0x839F && ch <= 0x83B6) return ch + 0x20;         // Greek
    if (ch >= 0x8440 && ch <= 0x8460) {                         // Cyrillic; 0x847F is no character
        const unsigned lower = 0x8470 + (ch - 0x8440);
        return lower >= 0x847F ? lower + 1 : lower;
    }
    // Roman numerals: NEC upper, IBM upper and NEC-selected IBM lower, all to IBM lower.
    if (ch >= 0x8754 && ch <= 0x875D) return 0xFA40 + (ch - 0x8754);
    if (ch >= 0xFA4A && ch <= 0xFA53) return 0xFA40 + (ch - 0xFA4A);
    if (ch >= 0xEEEF && ch <= 0xEEF8) return 0xFA40 + (ch - 0xEEEF);
    return ch;
}

}  // namespace

TextFolding TextFolding::ForCodePage(unsigned codePage) {
    TextFolding f;
    for (int b = 0; b < 256; ++b) f.m_byte[b] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b) f.m_byte[b] = static_cast<unsigned char>(b + 0x20);
    if (codePage == 65001) {
        f.m_kind = Kind::Utf8;
    } else if (codePage == 1252) {
        for (int b = 0xC0; b <= 0xDE; ++b)
            if (b != 0xD7) f.m_byte[b] = static_cast<unsigned char>(b + 0x20);
        f.m_byte[0x8A] = 0x9A;  // Š
        f.m_byte[0x8C] = 0x9C;  // Œ
        f.m_byte[0x8E] = 0x9E;  // Ž
        f.m_byte[0x9F] = 0xFF;  // Ÿ
    } else {
        f.m_lead = LeadBytes::ForCodePage(codePage);
        if (codePage == 932) f.m_kind = Kind::Sjis;
        else if (f.m_lead.IsDoubleByte()) f.m_kind = Kind::DoubleByte;
    }
    return f;
}

void TextFolding::Fold(std::string_view text, std::string& out) const {
    const size_t at = out.size();
    out.resize(at + text.size());
    FoldInto(text, &out[at]);
}

void TextFolding::FoldInto(std::string_view text, char* out) const {
    const size_t n = text.size();
    const char* in = text.data();
    switch (m_kind) {
    case Kind::SingleByte:
        for (size_t i = 0; i < n; ++i) out[i] = static_cast<char>(m_byte[static_cast<unsigned char>(in[i])]);
        return;
    case Kind::Utf8:
        for (size_t i = 0; i < n;) {
            const unsigned char b = static_cast<unsigned char>(in[i]);
            char32_t c = 0;
            const size_t length = b < 0x80 ? 0 : DecodeUtf8(text, i, c);
            if (length == 0) {
                out[i] = static_cast<char>(m_byte[b]);
                ++i;
            } else {
                // Every folded form is as long as its character in UTF-8.
                const char32_t folded = FoldCodePoint(c);
                if (folded == c) {
                    for (size_t k = 0; k < length; ++k) out[i + k] = in[i + k];
                } else {
                    std::string bytes;
                    AppendUtf8(folded, bytes);
                    for (size_t k = 0; k < length; ++k) out[i + k] = bytes[k];
                }
                i += length;
            }
        }
        return;
    case Kind::Sjis:
    case Kind::DoubleByte:
        for (size_t i = 0; i < n;) {
            const unsigned char b = static_cast<unsigned char>(in[i]);
            if (m_lead.IsLead(b) && i + 1 < n) {
                unsigned ch = (static_cast<unsigned>(b) << 8) | static_cast<unsigned char>(in[i + 1]);
                if (m_kind == Kind::Sjis) ch = FoldSjis(ch);
                out[i] = static_cast<char>(ch >> 8);
                out[i + 1] = static_cast<char>(ch & 0xFF);
                i += 2;
            } else {
                out[i] = static_cast<char>(m_byte[b]);
                ++i;
            }
        }
        return;
    }
}

bool TextFolding::Contains(std::string_view text, std::string_view part) const {
    size_t at = text.find(part);
    if (at == std::string_view::npos) return false;
    // UTF-8 and single-byte text: every found place starts a character.
    if (m_kind == Kind::SingleByte || m_kind == Kind::Utf8) return true;
    size_t boundary = 0;
    while (at != std::string_view::npos) {
        while (boundary < at) boundary += m_lead.CharLength(text, boundary);
        if (boundary == at) return true;
        at = text.find(part, at + 1);
    }
    return false;
}

TextFolding::Part TextFolding::Prepare(std::string_view folded) const {
    Part part;
    part.folded = std::string(folded);
    if (folded.empty()) return part;
    // The first bytes of every character whose folded form begins the part: found by
    // folding each character there is (one byte; and two in a double-byte code page;
    // in UTF-8, the characters near the part's first, where every case pair lies).
    const std::string_view head = folded.substr(0, 1);
    std::string one;
    for (int b = 0; b < 256; ++b) {
        if (m_kind != Kind::Utf8 && m_kind != Kind::SingleByte && m_lead.IsLead(static_cast<unsigned char>(b))) continue;
        if (m_kind == Kind::Utf8 && b >= 0x80) continue;
        one.clear();
        const char c = static_cast<char>(b);
        Fold(std::string_view(&c, 1), one);
        if (one == head) part.first[static_cast<size_t>(b)] = true;
    }
    if (m_kind == Kind::Sjis || m_kind == Kind::DoubleByte) {
        if (folded.size() >= 2 && m_lead.IsLead(folded[0]))
            for (int lead = 0x81; lead < 0x100; ++lead) {
                if (!m_lead.IsLead(static_cast<unsigned char>(lead))) continue;
                for (int trail = 0x40; trail < 0x100; ++trail) {
                    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                    one.clear();
                    Fold(std::string_view(pair, 2), one);
                    if (one == folded.substr(0, 2)) part.first[static_cast<size_t>(lead)] = true;
                }
            }
    } else if (m_kind == Kind::Utf8) {
        char32_t c = 0;
        if (DecodeUtf8(folded, 0, c) > 0) {
            const char32_t from = c > 0x200 ? c - 0x200 : 0x80;
            for (char32_t u = from; u <= c + 0x200; ++u) {
                if (u >= 0xD800 && u <= 0xDFFF) continue;
                if (FoldCodePoint(u) != c) continue;
                one.clear();
                AppendUtf8(u, one);
                part.first[static_cast<unsigned char>(one[0])] = true;
            }
        }
    }
    return part;
}

bool TextFolding::Holds(std::string_view text, const Part& part) const {
    const size_t m = part.folded.size();
    const size_t n = text.size();
    if (m == 0) return true;
    if (n < m) return false;
    const bool doubleByte = m_kind == Kind::Sjis || m_kind == Kind::DoubleByte;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    char window[64];
    std::string longWindow;
    size_t boundary = 0;
    for (size_t p = 0; p + m <= n; ++p) {
        if (!part.first[bytes[p]]) continue;
        if (doubleByte) {
            while (boundary < p) boundary += m_lead.CharLength(text, boundary);
            if (boundary != p) continue;
        }
        // A folded form is as long as its character: the m bytes here fold to m bytes.
        char* folded = window;
        if (m > sizeof(window)) {
            longWindow.resize(m);
            folded = &longWindow[0];
        }
        FoldInto(text.substr(p, m), folded);
        if (std::memcmp(folded, part.folded.data(), m) == 0) return true;
    }
    return false;
}

std::string EntryFilter::FoldNeedle(std::string_view typed) const {
    std::string folded;
    m_folding.Fold(typed, folded);
    return folded;
}

bool EntryFilter::Narrows(std::string_view previous, std::string_view folded) const {
    return !previous.empty() && m_folding.Contains(folded, previous);
}

void EntryFilter::Match(const std::vector<std::string>& text, const std::vector<std::string>& explanation,
                        std::string_view folded, const std::vector<int>* among, std::vector<int>& result) const {
    result.clear();
    const int count = static_cast<int>(text.size());
    if (count == 0) return;
    const int last = count - 1;
    const TextFolding::Part part = m_folding.Prepare(folded);
    const auto holds = [&](const std::string& column) { return m_folding.Holds(column, part); };
    const auto test = [&](int i) {
        if (i >= 0 && i < last && (holds(text[static_cast<size_t>(i)]) ||
                                   (static_cast<size_t>(i) < explanation.size() &&
                                    holds(explanation[static_cast<size_t>(i)]))))
            result.push_back(i);
    };
    if (among) {
        for (const int i : *among) test(i);
    } else {
        for (int i = 0; i < last; ++i) test(i);
    }
    result.push_back(last);
}
