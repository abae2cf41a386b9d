#include "text/TextEncoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

const FileEncoding kAnsi{TextEncoding::Ansi, false};
const FileEncoding kUtf8{TextEncoding::Utf8, false};
const FileEncoding kUtf8Mark{TextEncoding::Utf8, true};
const FileEncoding kUtf16Le{TextEncoding::Utf8, true, FileForm::Utf16Le};
const FileEncoding kUtf16Be{TextEncoding::Utf8, true, FileForm::Utf16Be};
const FileEncoding kUnknown{TextEncoding::Ansi, false, FileForm::Unknown};

std::string Bytes(const char* s, std::size_t n) { return std::string(s, n); }

struct Case {
    const char* name;
    std::string bytes;
    FileEncoding expected;
};

TEST(TextEncodingTest, DecidesByMarkAndValidity) {
    const Case cases[] = {
        {"empty", "", kAnsi},
        {"ASCII only", "abc\\tdef\r\nxyz", kAnsi},
        {"mark alone", "\xEF\xBB\xBF", kUtf8Mark},
        {"mark then ASCII", "\xEF\xBB\xBF" "abc", kUtf8Mark},
        {"mark then invalid bytes", "\xEF\xBB\xBF\x82\xA0", kUtf8Mark},
        {"accented Latin", "caf\xC3\xA9\r\n", kUtf8},
        {"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC", kUtf8},
        {"emoji (four bytes)", "\xF0\x9F\x98\x80", kUtf8},
        {"Shift-JIS", "\x82\xA0\x82\xA2", kAnsi},
        // The first character is a valid two-byte UTF-8 form; the second is not.
        {"Shift-JIS valid UTF-8 only in part", "\xC3\xA9\x82\xA0", kAnsi},
        {"Latin-1", "caf\xE9", kAnsi},
        {"cut off at the end", "abc\xE6\x97", kAnsi},
        {"overlong slash", "\xC0\xAF", kAnsi},
        {"overlong three bytes", "\xE0\x80\xAF", kAnsi},
        {"surrogate", "\xED\xA0\x80", kAnsi},
        {"above U+10FFFF", "\xF4\x90\x80\x80", kAnsi},
        {"stray continuation byte", "a\x80z", kAnsi},
        {"largest character", "\xF4\x8F\xBF\xBF", kUtf8},
        {"mark not at the start", "a\xEF\xBB\xBF", kUtf8},
        {"UTF-16 LE mark alone", "\xFF\xFE", kUtf16Le},
        {"UTF-16 LE", Bytes("\xFF\xFEG\0r\0\xFC\0\xDF\0" "e\0", 12), kUtf16Le},
        {"UTF-16 BE", Bytes("\xFE\xFF\0G\x65\xE5\xD8\x3D\xDE\x00", 10), kUtf16Be},
        {"UTF-16 LE mark, then the UTF-8 mark's bytes", "\xFF\xFE\xEF\xBB", kUtf16Le},
        {"UTF-16 cut off in a unit", Bytes("\xFF\xFEG\0r", 5), kUnknown},
        {"UTF-16 with a high surrogate last", Bytes("\xFF\xFEG\0\x3D\xD8", 6), kUnknown},
        {"UTF-16 with a low surrogate alone", Bytes("\xFE\xFF\xDE\x00\0G", 6), kUnknown},
        {"UTF-16 with two high surrogates", Bytes("\xFE\xFF\xD8\x3D\xD8\x3D\xDE\x00", 8), kUnknown},
        {"UTF-16 with a NUL character", Bytes("\xFF\xFEG\0\0\0", 6), kUnknown},
        {"UTF-32 LE", Bytes("\xFF\xFE\0\0G\0\0\0", 8), kUnknown},
        {"UTF-16 LE without a mark", Bytes("G\0r\0", 4), kUnknown},
        {"NUL in ASCII", Bytes("one\r\ntwo\0", 9), kUnknown},
        {"NUL after the UTF-8 mark", Bytes("\xEF\xBB\xBF\xC3\xA9\0", 6), kUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, DetectFileEncoding(c.bytes));
    }
}

TEST(TextEncodingTest, FileTextDropsTheMarkAndHoldsUtf16AsUtf8) {
    struct TextCase {
        const char* name;
        std::string bytes;
        FileEncoding encoding;
        std::string text;
    };
    const std::string utf8 = "G\xC3\xBC \xE6\x97\xA5 \xF0\x9F\x98\x80\\t\r\n";  // "Gü 日 😀\t" CR LF
    const TextCase cases[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF" "x\\ty", kUtf8Mark, "x\\ty"},
        {"UTF-8 without the mark", "\xEF\xBB\xBF" "x", kUtf8, "\xEF\xBB\xBF" "x"},
        {"UTF-8 mark alone", "\xEF\xBB\xBF", kUtf8Mark, ""},
        {"ANSI", "caf\xE9", kAnsi, "caf\xE9"},
        {"UTF-16 LE", Bytes("\xFF\xFEG\0\xFC\0 \0\xE5\x65 \0\x3D\xD8\x00\xDE\\\0t\0\r\0\n\0", 24), kUtf16Le, utf8},
        {"UTF-16 BE", Bytes("\xFE\xFF\0G\0\xFC\0 \x65\xE5\0 \xD8\x3D\xDE\x00\0\\\0t\0\r\0\n", 24), kUtf16Be, utf8},
        {"UTF-16 mark alone", "\xFE\xFF", kUtf16Be, ""},
        {"unknown: as it is", Bytes("a\0b", 3), kUnknown, Bytes("a\0b", 3)},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string converted;
        EXPECT_EQ(c.text, FileText(c.bytes, c.encoding, converted));
        if (c.encoding == DetectFileEncoding(c.bytes)) {
            EXPECT_EQ(c.bytes, FileBytes(std::string(c.text), c.encoding)) << "written back as it was";
        }
    }
}

// Every character, each surrogate pair included, goes from UTF-16 to UTF-8 and back.
TEST(TextEncodingTest, Utf16AndUtf8RoundTrip) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::u32string chars;
        for (int i = 0; i < 50; ++i) {
            char32_t c = 0;
            do c = static_cast<char32_t>(1 + rng() % (round % 2 ? 0x10FFFF : 0x30000));
            while (c >= 0xD800 && c <= 0xDFFF);
            chars.push_back(c);
        }
        for (const bool bigEndian : {false, true}) {
            std::string utf16;
            const auto unit = [&](std::uint32_t u) {
                const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
                utf16 += bigEndian ? std::string{high, low} : std::string{low, high};
            };
            for (const char32_t c : chars) {
                if (c < 0x10000) {
                    unit(c);
                } else {
                    unit(0xD800 + ((c - 0x10000) >> 10));
                    unit(0xDC00 + ((c - 0x10000) & 0x3FF));
                }
            }
            const std::string utf8 = Utf16ToUtf8(utf16, bigEndian);
            ASSERT_TRUE(IsValidUtf8(utf8));
            ASSERT_EQ(utf16, Utf8ToUtf16(utf8, bigEndian));
            // The character coder agrees with the UTF-16 conversion, both ways.
            std::string appended;
            std::u32string decoded;
            for (const char32_t c : chars) AppendUtf8(c, appended);
            ASSERT_EQ(utf8, appended);
            for (std::size_t i = 0; i < utf8.size();) {
                char32_t c = 0;
                const std::size_t length = DecodeUtf8(utf8, i, c);
                ASSERT_GT(length, 0u);
                decoded.push_back(c);
                i += length;
            }
            ASSERT_EQ(chars, decoded);
        }
    }
}

TEST(TextEncodingTest, DecodeUtf8RefusesWhatIsNotWellFormed) {
    char32_t c = U'x';
    for (const std::string_view broken : {"\x80", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC5"}) {
        EXPECT_EQ(0u, DecodeUtf8(broken, 0, c)) << broken;
        EXPECT_EQ(U'x', c);
    }
    EXPECT_EQ(0u, DecodeUtf8("a", 1, c));  // past the end
}

TEST(TextEncodingTest, BrokenInputConvertsToReplacementCharacters) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ("a" + replacement, Utf16ToUtf8(Bytes("a\0\x3D\xD8", 4), false)) << "a high surrogate last";
    EXPECT_EQ(replacement + "a", Utf16ToUtf8(Bytes("\xDE\x00\0a", 4), true)) << "a low surrogate alone";
    EXPECT_EQ("a" + replacement, Utf16ToUtf8(Bytes("a\0b", 3), false)) << "a unit cut off";
    EXPECT_EQ(Bytes("a\0\xFD\xFF\xFD\xFF" "b\0", 8), Utf8ToUtf16("a\xC3\xFF" "b", false)) << "bytes of no character";
    EXPECT_EQ(Bytes("\xFF\xFD", 2), Utf8ToUtf16("\xED\xA0\x80", true).substr(0, 2)) << "an encoded surrogate";
}

}  // namespace
