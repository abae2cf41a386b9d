#include "text/BstrText.h"

#include "text/CodePageText.h"

BSTR TextToBstr(std::string_view text, UINT codePage) {
    const std::wstring wide = ToWide(text, codePage);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
