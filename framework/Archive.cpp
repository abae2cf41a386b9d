#include "framework/Archive.h"

#include <cstring>

BOOL CArchive::ReadString(std::string_view& line) {
    if (m_pos >= m_in.size()) return FALSE;
    const char* start = m_in.data() + m_pos;
    const size_t left = m_in.size() - m_pos;
    const void* lf = std::memchr(start, '\n', left);
    size_t len = lf ? static_cast<size_t>(static_cast<const char*>(lf) - start) : left;
    m_pos += lf ? len + 1 : len;
    if (lf && len > 0 && start[len - 1] == '\r') --len;
    line = std::string_view(start, len);
    return TRUE;
}

BOOL CArchive::ReadString(CString& line) {
    std::string_view view;
    if (!ReadString(view)) return FALSE;
    line.assign(view.data(), view.size());
    return TRUE;
}
