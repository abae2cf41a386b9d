#include "view/LineBreaks.h"

std::string ExpandLineBreaks(std::string_view text, const LeadBytes& lead) {
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t slash = lead.Find(text, '\\', pos);
        if (slash == std::string_view::npos || slash + 1 >= text.size()) break;
        if (text[slash + 1] == 'n') {
            result.append(text.substr(pos, slash - pos));
            result.append("\r\n");
            pos = slash + 2;
        } else {
            // The character after the backslash is looked at again, so "\\n" gives a
            // backslash and then a line break.
            result.append(text.substr(pos, slash + 1 - pos));
            pos = slash + 1;
        }
    }
    result.append(text.substr(pos));
    return result;
}

std::optional<std::wstring> CollapseLineBreaks(std::wstring_view dropped) {
    if (dropped.find(L"\\n") != std::wstring_view::npos) return std::nullopt;
    std::wstring text;
    text.reserve(dropped.size());
    for (size_t i = 0; i < dropped.size(); ++i) {
        if (dropped[i] == L'\r' || dropped[i] == L'\n') {
            text += L"\\n";
            if (dropped[i] == L'\r' && i + 1 < dropped.size() && dropped[i + 1] == L'\n') ++i;
        } else {
            text += dropped[i];
        }
    }
    return text;
}
