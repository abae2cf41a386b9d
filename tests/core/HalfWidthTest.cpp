#include "frame/HalfWidth.h"

#include "text/AnsiText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr unsigned kJapanese = 932;
constexpr unsigned kWestern = 1252;

struct Mapping {
    unsigned full;
    unsigned half;
};

// Every full-width code that has a half-width form, with that form.
std::vector<Mapping> AllMappings() {
    std::vector<Mapping> all;
    for (unsigned i = 0; i < 10; ++i) all.push_back({0x824F + i, 0x30 + i});
    for (unsigned i = 0; i < 26; ++i) all.push_back({0x8260 + i, 0x41 + i});
    for (unsigned i = 0; i < 26; ++i) all.push_back({0x8281 + i, 0x61 + i});
    const Mapping symbols[] = {
        {0x8140, 0x20}, {0x8149, 0x21}, {0x8168, 0x22}, {0x8194, 0x23}, {0x8190, 0x24}, {0x8193, 0x25},
        {0x8195, 0x26}, {0x8166, 0x27}, {0x8169, 0x28}, {0x816A, 0x29}, {0x8196, 0x2A}, {0x817B, 0x2B},
        {0x8143, 0x2C}, {0x817C, 0x2D}, {0x8144, 0x2E}, {0x815E, 0x2F}, {0x8146, 0x3A}, {0x8147, 0x3B},
        {0x8183, 0x3C}, {0x8181, 0x3D}, {0x8184, 0x3E}, {0x8148, 0x3F}, {0x8197, 0x40}, {0x816D, 0x5B},
        {0x818F, 0x5C}, {0x816E, 0x5D}, {0x814F, 0x5E}, {0x8151, 0x5F}, {0x8165, 0x60}, {0x816F, 0x7B},
        {0x8162, 0x7C}, {0x8170, 0x7D}, {0x8150, 0x7E},
        {0x8142, 0xA1}, {0x8175, 0xA2}, {0x8176, 0xA3}, {0x8141, 0xA4}, {0x8145, 0xA5}, {0x815B, 0xB0},
        {0x814A, 0xDE}, {0x814B, 0xDF},
    };
    all.insert(all.end(), std::begin(symbols), std::end(symbols));
    // Kana: half-width byte, span, katakana, hiragana (0: none). Voiced forms follow the plain one.
    struct Row { unsigned half, span, katakana, hiragana; };
    const Row kana[] = {
        {0xA7, 1, 0x8340, 0x829F}, {0xB1, 1, 0x8341, 0x82A0}, {0xA8, 1, 0x8342, 0x82A1}, {0xB2, 1, 0x8343, 0x82A2},
        {0xA9, 1, 0x8344, 0x82A3}, {0xB3, 1, 0x8345, 0x82A4}, {0xAA, 1, 0x8346, 0x82A5}, {0xB4, 1, 0x8347, 0x82A6},
        {0xAB, 1, 0x8348, 0x82A7}, {0xB5, 1, 0x8349, 0x82A8}, {0xB6, 2, 0x834A, 0x82A9}, {0xB7, 2, 0x834C, 0x82AB},
        {0xB8, 2, 0x834E, 0x82AD}, {0xB9, 2, 0x8350, 0x82AF}, {0xBA, 2, 0x8352, 0x82B1}, {0xBB, 2, 0x8354, 0x82B3},
        {0xBC, 2, 0x8356, 0x82B5}, {0xBD, 2, 0x8358, 0x82B7}, {0xBE, 2, 0x835A, 0x82B9}, {0xBF, 2, 0x835C, 0x82BB},
        {0xC0, 2, 0x835E, 0x82BD}, {0xC1, 2, 0x8360, 0x82BF}, {0xAF, 1, 0x8362, 0x82C1}, {0xC2, 2, 0x8363, 0x82C2},
        {0xC3, 2, 0x8365, 0x82C4}, {0xC4, 2, 0x8367, 0x82C6}, {0xC5, 1, 0x8369, 0x82C8}, {0xC6, 1, 0x836A, 0x82C9},
        {0xC7, 1, 0x836B, 0x82CA}, {0xC8, 1, 0x836C, 0x82CB}, {0xC9, 1, 0x836D, 0x82CC}, {0xCA, 3, 0x836E, 0x82CD},
        {0xCB, 3, 0x8371, 0x82D0}, {0xCC, 3, 0x8374, 0x82D3}, {0xCD, 3, 0x8377, 0x82D6}, {0xCE, 3, 0x837A, 0x82D9},
        {0xCF, 1, 0x837D, 0x82DC}, {0xD0, 1, 0x837E, 0x82DD}, {0xD1, 1, 0x8380, 0x82DE}, {0xD2, 1, 0x8381, 0x82DF},
        {0xD3, 1, 0x8382, 0x82E0}, {0xAC, 1, 0x8383, 0x82E1}, {0xD4, 1, 0x8384, 0x82E2}, {0xAD, 1, 0x8385, 0x82E3},
        {0xD5, 1, 0x8386, 0x82E4}, {0xAE, 1, 0x8387, 0x82E5}, {0xD6, 1, 0x8388, 0x82E6}, {0xD7, 1, 0x8389, 0x82E7},
        {0xD8, 1, 0x838A, 0x82E8}, {0xD9, 1, 0x838B, 0x82E9}, {0xDA, 1, 0x838C, 0x82EA}, {0xDB, 1, 0x838D, 0x82EB},
        {0xDC, 2, 0x838E, 0x82EC}, {0xB2, 1, 0x8390, 0x82EE}, {0xB4, 1, 0x8391, 0x82EF}, {0xA6, 1, 0x8392, 0x82F0},
        {0xDD, 1, 0x8393, 0x82F1}, {0xB3, 1, 0x8394, 0},      {0xB6, 1, 0x8395, 0},      {0xB9, 1, 0x8396, 0},
    };
    for (const Row& row : kana) {
        for (unsigned k = 0; k < row.span; ++k) {
            all.push_back({row.katakana + k, row.half});
            if (row.hiragana) all.push_back({row.hiragana + k, row.half});
        }
    }
    return all;
}

std::string Bytes(std::initializer_list<unsigned> values) {
    std::string s;
    for (unsigned v : values) s.push_back(static_cast<char>(v));
    return s;
}

std::string HalfWidth(const std::string& block, unsigned codePage = kJapanese) {
    return ConvertToHalfWidth(block.data(), block.size(), LeadBytes::ForCodePage(codePage), codePage);
}

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The bytes' result; the wide form of the same ASCII text must give the same lines.
std::string Prefixed(const std::string& block, const std::string& prefix = ">") {
    const std::string bytes = PrefixLines(block.data(), block.size(), prefix);
    const std::wstring wide = Widened(block);
    EXPECT_EQ(PrefixLines(wide.data(), wide.size(), Widened(prefix)), Widened(bytes)) << block;
    return bytes;
}

}  // namespace

TEST(ToHalfWidthCode, EveryFullWidthFormMapsToItsByteUnderCodePage932) {
    const std::vector<Mapping> all = AllMappings();
    EXPECT_EQ(all.size(), 95u + 8u + 86u + 83u);  // ASCII, punctuation, katakana and hiragana codes
    for (const Mapping& m : all) EXPECT_EQ(ToHalfWidthCode(m.full, kJapanese), m.half) << std::hex << m.full;
}

TEST(ToHalfWidthCode, VoicedKanaLoseTheirMark) {
    EXPECT_EQ(ToHalfWidthCode(0x834B, kJapanese), 0xB6u);  // ga
    EXPECT_EQ(ToHalfWidthCode(0x8370, kJapanese), 0xCAu);  // pa
    EXPECT_EQ(ToHalfWidthCode(0x82A9, kJapanese), 0xB6u);  // hiragana ka
    EXPECT_EQ(ToHalfWidthCode(0x8394, kJapanese), 0xB3u);  // vu
    EXPECT_EQ(ToHalfWidthCode(0x838F, kJapanese), 0xDCu);  // wa after small wa
}

TEST(ToHalfWidthCode, CodesWithoutHalfWidthFormStay) {
    const std::vector<Mapping> all = AllMappings();
    auto mapped = [&all](unsigned code) {
        for (const Mapping& m : all)
            if (m.full == code) return true;
        return false;
    };
    // The whole kana and symbol area: what is not in the tables stays.
    for (unsigned code = 0x8140; code <= 0x83FF; ++code)
        if (!mapped(code)) EXPECT_EQ(ToHalfWidthCode(code, kJapanese), code) << std::hex << code;
    for (unsigned code : {0x8397u, 0x839Fu, 0x8440u, 0x88A0u, 0x889Fu, 0x9FFCu, 0xE040u})
        EXPECT_EQ(ToHalfWidthCode(code, kJapanese), code) << std::hex << code;
}

TEST(HalfWidthForms932, ListsEveryFormOnceInOrder) {
    std::vector<Mapping> expected = AllMappings();
    std::sort(expected.begin(), expected.end(), [](const Mapping& a, const Mapping& b) { return a.full < b.full; });
    const std::vector<HalfWidthForm> forms = HalfWidthForms932();
    ASSERT_EQ(forms.size(), expected.size());
    for (std::size_t i = 0; i < forms.size(); ++i) {
        EXPECT_EQ(forms[i].full, expected[i].full) << i;
        EXPECT_EQ(forms[i].half, expected[i].half) << std::hex << forms[i].full;
    }
}

TEST(ToHalfWidthCode, OtherCodePagesKeepEveryCode) {
    for (const Mapping& m : AllMappings()) {
        EXPECT_EQ(ToHalfWidthCode(m.full, kWestern), m.full);
        EXPECT_EQ(ToHalfWidthCode(m.full, 936), m.full);
    }
}

TEST(ConvertToHalfWidth, FullWidthLettersDigitsAndKana) {
    EXPECT_EQ(HalfWidth(Bytes({0x82, 0x60, 0x82, 0x61, 0x82, 0x62, 0x82, 0x50, 0x82, 0x51, 0x82, 0x52, 0})),
              "ABC123");
    EXPECT_EQ(HalfWidth(Bytes({0x81, 0x40, 0x81, 0x8F, 0x81, 0x50, 0x81, 0x5B, 0})), Bytes({0x20, 0x5C, 0x7E, 0xB0}));
    // Kanji stays whole, and the pair after it is still read as a pair.
    EXPECT_EQ(HalfWidth(Bytes({0x88, 0xA0, 0x82, 0x60, 'x', 0})), Bytes({0x88, 0xA0, 'A', 'x'}));
}

TEST(ConvertToHalfWidth, HalfWidthKatakanaIsNoLeadByte) {
    EXPECT_EQ(HalfWidth(Bytes({0xB1, 0x82, 0x60, 0})), Bytes({0xB1, 0x41}));
}

TEST(ConvertToHalfWidth, LeadByteLastIsCopied) {
    EXPECT_EQ(HalfWidth(Bytes({'a', 0x82, 0})), Bytes({'a', 0x82}));
    EXPECT_EQ(HalfWidth(Bytes({'a', 0x82})), Bytes({'a', 0x82}));  // at the end of a block with no zero
}

TEST(ConvertToHalfWidth, StopsAtTheZeroOrTheEndOfTheBlock) {
    // Text ends at the first zero; what follows in the block is not text.
    EXPECT_EQ(HalfWidth(Bytes({0x82, 0x60, 0, 0x82, 0x61, 0})), "A");
    // A block without zero: only its own bytes are read (a sanitizer sees any overrun).
    const std::string block = Bytes({0x82, 0x60, 0x82, 0x61});
    const std::vector<char> exact(block.begin(), block.end());
    EXPECT_EQ(ConvertToHalfWidth(exact.data(), exact.size(), LeadBytes::ForCodePage(kJapanese), kJapanese), "AB");
    EXPECT_EQ(HalfWidth(""), "");
}

TEST(ConvertToHalfWidth, OtherCodePagesCopyTheText) {
    const std::string text = Bytes({0x82, 0x60, 0xB1, 'a', 0x81, 0x40, 0});
    EXPECT_EQ(HalfWidth(text, kWestern), text.substr(0, text.size() - 1));
}

TEST(PrefixLines, EveryLineGetsThePrefix) {
    EXPECT_EQ(Prefixed("abc"), ">abc");
    EXPECT_EQ(Prefixed("a\r\nb"), ">a\r\n>b");
    EXPECT_EQ(Prefixed("a\r\n"), ">a\r\n>");
    EXPECT_EQ(Prefixed(""), ">");
    EXPECT_EQ(Prefixed("\r\n\r\n"), ">\r\n>\r\n>");
    EXPECT_EQ(Prefixed("a\r\nb", "-- "), "-- a\r\n-- b");
}

TEST(PrefixLines, LoneCarriageReturnOrLineFeedIsNoBreak) {
    EXPECT_EQ(Prefixed("a\nb"), ">a\nb");
    EXPECT_EQ(Prefixed("a\rb"), ">a\rb");
    EXPECT_EQ(Prefixed("a\n\r\nb"), ">a\n\r\n>b");
    EXPECT_EQ(Prefixed("a\r"), ">a\r");
}

TEST(PrefixLines, StopsAtTheZeroOrTheEndOfTheBlock) {
    EXPECT_EQ(PrefixLines("a\r\nb\0c\r\nd", 9, ">"), ">a\r\n>b");
    const char noZero[] = {'a', '\r', '\n', 'b', '\r'};
    EXPECT_EQ(PrefixLines(noZero, sizeof noZero, ">"), ">a\r\n>b\r");
    // A CR at the end of the block is not paired with a byte beyond it.
    const char crLast[] = {'a', '\r'};
    EXPECT_EQ(PrefixLines(crLast, sizeof crLast, ">"), ">a\r");
}

TEST(ConvertToHalfWidth, WideTextByTheTableOnly) {
    // Full-width A, katakana ga, ideographic full stop; what the table lacks stays, an emoji too.
    const WideHalfWidthTable table = {{L'\uFF21', L'A'}, {L'\u30AC', L'\uFF76'}, {L'\u3002', L'\uFF61'}};
    const std::wstring text = L"\uFF21\u30AC\u3002\u03B2\U0001F600\u65E5x";
    EXPECT_EQ(ConvertToHalfWidth(text.data(), text.size() + 1, table), L"A\uFF76\uFF61\u03B2\U0001F600\u65E5x");
    // The text ends at the first zero, or at the end of a block without one.
    EXPECT_EQ(ConvertToHalfWidth(L"\uFF21\0\uFF21", 3, table), L"A");
    EXPECT_EQ(ConvertToHalfWidth(text.data(), 2, table), L"A\uFF76");
}
