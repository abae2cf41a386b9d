#include "framework/RecentFileList.h"

#include <algorithm>
#include <cstdio>

#include "framework/WinApp.h"

CRecentFileList::CRecentFileList(UINT firstId, const char* section, const char* entryFormat, int size)
    : m_firstId(firstId), m_section(section), m_entryFormat(entryFormat), m_size(size) {}

void CRecentFileList::ReadList(CWinApp& app) {
    m_files.clear();
    for (int i = 0; i < m_size; ++i) {
        char entry[32] = {};
        snprintf(entry, sizeof(entry), m_entryFormat.c_str(), i + 1);
        std::wstring path = app.GetProfileStringW(m_section.c_str(), entry);
        if (!path.empty()) m_files.push_back(path);
    }
}

void CRecentFileList::WriteList(CWinApp& app) const {
    for (int i = 0; i < m_size; ++i) {
        char entry[32] = {};
        snprintf(entry, sizeof(entry), m_entryFormat.c_str(), i + 1);
        if (i < GetSize()) {
            app.WriteProfileStringW(m_section.c_str(), entry, m_files[static_cast<size_t>(i)].c_str());
        } else {
            app.WriteProfileStringW(m_section.c_str(), entry, nullptr);
        }
    }
}

void CRecentFileList::Add(const wchar_t* path) {
    const std::wstring p = path;
    m_files.erase(std::remove_if(m_files.begin(), m_files.end(),
                                 [&](const std::wstring& f) { return lstrcmpiW(f.c_str(), p.c_str()) == 0; }),
                  m_files.end());
    m_files.insert(m_files.begin(), p);
    if (GetSize() > m_size) m_files.resize(static_cast<size_t>(m_size));
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < GetSize()) m_files.erase(m_files.begin() + index);
}

void CRecentFileList::UpdateMenu(CCmdUI* ui) const {
    HMENU menu = ui->m_menu;
    const int position = static_cast<int>(ui->m_index);
    static CString placeholder;
    if (placeholder.empty()) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
        placeholder = text[0] && m_files.empty() ? text : "Recent File";
    }
    // Take out every recent-file item, then put the list back in their place.
    for (UINT id = m_firstId; id < m_firstId + static_cast<UINT>(m_size); ++id) DeleteMenu(menu, id, MF_BYCOMMAND);
    if (m_files.empty()) {
        InsertMenuA(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING | MF_GRAYED, m_firstId,
                    placeholder.c_str());
        return;
    }
    for (int i = 0; i < GetSize(); ++i) {
        std::wstring label = L"&" + std::to_wstring(i + 1) + L" ";
        for (wchar_t c : m_files[static_cast<size_t>(i)]) {
            if (c == L'&') label += L'&';
            label += c;
        }
        InsertMenuW(menu, static_cast<UINT>(position + i), MF_BYPOSITION | MF_STRING, m_firstId + static_cast<UINT>(i),
                    label.c_str());
    }
}
