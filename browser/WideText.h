// UTF-16 from the browser to and from 8-bit text in a code page: CP_ACP, or CP_UTF8 when
// a run's web input settings are UTF-8.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

std::string WideToText(const wchar_t* text, int length, UINT codePage);
// Allocates a BSTR (the caller owns it); null only when out of memory.
BSTR TextToBstr(const std::string& text, UINT codePage);
