// 8-bit text in a code page (CP_ACP, CP_UTF8, 932 ...) to and from UTF-16.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

std::wstring ToWide(std::string_view text, UINT codePage);
// When `lossy` is given it is set to whether some character has no exact form in the code
// page (it then comes out as the default character or as a best-fit look-alike, "a" for "ā").
std::string FromWide(std::wstring_view text, UINT codePage, bool* lossy = nullptr);
