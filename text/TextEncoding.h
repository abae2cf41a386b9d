// Which encoding an entry file or a web input setting file is in, and its text as the program
// holds it. A file is UTF-16 when it starts with a UTF-16 byte-order mark (FF FE little-endian,
// FE FF big-endian); UTF-8 when it starts with the UTF-8 mark, or when the whole file is valid
// UTF-8 and holds at least one byte above 0x7F (as Notepad decides); any other file is in the
// ANSI code page. An ASCII-only file reads the same either way and counts as ANSI. A file with
// a NUL character, or UTF-16 that is not well formed, is in none of these: it is shown as
// ANSI but never written back, since no form of its text would give its bytes again.
#pragma once

#include <string>
#include <string_view>

// How text is held in memory: 8-bit, in the ANSI code page or in UTF-8.
enum class TextEncoding { Ansi, Utf8 };

// How the file's bytes hold that text: as it is held (8-bit), as UTF-16 (held as UTF-8), or in
// no form known.
enum class FileForm { EightBit, Utf16Le, Utf16Be, Unknown };

struct FileEncoding {
    TextEncoding Encoding = TextEncoding::Ansi;
    bool ByteOrderMark = false;  // UTF-8 or UTF-16: the file starts with the mark
    FileForm Form = FileForm::EightBit;

    // Whether the text can be written back in the file's own form.
    bool Writable() const { return Form != FileForm::Unknown; }

    bool operator==(const FileEncoding& o) const {
        return Encoding == o.Encoding && ByteOrderMark == o.ByteOrderMark && Form == o.Form;
    }
    bool operator!=(const FileEncoding& o) const { return !(*this == o); }
};

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LeByteOrderMark = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeByteOrderMark = "\xFE\xFF";

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing
// above U+10FFFF, no character cut off at the end.
bool IsValidUtf8(std::string_view bytes);

// The well-formed UTF-8 character at `i` (as IsValidUtf8 takes it): its code point in `c` and
// its length; 0 when there is none there (`c` is then left as it was).
std::size_t DecodeUtf8(std::string_view bytes, std::size_t i, char32_t& c);
// Appends code point `c` (at most U+10FFFF) to `out` as UTF-8.
void AppendUtf8(char32_t c, std::string& out);

FileEncoding DetectFileEncoding(std::string_view bytes);

// The file's text as the program holds it, without its byte-order mark: a view of `bytes`
// for an 8-bit file, else the text converted into `converted` and a view of that.
std::string_view FileText(std::string_view bytes, FileEncoding encoding, std::string& converted);

// The file's bytes for `text` held as above: the mark when the file has one, UTF-16 when it
// is. (A file of no known form is never written; its text comes back as it is.)
std::string FileBytes(std::string&& text, FileEncoding encoding);

// UTF-16 bytes in either byte order, without a mark, as UTF-8 and back. Not well-formed input
// (a cut-off unit, a lone surrogate, a broken UTF-8 sequence) gives U+FFFD in its place.
std::string Utf16ToUtf8(std::string_view utf16, bool bigEndian);
std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian);
