// CCommandLineInfo: what the command line asks the application to do at start.
#pragma once

#include "framework/Afx.h"

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    // Called for each argument; `isFlag` when it began with '/' or '-' (then `param` lacks it).
    virtual void ParseParam(const wchar_t* param, BOOL isFlag, BOOL isLast);
    virtual ~CCommandLineInfo() = default;

    ShellCommand m_nShellCommand = FileNew;
    std::wstring m_strFileName;
};
