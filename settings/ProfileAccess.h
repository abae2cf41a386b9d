// Reads and writes the settings of settings/ProfileSettings.h through the application's
// profile. Without an application object a read gives the default and a write does nothing.
#pragma once

#include "settings/ProfileSettings.h"
#include "framework/Afx.h"

// The stored value when it is a REG_DWORD within the setting's range, else the default.
int ReadSetting(const IntSetting& setting);
// Whether the profile holds a value of the setting (not only its default).
bool SettingStored(const IntSetting& setting);
// The stored REG_SZ text, else the default.
CString ReadSetting(const TextSetting& setting);

// The stored REG_SZ text as UTF-16, for a path (any character), else the default. The same
// value as ReadSetting gives where the code page spells it.
std::wstring ReadPathSetting(const TextSetting& setting);
void WritePathSetting(const TextSetting& setting, const wchar_t* value);

// Stores `value`, or the default when `value` lies outside the setting's range.
void WriteSetting(const IntSetting& setting, int value);
void WriteSetting(const TextSetting& setting, const char* value);
