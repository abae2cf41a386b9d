#include "view/EntryFilter.h"

#include <gtest/gtest.h>

namespace {

// The entries holding `typed`, over Text and Explanation columns (the placeholder is added).
std::vector<int> Find(unsigned codePage, std::vector<std::string> text, std::vector<std::string> explanation,
                      const std::string& typed) {
    text.emplace_back();
    explanation.resize(text.size());
    const EntryFilter filter(codePage);
    std::vector<int> result;
    filter.Match(text, explanation, filter.FoldNeedle(typed), nullptr, result);
    return result;
}

}  // namespace

TEST(EntryFilter, CaseIsIgnoredInEachCodePage) {
    // {code page, entry, typed}: each entry holds what is typed.
    const struct {
        unsigned codePage;
        const char* entry;
        const char* typed;
    } same[] = {
        {1252, "Hello World", "wORLD"},
        {1252, "\xC9T\xC9", "\xE9t\xE9"},      // ÉTÉ / été
        {1252, "\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},  // Š Œ Ž Ÿ / š œ ž ÿ
        {932, "ABC", "abc"},
        {932, "\x82\x60\x82\x61", "\x82\x81\x82\x82"},  // ＡＢ / ａｂ
        {932, "\x83\x9F", "\x83\xBF"},                  // Α / α
        {932, "\x84\x40\x84\x60", "\x84\x70\x84\x91"},  // А Я / а я (past the gap at 0x847F)
        {932, "\x87\x54", "\xFA\x40"},                  // Ⅰ (NEC) / ⅰ
        {932, "\xFA\x4A", "\xEE\xEF"},                  // Ⅰ (IBM) / ⅰ (NEC-selected)
        {65001, "Stra\xC3\x9F" "e \xC3\x84RGER", "\xC3\xA4rger"},  // Ä / ä
        {65001, "\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x99\xCE\x91", "\xCF\x83\xCE\xBF\xCF\x86"},  // ΣΟΦ / σοφ
        {65001, "\xD0\x9C\xD0\x9E\xD0\xA1\xD0\x9A\xD0\x92\xD0\x90", "\xD0\xBC\xD0\xBE\xD1\x81"},  // МОС / мос
        {65001, "\xC5\x81\xC3\xB3" "d\xC5\xBA", "\xC5\x82\xC3\x93" "D\xC5\xB9"},  // Łódź / łÓDŹ
        {65001, "\xEF\xBC\xA1\xEF\xBC\xA2", "\xEF\xBD\x81\xEF\xBD\x82"},  // ＡＢ / ａｂ
        {65001, "\xE6\x97\xA5\xE6\x9C\xAC ok", "\xE6\x9C\xAC OK"},  // 日本 ok / 本 OK
        {65001, "\xD0\x9F\xD0\xA0\xD0\x98", "\xD1\x80\xD0\xB8"},  // ПРИ / ри: р and Р differ in the first byte
        {65001, "\xC5\xB8", "\xC3\xBF"},                  // Ÿ / ÿ, apart in the code points
        {1252, "A long entry whose text is longer than the window kept on the stack, in CAPITALS",
         "whose text is longer than the window kept on the stack, in capitals"},
    };
    for (const auto& c : same)
        EXPECT_EQ((std::vector<int>{0, 1}), Find(c.codePage, {c.entry}, {""}, c.typed)) << c.codePage << " " << c.typed;
    // Letters of other code pages are no case pairs in these.
    EXPECT_EQ((std::vector<int>{1}), Find(1252, {"\xC0"}, {""}, "\xE1"));
    EXPECT_EQ((std::vector<int>{1}), Find(932, {"\x82\x60"}, {""}, "a"));  // Ａ is not a
    EXPECT_EQ((std::vector<int>{1}), Find(65001, {"\xE2\x84\xAA"}, {""}, "k"));  // Kelvin sign
}

TEST(EntryFilter, ATrailByteNeverStartsAMatch) {
    // ア is 0x83 0x41: its second byte is "A". ソ is 0x83 0x5C: its second byte is a backslash.
    EXPECT_EQ((std::vector<int>{1}), Find(932, {"\x83\x41"}, {""}, "a"));
    EXPECT_EQ((std::vector<int>{1}), Find(932, {"\x83\x5C"}, {""}, "\\"));
    EXPECT_EQ((std::vector<int>{0, 1}), Find(932, {"\x83\x41" "A"}, {""}, "a"));
    // A match across two characters: the trail of one and the lead of the next (0x41 0x83).
    EXPECT_EQ((std::vector<int>{1}), Find(932, {"\x83\x41\x83\x42"}, {""}, "A\x83"));
    // An ASCII letter as a trail byte is not folded: 0x83 0x41 stays apart from 0x83 0x61.
    EXPECT_EQ((std::vector<int>{1}), Find(932, {"\x83\x61"}, {""}, "\x83\x41"));
    // The same for a double-byte code page folded by ASCII only.
    EXPECT_EQ((std::vector<int>{1}), Find(936, {"\xB0\x41"}, {""}, "a"));
    EXPECT_EQ((std::vector<int>{0, 1}), Find(936, {"\xB0\x41 A"}, {""}, "a"));
}

TEST(EntryFilter, ExplanationCountsOrderStaysPlaceholderLast) {
    EXPECT_EQ((std::vector<int>{0, 2, 3, 4}),
              Find(1252, {"mail", "phone", "x", "MAILBOX"}, {"", "", "the Mail address", ""}, "mail"));
    EXPECT_EQ((std::vector<int>{2}), Find(1252, {"a", "b"}, {"", ""}, "zzz"));
    EXPECT_EQ((std::vector<int>{0}), Find(1252, {}, {}, "a"));
    // An empty text typed holds in every entry.
    EXPECT_EQ((std::vector<int>{0, 1, 2}), Find(65001, {"a", ""}, {"", ""}, ""));
}

TEST(EntryFilter, NarrowingSearchesOnlyTheLastResult) {
    const EntryFilter sjis(932);
    EXPECT_TRUE(sjis.Narrows(sjis.FoldNeedle("ab"), sjis.FoldNeedle("abc")));
    EXPECT_TRUE(sjis.Narrows(sjis.FoldNeedle("b"), sjis.FoldNeedle("ABC")));
    EXPECT_FALSE(sjis.Narrows(sjis.FoldNeedle("abc"), sjis.FoldNeedle("ab")));
    EXPECT_FALSE(sjis.Narrows("", sjis.FoldNeedle("a")));
    // ア holds "A" only as a trail byte: an entry with ア need not hold "a".
    EXPECT_FALSE(sjis.Narrows(sjis.FoldNeedle("a"), sjis.FoldNeedle("\x83\x41")));

    const EntryFilter latin(1252);
    const std::vector<std::string> text = {"alpha", "beta", "alphabet", ""};
    const std::vector<std::string> explanation(4);
    const std::vector<int> among = {1, 2, 3};
    std::vector<int> result;
    latin.Match(text, explanation, latin.FoldNeedle("AL"), &among, result);
    EXPECT_EQ((std::vector<int>{2, 3}), result);
}
