#include "browser/Utf8Text.h"

#include "framework/CodePageText.h"

std::string TextToUtf8(const std::string& text, UINT codePage) {
    if (codePage == CP_UTF8) return text;
    return FromWide(ToWide(text, codePage), CP_UTF8);
}

std::string Utf8ToText(const std::string& utf8, UINT codePage) {
    if (codePage == CP_UTF8) return utf8;
    return FromWide(ToWide(utf8, CP_UTF8), codePage);
}
