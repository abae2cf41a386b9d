#include "frame/HalfWidth.h"

#include "text/AnsiText.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr unsigned kJapaneseCodePage = 932;

// Full-width forms of ASCII 0x20..0x7E, indexed by the ASCII code minus 0x20.
constexpr unsigned short kFullWidthAscii[95] = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166,  // space ! " # $ % & '
    0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E,  // ( ) * + , - . /
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256,  // 0..7
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148,  // 8 9 : ; < = > ?
    0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266,  // @ A..G
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E,  // H..O
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,  // P..W
    0x8277, 0x8278, 0x8279, 0x816D, 0x818F, 0x816E, 0x814F, 0x8151,  // X Y Z [ yen ] ^ _
    0x8165, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287,  // ` a..g
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F,  // h..o
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297,  // p..w
    0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8150,          // x y z { | } ~
};

// One kana row: half-width byte, span, katakana code, hiragana code (0: none). A span of 2
// or 3 also covers the voiced and semi-voiced forms that follow, which lose their mark.
struct KanaRow {
    unsigned char half;
    unsigned char span;
    unsigned short katakana;
    unsigned short hiragana;
};

constexpr KanaRow kKana[60] = {
    {0xA7, 1, 0x8340, 0x829F}, {0xB1, 1, 0x8341, 0x82A0}, {0xA8, 1, 0x8342, 0x82A1},
    {0xB2, 1, 0x8343, 0x82A2}, {0xA9, 1, 0x8344, 0x82A3}, {0xB3, 1, 0x8345, 0x82A4},
    {0xAA, 1, 0x8346, 0x82A5}, {0xB4, 1, 0x8347, 0x82A6}, {0xAB, 1, 0x8348, 0x82A7},
    {0xB5, 1, 0x8349, 0x82A8}, {0xB6, 2, 0x834A, 0x82A9}, {0xB7, 2, 0x834C, 0x82AB},
    {0xB8, 2, 0x834E, 0x82AD}, {0xB9, 2, 0x8350, 0x82AF}, {0xBA, 2, 0x8352, 0x82B1},
    {0xBB, 2, 0x8354, 0x82B3}, {0xBC, 2, 0x8356, 0x82B5}, {0xBD, 2, 0x8358, 0x82B7},
    {0xBE, 2, 0x835A, 0x82B9}, {0xBF, 2, 0x835C, 0x82BB}, {0xC0, 2, 0x835E, 0x82BD},
    {0xC1, 2, 0x8360, 0x82BF}, {0xAF, 1, 0x8362, 0x82C1}, {0xC2, 2, 0x8363, 0x82C2},
    {0xC3, 2, 0x8365, 0x82C4}, {0xC4, 2, 0x8367, 0x82C6}, {0xC5, 1, 0x8369, 0x82C8},
    {0xC6, 1, 0x836A, 0x82C9}, {0xC7, 1, 0x836B, 0x82CA}, {0xC8, 1, 0x836C, 0x82CB},
    {0xC9, 1, 0x836D, 0x82CC}, {0xCA, 3, 0x836E, 0x82CD}, {0xCB, 3, 0x8371, 0x82D0},
    {0xCC, 3, 0x8374, 0x82D3}, {0xCD, 3, 0x8377, 0x82D6}, {0xCE, 3, 0x837A, 0x82D9},
    {0xCF, 1, 0x837D, 0x82DC}, {0xD0, 1, 0x837E, 0x82DD}, {0xD1, 1, 0x8380, 0x82DE},
    {0xD2, 1, 0x8381, 0x82DF}, {0xD3, 1, 0x8382, 0x82E0}, {0xAC, 1, 0x8383, 0x82E1},
    {0xD4, 1, 0x8384, 0x82E2}, {0xAD, 1, 0x8385, 0x82E3}, {0xD5, 1, 0x8386, 0x82E4},
    {0xAE, 1, 0x8387, 0x82E5}, {0xD6, 1, 0x8388, 0x82E6}, {0xD7, 1, 0x8389, 0x82E7},
    {0xD8, 1, 0x838A, 0x82E8}, {0xD9, 1, 0x838B, 0x82E9}, {0xDA, 1, 0x838C, 0x82EA},
    {0xDB, 1, 0x838D, 0x82EB}, {0xDC, 2, 0x838E, 0x82EC}, {0xB2, 1, 0x8390, 0x82EE},
    {0xB4, 1, 0x8391, 0x82EF}, {0xA6, 1, 0x8392, 0x82F0}, {0xDD, 1, 0x8393, 0x82F1},
    {0xB3, 1, 0x8394, 0}, {0xB6, 1, 0x8395, 0}, {0xB9, 1, 0x8396, 0},
};

// Japanese punctuation: half-width byte and full-width code.
struct PunctuationRow {
    unsigned char half;
    unsigned short full;
};

constexpr PunctuationRow kPunctuation[9] = {
    {0x20, 0x8140}, {0xA1, 0x8142}, {0xA2, 0x8175}, {0xA3, 0x8176}, {0xA4, 0x8141},
    {0xA5, 0x8145}, {0xB0, 0x815B}, {0xDE, 0x814A}, {0xDF, 0x814B},
};

// Highest full-width code that has a half-width form; everything above stays.
constexpr unsigned kLastKanaCode = 0x8396;

// Whether the entry starting at `full` with `span` codes covers `code`.
bool Covers(unsigned full, unsigned span, unsigned code) {
    if (code == full) return true;
    return (code >> 8) == (full >> 8) && code > full && code - full < span;
}

// Lowest full-width code of the tables (the full-width space).
constexpr unsigned kFirstFullWidthCode = 0x8140;

template <typename Char>
std::basic_string<Char> PrefixEveryLine(const Char* text, std::size_t length, std::basic_string_view<Char> prefix) {
    std::basic_string<Char> out;
    out.reserve(length + prefix.size() * 2);
    out.append(prefix);
    std::size_t i = 0;
    while (i < length) {
        if (text[i] == Char('\r') && i + 1 < length && text[i + 1] == Char('\n')) {
            out.push_back(Char('\r'));
            out.push_back(Char('\n'));
            out.append(prefix);
            i += 2;
        } else {
            out.push_back(text[i]);
            ++i;
        }
    }
    return out;
}

}  // namespace

std::size_t BoundedTextLength(const char* bytes, std::size_t size) {
    if (!bytes) return 0;
    const void* zero = std::memchr(bytes, '\0', size);
    return zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
}

std::size_t BoundedTextLength(const wchar_t* text, std::size_t size) {
    if (!text) return 0;
    const wchar_t* zero = std::wmemchr(text, L'\0', size);
    return zero ? static_cast<std::size_t>(zero - text) : size;
}

unsigned ToHalfWidthCode(unsigned code, unsigned codePage) {
    if (codePage != kJapaneseCodePage) return code;
    for (unsigned i = 0; i < 95; ++i)
        if (kFullWidthAscii[i] == code) return 0x20 + i;
    if (code > kLastKanaCode) return code;
    // Katakana first, then hiragana, then punctuation; the first entry that covers wins.
    for (const KanaRow& row : kKana)
        if (Covers(row.katakana, row.span, code)) return row.half;
    for (const KanaRow& row : kKana)
        if (row.hiragana != 0 && Covers(row.hiragana, row.span, code)) return row.half;
    for (const PunctuationRow& row : kPunctuation)
        if (row.full == code) return row.half;
    return code;
}

std::string ConvertToHalfWidth(const char* bytes, std::size_t size, const LeadBytes& lead, unsigned codePage) {
    const std::size_t length = BoundedTextLength(bytes, size);
    std::string out;
    out.reserve(length);
    std::size_t i = 0;
    while (i < length) {
        const unsigned char first = static_cast<unsigned char>(bytes[i]);
        // A lead byte that ends the text has no trail byte and is copied as it is.
        if (!lead.IsLead(first) || i + 1 >= length) {
            out.push_back(bytes[i]);
            ++i;
            continue;
        }
        const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
        const unsigned half = ToHalfWidthCode((static_cast<unsigned>(first) << 8) | second, codePage);
        if (half <= 0xFF) {
            out.push_back(static_cast<char>(half));
        } else {
            out.push_back(bytes[i]);
            out.push_back(bytes[i + 1]);
        }
        i += 2;
    }
    return out;
}

std::string PrefixLines(const char* bytes, std::size_t size, std::string_view prefix) {
    return PrefixEveryLine(bytes, BoundedTextLength(bytes, size), prefix);
}

std::wstring PrefixLines(const wchar_t* text, std::size_t size, std::wstring_view prefix) {
    return PrefixEveryLine(text, BoundedTextLength(text, size), prefix);
}

std::vector<HalfWidthForm> HalfWidthForms932() {
    std::vector<HalfWidthForm> forms;
    for (unsigned code = kFirstFullWidthCode; code <= kLastKanaCode; ++code) {
        const unsigned half = ToHalfWidthCode(code, kJapaneseCodePage);
        if (half <= 0xFF) forms.push_back({code, static_cast<unsigned char>(half)});
    }
    return forms;
}

std::wstring ConvertToHalfWidth(const wchar_t* text, std::size_t size, const WideHalfWidthTable& table) {
    const std::size_t length = BoundedTextLength(text, size);
    std::wstring out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        const auto form = table.find(text[i]);
        out.push_back(form != table.end() ? form->second : text[i]);
    }
    return out;
}
