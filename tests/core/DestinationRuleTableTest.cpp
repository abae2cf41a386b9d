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
