#include "webinput/WebInputSettings.h"

#include <gtest/gtest.h>


namespace {

const LeadBytes kSingleByte;

WebInputSettings Parse(const std::string& text, bool* loaded = nullptr) {
    WebInputSettings s;
    const bool stored = s.LoadText(text, kSingleByte);
    if (loaded) *loaded = stored;
    return s;
}

}  // namespace

TEST(WebInputSettings, ParsesTheSampleFile) {
    bool loaded = false;
    const WebInputSettings s = Parse(
        "; lines that start with a semicolon are comments\n"
        "[Order form:main]\n"
        "customer=Smith\n"
        "country=$COUNTRY[*city]\n"
        "#3=copy of the first field: #0\n"
        "\n"
        "[$COUNTRY]\n"
        "paris=France\n"
        "$DEFAULT=other\n",
        &loaded);
    EXPECT_TRUE(loaded);
    ASSERT_EQ(1u, s.Pages.size());
    EXPECT_EQ("Order form", s.Pages[0].TitlePrefix);
    EXPECT_EQ("main", s.Pages[0].FrameName);
    ASSERT_EQ(3u, s.Pages[0].Fields.size());
    EXPECT_EQ("country", s.Pages[0].Fields[1].Name);
    EXPECT_EQ("$COUNTRY[*city]", s.Pages[0].Fields[1].Value);
    EXPECT_EQ("#3", s.Pages[0].Fields[2].Name);
    EXPECT_EQ("copy of the first field: #0", s.Pages[0].Fields[2].Value);
    ASSERT_EQ(1u, s.Tables.size());
    EXPECT_EQ("$COUNTRY", s.Tables[0].Name);
    EXPECT_EQ("other", s.Tables[0].Default);
    EXPECT_EQ("France", s.Tables[0].Entries.at("paris"));
    EXPECT_EQ("France", s.LookupTable("$COUNTRY", "paris"));
    EXPECT_EQ("other", s.LookupTable("$COUNTRY", "rome"));
}

TEST(WebInputSettings, KeyLinesOutsideSectionsAreIgnored) {
    bool loaded = true;
    const WebInputSettings s = Parse("a=1\n[]\nb=2\n[$T]\n[]\nc=3\n", &loaded);
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(s.Pages.empty());
    ASSERT_EQ(1u, s.Tables.size());
    EXPECT_TRUE(s.Tables[0].Entries.empty());
}

TEST(WebInputSettings, CommentOnlyInColumnOne) {
    const WebInputSettings s = Parse("[P]\n;x=1\n  ;y=2\n");
    ASSERT_EQ(1u, s.Pages[0].Fields.size());
    EXPECT_EQ(";y", s.Pages[0].Fields[0].Name);
    EXPECT_EQ("2", s.Pages[0].Fields[0].Value);
}

TEST(WebInputSettings, BracketWithoutCloseIsAKeyLine) {
    const WebInputSettings s = Parse("[P]\n[abc=1]x\n[noequals\n");
    ASSERT_EQ(1u, s.Pages.size());
    ASSERT_EQ(1u, s.Pages[0].Fields.size());
    EXPECT_EQ("[abc", s.Pages[0].Fields[0].Name);
    EXPECT_EQ("1]x", s.Pages[0].Fields[0].Value);
}

TEST(WebInputSettings, LoneBracketLinesAreNotHeaders) {
    // "[" alone has no closing bracket of its own; "]" alone starts no header.
    const WebInputSettings s = Parse("[P]\n[\n]\n[=v\n");
    ASSERT_EQ(1u, s.Pages.size());
    ASSERT_EQ(1u, s.Pages[0].Fields.size());
    EXPECT_EQ("[", s.Pages[0].Fields[0].Name);
}

TEST(WebInputSettings, KeyAndValueAreTrimmedAndSplitAtFirstEquals) {
    const WebInputSettings s = Parse("[P]\n \tname \t=  a=b  \n=x\nk=\n  =  \nnoequals\n");
    ASSERT_EQ(1u, s.Pages[0].Fields.size());
    EXPECT_EQ("name", s.Pages[0].Fields[0].Name);
    EXPECT_EQ("a=b", s.Pages[0].Fields[0].Value);
}

TEST(WebInputSettings, PageHeaderSplitsAtFirstColonAndTrims) {
    const WebInputSettings s = Parse("[ Shop : left:top ]\n[:f]\n[ $X]\n[NoFrame]\n");
    ASSERT_EQ(4u, s.Pages.size());
    EXPECT_EQ("Shop", s.Pages[0].TitlePrefix);
    EXPECT_EQ("left:top", s.Pages[0].FrameName);
    EXPECT_EQ("", s.Pages[1].TitlePrefix);
    EXPECT_EQ("f", s.Pages[1].FrameName);
    EXPECT_EQ("$X", s.Pages[2].TitlePrefix);  // a blank before "$" makes a page, not a table
    EXPECT_EQ("NoFrame", s.Pages[3].TitlePrefix);
    EXPECT_EQ("", s.Pages[3].FrameName);
    EXPECT_TRUE(s.Tables.empty());
}

TEST(WebInputSettings, TableNamesAreNotTrimmed) {
    const WebInputSettings s = Parse("[$T ]\nk=v\n");
    ASSERT_EQ(1u, s.Tables.size());
    EXPECT_EQ("$T ", s.Tables[0].Name);
    EXPECT_EQ("", s.LookupTable("$T", "k"));
    EXPECT_EQ("v", s.LookupTable("$T ", "k"));
}

TEST(WebInputSettings, RepeatedKeysAndDefaultsKeepTheLast) {
    const WebInputSettings s = Parse("[$T]\nk=1\nk=2\n$DEFAULT=a\n$DEFAULT=b\n$default=c\n");
    EXPECT_EQ("2", s.LookupTable("$T", "k"));
    EXPECT_EQ("b", s.LookupTable("$T", "zzz"));
    EXPECT_EQ("c", s.LookupTable("$T", "$default"));  // keys are case-sensitive
}

TEST(WebInputSettings, DuplicateSectionsAreKeptAndLookupSeesTheFirstTable) {
    const WebInputSettings s = Parse("[P]\na=1\n[P]\na=1\na=2\n[$T]\nk=first\n[$T]\nk=second\n$DEFAULT=d\n");
    ASSERT_EQ(2u, s.Pages.size());
    EXPECT_EQ(2u, s.Pages[1].Fields.size());
    ASSERT_EQ(2u, s.Tables.size());
    EXPECT_EQ("first", s.LookupTable("$T", "k"));
    EXPECT_EQ("", s.LookupTable("$T", "other"));  // the first table has no default
}

TEST(WebInputSettings, DefaultInPageSectionIsNotAField) {
    bool loaded = true;
    const WebInputSettings s = Parse("[P]\n$DEFAULT=x\n[Q]\n", &loaded);
    EXPECT_FALSE(loaded);
    ASSERT_EQ(2u, s.Pages.size());
    EXPECT_TRUE(s.Pages[0].Fields.empty());
}

TEST(WebInputSettings, LookupWithEmptyArgumentsIsEmpty) {
    const WebInputSettings s = Parse("[$T]\n$DEFAULT=d\n");
    EXPECT_EQ("", s.LookupTable("", "k"));
    EXPECT_EQ("", s.LookupTable("$T", ""));
    EXPECT_EQ("d", s.LookupTable("$T", "k"));
    EXPECT_EQ("", s.LookupTable("$U", "k"));
}

TEST(WebInputSettings, CrLfAndMissingFinalTerminator) {
    const WebInputSettings s = Parse("[P:f]\r\na=1\r\n[$T]\r\nk=v\r\n$DEFAULT=d");
    ASSERT_EQ(1u, s.Pages.size());
    EXPECT_EQ("f", s.Pages[0].FrameName);
    EXPECT_EQ("1", s.Pages[0].Fields[0].Value);
    EXPECT_EQ("v", s.LookupTable("$T", "k"));
    EXPECT_EQ("d", s.LookupTable("$T", "x"));
}

TEST(WebInputSettings, LongLinesHaveNoLimit) {
    const std::string value(100000, 'x');
    const WebInputSettings s = Parse("[P]\nk=" + value + "\n");
    EXPECT_EQ(value, s.Pages[0].Fields[0].Value);
}

TEST(WebInputSettings, DoubleByteTrailBracketDoesNotCloseAHeader) {
    // 0x83 0x5D is one Shift-JIS character whose second byte is "]".
    const LeadBytes sjis = LeadBytes::ForCodePage(932);
    WebInputSettings s;
    EXPECT_TRUE(s.LoadText("[P]\n[a=\x83\x5D\n", sjis));
    ASSERT_EQ(1u, s.Pages.size());
    EXPECT_EQ("[a", s.Pages[0].Fields[0].Name);
    EXPECT_FALSE(s.LoadText("[P]\n[a=\x83\x5D\n", kSingleByte));
    ASSERT_EQ(2u, s.Pages.size());
    EXPECT_EQ("a=\x83", s.Pages[1].TitlePrefix);
}

TEST(WebInputSettings, Utf8TextParsesWithNoLeadBytes) {
    // "[Überweisung – 日本:本文]", a field named "名前" = "José 😀", a table keyed "東京".
    WebInputSettings s;
    EXPECT_TRUE(s.LoadText("[\xC3\x9C" "berweisung \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC:\xE6\x9C\xAC\xE6\x96\x87]\r\n"
                           "\xE5\x90\x8D\xE5\x89\x8D=Jos\xC3\xA9 \xF0\x9F\x98\x80\r\n"
                           "[$\xE5\xB8\x82]\r\n\xE6\x9D\xB1\xE4\xBA\xAC=\xCE\xA9\r\n",
                           kSingleByte));
    ASSERT_EQ(1u, s.Pages.size());
    EXPECT_EQ("\xC3\x9C" "berweisung \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC", s.Pages[0].TitlePrefix);
    EXPECT_EQ("\xE6\x9C\xAC\xE6\x96\x87", s.Pages[0].FrameName);
    ASSERT_EQ(1u, s.Pages[0].Fields.size());
    EXPECT_EQ("\xE5\x90\x8D\xE5\x89\x8D", s.Pages[0].Fields[0].Name);
    EXPECT_EQ("Jos\xC3\xA9 \xF0\x9F\x98\x80", s.Pages[0].Fields[0].Value);
    EXPECT_EQ("\xCE\xA9", s.LookupTable("$\xE5\xB8\x82", "\xE6\x9D\xB1\xE4\xBA\xAC"));
}

TEST(WebInputSettings, TableExpressionForms) {
    TableExpression t;
    ASSERT_TRUE(WebInputSettings::ParseTableExpression("$A[b[c]]", kSingleByte, t));
    EXPECT_EQ("$A", t.TableName);
    EXPECT_EQ("b[c]", t.Reference);
    ASSERT_TRUE(WebInputSettings::ParseTableExpression("$[]", kSingleByte, t));
    EXPECT_EQ("$", t.TableName);
    EXPECT_EQ("", t.Reference);
    EXPECT_FALSE(WebInputSettings::ParseTableExpression("$A[b", kSingleByte, t));
    EXPECT_FALSE(WebInputSettings::ParseTableExpression("$Ab]", kSingleByte, t));
    EXPECT_FALSE(WebInputSettings::ParseTableExpression("A[b]", kSingleByte, t));
    EXPECT_FALSE(WebInputSettings::ParseTableExpression("$A]x[", kSingleByte, t));
    EXPECT_FALSE(WebInputSettings::ParseTableExpression("", kSingleByte, t));
}

TEST(WebInputSettings, AnElementNumberThatIsNoneIsAnErrorOfItsLine) {
    WebInputSettings s;
    EXPECT_TRUE(s.LoadText("[P]\n#x=a\n#3=b\nq=#0x\nr=$T[#]\n# 4=c\n#-1=d\ns=$T[#5]\nt=text #x\n#=e\n",
                           kSingleByte));
    std::vector<std::string> stored;
    for (const FieldSetting& f : s.Pages[0].Fields) stored.push_back(f.Name + "=" + f.Value);
    EXPECT_EQ((std::vector<std::string>{"#3=b", "# 4=c", "#-1=d", "s=$T[#5]", "t=text #x"}), stored);
    std::vector<std::string> errors;
    for (const SettingError& e : s.Errors) errors.push_back(std::to_string(e.Line) + " " + e.Reference);
    EXPECT_EQ((std::vector<std::string>{"2 #x", "4 #0x", "5 #", "10 #"}), errors);
    // Lines end in CR LF as well; the next load starts without the old errors.
    EXPECT_FALSE(s.LoadText("\r\n[P]\r\n#1a=x\r\n", kSingleByte));
    ASSERT_EQ(1u, s.Errors.size());
    EXPECT_EQ(3u, s.Errors[0].Line);
    s.LoadText("[P]\nq=1\n", kSingleByte);
    EXPECT_TRUE(s.Errors.empty());
}
