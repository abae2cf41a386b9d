// The line-break notation of entry texts: backslash + lower-case n stands for a line break.
#pragma once

#include "text/AnsiText.h"

#include <string>
#include <string_view>

// Each backslash followed by 'n' becomes CR LF. Every other backslash (before any other
// character, at the very end, or the second byte of a double-byte character) stays.
std::string ExpandLineBreaks(std::string_view text, const LeadBytes& lead);
