#include "document/EntryList.h"

#include <gtest/gtest.h>

namespace {

EntryList ListOf(std::vector<std::string> texts) {
    EntryList list;
    EntryColumns columns;
    columns.Explanations.resize(texts.size());
    columns.Texts = std::move(texts);
    list.Reload(std::move(columns));
    return list;
}

}  // namespace

TEST(EntryList, EndsWithThePlaceholderWhateverItIsGiven) {
    EXPECT_EQ(1, EntryList().Count());
    EXPECT_EQ(3, ListOf({"a", "b"}).Count());
    EXPECT_EQ(2, ListOf({"a", ""}).Count());  // an empty last entry is the placeholder
    EntryColumns uneven{{"a", "b", "c"}, {"x"}};
    EntryList list;
    list.Reload(std::move(uneven));
    EXPECT_EQ(2, list.Count());
    EXPECT_EQ("x", list.Explanation(0));
}

TEST(EntryList, EachEditSaysWhatChanged) {
    EntryList list = ListOf({"a", "b"});
    EXPECT_EQ((EntryChange{EntryChangeKind::Insert, 1}), list.Insert(1, "new"));
    EXPECT_EQ("new", list.Text(1));
    EXPECT_EQ((EntryChange{EntryChangeKind::Insert, 3}), list.Insert(3));  // before the placeholder
    EXPECT_EQ(5, list.Count());
    EXPECT_EQ((EntryChange{EntryChangeKind::Delete, 0}), list.Delete(0));
    EXPECT_EQ("new", list.Text(0));
    EXPECT_EQ((EntryChange{EntryChangeKind::Change, 1}), list.SetExplanation(1, "B"));
    EXPECT_EQ((EntryChange{EntryChangeKind::Change, 0}), list.SetText(0, "now"));
    // The placeholder given a value stays as an entry; a new placeholder is inserted after it.
    EXPECT_EQ((EntryChange{EntryChangeKind::Insert, 4}), list.SetText(3, "last"));
    EXPECT_EQ(5, list.Count());
    EXPECT_EQ("", list.Text(4));
}

TEST(EntryList, NothingChangesOutOfRangeOrOnTheSameValue) {
    EntryList list = ListOf({"a"});
    const unsigned generation = list.Generation();
    EXPECT_FALSE(list.Insert(-1));
    EXPECT_FALSE(list.Insert(2));
    EXPECT_FALSE(list.Delete(1));  // the placeholder
    EXPECT_FALSE(list.Delete(5));
    EXPECT_FALSE(list.SetText(0, "a"));
    EXPECT_FALSE(list.SetExplanation(1, ""));
    EXPECT_FALSE(list.SetText(2, "x"));
    EXPECT_EQ(generation, list.Generation());
    EXPECT_EQ(2, list.Count());
}

TEST(EntryList, GenerationMovesWhenNumbersMayMeanOtherEntries) {
    EntryList list = ListOf({"a", "b"});
    unsigned g = list.Generation();
    list.SetText(0, "x");
    list.SetExplanation(2, "placeholder no more");
    list.ConvertEach([](std::string& field) { field += "!"; });
    EXPECT_EQ(g, list.Generation());
    list.Insert(0);
    EXPECT_EQ(g + 1, list.Generation());
    list.Delete(0);
    EXPECT_EQ(g + 2, list.Generation());
    g = list.Generation();
    const EntryColumns old = list.Reload(EntryColumns{{"c"}, {""}});
    EXPECT_NE(g, list.Generation());
    EXPECT_EQ("x!", old.Texts[0]);
    EXPECT_EQ(2, list.Count());
}
