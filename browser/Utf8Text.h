// 8-bit text in a code page (CP_ACP, or CP_UTF8 when a run's web input settings are
// UTF-8) to and from UTF-8, the DevTools protocol's encoding.
#pragma once

#include <windows.h>

#include <string>

std::string TextToUtf8(const std::string& text, UINT codePage);
// Characters the code page lacks come out as its default character.
std::string Utf8ToText(const std::string& utf8, UINT codePage);
