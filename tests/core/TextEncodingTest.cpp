#include "text/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const FileEncoding kAnsi{TextEncoding::Ansi, false};
const FileEncoding kUtf8{TextEncoding::Utf8, false};
const FileEncoding kUtf8Mark{TextEncoding::Utf8, true};

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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, DetectFileEncoding(c.bytes));
    }
}

TEST(TextEncodingTest, MarkIsSkippedOnlyWhenTheFileHasIt) {
    const std::string marked = "\xEF\xBB\xBF" "x\\ty";
    EXPECT_EQ("x\\ty", TextAfterByteOrderMark(marked, DetectFileEncoding(marked)));
    EXPECT_EQ(marked, TextAfterByteOrderMark(marked, kUtf8));
    EXPECT_EQ("", TextAfterByteOrderMark("\xEF\xBB\xBF", kUtf8Mark));
}

}  // namespace
