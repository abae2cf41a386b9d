#include "view/RowMap.h"

#include <gtest/gtest.h>

namespace {

// Entries 0..7, the placeholder 7; the filter shows 1, 3, 4 and the placeholder.
RowMap Filtered() {
    RowMap map;
    map.ShowOnly({1, 3, 4, 7}, 8);
    return map;
}

std::vector<int> EntriesShown(const RowMap& map) {
    std::vector<int> entries;
    for (int row = 0; row < map.RowCount(); ++row) entries.push_back(map.EntryOfRow(row));
    return entries;
}

}  // namespace

TEST(RowMap, UnfilteredRowsAreTheEntries) {
    RowMap map;
    map.ShowAll(3);
    EXPECT_EQ(3, map.RowCount());
    EXPECT_EQ(2, map.EntryOfRow(2));
    EXPECT_EQ(-1, map.EntryOfRow(3));
    EXPECT_EQ(-1, map.EntryOfRow(-1));
    EXPECT_EQ(-1, map.RowOfEntry(3));
    EXPECT_EQ(1, map.RowOfEntry(1));
}

TEST(RowMap, FilteredRowsNameTheirEntries) {
    const RowMap map = Filtered();
    EXPECT_EQ(4, map.RowCount());
    EXPECT_EQ(3, map.EntryOfRow(1));
    EXPECT_EQ(7, map.EntryOfRow(3));  // the placeholder, last
    EXPECT_EQ(-1, map.EntryOfRow(4));
    EXPECT_EQ(-1, map.RowOfEntry(2));  // hidden
    EXPECT_EQ(2, map.RowOfEntry(4));
}

TEST(RowMap, UnfilteredInsertAndDeleteMoveTheMarksAsRealRows) {
    RowMap map;
    map.ShowAll(3);
    // An insert on row 0 moves the selection with its entry; the placeholder's row follows too.
    RowMove move = map.Follow({EntryChangeKind::Insert, 0});
    EXPECT_EQ(4, map.RowCount());
    EXPECT_EQ(1, move.Moved(0));
    EXPECT_EQ(3, move.Moved(2));
    EXPECT_EQ(-1, move.Moved(-1));
    // Inserted before the placeholder: only its row moves.
    move = map.Follow({EntryChangeKind::Insert, 3});
    EXPECT_EQ(2, move.Moved(2));
    EXPECT_EQ(4, move.Moved(3));
    // A delete keeps the mark at its position; the rows after move up.
    move = map.Follow({EntryChangeKind::Delete, 2});
    EXPECT_EQ(4, map.RowCount());
    EXPECT_EQ(2, move.Moved(2));
    EXPECT_EQ(1, move.Moved(1));
    EXPECT_EQ(3, move.Moved(4));
    // The first entry deleted.
    move = map.Follow({EntryChangeKind::Delete, 0});
    EXPECT_EQ(0, move.Moved(0));
    EXPECT_EQ(0, move.Moved(1));
    // A change moves nothing.
    move = map.Follow({EntryChangeKind::Change, 1});
    EXPECT_EQ(1, move.Moved(1));
    EXPECT_EQ(3, map.RowCount());
}

TEST(RowMap, FilteredInsertShowsTheNewEntryAndRenumbersTheRest) {
    RowMap map = Filtered();
    // Before entry 3 (row 1): the new entry is shown at row 1 whether it matches or not.
    RowMove move = map.Follow({EntryChangeKind::Insert, 3});
    EXPECT_EQ((std::vector<int>{1, 3, 4, 5, 8}), EntriesShown(map));
    EXPECT_EQ(0, move.Moved(0));
    EXPECT_EQ(2, move.Moved(1));
    // At the very start, before a hidden entry.
    move = map.Follow({EntryChangeKind::Insert, 0});
    EXPECT_EQ((std::vector<int>{0, 2, 4, 5, 6, 9}), EntriesShown(map));
    EXPECT_EQ(1, move.Moved(0));
    // Before the placeholder.
    move = map.Follow({EntryChangeKind::Insert, 9});
    EXPECT_EQ((std::vector<int>{0, 2, 4, 5, 6, 9, 10}), EntriesShown(map));
    EXPECT_EQ(6, move.Moved(5));
    EXPECT_EQ(4, move.Moved(4));
    // The placeholder given a value: the new placeholder after it is shown.
    map.Follow({EntryChangeKind::Insert, 11});
    EXPECT_EQ((std::vector<int>{0, 2, 4, 5, 6, 9, 10, 11}), EntriesShown(map));
}

TEST(RowMap, FilteredDeleteOfAShownEntryRemovesItsRow) {
    RowMap map = Filtered();
    const RowMove move = map.Follow({EntryChangeKind::Delete, 3});
    EXPECT_EQ((std::vector<int>{1, 3, 6}), EntriesShown(map));
    EXPECT_EQ(1, move.Moved(1));  // the mark stays at its position, on entry 4 (now 3)
    EXPECT_EQ(1, move.Moved(2));
    EXPECT_EQ(2, move.Moved(3));
    EXPECT_EQ(0, move.Moved(0));
    EXPECT_EQ(-1, map.RowOfEntry(2));
    EXPECT_EQ(2, map.RowOfEntry(6));
}

TEST(RowMap, FilteredDeleteOfAHiddenEntryMovesNoRow) {
    RowMap map = Filtered();
    RowMove move = map.Follow({EntryChangeKind::Delete, 2});
    EXPECT_EQ((std::vector<int>{1, 2, 3, 6}), EntriesShown(map));
    for (int row = 0; row < 4; ++row) EXPECT_EQ(row, move.Moved(row));
    move = map.Follow({EntryChangeKind::Delete, 0});  // the first entry, hidden
    EXPECT_EQ((std::vector<int>{0, 1, 2, 5}), EntriesShown(map));
    EXPECT_EQ(3, move.Moved(3));
    move = map.Follow({EntryChangeKind::Delete, 0});  // now shown at row 0
    EXPECT_EQ((std::vector<int>{0, 1, 4}), EntriesShown(map));
    EXPECT_EQ(0, move.Moved(0));
    EXPECT_EQ(0, move.Moved(1));
}

TEST(RowMap, AChangedEntryStaysShown) {
    RowMap map = Filtered();
    const RowMove move = map.Follow({EntryChangeKind::Change, 3});
    EXPECT_EQ((std::vector<int>{1, 3, 4, 7}), EntriesShown(map));
    EXPECT_EQ(1, move.Moved(1));
    EXPECT_EQ(RowMove::Kind::None, map.Follow({EntryChangeKind::Reload, -1}).What);
}

TEST(RowMap, AReloadFindsEachEntryNearestItsOldPlace) {
    EntryList now;
    now.Reload(EntryColumns{{"Zebra", "apple", "dup", "banana", "dup", "plum"}, {"", "Fruit", "", "", "", "red"}});
    const EntryColumns old{{"apple", "banana", "dup", "plum", "dup", "gone", ""}, {"Fruit", "", "", "red", "", "", ""}};
    EXPECT_EQ(1, FindEntryAgain(old, now, 0));
    EXPECT_EQ(3, FindEntryAgain(old, now, 1));
    EXPECT_EQ(2, FindEntryAgain(old, now, 2));  // the nearer of two equal entries
    EXPECT_EQ(4, FindEntryAgain(old, now, 4));
    EXPECT_EQ(5, FindEntryAgain(old, now, 3));  // Explanation compared too
    EXPECT_EQ(-1, FindEntryAgain(old, now, 5));
    EXPECT_EQ(6, FindEntryAgain(old, now, 6));  // the placeholder stays the placeholder
    EXPECT_EQ(-1, FindEntryAgain(old, now, 7));
    EXPECT_EQ(-1, FindEntryAgain(old, now, -1));
}
