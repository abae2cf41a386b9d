#include "framework/FileDialog.h"

#include <commdlg.h>

#include "text/CodePageText.h"

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defExt, const wchar_t* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_ofn(), m_bOpen(openFileDialog), m_buffer(32768, L'\0') {
    if (filter) {
        m_filter = ToWide(filter, CP_ACP);
        for (wchar_t& c : m_filter)
            if (c == L'|') c = L'\0';
        m_filter.push_back(L'\0');
    }
    if (defExt) m_defExt = ToWide(defExt, CP_ACP);
    if (fileName) lstrcpynW(&m_buffer[0], fileName, static_cast<int>(m_buffer.size()));
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = &m_buffer[0];
    m_ofn.nMaxFile = static_cast<DWORD>(m_buffer.size());
    m_ofn.lpstrDefExt = m_defExt.empty() ? nullptr : m_defExt.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal() {
    const BOOL ok = m_bOpen ? GetOpenFileNameW(&m_ofn) : GetSaveFileNameW(&m_ofn);
    if (!ok) return IDCANCEL;
    m_file = m_buffer.c_str();
    return IDOK;
}
