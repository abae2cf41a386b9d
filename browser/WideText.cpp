#include "browser/WideText.h"

#include "framework/CodePageText.h"

std::string WideToText(const wchar_t* text, int length, UINT codePage) {
    if (!text || length <= 0) return std::string();
    return FromWide(std::wstring_view(text, static_cast<std::size_t>(length)), codePage);
}

BSTR TextToBstr(const std::string& text, UINT codePage) {
    const std::wstring wide = ToWide(text, codePage);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
