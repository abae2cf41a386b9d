// Single registry values addressed by one full path whose first component names a
// predefined root key, e.g. "HKEY_CURRENT_USER\Software\Velmora\Jotwell\DestWnd".
// Every call opens the key (creating it and any missing key on its path, with full
// access), does its one thing and closes the key again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// An open key, or null. `disposition` (optional) receives REG_CREATED_NEW_KEY,
// REG_OPENED_EXISTING_KEY, or 0 when no key was opened.
HKEY RegPathOpen(const char* path, DWORD* disposition = nullptr);

// True when key is null or RegCloseKey succeeded.
bool RegPathClose(HKEY key);

// The stored REG_DWORD value, or defaultValue.
DWORD RegPathReadDword(const char* path, const char* valueName, DWORD defaultValue);

// True when a REG_SZ value that fits the buffer (with its terminating zero) was read.
// Otherwise the buffer holds defaultText, cut to bufferSize - 1 bytes.
bool RegPathReadString(const char* path, const char* valueName, const char* defaultText, char* buffer,
                       DWORD bufferSize);

bool RegPathWriteDword(const char* path, const char* valueName, DWORD value);
// Stores text as REG_SZ with its terminating zero.
bool RegPathWriteString(const char* path, const char* valueName, const char* text);

// Number of direct subkeys; 0 on any failure.
DWORD RegPathCountSubkeys(const char* path);

// Names of the direct subkeys, in the registry's order; empty on any failure.
std::vector<std::string> RegPathSubkeyNames(const char* path);

// Number of values of the key; 0 on any failure.
DWORD RegPathCountValues(const char* path);

// Deletes the subkey `name` of the key at path with everything below it. True when it
// is gone (also when it was not there).
bool RegPathDeleteSubkey(const char* path, const char* name);
