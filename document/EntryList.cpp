#include "document/EntryList.h"

#include <algorithm>
#include <utility>

void EntryList::EnsurePlaceholder() {
    // Columns of unequal length (a loader's fault) are cut to the shorter, losing no pair.
    const size_t n = std::min(m_columns.Texts.size(), m_columns.Explanations.size());
    m_columns.Texts.resize(n);
    m_columns.Explanations.resize(n);
    if (n == 0 || !m_columns.Texts.back().empty() || !m_columns.Explanations.back().empty()) {
        m_columns.Texts.emplace_back();
        m_columns.Explanations.emplace_back();
    }
}

std::optional<EntryChange> EntryList::Insert(int entry, std::string text) {
    if (!Contains(entry)) return std::nullopt;
    m_columns.Texts.insert(m_columns.Texts.begin() + entry, std::move(text));
    m_columns.Explanations.insert(m_columns.Explanations.begin() + entry, std::string());
    ++m_generation;
    return EntryChange{EntryChangeKind::Insert, entry};
}

std::optional<EntryChange> EntryList::Delete(int entry) {
    if (!Contains(entry) || entry == Count() - 1) return std::nullopt;
    m_columns.Texts.erase(m_columns.Texts.begin() + entry);
    m_columns.Explanations.erase(m_columns.Explanations.begin() + entry);
    ++m_generation;
    return EntryChange{EntryChangeKind::Delete, entry};
}

std::optional<EntryChange> EntryList::SetText(int entry, std::string text) {
    return SetField(m_columns.Texts, entry, std::move(text));
}

std::optional<EntryChange> EntryList::SetExplanation(int entry, std::string text) {
    return SetField(m_columns.Explanations, entry, std::move(text));
}

std::optional<EntryChange> EntryList::SetField(std::vector<std::string>& column, int entry, std::string text) {
    if (!Contains(entry) || column[static_cast<size_t>(entry)] == text) return std::nullopt;
    column[static_cast<size_t>(entry)] = std::move(text);
    if (entry < Count() - 1) return EntryChange{EntryChangeKind::Change, entry};
    // The placeholder got a value: a new placeholder follows it. No entry moved.
    EnsurePlaceholder();
    return EntryChange{EntryChangeKind::Insert, entry + 1};
}

EntryColumns EntryList::Reload(EntryColumns loaded) {
    std::swap(m_columns, loaded);
    EnsurePlaceholder();
    ++m_generation;
    return loaded;
}
