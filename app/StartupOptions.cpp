#include "app/StartupOptions.h"

namespace {

bool EqualsIgnoringAsciiCase(const std::wstring& a, const wchar_t* b) {
    const auto lower = [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return i == a.size() && !b[i];
}

}  // namespace

bool IsTrayStartArgument(const std::vector<std::wstring>& args) {
    if (args.size() != 2) return false;
    return args[1] == L"/T" || EqualsIgnoringAsciiCase(args[1], L"/Tray");
}
