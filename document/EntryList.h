// The entries of a list, each a Text and an Explanation, the last always the empty
// placeholder. Portable: every edit is a method that says what it changed, so a view can
// move its rows without reading the entries again.
#pragma once

#include "document/EntryFile.h"

#include <optional>
#include <string>
#include <vector>

// What an edit changed. Insert: a new entry at `Entry` (the ones from there on moved down
// one); Delete: the entry that was at `Entry` is gone (the ones after it moved up one);
// Change: the Text or Explanation of `Entry`; Reload: every entry may be another (`Entry` -1).
enum class EntryChangeKind { Insert, Delete, Change, Reload };

struct EntryChange {
    EntryChangeKind Kind = EntryChangeKind::Change;
    int Entry = -1;

    bool operator==(const EntryChange& o) const { return Kind == o.Kind && Entry == o.Entry; }
};

class EntryList {
public:
    EntryList() { EnsurePlaceholder(); }

    // Number of entries, the placeholder included (never 0).
    int Count() const { return static_cast<int>(m_columns.Texts.size()); }
    bool Contains(int entry) const { return entry >= 0 && entry < Count(); }
    const std::string& Text(int entry) const { return m_columns.Texts[static_cast<size_t>(entry)]; }
    const std::string& Explanation(int entry) const { return m_columns.Explanations[static_cast<size_t>(entry)]; }
    const EntryColumns& Columns() const { return m_columns; }

    // Advanced by every insert, delete and reload: an edit prepared under one generation
    // names its entry by a number that may mean another entry under the next.
    unsigned Generation() const { return m_generation; }

    // The edits; none when nothing changed (an index out of range, the same value, the
    // placeholder deleted). A Text or Explanation given to the placeholder keeps it as an
    // entry and reports the new placeholder after it as inserted.
    std::optional<EntryChange> Insert(int entry, std::string text = std::string());
    std::optional<EntryChange> Delete(int entry);
    std::optional<EntryChange> SetText(int entry, std::string text);
    std::optional<EntryChange> SetExplanation(int entry, std::string text);
    // Every entry replaced (a file read, or nothing for a new list); gives the entries it
    // replaced, for a view to find its rows again among the new ones.
    EntryColumns Reload(EntryColumns loaded);

    // Rewrites every field in place (a conversion of the whole list to another encoding):
    // the entries stay where they are, the generation stays.
    template <typename Convert>
    void ConvertEach(Convert convert) {
        for (std::vector<std::string>* column : {&m_columns.Texts, &m_columns.Explanations})
            for (std::string& field : *column) convert(field);
    }

private:
    std::optional<EntryChange> SetField(std::vector<std::string>& column, int entry, std::string text);
    void EnsurePlaceholder();

    EntryColumns m_columns;
    unsigned m_generation = 0;
};
