// CArchive: the document's file contents in memory. Loading hands out the whole file's
// bytes; storing collects the written strings, which the document then writes to disk in
// one piece.
#pragma once

#include <string>
#include <string_view>

#include "framework/Afx.h"

class CArchive {
public:
    enum Mode { load, store };

    // Loading from `bytes` (which must outlive the archive).
    explicit CArchive(std::string_view bytes) : m_mode(load), m_in(bytes) {}
    // Storing into an internal buffer.
    CArchive() : m_mode(store) {}

    bool IsLoading() const { return m_mode == load; }
    bool IsStoring() const { return m_mode == store; }

    void WriteString(std::string_view s) { m_out.append(s.data(), s.size()); }
    // Takes over `s` when nothing was written yet (a whole file need not be copied).
    void WriteString(std::string&& s) {
        if (m_out.empty())
            m_out = std::move(s);
        else
            m_out.append(s);
    }

    // The whole input, and the bytes written so far.
    std::string_view Input() const { return m_in; }
    const std::string& Output() const { return m_out; }
    std::string& Output() { return m_out; }

private:
    Mode m_mode;
    std::string_view m_in;
    std::string m_out;
};
