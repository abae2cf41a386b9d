#include "view/LineBreaks.h"

#include <gtest/gtest.h>

namespace {

std::string Expand(const std::string& text, unsigned codePage = 1252) {
    return ExpandLineBreaks(text, LeadBytes::ForCodePage(codePage));
}

}  // namespace

TEST(LineBreaks, BackslashLowerNBecomesCrLf) {
    EXPECT_EQ("a\r\nb", Expand("a\\nb"));
    EXPECT_EQ("\r\n\r\nx\r\n", Expand("\\n\\nx\\n"));
    EXPECT_EQ("", Expand(""));
}

TEST(LineBreaks, OtherBackslashesStay) {
    EXPECT_EQ("C:\\temp", Expand("C:\\temp"));
    EXPECT_EQ("a\\Nb", Expand("a\\Nb"));   // upper-case N is not the notation
    EXPECT_EQ("end\\", Expand("end\\"));   // a trailing backslash stays
    EXPECT_EQ("\\", Expand("\\"));
}

TEST(LineBreaks, SecondOfTwoBackslashesStartsTheNotation) {
    EXPECT_EQ("\\\r\n", Expand("\\\\n"));
    EXPECT_EQ("\\\\", Expand("\\\\"));
}

TEST(LineBreaks, TrailByteOfDoubleByteCharacterIsNoBackslash) {
    // 0x95 0x5C is one Shift-JIS character (its second byte equals '\'); the 'n' after it is text.
    const std::string table = "\x95\x5Cn";
    EXPECT_EQ(table, Expand(table, 932));
    EXPECT_EQ("\x95\x5C\r\n", Expand("\x95\x5C\\n", 932));
    // In a single-byte code page the same bytes are a character and a real backslash.
    EXPECT_EQ("\x95\r\n", Expand(table, 1252));
}

TEST(LineBreaks, LeadByteAfterBackslashIsScannedWhole) {
    // Backslash, then a double-byte character ending in 0x5C, then 'n': no line break.
    EXPECT_EQ("\\\x95\x5Cn", Expand("\\\x95\x5Cn", 932));
}
