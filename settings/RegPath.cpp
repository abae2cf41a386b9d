#include "settings/RegPath.h"

#include "framework/Handles.h"

#include <algorithm>
#include <cstring>

namespace {

// The root name must end within this many characters of the path.
constexpr std::size_t kRootNameSearchLength = 31;

struct RootKeyName {
    const char* Name;
    HKEY Key;
};

// Compared case-sensitively, in this order.
const RootKeyName kRootKeys[] = {
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
};

HKEY RootKeyFor(const char* name, std::size_t length) {
    for (const RootKeyName& root : kRootKeys) {
        if (std::strlen(root.Name) == length && std::memcmp(root.Name, name, length) == 0) return root.Key;
    }
    return nullptr;
}

void CopyDefault(const char* defaultText, char* buffer, DWORD bufferSize) {
    const char* text = defaultText ? defaultText : "";
    const std::size_t length = std::min<std::size_t>(std::strlen(text), bufferSize - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

}  // namespace

HKEY RegPathOpen(const char* path, DWORD* disposition) {
    if (disposition) *disposition = 0;
    if (!path) return nullptr;

    // Root names are plain ASCII, so a byte search is enough here: a backslash that is
    // really the second byte of a double-byte character leaves a prefix that matches
    // no root name anyway.
    std::size_t separator = 0;
    while (separator < kRootNameSearchLength && path[separator] != '\0' && path[separator] != '\\') ++separator;
    if (separator == kRootNameSearchLength || path[separator] != '\\') return nullptr;

    const HKEY root = RootKeyFor(path, separator);
    if (!root) return nullptr;

    HKEY key = nullptr;
    DWORD created = 0;
    const LONG rc = RegCreateKeyExA(root, path + separator + 1, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &key, &created);
    if (rc != ERROR_SUCCESS) return nullptr;
    if (disposition) *disposition = created;
    return key;
}

bool RegPathClose(HKEY key) {
    return key == nullptr || RegCloseKey(key) == ERROR_SUCCESS;
}

DWORD RegPathReadDword(const char* path, const char* valueName, DWORD defaultValue) {
    RegKey key(RegPathOpen(path));
    if (!key) return defaultValue;

    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG rc = RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (rc == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value)) return value;
    return defaultValue;
}

bool RegPathReadString(const char* path, const char* valueName, const char* defaultText, char* buffer,
                       DWORD bufferSize) {
    if (!buffer || bufferSize == 0) return false;
    buffer[0] = '\0';

    bool read = false;
    DWORD disposition = 0;
    RegKey key(RegPathOpen(path, &disposition));
    if (key) {
        DWORD type = 0;
        DWORD size = bufferSize;
        const LONG rc = RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        read = rc == ERROR_SUCCESS && type == REG_SZ && size <= bufferSize;
        if (read) {
            // A value stored without its terminating zero is terminated here when there
            // is room; one that fills the buffer exactly does not fit.
            if (size == 0 || buffer[size - 1] != '\0') {
                if (size < bufferSize) buffer[size] = '\0';
                else read = false;
            }
        }
        if (!key.Close()) read = false;
    }
    if (!read) CopyDefault(defaultText, buffer, bufferSize);
    return read;
}

bool RegPathWriteDword(const char* path, const char* valueName, DWORD value) {
    RegKey key(RegPathOpen(path));
    if (!key) return false;
    const LONG rc = RegSetValueExA(key.Get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                   sizeof(value));
    const bool closed = key.Close();
    return rc == ERROR_SUCCESS && closed;
}

bool RegPathWriteString(const char* path, const char* valueName, const char* text) {
    RegKey key(RegPathOpen(path));
    if (!key) return false;
    const char* data = text ? text : "";
    const DWORD size = static_cast<DWORD>(std::strlen(data) + 1);
    const LONG rc = RegSetValueExA(key.Get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), size);
    const bool closed = key.Close();
    return rc == ERROR_SUCCESS && closed;
}

DWORD RegPathCountSubkeys(const char* path) {
    RegKey key(RegPathOpen(path));
    if (!key) return 0;
    DWORD subkeys = 0;
    const LONG rc = RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr);
    return rc == ERROR_SUCCESS ? subkeys : 0;
}

std::vector<std::string> RegPathSubkeyNames(const char* path) {
    std::vector<std::string> names;
    RegKey key(RegPathOpen(path));
    if (!key) return names;
    for (DWORD i = 0;; ++i) {
        char name[256] = {};  // the longest key name the registry allows, and its zero
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

DWORD RegPathCountValues(const char* path) {
    RegKey key(RegPathOpen(path));
    if (!key) return 0;
    DWORD values = 0;
    const LONG rc = RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                     nullptr, nullptr, nullptr, nullptr);
    return rc == ERROR_SUCCESS ? values : 0;
}

bool RegPathDeleteSubkey(const char* path, const char* name) {
    RegKey key(RegPathOpen(path));
    if (!key || !name || !*name) return false;
    const LONG rc = RegDeleteTreeA(key.Get(), name);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}
