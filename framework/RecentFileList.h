// CRecentFileList: the most recently used files, kept in the profile (REG_SZ, read and
// written as UTF-16) and shown in a menu in place of the item with the first recent-file command.
#pragma once

#include <vector>

#include "framework/CmdTarget.h"

class CWinApp;

class CRecentFileList {
public:
    CRecentFileList(UINT firstId, const char* section, const char* entryFormat, int size);

    void ReadList(CWinApp& app);
    void WriteList(CWinApp& app) const;
    void Add(const wchar_t* path);
    void Remove(int index);
    int GetSize() const { return static_cast<int>(m_files.size()); }
    const std::wstring& operator[](int i) const { return m_files[static_cast<size_t>(i)]; }
    // Rebuilds the menu items from the item that `ui` stands for.
    void UpdateMenu(CCmdUI* ui) const;

private:
    UINT m_firstId;
    CString m_section;
    CString m_entryFormat;
    int m_size;
    std::vector<std::wstring> m_files;
};
