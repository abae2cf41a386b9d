#include "browser/WideText.h"

#include "framework/CodePageText.h"

std::string WideToAnsi(const wchar_t* text, int length) {
    if (!text || length <= 0) return std::string();
    return FromWide(std::wstring_view(text, static_cast<std::size_t>(length)), CP_ACP);
}

BSTR AnsiToBstr(const std::string& text) {
    const std::wstring wide = ToWide(text, CP_ACP);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
