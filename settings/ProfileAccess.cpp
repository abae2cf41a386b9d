#include "settings/ProfileAccess.h"

#include "framework/WinApp.h"
#include "text/CodePageText.h"

int ReadSetting(const IntSetting& setting) {
    CWinApp* app = AfxGetApp();
    if (!app) return setting.defaultValue;
    return InRangeOrDefault(setting,
                            static_cast<int>(app->GetProfileInt(setting.section, setting.key, setting.defaultValue)));
}

bool SettingStored(const IntSetting& setting) {
    CWinApp* app = AfxGetApp();
    // A value that is stored reads the same whatever the default.
    return app && app->GetProfileInt(setting.section, setting.key, 0) == app->GetProfileInt(setting.section, setting.key, 1);
}

CString ReadSetting(const TextSetting& setting) {
    CWinApp* app = AfxGetApp();
    return app ? app->GetProfileString(setting.section, setting.key, setting.defaultValue)
               : CString(setting.defaultValue);
}

void WriteSetting(const IntSetting& setting, int value) {
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(setting.section, setting.key, InRangeOrDefault(setting, value));
}

void WriteSetting(const TextSetting& setting, const char* value) {
    if (CWinApp* app = AfxGetApp()) app->WriteProfileString(setting.section, setting.key, value);
}

std::wstring ReadPathSetting(const TextSetting& setting) {
    CWinApp* app = AfxGetApp();
    std::wstring value = app ? app->GetProfileStringW(setting.section, setting.key) : std::wstring();
    return value.empty() ? ToWide(setting.defaultValue, CP_ACP) : value;
}

void WritePathSetting(const TextSetting& setting, const wchar_t* value) {
    if (CWinApp* app = AfxGetApp()) app->WriteProfileStringW(setting.section, setting.key, value);
}
