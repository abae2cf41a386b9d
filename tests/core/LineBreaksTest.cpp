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

TEST(LineBreaks, DroppedTextCollapsesAndExpandsBackAsCrLf) {
    EXPECT_EQ(L"a\\nb\\nc\\nd\\n", CollapseLineBreaks(L"a\r\nb\nc\rd\r"));
    EXPECT_EQ(L"\\n\\n", CollapseLineBreaks(L"\n\r"));  // LF CR is two breaks
    EXPECT_EQ(L"C:\\temp", CollapseLineBreaks(L"C:\\temp"));
    EXPECT_EQ(std::nullopt, CollapseLineBreaks(L"a\\nb"));  // would come back as a line break
    // Every line break comes back as CR LF when the entry is delivered.
    const std::pair<const wchar_t*, const char*> roundTrips[] = {
        {L"one\r\ntwo", "one\r\ntwo"}, {L"x\ny\rz", "x\r\ny\r\nz"}, {L"\\\r\n", "\\\r\n"}, {L"end\\", "end\\"}};
    for (const auto& [dropped, delivered] : roundTrips) {
        const std::optional<std::wstring> collapsed = CollapseLineBreaks(dropped);
        ASSERT_TRUE(collapsed) << delivered;
        EXPECT_EQ(delivered, Expand(std::string(collapsed->begin(), collapsed->end())));
    }
}
