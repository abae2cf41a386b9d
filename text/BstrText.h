// 8-bit text in a code page to a COM string (BSTR), as the shell's browser objects take it;
// FromWide (text/CodePageText.h) reads one back.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string_view>

// Allocates a BSTR (the caller owns it); null only when out of memory.
BSTR TextToBstr(std::string_view text, UINT codePage);
