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

// Stores `value`, or the default when `value` lies outside the setting's range.
void WriteSetting(const IntSetting& setting, int value);
void WriteSetting(const TextSetting& setting, const char* value);
