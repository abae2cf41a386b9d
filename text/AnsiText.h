// 8-bit text in an ANSI code page: which bytes start a double-byte character.
// Every scan for a single-byte syntax character (backslash, "=" ...) steps over
// double-byte characters whole, so the second byte of one is never mistaken for it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

class LeadBytes {
public:
    // A single-byte code page: no lead bytes.
    LeadBytes() { m_lead.fill(false); }

    // The lead-byte ranges of the common double-byte code pages (932 Shift-JIS,
    // 936 GBK, 949 UHC, 950 Big5); any other code page is single-byte.
    static LeadBytes ForCodePage(unsigned codePage);

    // Built from a predicate, e.g. the system's IsDBCSLeadByte.
    template <typename IsLead>
    static LeadBytes FromPredicate(IsLead isLead) {
        LeadBytes t;
        for (int b = 0; b < 256; ++b) t.m_lead[b] = isLead(static_cast<unsigned char>(b)) != 0;
        return t;
    }

    bool IsLead(unsigned char b) const { return m_lead[b]; }
    bool IsLead(char c) const { return m_lead[static_cast<unsigned char>(c)]; }
    bool IsDoubleByte() const;

    // Position of the first byte equal to `ch` (a single-byte character, below 0x80)
    // at or after `from`, stepping over double-byte characters; npos when none.
    std::size_t Find(std::string_view s, char ch, std::size_t from = 0) const;

    // Length in bytes of the character starting at `pos` (1 or 2; a lead byte last in
    // the text counts as one byte).
    std::size_t CharLength(std::string_view s, std::size_t pos) const {
        return (IsLead(s[pos]) && pos + 1 < s.size()) ? 2 : 1;
    }

private:
    std::array<bool, 256> m_lead;
};
