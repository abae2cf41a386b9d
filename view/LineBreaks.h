// The line-break notation of entry texts: backslash + lower-case n stands for a line break.
#pragma once

#include "text/AnsiText.h"

#include <optional>
#include <string>
#include <string_view>

// Each backslash followed by 'n' becomes CR LF. Every other backslash (before any other
// character, at the very end, or the second byte of a double-byte character) stays.
std::string ExpandLineBreaks(std::string_view text, const LeadBytes& lead);

// Text dropped in from another program as an entry's Text: each line break (CR LF, LF or
// CR) becomes backslash + n. None when the text holds a backslash before "n", which the
// notation would give back as a line break.
std::optional<std::wstring> CollapseLineBreaks(std::wstring_view dropped);
