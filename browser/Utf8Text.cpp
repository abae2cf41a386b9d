#include "browser/Utf8Text.h"

#include "framework/CodePageText.h"

std::string AnsiToUtf8(const std::string& text) {
    return FromWide(ToWide(text, CP_ACP), CP_UTF8);
}

std::string Utf8ToAnsi(const std::string& text) {
    return FromWide(ToWide(text, CP_UTF8), CP_ACP);
}
