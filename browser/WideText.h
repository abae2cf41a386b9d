// UTF-16 from the browser to and from 8-bit text in the system ANSI code page.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

std::string WideToAnsi(const wchar_t* text, int length);
// Allocates a BSTR (the caller owns it); null only when out of memory.
BSTR AnsiToBstr(const std::string& text);
