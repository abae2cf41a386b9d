#include "webinput/WebInputFile.h"

#include "framework/SystemCodePage.h"
#include "framework/WholeFile.h"

bool LoadWebInputFile(const std::string& path, WebInputSettings& settings) {
    settings.Clear();
    std::string bytes;
    if (path.empty() || AfxReadWholeFile(path.c_str(), bytes) != ERROR_SUCCESS) return false;
    return settings.LoadText(bytes, SystemLeadBytes());
}
