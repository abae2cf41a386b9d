#include "text/AnsiText.h"

namespace {

void MarkRange(std::array<bool, 256>& t, int from, int to) {
    for (int b = from; b <= to; ++b) t[b] = true;
}

}  // namespace

LeadBytes LeadBytes::ForCodePage(unsigned codePage) {
    LeadBytes t;
    switch (codePage) {
    case 932:
        MarkRange(t.m_lead, 0x81, 0x9F);
        MarkRange(t.m_lead, 0xE0, 0xFC);
        break;
    case 936:
    case 949:
    case 950:
        MarkRange(t.m_lead, 0x81, 0xFE);
        break;
    default:
        break;
    }
    return t;
}

bool LeadBytes::IsDoubleByte() const {
    for (bool b : m_lead)
        if (b) return true;
    return false;
}

std::size_t LeadBytes::Find(std::string_view s, char ch, std::size_t from) const {
    std::size_t i = from;
    while (i < s.size()) {
        if (s[i] == ch) return i;
        i += CharLength(s, i);
    }
    return std::string_view::npos;
}
