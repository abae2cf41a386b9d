// Which encoding an entry file or a web input setting file is in. A file is UTF-8 when it
// starts with the UTF-8 byte-order mark, or when the whole file is valid UTF-8 and holds at
// least one byte above 0x7F (as Notepad decides); any other file is in the ANSI code page.
// An ASCII-only file reads the same either way and counts as ANSI.
#pragma once

#include <string_view>

enum class TextEncoding { Ansi, Utf8 };

struct FileEncoding {
    TextEncoding Encoding = TextEncoding::Ansi;
    bool ByteOrderMark = false;  // only with Utf8: the file starts with the mark

    bool operator==(const FileEncoding& o) const {
        return Encoding == o.Encoding && ByteOrderMark == o.ByteOrderMark;
    }
    bool operator!=(const FileEncoding& o) const { return !(*this == o); }
};

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing
// above U+10FFFF, no character cut off at the end.
bool IsValidUtf8(std::string_view bytes);

FileEncoding DetectFileEncoding(std::string_view bytes);

// The file's text without its byte-order mark (when the encoding says it has one).
std::string_view TextAfterByteOrderMark(std::string_view bytes, FileEncoding encoding);
