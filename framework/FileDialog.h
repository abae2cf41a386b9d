// CFileDialog: the common open and save dialogs.
#pragma once

#include "framework/Wnd.h"

class CFileDialog {
public:
    // `filter` uses '|' between its parts, as "Text (*.txt)|*.txt|All (*.*)|*.*||".
    CFileDialog(BOOL openFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);
    INT_PTR DoModal();
    CString GetPathName() const { return m_file; }

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpen;
    CString m_filter;
    CString m_defExt;
    CString m_file;
    char m_buffer[MAX_PATH * 4];
};
