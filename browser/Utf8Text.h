// 8-bit text in the system ANSI code page to and from UTF-8 (the DevTools
// protocol's encoding), through UTF-16.
#pragma once

#include <string>

std::string AnsiToUtf8(const std::string& text);
// Characters the code page lacks come out as its default character.
std::string Utf8ToAnsi(const std::string& text);
