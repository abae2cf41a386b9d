// The growing, inserting and removing operations of CStringArray (declared in Afx.h).
#include "framework/Afx.h"

#include <algorithm>

void CStringArray::SetAtGrow(int i, const CString& s) {
    if (i < 0) return;
    if (static_cast<size_t>(i) >= m_items.size()) m_items.resize(static_cast<size_t>(i) + 1);
    m_items[static_cast<size_t>(i)] = s;
}

void CStringArray::InsertAt(int i, const CString& s, int count) {
    if (i < 0 || count <= 0) return;
    if (static_cast<size_t>(i) > m_items.size()) m_items.resize(static_cast<size_t>(i));
    m_items.insert(m_items.begin() + i, static_cast<size_t>(count), s);
}

void CStringArray::RemoveAt(int i, int count) {
    if (i < 0 || count <= 0 || static_cast<size_t>(i) >= m_items.size()) return;
    const size_t end = std::min(m_items.size(), static_cast<size_t>(i) + static_cast<size_t>(count));
    m_items.erase(m_items.begin() + i, m_items.begin() + static_cast<std::ptrdiff_t>(end));
}
