// Small text helpers shared by form auto-input and the tag index report.
#pragma once

#include "text/AnsiText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The number at the start of `s` as atol reads it (leading white space, a sign,
// then digits; none gives 0), held to the 32-bit range instead of overflowing.
std::int32_t ParseLeadingNumber(std::string_view s);

// Whether `text` begins with `prefix`, byte for byte; an empty prefix always matches.
bool StartsWith(std::string_view text, std::string_view prefix);

// At most `maxBytes` bytes of `s`, never ending in the first half of a double-byte character.
std::string CutToBytes(std::string_view s, std::size_t maxBytes, const LeadBytes& lead);

// An element's outer HTML as the report may show it: for an <input> whose type is
// "password", the start tag without any value attribute (neither what was typed,
// which a browser may put there, nor what the page set); any other text as it is.
std::string HidePasswordValue(std::string_view html, const LeadBytes& lead);

// Whether `html` holds the whole start tag it begins with (up to its ">").
bool HoldsStartTag(std::string_view html, const LeadBytes& lead);
