#include "text/TextEncoding.h"

#include <cstddef>

namespace {

bool StartsWithMark(std::string_view bytes) {
    return bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
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
            return false;
        }
        if (n - i < length) return false;
        const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            const unsigned char c = static_cast<unsigned char>(bytes[i + k]);
            if (c < 0x80 || c > 0xBF) return false;
        }
        i += length;
    }
    return true;
}

FileEncoding DetectFileEncoding(std::string_view bytes) {
    FileEncoding result;
    if (StartsWithMark(bytes)) {
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

std::string_view TextAfterByteOrderMark(std::string_view bytes, FileEncoding encoding) {
    if (encoding.ByteOrderMark && StartsWithMark(bytes)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
    return bytes;
}
