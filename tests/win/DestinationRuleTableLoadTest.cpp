#include "destination/DestinationRuleTable.h"

#include "framework/Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The real rule location, relative to HKEY_CURRENT_USER.
const char kDestWnd[] = "Software\\Velmora\\Jotwell\\DestWnd";

class DestinationRuleTableLoadTest : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kDestWnd); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kDestWnd); }

    static std::string Sub(const std::string& relative) {
        return relative.empty() ? std::string(kDestWnd) : std::string(kDestWnd) + "\\" + relative;
    }

    // Writes a registry layout directly, bypassing the code under test.
    static void CreateKey(const std::string& relative) {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, Sub(relative).c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr));
    }
    static void SetValue(const std::string& relative, const char* name, DWORD type, const void* data, DWORD size) {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, Sub(relative).c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size));
    }
    static void SetString(const std::string& relative, const char* name, const std::string& text, DWORD type = REG_SZ) {
        SetValue(relative, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    static void SetDword(const std::string& relative, const char* name, DWORD value) {
        SetValue(relative, name, REG_DWORD, &value, sizeof(value));
    }

    static bool KeyExists(const std::string& relative) {
        RegKey key;
        return RegOpenKeyExA(HKEY_CURRENT_USER, Sub(relative).c_str(), 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
    }
    // Subkey and value counts of a key; -1, -1 when it does not exist.
    static std::pair<int, int> Counts(const std::string& relative) {
        RegKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, Sub(relative).c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
            return {-1, -1};
        DWORD subkeys = 0;
        DWORD values = 0;
        RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        return {static_cast<int>(subkeys), static_cast<int>(values)};
    }
    static std::string ReadString(const std::string& relative, const char* name, DWORD* type) {
        RegKey key;
        char buffer[300] = {};
        DWORD size = sizeof(buffer);
        *type = 0;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, Sub(relative).c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS ||
            RegQueryValueExA(key.Get(), name, nullptr, type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
            return "<missing>";
        return buffer;
    }

    static DestinationRuleTable Loaded() {
        DestinationRuleTable table;
        table.Load();
        return table;
    }
};

void ExpectRule(const DestinationRuleTable& table, DeliveryMethod method, std::size_t index, const std::string& name,
                DWORD param1, DWORD param2) {
    ASSERT_LT(index, table.Count(method));
    const DestinationRule& rule = table.RuleAt(method, index);
    EXPECT_EQ(name, rule.ClassName);
    EXPECT_EQ(param1, rule.Param1);
    EXPECT_EQ(param2, rule.Param2);
}

}  // namespace

TEST_F(DestinationRuleTableLoadTest, FirstStartWritesTheDefaults) {
    const DestinationRuleTable table = Loaded();

    DWORD type = 0;
    EXPECT_EQ("Edit", ReadString("Paste\\0", "ClassName", &type));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::make_pair(0, 1), Counts("Paste\\0"));  // no Param1 written
    EXPECT_EQ("Internet Explorer_Server", ReadString("CtrlV\\0", "ClassName", &type));
    EXPECT_EQ(std::make_pair(0, 2), Counts("CtrlV\\0"));
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, Sub("CtrlV\\0").c_str(), 0, KEY_READ, key.Receive()));
    DWORD param1 = 0;
    DWORD size = sizeof(param1);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key.Get(), "Param1", nullptr, &type, reinterpret_cast<BYTE*>(&param1), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(26u, param1);
    EXPECT_EQ(std::make_pair(4, 0), Counts(""));
    EXPECT_EQ(std::make_pair(0, 0), Counts("User"));
    EXPECT_EQ(std::make_pair(0, 0), Counts("Keybd"));

    ASSERT_EQ(1u, table.Count(DeliveryMethod::Paste));
    ExpectRule(table, DeliveryMethod::Paste, 0, "Edit", 0, 0);
    ASSERT_EQ(1u, table.Count(DeliveryMethod::CtrlV));
    ExpectRule(table, DeliveryMethod::CtrlV, 0, "Internet Explorer_Server", 26, 0);
    EXPECT_EQ(0u, table.Count(DeliveryMethod::User));
    EXPECT_EQ(0u, table.Count(DeliveryMethod::Keybd));

    // The next start reads the same two rules and writes nothing more.
    const DestinationRuleTable again = Loaded();
    EXPECT_EQ(1u, again.Count(DeliveryMethod::Paste));
    EXPECT_EQ(1u, again.Count(DeliveryMethod::CtrlV));
    EXPECT_EQ(std::make_pair(0, 1), Counts("Paste\\0"));
}

TEST_F(DestinationRuleTableLoadTest, DefaultsReturnOnlyWhenDestWndHasNoSubkeys) {
    CreateKey("User");
    const DestinationRuleTable table = Loaded();
    for (DeliveryMethod method :
         {DeliveryMethod::Paste, DeliveryMethod::CtrlV, DeliveryMethod::User, DeliveryMethod::Keybd})
        EXPECT_EQ(0u, table.Count(method)) << DeliveryMethodKeyName(method);
    EXPECT_FALSE(KeyExists("Paste\\0"));
    EXPECT_EQ(std::make_pair(0, 0), Counts("Paste"));  // created by counting, but empty
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("Edit").Method);

    // An empty DestWnd (every subkey deleted) brings them back.
    RegDeleteTreeA(HKEY_CURRENT_USER, kDestWnd);
    CreateKey("");
    EXPECT_EQ(1u, Loaded().Count(DeliveryMethod::Paste));
}

TEST_F(DestinationRuleTableLoadTest, EveryIndexKeyLoadsInOrderGapsAndAll) {
    SetString("Paste\\10", "ClassName", "Ten");
    SetString("Paste\\0", "ClassName", "Zero");
    SetString("Paste\\2", "ClassName", "Two");
    const DestinationRuleTable table = Loaded();
    ASSERT_EQ(3u, table.Count(DeliveryMethod::Paste));
    ExpectRule(table, DeliveryMethod::Paste, 0, "Zero", 0, 0);
    ExpectRule(table, DeliveryMethod::Paste, 1, "Two", 0, 0);
    ExpectRule(table, DeliveryMethod::Paste, 2, "Ten", 0, 0);
    EXPECT_FALSE(KeyExists("Paste\\1"));  // reading creates no key in a gap
}

TEST_F(DestinationRuleTableLoadTest, KeysNotNamedByAnIndexAreNoRules) {
    SetString("User\\first", "ClassName", "Named");
    SetString("User\\01", "ClassName", "Leading");
    SetString("User\\0", "ClassName", "Zero");
    const DestinationRuleTable table = Loaded();
    ASSERT_EQ(1u, table.Count(DeliveryMethod::User));
    ExpectRule(table, DeliveryMethod::User, 0, "Zero", 0, 0);
    EXPECT_FALSE(KeyExists("User\\1"));
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("Named").Method);
    EXPECT_TRUE(table.Unreadable(DeliveryMethod::User).empty());
}

TEST_F(DestinationRuleTableLoadTest, UnreadableClassNameSkipsOnlyThatRule) {
    SetString("CtrlV\\0", "ClassName", std::string(260, 'L'));  // 261 bytes
    SetString("CtrlV\\1", "ClassName", "Expand", REG_EXPAND_SZ);
    SetValue("CtrlV\\2", "ClassName", REG_BINARY, "Binary", 7);
    SetDword("CtrlV\\3", "Param1", 5);  // no ClassName at all
    SetString("CtrlV\\4", "ClassName", std::string(259, 'M'));  // 260 bytes: fits
    SetDword("CtrlV\\4", "Param1", 8);
    SetString("CtrlV\\5", "ClassName", "After");
    const DestinationRuleTable table = Loaded();
    ASSERT_EQ(2u, table.Count(DeliveryMethod::CtrlV));
    ExpectRule(table, DeliveryMethod::CtrlV, 0, std::string(259, 'M'), 8, 0);
    ExpectRule(table, DeliveryMethod::CtrlV, 1, "After", 0, 0);
    EXPECT_EQ((std::vector<unsigned>{0, 1, 2, 3}), table.Unreadable(DeliveryMethod::CtrlV));
}

TEST_F(DestinationRuleTableLoadTest, ParametersOfAnotherTypeReadAsZero) {
    SetString("User\\0", "ClassName", "");
    SetString("User\\1", "ClassName", "Target");
    SetString("User\\1", "Param1", "3");
    SetDword("User\\1", "Param2", 9);
    SetString("User\\2", "ClassName", "Second");
    SetDword("User\\2", "Param1", 3);
    const unsigned char wide[8] = {9};
    SetValue("User\\2", "Param2", REG_BINARY, wide, sizeof(wide));
    const DestinationRuleTable table = Loaded();
    ASSERT_EQ(3u, table.Count(DeliveryMethod::User));
    ExpectRule(table, DeliveryMethod::User, 0, "", 0, 0);  // loads, and names no real class
    ExpectRule(table, DeliveryMethod::User, 1, "Target", 0, 9);
    ExpectRule(table, DeliveryMethod::User, 2, "Second", 3, 0);
}

TEST_F(DestinationRuleTableLoadTest, LookupOverALoadedLayout) {
    SetString("Paste\\0", "ClassName", "Edit");
    SetString("CtrlV\\0", "ClassName", "Edit");
    SetDword("CtrlV\\0", "Param1", 1);
    SetString("CtrlV\\1", "ClassName", "Pane");
    SetDword("CtrlV\\1", "Param1", 5);
    SetString("CtrlV\\2", "ClassName", "Pane");
    SetDword("CtrlV\\2", "Param1", 7);
    SetString("User\\0", "ClassName", "Custom");
    SetDword("User\\0", "Param1", 3);
    SetDword("User\\0", "Param2", 9);
    SetString("Keybd\\0", "ClassName", "Typed");
    const DestinationRuleTable table = Loaded();

    EXPECT_EQ(DeliveryMethod::Paste, table.Find("Edit").Method);
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("edit").Method);
    const DestinationMatch pane = table.Find("Pane");
    EXPECT_EQ(DeliveryMethod::CtrlV, pane.Method);
    EXPECT_EQ(5u, pane.Rule.Param1);
    const DestinationMatch custom = table.Find("Custom");
    EXPECT_EQ(DeliveryMethod::User, custom.Method);
    EXPECT_EQ(3u, custom.Rule.Param1);
    EXPECT_EQ(9u, custom.Rule.Param2);
    EXPECT_EQ(1u, table.Count(DeliveryMethod::Keybd));
    EXPECT_EQ(DeliveryMethod::Keybd, table.Find("Typed").Method);
}

TEST_F(DestinationRuleTableLoadTest, SaveRenumbersAndTheNextLoadReadsTheSameTable) {
    // Hand-written: gaps, a value of the wrong type, an unreadable rule, a key with another name.
    SetString("CtrlV\\0", "ClassName", "Internet Explorer_Server");
    SetDword("CtrlV\\0", "Param1", 26);
    SetString("CtrlV\\3", "ClassName", "Pane");
    SetString("CtrlV\\3", "Param1", "7");
    SetString("CtrlV\\5", "ClassName", "Expand", REG_EXPAND_SZ);
    SetString("CtrlV\\notes", "ClassName", "Kept");
    CreateKey("CtrlV\\4");  // an empty gap
    SetString("Paste\\7", "ClassName", "Edit");
    DestinationRuleTable table = Loaded();
    ASSERT_EQ(2u, table.Count(DeliveryMethod::CtrlV));
    EXPECT_EQ(std::vector<unsigned>{5}, table.Unreadable(DeliveryMethod::CtrlV));

    DestinationRule putty;
    putty.ClassName = "PuTTY";
    putty.Param1 = kShiftInsertKey;
    ASSERT_TRUE(table.Insert(DeliveryMethod::Keybd, 0, putty));
    DestinationRule added;
    added.ClassName = "Added";
    added.Param1 = 3;
    added.Param2 = 9;
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(table.Insert(DeliveryMethod::CtrlV, 2, added));
    ASSERT_TRUE(table.MoveUp(DeliveryMethod::CtrlV, 1));  // Pane first
    ASSERT_TRUE(table.Save());

    // Pane 0, Internet Explorer_Server 1, Added 2, 3, 4, the unreadable rule kept at 5, Added 6.
    DWORD type = 0;
    EXPECT_EQ("Pane", ReadString("CtrlV\\0", "ClassName", &type));
    EXPECT_EQ("Internet Explorer_Server", ReadString("CtrlV\\1", "ClassName", &type));
    EXPECT_EQ("Expand", ReadString("CtrlV\\5", "ClassName", &type));
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), type);
    EXPECT_EQ("Added", ReadString("CtrlV\\6", "ClassName", &type));
    EXPECT_EQ("Kept", ReadString("CtrlV\\notes", "ClassName", &type));
    EXPECT_EQ(std::make_pair(8, 0), Counts("CtrlV"));
    EXPECT_EQ("Edit", ReadString("Paste\\0", "ClassName", &type));
    EXPECT_FALSE(KeyExists("Paste\\7"));
    EXPECT_EQ(std::make_pair(0, 3), Counts("Keybd\\0"));

    const DestinationRuleTable again = Loaded();
    ASSERT_EQ(6u, again.Count(DeliveryMethod::CtrlV));
    ExpectRule(again, DeliveryMethod::CtrlV, 0, "Pane", 0, 0);  // the string Param1 became 0
    ExpectRule(again, DeliveryMethod::CtrlV, 1, "Internet Explorer_Server", 26, 0);
    ExpectRule(again, DeliveryMethod::CtrlV, 5, "Added", 3, 9);
    EXPECT_EQ(std::vector<unsigned>{5}, again.Unreadable(DeliveryMethod::CtrlV));
    ExpectRule(again, DeliveryMethod::Keybd, 0, "PuTTY", kShiftInsertKey, 0);
    EXPECT_EQ(kShiftInsertKey, KeybdKey(again.Find("PuTTY").Rule.Param1));
    ExpectRule(again, DeliveryMethod::Paste, 0, "Edit", 0, 0);
}

TEST_F(DestinationRuleTableLoadTest, SavingAnEmptyTableBringsNoDefaultsBack) {
    DestinationRuleTable table = Loaded();
    ASSERT_TRUE(table.Remove(DeliveryMethod::Paste, 0));
    ASSERT_TRUE(table.Remove(DeliveryMethod::CtrlV, 0));
    ASSERT_TRUE(table.Save());
    const DestinationRuleTable again = Loaded();
    for (DeliveryMethod method :
         {DeliveryMethod::Paste, DeliveryMethod::CtrlV, DeliveryMethod::User, DeliveryMethod::Keybd})
        EXPECT_EQ(0u, again.Count(method)) << DeliveryMethodKeyName(method);
    EXPECT_EQ(std::make_pair(4, 0), Counts(""));
}
