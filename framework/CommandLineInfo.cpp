#include "framework/CommandLineInfo.h"

void CCommandLineInfo::ParseParam(const wchar_t* param, BOOL isFlag, BOOL) {
    // Switches are left to the application; the first plain argument is the file to open.
    if (isFlag || !m_strFileName.empty()) return;
    m_strFileName = param;
    m_nShellCommand = FileOpen;
}
