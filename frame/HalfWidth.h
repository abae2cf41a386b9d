// Rewrites of clipboard text: full-width to half-width characters, and a prefix before every
// line. The text is 8-bit ANSI text, or wide text where the ANSI code page cannot hold it,
// held in a block that need not contain its terminating zero, so every scan stops at the
// first zero or at the end of the block.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class LeadBytes;

// Length of the text in a block of `size` bytes: up to the first zero, or the whole block
// when it holds none.
std::size_t BoundedTextLength(const char* bytes, std::size_t size);
std::size_t BoundedTextLength(const wchar_t* text, std::size_t size);

// The half-width form of a double-byte code (lead byte * 256 + trail byte): one byte
// (0x20..0x7E or half-width katakana 0xA1..0xDF), or the code unchanged when it has none.
// Only code page 932 has such forms; under any other code page every code stays.
unsigned ToHalfWidthCode(unsigned code, unsigned codePage);

// The text of the block with each double-byte character that has a half-width form
// replaced by it; every other byte is copied. Never longer than the text.
std::string ConvertToHalfWidth(const char* bytes, std::size_t size, const LeadBytes& lead, unsigned codePage);

// The text of the block with `prefix` before every line. Lines end at CR LF (a lone CR or LF
// is no break); an empty last line after a final CR LF gets the prefix too.
std::string PrefixLines(const char* bytes, std::size_t size, std::string_view prefix);
std::wstring PrefixLines(const wchar_t* text, std::size_t size, std::wstring_view prefix);

// A code page 932 double-byte code and its half-width byte.
struct HalfWidthForm {
    unsigned full;
    unsigned char half;
};

// Every code that ToHalfWidthCode gives a half-width form under code page 932, ascending.
std::vector<HalfWidthForm> HalfWidthForms932();

// Full-width characters and their half-width forms as wide characters: HalfWidthForms932
// decoded from code page 932 (which only the Windows layer can do).
using WideHalfWidthTable = std::map<wchar_t, wchar_t>;

// The wide text of the block with each character of the table replaced by its half-width
// form; every other character, surrogates included, is copied.
std::wstring ConvertToHalfWidth(const wchar_t* text, std::size_t size, const WideHalfWidthTable& table);
