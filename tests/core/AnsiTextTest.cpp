#include "text/AnsiText.h"

#include <gtest/gtest.h>

TEST(AnsiText, FindStepsOverDoubleByteCharactersIn932) {
    const LeadBytes sjis = LeadBytes::ForCodePage(932);
    const std::string s = "\x83\x5C\x5Cz";  // one double-byte character, then a real backslash
    EXPECT_EQ(2u, sjis.Find(s, '\\'));
    EXPECT_EQ(1u, LeadBytes::ForCodePage(1252).Find(s, '\\'));
}

TEST(AnsiText, LeadByteLastCountsAsOneByte) {
    const LeadBytes sjis = LeadBytes::ForCodePage(932);
    const std::string s = "a\x81";
    EXPECT_EQ(1u, sjis.CharLength(s, 1));
    EXPECT_EQ(std::string::npos, sjis.Find(s, '\\'));
}
