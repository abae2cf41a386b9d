#include "destination/DestinationRuleTable.h"

#include <gtest/gtest.h>

namespace {

DestinationRule Rule(const std::string& className, std::uint32_t param1 = 0, std::uint32_t param2 = 0) {
    DestinationRule rule;
    rule.ClassName = className;
    rule.Param1 = param1;
    rule.Param2 = param2;
    return rule;
}

}  // namespace

TEST(DestinationRuleTable, DefaultRuleIsEmpty) {
    const DestinationRule rule;
    EXPECT_EQ("", rule.ClassName);
    EXPECT_EQ(0u, rule.Param1);
    EXPECT_EQ(0u, rule.Param2);
}

TEST(DestinationRuleTable, ListsKeepTheirOrder) {
    DestinationRuleTable table;
    table.Add(DeliveryMethod::CtrlV, Rule("A", 1));
    table.Add(DeliveryMethod::CtrlV, Rule("B", 2));
    table.Add(DeliveryMethod::User, Rule("C", 3, 9));
    ASSERT_EQ(2u, table.Count(DeliveryMethod::CtrlV));
    EXPECT_EQ("A", table.RuleAt(DeliveryMethod::CtrlV, 0).ClassName);
    EXPECT_EQ("B", table.RuleAt(DeliveryMethod::CtrlV, 1).ClassName);
    EXPECT_EQ(0u, table.Count(DeliveryMethod::Paste));
    EXPECT_EQ(1u, table.Count(DeliveryMethod::User));
    EXPECT_EQ(0u, table.Count(DeliveryMethod::Keybd));
}

TEST(DestinationRuleTable, NoRuleGivesKeybd) {
    DestinationRuleTable table;
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("Edit").Method);
    table.Add(DeliveryMethod::Keybd, Rule("Notepad"));
    // A Keybd rule changes nothing: the keyboard method is the default anyway.
    const DestinationMatch match = table.Find("Notepad");
    EXPECT_EQ(DeliveryMethod::Keybd, match.Method);
}

TEST(DestinationRuleTable, ComparesWholeNamesCaseSensitively) {
    DestinationRuleTable table;
    table.Add(DeliveryMethod::Paste, Rule(kEditClassName));
    EXPECT_EQ(DeliveryMethod::Paste, table.Find("Edit").Method);
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("edit").Method);
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("EDIT").Method);
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("Edi").Method);
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("Edit2").Method);
}

TEST(DestinationRuleTable, PasteBeatsCtrlVBeatsUser) {
    DestinationRuleTable table;
    table.Add(DeliveryMethod::User, Rule("X", 3, 9));
    table.Add(DeliveryMethod::CtrlV, Rule("X", 26));
    table.Add(DeliveryMethod::Paste, Rule("X"));
    table.Add(DeliveryMethod::User, Rule("Y", 4, 5));
    table.Add(DeliveryMethod::CtrlV, Rule("Y", 6));
    EXPECT_EQ(DeliveryMethod::Paste, table.Find("X").Method);
    const DestinationMatch y = table.Find("Y");
    EXPECT_EQ(DeliveryMethod::CtrlV, y.Method);
    EXPECT_EQ(6u, y.Rule.Param1);
}

TEST(DestinationRuleTable, FirstDuplicateWithinAListWins) {
    DestinationRuleTable table;
    table.Add(DeliveryMethod::CtrlV, Rule("Pane", 5));
    table.Add(DeliveryMethod::CtrlV, Rule("Pane", 7));
    const DestinationMatch match = table.Find("Pane");
    EXPECT_EQ(DeliveryMethod::CtrlV, match.Method);
    EXPECT_EQ(5u, match.Rule.Param1);
}

TEST(DestinationRuleTable, UserMatchCarriesItsOwnParameters) {
    DestinationRuleTable table;
    table.Add(DeliveryMethod::CtrlV, Rule("Other", 1, 2));
    table.Add(DeliveryMethod::User, Rule("Other2", 7, 8));
    table.Add(DeliveryMethod::User, Rule("Target", 3, 9));
    const DestinationMatch match = table.Find("Target");
    EXPECT_EQ(DeliveryMethod::User, match.Method);
    EXPECT_EQ("Target", match.Rule.ClassName);
    EXPECT_EQ(3u, match.Rule.Param1);
    EXPECT_EQ(9u, match.Rule.Param2);
}

TEST(DestinationRuleTable, KeyNamesOfTheMethods) {
    EXPECT_STREQ("Paste", DeliveryMethodKeyName(DeliveryMethod::Paste));
    EXPECT_STREQ("CtrlV", DeliveryMethodKeyName(DeliveryMethod::CtrlV));
    EXPECT_STREQ("User", DeliveryMethodKeyName(DeliveryMethod::User));
    EXPECT_STREQ("Keybd", DeliveryMethodKeyName(DeliveryMethod::Keybd));
}

TEST(DestinationRuleTable, KeybdRuleCarriesItsKey) {
    DestinationRuleTable table;
    table.Add(DeliveryMethod::Keybd, Rule("PuTTY", kShiftInsertKey));
    table.Add(DeliveryMethod::Keybd, Rule("PuTTY", 0x123));
    const DestinationMatch putty = table.Find("PuTTY");
    EXPECT_EQ(DeliveryMethod::Keybd, putty.Method);
    EXPECT_EQ(kShiftInsertKey, KeybdKey(putty.Rule.Param1));
    // A class no rule names types Ctrl+V.
    EXPECT_EQ(kCtrlVKey, KeybdKey(table.Find("Other").Rule.Param1));
    // A Paste rule for the same class still wins.
    table.Add(DeliveryMethod::Paste, Rule("PuTTY"));
    EXPECT_EQ(DeliveryMethod::Paste, table.Find("PuTTY").Method);
}

TEST(DestinationRuleTable, KeybdKeyOfParam1) {
    EXPECT_EQ(kCtrlVKey, KeybdKey(0));
    EXPECT_EQ(static_cast<std::uint32_t>(0x0200 | 'V'), kCtrlVKey);
    EXPECT_EQ(kShiftInsertKey, KeybdKey(kShiftInsertKey));
    EXPECT_EQ(0x2Du, KeybdKey(0x2D));                 // Insert alone
    EXPECT_EQ(kCtrlVKey, KeybdKey(kKeyShift));          // modifiers without a key
    EXPECT_EQ(kCtrlVKey, KeybdKey(0x10000));            // only bits the control never sets
    EXPECT_EQ(kShiftInsertKey, KeybdKey(0xFFFF0000u | kShiftInsertKey));
}

TEST(DestinationRuleTable, EditsStayWithinTheirList) {
    DestinationRuleTable table;
    table.Add(DeliveryMethod::CtrlV, Rule("A", 1));
    table.Add(DeliveryMethod::CtrlV, Rule("B", 2));
    table.Add(DeliveryMethod::User, Rule("U"));
    EXPECT_TRUE(table.Insert(DeliveryMethod::CtrlV, 1, Rule("Mid", 3)));
    EXPECT_TRUE(table.Insert(DeliveryMethod::CtrlV, 3, Rule("End")));
    EXPECT_FALSE(table.Insert(DeliveryMethod::CtrlV, 5, Rule("Far")));
    const auto names = [&](DeliveryMethod method) {
        std::string all;
        for (std::size_t i = 0; i < table.Count(method); ++i) all += table.RuleAt(method, i).ClassName + ",";
        return all;
    };
    EXPECT_EQ("A,Mid,B,End,", names(DeliveryMethod::CtrlV));

    EXPECT_TRUE(table.MoveUp(DeliveryMethod::CtrlV, 2));
    EXPECT_EQ("A,B,Mid,End,", names(DeliveryMethod::CtrlV));
    EXPECT_FALSE(table.MoveUp(DeliveryMethod::CtrlV, 0));
    EXPECT_TRUE(table.MoveDown(DeliveryMethod::CtrlV, 0));
    EXPECT_EQ("B,A,Mid,End,", names(DeliveryMethod::CtrlV));
    EXPECT_FALSE(table.MoveDown(DeliveryMethod::CtrlV, 3));  // the last stays last
    EXPECT_FALSE(table.MoveDown(DeliveryMethod::User, 0));   // never into another list

    EXPECT_TRUE(table.Replace(DeliveryMethod::CtrlV, 1, Rule("A2", 9)));
    EXPECT_EQ(9u, table.Find("A2").Rule.Param1);
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("A").Method);
    EXPECT_FALSE(table.Replace(DeliveryMethod::Paste, 0, Rule("X")));

    EXPECT_TRUE(table.Remove(DeliveryMethod::CtrlV, 0));
    EXPECT_FALSE(table.Remove(DeliveryMethod::CtrlV, 3));
    EXPECT_EQ("A2,Mid,End,", names(DeliveryMethod::CtrlV));
    EXPECT_EQ("U,", names(DeliveryMethod::User));
}

TEST(DestinationRuleTable, RuleKeyNames) {
    unsigned index = 77;
    EXPECT_TRUE(ParseRuleKeyIndex("0", &index));
    EXPECT_EQ(0u, index);
    EXPECT_TRUE(ParseRuleKeyIndex("12", &index));
    EXPECT_EQ(12u, index);
    EXPECT_TRUE(ParseRuleKeyIndex("999999", &index));
    EXPECT_EQ(kMaxRuleKeyIndex, index);
    index = 77;
    for (const char* name : {"", "01", "00", "-1", "+1", "1a", "first", " 1", "1000000", "4294967296"})
        EXPECT_FALSE(ParseRuleKeyIndex(name, &index)) << name;
    EXPECT_EQ(77u, index);
}

TEST(DestinationRuleTable, RenumberingPassesOverUnreadableKeys) {
    using V = std::vector<unsigned>;
    EXPECT_EQ((V{0, 1, 2}), RuleKeyIndices(3, {}));
    EXPECT_EQ((V{}), RuleKeyIndices(0, {4}));
    EXPECT_EQ((V{0, 2, 3}), RuleKeyIndices(3, {1}));
    EXPECT_EQ((V{2, 4, 5}), RuleKeyIndices(3, {3, 0, 1}));
    EXPECT_EQ((V{0, 1}), RuleKeyIndices(2, {7}));  // far beyond: the rules close up below it
}

TEST(DestinationRuleTable, RowsInLookupOrderWithUnreadableKeysInPlace) {
    DestinationRuleTable table;
    table.Add(DeliveryMethod::Keybd, Rule("K"));
    table.Add(DeliveryMethod::CtrlV, Rule("A"));
    table.Add(DeliveryMethod::CtrlV, Rule("B"));
    table.AddUnreadable(DeliveryMethod::CtrlV, 1);
    table.AddUnreadable(DeliveryMethod::CtrlV, 5);
    table.Add(DeliveryMethod::Paste, Rule("P"));
    std::string rows;
    for (const DestinationRuleTable::Row& row : table.Rows()) {
        rows += DeliveryMethodKeyName(row.Method);
        rows += row.Readable ? ":" + table.RuleAt(row.Method, row.Index).ClassName : "!" + std::to_string(row.Index);
        rows += " ";
    }
    EXPECT_EQ("Paste:P CtrlV:A CtrlV!1 CtrlV:B CtrlV!5 Keybd:K ", rows);
    // Unreadable keys are no rules: they match nothing.
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("").Method);
}
