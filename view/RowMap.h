// The rows of the entry list and the entry each one shows. Unfiltered, row i shows entry i;
// filtered, the rows name their entries (ascending, the placeholder last). Portable: the
// view drives the list control, this class does the arithmetic, and follows every change
// the entry list reports as rows of a real list would move.
#pragma once

#include "document/EntryList.h"

#include <vector>

// How the rows moved with one change, for the rows the list marks (selected, focused).
struct RowMove {
    enum class Kind { None, Inserted, Removed };
    Kind What = Kind::None;
    int Row = -1;  // the row inserted or removed

    // The row that `row` is now: an inserted row pushes the rows from it down; after a
    // removal the rows after it move up and a mark on the removed row stays at its
    // position, on the entry that followed. -1 stays -1.
    int Moved(int row) const;
};

class RowMap {
public:
    // Every entry a row.
    void ShowAll(int entryCount);
    // Only these entries (ascending, the placeholder last), as the filter matched them.
    void ShowOnly(std::vector<int> entries, int entryCount);

    bool Filtered() const { return m_filtered; }
    // While filtered: the entry of each row.
    const std::vector<int>& Rows() const { return m_rows; }
    int RowCount() const;
    // The entry a row shows (-1 for no row), and the row that shows an entry (-1 when hidden).
    int EntryOfRow(int row) const;
    int RowOfEntry(int entry) const;

    // Follows an insert, delete or change of the entry list: an inserted entry is shown
    // whether or not it matches, a changed one stays shown. A reload is matched again by
    // the view (None here).
    RowMove Follow(const EntryChange& change);

private:
    bool m_filtered = false;
    int m_entryCount = 0;
    std::vector<int> m_rows;
};

// The entry of `now` nearest its old place with the same Text and Explanation as entry
// `oldEntry` of `old`, -1 when none; the placeholder stays the placeholder.
int FindEntryAgain(const EntryColumns& old, const EntryList& now, int oldEntry);
