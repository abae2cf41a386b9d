// Small text helpers shared by form auto-input and the tag index report.
#pragma once

#include "text/AnsiText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The number at the start of `s` as atol reads it (leading white space, a sign,
// then digits; none gives 0), held to the 32-bit range instead of overflowing.
std::int32_t ParseLeadingNumber(std::string_view s);

// Whether `text` begins with `prefix`, byte for byte; an empty prefix always matches.
bool StartsWith(std::string_view text, std::string_view prefix);

// At most `maxBytes` bytes of `s`, never ending in the first half of a double-byte character.
std::string CutToBytes(std::string_view s, std::size_t maxBytes, const LeadBytes& lead);

// An element's outer HTML as the report may show it: every <input> start tag in it
// whose type is "password" loses its value attributes (neither what was typed,
// which a browser may put there, nor what the page set), whichever element's text
// holds the input; so does an <input> tag cut off before its type shows. The rest
// stays as it is.
std::string HidePasswordValue(std::string_view html, const LeadBytes& lead);

// Whether writing text into an element of this tag name (any case) is refused: the
// old browser's interfaces refuse it on html, head, title, style, frameset and the
// table elements but a cell, and script is refused as well. Such a write would
// replace a page's structure, not a field's text.
bool RefusesTextWrite(std::string_view tagName);
// Those tag names, in lower case.
const std::vector<std::string>& TextWriteRefusedTags();

// Whether `html` holds the whole start tag it begins with (up to its ">").
bool HoldsStartTag(std::string_view html, const LeadBytes& lead);
