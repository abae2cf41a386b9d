// CFileDialog: the common open and save dialogs, in UTF-16 so a file may have any name. The
// filter and the default extension are texts of the ANSI code page (the string resources).
#pragma once

#include "framework/Wnd.h"

class CFileDialog {
public:
    // `filter` uses '|' between its parts, as "Text (*.txt)|*.txt|All (*.*)|*.*||".
    CFileDialog(BOOL openFileDialog, const char* defExt = nullptr, const wchar_t* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);
    INT_PTR DoModal();
    const std::wstring& GetPathName() const { return m_file; }

    OPENFILENAMEW m_ofn;

private:
    BOOL m_bOpen;
    std::wstring m_filter;
    std::wstring m_defExt;
    std::wstring m_file;
    std::wstring m_buffer;  // room for a long path
};
