#include "document/EntryFile.h"
#include "text/TextEncoding.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

const LeadBytes kSjis = LeadBytes::ForCodePage(932);
const LeadBytes kSingle;

struct CodePage {
    const char* name;
    const LeadBytes* lead;
};
const CodePage kCodePages[] = {{"932", &kSjis}, {"single-byte", &kSingle}};

std::string Hex(const std::string& s) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "<";
            out += digits[c >> 4];
            out += digits[c & 15];
            out += ">";
        }
    }
    return out;
}

// One entry, as the tables below write it.
struct Entry {
    std::string Text;
    std::string Explanation;
};

std::vector<Entry> WithPlaceholder(std::vector<Entry> entries) {
    entries.push_back(Entry{});
    return entries;
}

std::string Describe(const std::vector<Entry>& entries) {
    std::string out;
    for (const Entry& e : entries) out += "[" + Hex(e.Text) + " | " + Hex(e.Explanation) + "] ";
    return out;
}

std::string Describe(const EntryColumns& entries) {
    std::string out;
    if (entries.Texts.size() != entries.Explanations.size()) return "columns of unequal length";
    for (std::size_t i = 0; i < entries.Texts.size(); ++i)
        out += "[" + Hex(entries.Texts[i]) + " | " + Hex(entries.Explanations[i]) + "] ";
    return out;
}

// The entries through StoreEntries, which takes them as columns.
std::string Store(const std::vector<Entry>& entries, const LeadBytes& lead) {
    EntryColumns columns;
    for (const Entry& e : entries) {
        columns.Texts.push_back(e.Text);
        columns.Explanations.push_back(e.Explanation);
    }
    return StoreEntries(columns.Texts, columns.Explanations, lead);
}

std::string Store(const EntryColumns& entries, const LeadBytes& lead) {
    return StoreEntries(entries.Texts, entries.Explanations, lead);
}

// The reading steps as written for the format, one backslash search at a time through
// LeadBytes::Find; the fast reader must agree with it on every line.
void ReferenceParse(std::string_view line, const LeadBytes& lead, std::string& text, std::string& explanation) {
    std::string_view rest = line;
    text.clear();
    explanation.clear();
    for (;;) {
        const std::size_t p = lead.Find(rest, '\\');
        if (p == std::string_view::npos || p + 1 == rest.size()) break;
        if (rest[p + 1] == '\\') {
            text.append(rest.substr(0, p + 1));
            rest.remove_prefix(p + 2);
        } else if (rest[p + 1] == 't') {
            text.append(rest.substr(0, p));
            explanation.assign(rest.substr(p + 2));
            rest = std::string_view();
            break;
        } else {
            text.append(rest.substr(0, p + 1));
            rest.remove_prefix(p + 1);
        }
    }
    text.append(rest);
}

// ---- One line ------------------------------------------------------------------------

struct LineCase {
    std::string line;
    std::string text;
    std::string explanation;
};

// Lines that read the same in every code page (nothing but ASCII).
const LineCase kLineCases[] = {
    {"Hello", "Hello", ""},
    {R"(Hello\tWorld)", "Hello", "World"},
    {R"(\tonly a note)", "", "only a note"},
    {R"(a\tb\tc)", "a", R"(b\tc)"},
    {R"(a\\tb)", R"(a\tb)", ""},
    {R"(a\\\tb)", R"(a\)", "b"},
    {R"(C:\temp)", "C:", "emp"},
    {R"(C:\\temp)", R"(C:\temp)", ""},
    {R"(x\ny)", R"(x\ny)", ""},
    {R"(a\)", R"(a\)", ""},
    {R"(a\\)", R"(a\)", ""},
    {"", "", ""},
    {R"(\)", R"(\)", ""},
    {R"(\\\)", R"(\\)", ""},
    {R"(\t)", "", ""},
    {R"(a\\\\tb)", R"(a\\tb)", ""},
    {R"(a\x\\y\tz\\)", R"(a\x\y)", R"(z\\)"},
    {"tab\there", "tab\there", ""},  // a real TAB is an ordinary byte
    {"  spaced  ", "  spaced  ", ""},
    {std::string("nul\0in\\tside", 12), std::string("nul\0in", 6), "side"},
    {"lone\rCR", "lone\rCR", ""},
};

TEST(EntryFileLine, EdgeCasesInBothCodePages) {
    for (const CodePage& cp : kCodePages) {
        for (const LineCase& c : kLineCases) {
            std::string text = "junk", explanation = "junk";
            ParseEntryLine(c.line, *cp.lead, text, explanation);
            EXPECT_EQ(c.text, text) << cp.name << " line " << Hex(c.line);
            EXPECT_EQ(c.explanation, explanation) << cp.name << " line " << Hex(c.line);
        }
    }
}

struct CodePageLineCase {
    std::string line;
    std::string sjisText, sjisExplanation;
    std::string singleText, singleExplanation;
};

// Lines with double-byte characters whose second byte is 0x5C.
const CodePageLineCase kCodePageLineCases[] = {
    // 0x83 0x5C is one character in 932, so the t after it is text.
    {"\x83\\t", "\x83\\t", "", "\x83", ""},
    {"\x83\\tx\\ty", "\x83\\tx", "y", "\x83", "x\\ty"},
    // A double-byte character, then a real backslash pair.
    {"\x83\\\\\\t", "\x83\\\\t", "", "\x83\\", ""},
    // The byte after a real backslash starts a character: 0x81 0x5C is one.
    {"\\\x81\\t", "\\\x81\\t", "", "\\\x81", ""},
    // Lead byte as the second byte of a character: 0x81 0x81, then a real separator.
    {"\x81\x81\\tx", "\x81\x81", "x", "\x81\x81", "x"},
    // Three lead bytes: the third takes the 0x5C.
    {"\x81\x81\x81\\tx", "\x81\x81\x81\\tx", "", "\x81\x81\x81", "x"},
    // A lead byte last in the line counts as one byte.
    {"a\x83", "a\x83", "", "a\x83", ""},
    {"\xE0\\\xFC\\\\t", "\xE0\\\xFC\\", "", "\xE0\\\xFC\\t", ""},
};

TEST(EntryFileLine, DoubleByteCharactersDifferByCodePage) {
    for (const CodePageLineCase& c : kCodePageLineCases) {
        std::string text, explanation;
        ParseEntryLine(c.line, kSjis, text, explanation);
        EXPECT_EQ(Hex(c.sjisText), Hex(text)) << "932 line " << Hex(c.line);
        EXPECT_EQ(Hex(c.sjisExplanation), Hex(explanation)) << "932 line " << Hex(c.line);
        ParseEntryLine(c.line, kSingle, text, explanation);
        EXPECT_EQ(Hex(c.singleText), Hex(text)) << "single-byte line " << Hex(c.line);
        EXPECT_EQ(Hex(c.singleExplanation), Hex(explanation)) << "single-byte line " << Hex(c.line);
    }
}

// ---- Splitting into lines ------------------------------------------------------------

struct SplitCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

const SplitCase kSplitCases[] = {
    {"empty file", "", {}},
    {"LF only", "a\nb\nc", {"a", "b", "c"}},
    {"CR LF", "a\r\nb\r\nc", {"a", "b", "c"}},
    {"mixed", "a\r\nb\nc\r\n", {"a", "b", "c"}},
    {"no final line end", "abc", {"abc"}},
    {"final CR LF", "abc\r\n", {"abc"}},
    {"two final line ends", "abc\r\n\r\n", {"abc", ""}},
    {"two final LFs", "abc\n\n", {"abc", ""}},
    {"CR LF alone", "\r\n", {""}},
    {"LF alone", "\n", {""}},
    {"empty lines between", "a\r\n\r\n\nb", {"a", "", "", "b"}},
    {"lone CR is a byte", "a\rb\r\nc\r", {"a\rb", "c\r"}},
    {"CR CR LF drops one CR", "a\r\r\n", {"a\r"}},
    {"lone CR alone", "\r", {"\r"}},
    {"NUL is a byte", std::string("a\0b\r\n\0", 6), {std::string("a\0b", 3), std::string("\0", 1)}},
};

TEST(EntryFileLineReader, SplitsByTheReadingRules) {
    for (const SplitCase& c : kSplitCases) {
        LineReader reader(c.bytes);
        std::vector<std::string> lines;
        std::string_view line;
        while (reader.Next(line)) lines.emplace_back(line);
        ASSERT_EQ(c.lines.size(), lines.size()) << c.name;
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(Hex(c.lines[i]), Hex(lines[i])) << c.name;
        EXPECT_FALSE(reader.Next(line)) << c.name;
    }
}

// ---- Whole files ---------------------------------------------------------------------

struct LoadCase {
    const char* name;
    std::string bytes;
    std::vector<Entry> entries;  // without the placeholder
};

const LoadCase kLoadCases[] = {
    {"0 bytes", "", {}},
    {"abc", "abc", {{"abc", ""}}},
    {"abc CR LF", "abc\r\n", {{"abc", ""}}},
    {"two final line ends", "abc\r\n\r\n", {{"abc", ""}, {"", ""}}},
    {"CR LF alone", "\r\n", {{"", ""}}},
    {"LF file", "a\\tb\nc\n", {{"a", "b"}, {"c", ""}}},
    {"CR LF file", "a\\tb\r\nc\r\n", {{"a", "b"}, {"c", ""}}},
};

TEST(EntryFileLoad, FilesEndWithThePlaceholder) {
    for (const CodePage& cp : kCodePages) {
        for (const LoadCase& c : kLoadCases) {
            const EntryColumns loaded = LoadEntries(c.bytes, *cp.lead);
            EXPECT_EQ(Describe(WithPlaceholder(c.entries)), Describe(loaded)) << cp.name << " " << c.name;
        }
    }
}

struct StoreCase {
    const char* name;
    std::vector<Entry> entries;  // without the placeholder
    std::string bytes;
};

// What the writer produces, and that it reads back: the expected bytes are the smallest
// that do, so a Text that needs no escape stays as it is.
const StoreCase kStoreCases[] = {
    {"only the placeholder", {}, ""},
    {"plain", {{"Hello", ""}, {"Hello", "World"}}, "Hello\r\nHello\\tWorld"},
    {"explanation without text", {{"", "only a note"}}, "\\tonly a note"},
    {"explanation kept literally", {{"a", "b\\tc\\\\"}}, "a\\tb\\tc\\\\"},
    {"other backslashes unchanged", {{"x\\ny", ""}, {"a\\", ""}, {"\\", ""}}, "x\\ny\r\na\\\r\n\\"},
    // Fault: backslash-t and double backslashes in a Text.
    {"C:\\temp", {{"C:\\temp", ""}}, "C:\\\\temp"},
    {"backslash t with explanation", {{"a\\tb", "c"}}, "a\\\\tb\\tc"},
    {"double backslash", {{"a\\\\b", ""}}, "a\\\\\\b"},
    {"three backslashes then t", {{"\\\\\\t", ""}}, "\\\\\\\\\\\\t"},
    {"backslashes last, no explanation", {{"a\\\\", ""}}, "a\\\\\\"},
    // Fault: a backslash last in a Text that an Explanation follows.
    {"backslash last with explanation", {{"a\\", "b"}}, "a\\\\\\tb"},
    {"two backslashes last with explanation", {{"a\\\\", "b"}}, "a\\\\\\\\\\tb"},
    // Fault: an empty last entry gets a line end of its own.
    {"empty last entry", {{"a", ""}, {"", ""}}, "a\r\n\r\n"},
    {"one empty entry", {{"", ""}}, "\r\n"},
    {"empty entry in the middle", {{"a", ""}, {"", ""}, {"b", ""}}, "a\r\n\r\nb"},
    {"two empty entries", {{"", ""}, {"", ""}}, "\r\n\r\n"},
};

TEST(EntryFileStore, WritesWhatReadsBack) {
    for (const CodePage& cp : kCodePages) {
        for (const StoreCase& c : kStoreCases) {
            const std::vector<Entry> entries = WithPlaceholder(c.entries);
            const std::string bytes = Store(entries, *cp.lead);
            EXPECT_EQ(Hex(c.bytes), Hex(bytes)) << cp.name << " " << c.name;
            EXPECT_EQ(Describe(entries), Describe(LoadEntries(bytes, *cp.lead))) << cp.name << " " << c.name;
        }
    }
}

TEST(EntryFileStore, NothingAtAllWritesNothing) {
    EXPECT_EQ("", StoreEntries({}, {}, kSjis));
    EXPECT_EQ("", StoreEntries({""}, {""}, kSingle));
}

TEST(EntryFileStore, PlaceholderIsNeverWritten) {
    EXPECT_EQ("a", StoreEntries({"a", "not"}, {"", "written"}, kSingle));
    // Columns of unequal length are taken to the shorter.
    EXPECT_EQ("a\\tb", StoreEntries({"a", "c", "not"}, {"b", "written"}, kSingle));
}

struct CodePageStoreCase {
    const char* name;
    Entry entry;
    std::string sjisBytes;
    std::string singleBytes;
};

// A 0x5C that is the second byte of a double-byte character is never doubled in 932.
const CodePageStoreCase kCodePageStoreCases[] = {
    {"trail 0x5C then t", {"\x83\\t", ""}, "\x83\\t", "\x83\\\\t"},
    {"trail 0x5C then backslash", {"\x83\\\\x", ""}, "\x83\\\\x", "\x83\\\\\\x"},
    {"trail 0x5C last with explanation", {"\x83\\", "e"}, "\x83\\\\te", "\x83\\\\\\te"},
    {"real backslash after the character", {"\x83\\\\t", ""}, "\x83\\\\\\t", "\x83\\\\\\\\t"},
    {"lead byte after a real backslash", {"\\\x81\\t", ""}, "\\\x81\\t", "\\\x81\\\\t"},
    // A lead byte dangling at the end of a Text would swallow the separator in 932: dropped.
    {"dangling lead byte with explanation", {"a\x83", "e"}, "a\\te", "a\x83\\te"},
    {"dangling lead byte alone", {"a\x83", ""}, "a\x83", "a\x83"},
};

TEST(EntryFileStore, DoubleByteCharactersAreNeverSplit) {
    for (const CodePageStoreCase& c : kCodePageStoreCases) {
        const std::vector<Entry> entries = {c.entry, Entry{}};
        const std::string sjis = Store(entries, kSjis);
        const std::string single = Store(entries, kSingle);
        EXPECT_EQ(Hex(c.sjisBytes), Hex(sjis)) << c.name;
        EXPECT_EQ(Hex(c.singleBytes), Hex(single)) << c.name;
        EXPECT_EQ(Describe(entries), Describe(LoadEntries(single, kSingle))) << c.name;
    }
}

TEST(EntryFileStore, SerializeLineByLineMatchesStoreEntries) {
    const std::vector<Entry> entries = {{"a\\tb", "x"}, {"", ""}, {"c:\\", "y"}, {"", ""}, {}};
    std::string bytes;
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        std::string line;
        AppendEntryLine(line, entries[i].Text, entries[i].Explanation, kSjis);
        if (i + 2 < entries.size() || LastLineNeedsLineEnd(entries[i].Text, entries[i].Explanation))
            line.append(kEntryLineEnd);
        bytes += line;
    }
    EXPECT_EQ(Store(entries, kSjis), bytes);
    EXPECT_EQ("a\\\\tb\\tx\r\n\r\nc:\\\\\\ty\r\n\r\n", bytes);
}

// ---- Random round trips --------------------------------------------------------------

// Bytes that matter to the format: backslash, t, n, lead bytes before 0x5C, CR, NUL.
std::string RandomField(std::mt19937& rng, bool allowDanglingLead) {
    static const char* const pieces[] = {"\\", "\\", "\\", "t", "n", "a", "Z", " ", "\t", "\r", "\\t", "\\\\",
                                         "\x83\\", "\x81\\", "\x9F\\", "\xE0\\", "\xFC\\", "\x82\xA0", "\x81\x81"};
    std::uniform_int_distribution<int> length(0, 8);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::string s;
    for (int n = length(rng); n > 0; --n) s += pieces[pick(rng)];
    if (std::uniform_int_distribution<int>(0, 9)(rng) == 0) s += std::string(1, '\0');
    if (allowDanglingLead && std::uniform_int_distribution<int>(0, 9)(rng) == 0) s += "\x83";
    return s;
}

TEST(EntryFileRoundTrip, RandomEntriesInBothCodePages) {
    std::mt19937 rng(20240611);
    for (const CodePage& cp : kCodePages) {
        for (int round = 0; round < 300; ++round) {
            std::vector<Entry> entries;
            for (int n = std::uniform_int_distribution<int>(0, 12)(rng); n > 0; --n) {
                Entry e;
                e.Explanation = std::uniform_int_distribution<int>(0, 2)(rng) == 0 ? "" : RandomField(rng, true);
                // A dangling lead byte can end a Text only where no separator follows.
                e.Text = RandomField(rng, e.Explanation.empty() || !cp.lead->IsDoubleByte());
                entries.push_back(e);
            }
            entries.push_back(Entry{});
            const std::string bytes = Store(entries, *cp.lead);
            ASSERT_EQ(Describe(entries), Describe(LoadEntries(bytes, *cp.lead)))
                << cp.name << " round " << round << " bytes " << Hex(bytes);
        }
    }
}

// UTF-8 is read and written with no lead bytes: no byte of a multi-byte character is a
// backslash, so no character is ever split and the bytes stay valid UTF-8.
std::string RandomUtf8Field(std::mt19937& rng) {
    static const char* const pieces[] = {"\\", "\\", "t", "n", "a", " ", "\t", "\\\\", "\xC3\xA9", "\xCE\xA9",
                                         "\xD0\x96", "\xE6\x97\xA5", "\xE2\x80\x9C", "\xF0\x9F\x98\x80",
                                         "\xF0\x9F\x91\x8D", "\xEF\xBC\xBC"};
    std::uniform_int_distribution<int> length(0, 8);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::string s;
    for (int n = length(rng); n > 0; --n) s += pieces[pick(rng)];
    return s;
}

TEST(EntryFileRoundTrip, RandomUtf8EntriesWithNoLeadBytes) {
    std::mt19937 rng(8);
    for (int round = 0; round < 500; ++round) {
        std::vector<Entry> entries;
        for (int n = std::uniform_int_distribution<int>(0, 12)(rng); n > 0; --n) {
            Entry e;
            e.Text = RandomUtf8Field(rng);
            e.Explanation = std::uniform_int_distribution<int>(0, 2)(rng) == 0 ? "" : RandomUtf8Field(rng);
            entries.push_back(e);
        }
        entries.push_back(Entry{});
        const std::string bytes = Store(entries, kSingle);
        ASSERT_TRUE(IsValidUtf8(bytes)) << "round " << round << " bytes " << Hex(bytes);
        ASSERT_EQ(Describe(entries), Describe(LoadEntries(bytes, kSingle))) << "round " << round << " bytes " << Hex(bytes);
    }
}

TEST(EntryFileRoundTrip, ReaderAgreesWithTheStepByStepReading) {
    std::mt19937 rng(7);
    for (const CodePage& cp : kCodePages) {
        for (int round = 0; round < 5000; ++round) {
            const std::string line = RandomField(rng, true) + RandomField(rng, true);
            std::string text, explanation, refText, refExplanation;
            ParseEntryLine(line, *cp.lead, text, explanation);
            ReferenceParse(line, *cp.lead, refText, refExplanation);
            ASSERT_EQ(Hex(refText), Hex(text)) << cp.name << " line " << Hex(line);
            ASSERT_EQ(Hex(refExplanation), Hex(explanation)) << cp.name << " line " << Hex(line);
        }
    }
}

TEST(EntryFileRoundTrip, OlderFilesReadAsBefore) {
    // Any file, stored and loaded again, gives the entries it gave the first time.
    std::mt19937 rng(99);
    for (const CodePage& cp : kCodePages) {
        for (int round = 0; round < 500; ++round) {
            std::string bytes;
            for (int n = std::uniform_int_distribution<int>(0, 6)(rng); n > 0; --n)
                bytes += RandomField(rng, true) + (n % 2 ? "\r\n" : "\n");
            const EntryColumns first = LoadEntries(bytes, *cp.lead);
            const EntryColumns second = LoadEntries(Store(first, *cp.lead), *cp.lead);
            ASSERT_EQ(Describe(first), Describe(second)) << cp.name << " bytes " << Hex(bytes);
        }
    }
}

}  // namespace
