// The filter over the entry list: which entries hold a typed text in their Text or their
// Explanation, ignoring case. Entries are 8-bit text in the document's code page (an ANSI
// code page, or UTF-8); letters are compared in one folded form, and a match counts only
// where it starts a character, so the second byte of a double-byte character never begins one.
#pragma once

#include "text/AnsiText.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

class TextFolding {
public:
    // A folded text prepared for searching: which bytes may start a character whose
    // folded form starts it.
    struct Part {
        std::string folded;
        std::array<bool, 256> first{};
    };

    // 65001: UTF-8 (Latin, Greek, Cyrillic, full-width letters ...); 1252: its letters;
    // 932: ASCII and the double-byte Latin, Greek, Cyrillic letters and Roman numerals;
    // any other code page: ASCII letters, its double-byte characters stepped over whole.
    static TextFolding ForCodePage(unsigned codePage);

    // `text` with each character in its folded (lower-case) form, appended to `out`.
    void Fold(std::string_view text, std::string& out) const;
    // The same into `out`, which has room for text.size() bytes: a folded form is always
    // as long as its character.
    void FoldInto(std::string_view text, char* out) const;
    // Whether folded `text` holds folded `part` starting at a character boundary.
    bool Contains(std::string_view text, std::string_view part) const;
    Part Prepare(std::string_view folded) const;
    // Whether `text`, as it stands, holds the part once folded: only the places that may
    // start a match are folded, so most of the text is only looked at.
    bool Holds(std::string_view text, const Part& part) const;

private:
    enum class Kind { SingleByte, DoubleByte, Sjis, Utf8 };
    Kind m_kind = Kind::SingleByte;
    std::array<unsigned char, 256> m_byte{};  // the folded form of a single-byte character
    LeadBytes m_lead;
};

class EntryFilter {
public:
    explicit EntryFilter(unsigned codePage) : m_folding(TextFolding::ForCodePage(codePage)) {}

    std::string FoldNeedle(std::string_view typed) const;
    TextFolding::Part Prepare(std::string_view folded) const { return m_folding.Prepare(folded); }
    // Whether every entry that holds `folded` also holds `previous`: the entries found for
    // `previous` are then enough to search.
    bool Narrows(std::string_view previous, std::string_view folded) const;
    // The indices of the entries among `among` (every entry when null; ascending) whose
    // Text or Explanation holds `folded`, in their order; the last entry (the empty
    // placeholder) always ends the result.
    void Match(const std::vector<std::string>& text, const std::vector<std::string>& explanation,
               std::string_view folded, const std::vector<int>* among, std::vector<int>& result) const;

private:
    TextFolding m_folding;
};
