// CRecentFileList: the most recently used files, kept in the profile and shown in a menu
// in place of the item with the first recent-file command.
#pragma once

#include <vector>

#include "framework/CmdTarget.h"

class CWinApp;

class CRecentFileList {
public:
    CRecentFileList(UINT firstId, const char* section, const char* entryFormat, int size);

    void ReadList(CWinApp& app);
    void WriteList(CWinApp& app) const;
    void Add(const char* path);
    void Remove(int index);
    int GetSize() const { return static_cast<int>(m_files.size()); }
    const CString& operator[](int i) const { return m_files[static_cast<size_t>(i)]; }
    // Rebuilds the menu items from the item that `ui` stands for.
    void UpdateMenu(CCmdUI* ui) const;

private:
    UINT m_firstId;
    CString m_section;
    CString m_entryFormat;
    int m_size;
    std::vector<CString> m_files;
};
