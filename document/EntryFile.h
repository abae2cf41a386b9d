// The entry file: one entry per line, "Text\tExplanation" (backslash, t as the separator),
// lines separated by CR LF. Portable: bytes in, bytes out; the code page comes in as LeadBytes.
//
// Reading: a line ends at LF, a CR just before that LF is dropped, a final line without a
// line end is read, and a line end at the very end of the file starts no further line.
// In the text field "\\" is one backslash and the first "\t" is the separator; any other
// backslash is kept. The explanation is taken byte for byte.
//
// Writing escapes only what the reader would otherwise misread, so every entry reads back
// byte for byte and a Text without such backslashes is written unchanged.
#pragma once

#include "text/AnsiText.h"

#include <string>
#include <string_view>
#include <vector>

// The entries as the document keeps them: two columns of the same length, the Text and the
// Explanation of each entry.
struct EntryColumns {
    std::vector<std::string> Texts;
    std::vector<std::string> Explanations;

    bool operator==(const EntryColumns& o) const { return Texts == o.Texts && Explanations == o.Explanations; }
    bool operator!=(const EntryColumns& o) const { return !(*this == o); }
};

// What the writer puts between lines.
inline constexpr std::string_view kEntryLineEnd = "\r\n";

// Splits a whole file into lines (without their line ends) by the reading rules above.
// Lone CR and NUL bytes are ordinary bytes of a line.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : m_rest(bytes) {}

    // The next line; false when there is none left.
    bool Next(std::string_view& line);

private:
    std::string_view m_rest;
};

// One line (without its line end) into its two fields; both are replaced.
void ParseEntryLine(std::string_view line, const LeadBytes& lead, std::string& text, std::string& explanation);

// Appends the line of one entry, without a line end, to `out`. A backslash of the Text is
// doubled exactly when the reader would otherwise misread it: before "t", before another
// backslash, or last in the Text when a separator follows. A lead byte left dangling at the
// end of a Text that has an Explanation cannot be written (it would swallow the separator)
// and is dropped.
void AppendEntryLine(std::string& out, std::string_view text, std::string_view explanation, const LeadBytes& lead);

// Whether the last line written must be followed by a line end after all: an entry empty in
// both fields would otherwise be lost on reading (a line end at the very end starts no line).
inline bool LastLineNeedsLineEnd(std::string_view text, std::string_view explanation) {
    return text.empty() && explanation.empty();
}

// The whole file into entries, ending with the empty placeholder entry.
EntryColumns LoadEntries(std::string_view bytes, const LeadBytes& lead);

// Every entry but the last (the placeholder) as file bytes; 0 bytes when only the
// placeholder (or nothing) is given. Columns of unequal length are taken to the shorter.
std::string StoreEntries(const std::vector<std::string>& texts, const std::vector<std::string>& explanations,
                         const LeadBytes& lead);
