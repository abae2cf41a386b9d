// 8-bit text in a code page (CP_ACP, CP_UTF8, 932 ...) to and from UTF-16, and from one code
// page to another.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

std::wstring ToWide(std::string_view text, UINT codePage);
// When `lossy` is given it is set to whether some character has no exact form in the code
// page (it then comes out as the default character or as a best-fit look-alike, "a" for "ā").
std::string FromWide(std::wstring_view text, UINT codePage, bool* lossy = nullptr);
// Text in code page `from` as code page `to` (UTF-8 for the DevTools protocol, say); the
// same bytes when both are the same. Characters `to` lacks come out as its default character.
std::string Recode(std::string_view text, UINT from, UINT to);
