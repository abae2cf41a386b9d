#include "view/RowMap.h"

#include <algorithm>
#include <utility>

int RowMove::Moved(int row) const {
    if (row < 0 || What == Kind::None) return row;
    if (What == Kind::Inserted) return row >= Row ? row + 1 : row;
    return row > Row ? row - 1 : row;
}

void RowMap::ShowAll(int entryCount) {
    m_filtered = false;
    m_rows.clear();
    m_entryCount = entryCount;
}

void RowMap::ShowOnly(std::vector<int> entries, int entryCount) {
    m_filtered = true;
    m_rows = std::move(entries);
    m_entryCount = entryCount;
}

int RowMap::RowCount() const { return m_filtered ? static_cast<int>(m_rows.size()) : m_entryCount; }

int RowMap::EntryOfRow(int row) const {
    if (row < 0 || row >= RowCount()) return -1;
    return m_filtered ? m_rows[static_cast<size_t>(row)] : row;
}

int RowMap::RowOfEntry(int entry) const {
    if (entry < 0 || entry >= m_entryCount) return -1;
    if (!m_filtered) return entry;
    const auto at = std::lower_bound(m_rows.begin(), m_rows.end(), entry);
    return (at != m_rows.end() && *at == entry) ? static_cast<int>(at - m_rows.begin()) : -1;
}

RowMove RowMap::Follow(const EntryChange& change) {
    RowMove move;
    const int entry = change.Entry;
    if (change.Kind == EntryChangeKind::Insert) {
        ++m_entryCount;
        move.What = RowMove::Kind::Inserted;
        move.Row = entry;
        if (!m_filtered) return move;
        const auto at = std::lower_bound(m_rows.begin(), m_rows.end(), entry);
        for (auto it = at; it != m_rows.end(); ++it) ++*it;
        move.Row = static_cast<int>(at - m_rows.begin());
        m_rows.insert(m_rows.begin() + move.Row, entry);
    } else if (change.Kind == EntryChangeKind::Delete) {
        --m_entryCount;
        move.What = RowMove::Kind::Removed;
        move.Row = entry;
        if (!m_filtered) return move;
        const auto at = std::lower_bound(m_rows.begin(), m_rows.end(), entry);
        const bool shown = at != m_rows.end() && *at == entry;
        for (auto it = shown ? at + 1 : at; it != m_rows.end(); ++it) --*it;
        if (!shown) return RowMove();  // a hidden entry: no row moves
        move.Row = static_cast<int>(at - m_rows.begin());
        m_rows.erase(at);
    }
    return move;
}

int FindEntryAgain(const EntryColumns& old, const EntryList& now, int oldEntry) {
    const int oldCount = static_cast<int>(old.Texts.size());
    const int n = now.Count();
    if (oldEntry < 0 || oldEntry >= oldCount) return -1;
    if (oldEntry == oldCount - 1) return n - 1;
    const std::string& text = old.Texts[static_cast<size_t>(oldEntry)];
    const std::string& explanation = old.Explanations[static_cast<size_t>(oldEntry)];
    auto same = [&](int e) { return e >= 0 && e < n - 1 && now.Text(e) == text && now.Explanation(e) == explanation; };
    for (int d = 0; oldEntry - d >= 0 || oldEntry + d < n; ++d) {
        if (same(oldEntry - d)) return oldEntry - d;
        if (same(oldEntry + d)) return oldEntry + d;
    }
    return -1;
}
