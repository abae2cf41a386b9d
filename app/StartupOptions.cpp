#include "app/StartupOptions.h"

#include <cstring>

namespace {

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        const char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        const char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (ca != cb) return false;
    }
    return *a == *b;
}

}  // namespace

bool IsTrayStartArgument(int argc, const char* const* argv) {
    if (argc != 2 || !argv || !argv[1]) return false;
    return std::strcmp(argv[1], "/T") == 0 || EqualsIgnoringAsciiCase(argv[1], "/Tray");
}
