#include "text/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

std::uint32_t UnitAt(std::string_view bytes, std::size_t i, bool bigEndian) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (std::uint32_t{b0} << 8) | b1 : (std::uint32_t{b1} << 8) | b0;
}

// Whole units, none of them NUL, every surrogate in a pair.
bool IsCleanUtf16(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const std::uint32_t u = UnitAt(bytes, i, bigEndian);
        if (u == 0 || (u >= 0xDC00 && u <= 0xDFFF)) return false;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 4 > bytes.size()) return false;
            const std::uint32_t low = UnitAt(bytes, i + 2, bigEndian);
            if (low < 0xDC00 || low > 0xDFFF) return false;
            i += 2;
        }
    }
    return true;
}

// Writes `c` at `out` as UTF-8; gives the end of what it wrote.
char* PutUtf8(char* out, std::uint32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Writes the UTF-16 unit `u` at `out` in the byte order; gives the end.
char* PutUnit(char* out, std::uint32_t u, bool bigEndian) {
    const char high = static_cast<char>(u >> 8);
    const char low = static_cast<char>(u & 0xFF);
    *out++ = bigEndian ? high : low;
    *out++ = bigEndian ? low : high;
    return out;
}

constexpr std::uint32_t kReplacement = 0xFFFD;

// Length of the well-formed UTF-8 character at `i` (see IsValidUtf8), or 0 when there is none.
std::size_t Utf8Length(std::string_view bytes, std::size_t i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        if (b == 0xE0) low = 0xA0;   // overlong
        if (b == 0xED) high = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        if (b == 0xF0) low = 0x90;   // overlong
        if (b == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() - i < length) return 0;
    const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
    if (second < low || second > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        const unsigned char c = static_cast<unsigned char>(bytes[i + k]);
        if (c < 0x80 || c > 0xBF) return 0;
    }
    return length;
}

}  // namespace

std::size_t DecodeUtf8(std::string_view bytes, std::size_t i, char32_t& c) {
    const std::size_t length = i < bytes.size() ? Utf8Length(bytes, i) : 0;
    if (length == 0) return 0;
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
    char32_t value = length == 1 ? b(0) : b(0) & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) value = (value << 6) | (b(k) & 0x3F);
    c = value;
    return length;
}

void AppendUtf8(char32_t c, std::string& out) {
    char bytes[4] = {};
    out.append(bytes, PutUtf8(bytes, c));
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = Utf8Length(bytes, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

FileEncoding DetectFileEncoding(std::string_view bytes) {
    FileEncoding result;
    const bool le = StartsWith(bytes, kUtf16LeByteOrderMark);
    if (le || StartsWith(bytes, kUtf16BeByteOrderMark)) {
        if (IsCleanUtf16(bytes.substr(2), !le)) {
            result.Encoding = TextEncoding::Utf8;
            result.ByteOrderMark = true;
            result.Form = le ? FileForm::Utf16Le : FileForm::Utf16Be;
        } else {
            result.Form = FileForm::Unknown;
        }
        return result;
    }
    // A NUL byte is no text in any 8-bit encoding (UTF-16 without its mark, say).
    if (std::memchr(bytes.data(), 0, bytes.size()) != nullptr) {
        result.Form = FileForm::Unknown;
        return result;
    }
    if (StartsWith(bytes, kUtf8ByteOrderMark)) {
        result.Encoding = TextEncoding::Utf8;
        result.ByteOrderMark = true;
        return result;
    }
    bool high = false;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) > 0x7F) {
            high = true;
            break;
        }
    }
    if (high && IsValidUtf8(bytes)) result.Encoding = TextEncoding::Utf8;
    return result;
}

std::string_view FileText(std::string_view bytes, FileEncoding encoding, std::string& converted) {
    switch (encoding.Form) {
    case FileForm::Utf16Le:
    case FileForm::Utf16Be:
        if (encoding.ByteOrderMark && (StartsWith(bytes, kUtf16LeByteOrderMark) || StartsWith(bytes, kUtf16BeByteOrderMark)))
            bytes.remove_prefix(2);
        converted = Utf16ToUtf8(bytes, encoding.Form == FileForm::Utf16Be);
        return converted;
    case FileForm::EightBit:
        if (encoding.ByteOrderMark && StartsWith(bytes, kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
        return bytes;
    case FileForm::Unknown:
        break;
    }
    return bytes;
}

std::string FileBytes(std::string&& text, FileEncoding encoding) {
    switch (encoding.Form) {
    case FileForm::Utf16Le:
    case FileForm::Utf16Be: {
        const bool bigEndian = encoding.Form == FileForm::Utf16Be;
        std::string out;
        if (encoding.ByteOrderMark) out = bigEndian ? kUtf16BeByteOrderMark : kUtf16LeByteOrderMark;
        out += Utf8ToUtf16(text, bigEndian);
        return out;
    }
    case FileForm::EightBit:
        if (encoding.ByteOrderMark && encoding.Encoding == TextEncoding::Utf8) text.insert(0, kUtf8ByteOrderMark);
        return std::move(text);
    case FileForm::Unknown:
        break;
    }
    return std::move(text);
}

// Both conversions write into a buffer of the most they can need (three UTF-8 bytes for a
// unit, two UTF-16 bytes for a UTF-8 byte), then cut it to what they wrote.
std::string Utf16ToUtf8(std::string_view utf16, bool bigEndian) {
    std::string out(utf16.size() / 2 * 3 + 3, '\0');
    char* const begin = &out[0];
    char* p = begin;
    const std::size_t n = utf16.size() - utf16.size() % 2;
    for (std::size_t i = 0; i < n; i += 2) {
        std::uint32_t c = UnitAt(utf16, i, bigEndian);
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 4 <= n) {
            const std::uint32_t low = UnitAt(utf16, i + 2, bigEndian);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) c = kReplacement;
        p = PutUtf8(p, c);
    }
    if (n != utf16.size()) p = PutUtf8(p, kReplacement);
    out.resize(static_cast<std::size_t>(p - begin));
    return out;
}

std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian) {
    std::string out(utf8.size() * 2, '\0');
    if (out.empty()) return out;
    char* const begin = &out[0];
    char* p = begin;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::uint32_t b0 = static_cast<unsigned char>(utf8[i]);
        if (b0 < 0x80) {
            p = PutUnit(p, b0, bigEndian);
            ++i;
            continue;
        }
        const std::size_t length = Utf8Length(utf8, i);
        if (length == 0) {
            p = PutUnit(p, kReplacement, bigEndian);
            ++i;
            continue;
        }
        const auto b = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[i + k])); };
        std::uint32_t c = 0;
        if (length == 2) c = ((b0 & 0x1F) << 6) | (b(1) & 0x3F);
        else if (length == 3) c = ((b0 & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
        else c = ((b0 & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
        if (c >= 0x10000) {
            c -= 0x10000;
            p = PutUnit(p, 0xD800 + (c >> 10), bigEndian);
            p = PutUnit(p, 0xDC00 + (c & 0x3FF), bigEndian);
        } else {
            p = PutUnit(p, c, bigEndian);
        }
        i += length;
    }
    out.resize(static_cast<std::size_t>(p - begin));
    return out;
}
