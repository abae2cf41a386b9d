#include "settings/RegPath.h"

#include "framework/Handles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kTestKey[] = "Software\\JotwellTests\\RegPath";
const char kTestPath[] = "HKEY_CURRENT_USER\\Software\\JotwellTests\\RegPath";

class RegPathTest : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\JotwellTests"); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\JotwellTests"); }

    static bool KeyExists(const std::string& subkey) {
        RegKey key;
        return RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
    }

    // Stores a value directly, bypassing the code under test.
    static void Store(const char* name, DWORD type, const void* data, DWORD size) {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 key.Receive(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size));
    }

    static void StoreString(const char* name, const std::string& text, DWORD type = REG_SZ) {
        Store(name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
};

}  // namespace

TEST_F(RegPathTest, OpenCreatesThenOpensAndReportsHow) {
    DWORD disposition = 99;
    HKEY key = RegPathOpen(kTestPath, &disposition);
    ASSERT_NE(nullptr, key);
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
    EXPECT_TRUE(RegPathClose(key));
    EXPECT_TRUE(KeyExists(kTestKey));

    key = RegPathOpen(kTestPath, &disposition);
    ASSERT_NE(nullptr, key);
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
    EXPECT_TRUE(RegPathClose(key));
    EXPECT_TRUE(RegPathClose(nullptr));
}

TEST_F(RegPathTest, RootNameMustBeExactAndEndWithin31Characters) {
    const char* const bad[] = {
        "hkey_current_user\\Software\\JotwellTests\\RegPath",  // wrong case
        "Hkey_Current_User\\Software\\JotwellTests\\RegPath",
        "HKCU\\Software\\JotwellTests\\RegPath",  // abbreviated
        "HKEY_CURRENT_USER",                     // no backslash at all
        "HKEY_CURRENT_USER_\\Software\\JotwellTests\\RegPath",
        "\\Software\\JotwellTests\\RegPath",
        "",
        // The first backslash is the 32nd character.
        "HKEY_CURRENT_USERxxxxxxxxxxxxxx\\Software\\JotwellTests\\RegPath",
    };
    for (const char* path : bad) {
        DWORD disposition = 99;
        EXPECT_EQ(nullptr, RegPathOpen(path, &disposition)) << path;
        EXPECT_EQ(0u, disposition) << path;
        EXPECT_EQ(7u, RegPathReadDword(path, "V", 7)) << path;
        EXPECT_FALSE(RegPathWriteDword(path, "V", 1)) << path;
    }
    EXPECT_EQ(nullptr, RegPathOpen(nullptr));
    EXPECT_FALSE(KeyExists(kTestKey));
}

TEST_F(RegPathTest, SubkeyPathMayBeLongerThanTheRootLimit) {
    const std::string path = std::string(kTestPath) + "\\" + std::string(100, 'k') + "\\deeper";
    EXPECT_TRUE(RegPathWriteDword(path.c_str(), "V", 42));
    EXPECT_EQ(42u, RegPathReadDword(path.c_str(), "V", 0));
    EXPECT_TRUE(KeyExists(std::string(kTestKey) + "\\" + std::string(100, 'k') + "\\deeper"));
}

TEST_F(RegPathTest, ReadDwordGivesDefaultForOtherTypes) {
    EXPECT_TRUE(RegPathWriteDword(kTestPath, "Number", 0xDEADBEEF));
    EXPECT_EQ(0xDEADBEEFu, RegPathReadDword(kTestPath, "Number", 1));
    EXPECT_EQ(1u, RegPathReadDword(kTestPath, "Missing", 1));

    StoreString("Text", "5");
    EXPECT_EQ(1u, RegPathReadDword(kTestPath, "Text", 1));
    const unsigned char eight[8] = {5, 0, 0, 0, 0, 0, 0, 0};
    Store("Wide", REG_BINARY, eight, sizeof(eight));
    EXPECT_EQ(1u, RegPathReadDword(kTestPath, "Wide", 1));
    const unsigned char four[4] = {5, 0, 0, 0};
    Store("Binary4", REG_BINARY, four, sizeof(four));
    EXPECT_EQ(1u, RegPathReadDword(kTestPath, "Binary4", 1));
}

TEST_F(RegPathTest, ReadStringFitsOnlyWithItsTerminatingZero) {
    char buffer[260] = {};
    StoreString("Fits", std::string(259, 'x'));
    EXPECT_TRUE(RegPathReadString(kTestPath, "Fits", "default", buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(259, 'x'), buffer);

    StoreString("TooLong", std::string(260, 'y'));
    EXPECT_FALSE(RegPathReadString(kTestPath, "TooLong", "default", buffer, sizeof(buffer)));
    EXPECT_STREQ("default", buffer);

    StoreString("Long", std::string(299, 'z'));  // 300 bytes
    EXPECT_FALSE(RegPathReadString(kTestPath, "Long", "default", buffer, sizeof(buffer)));
    EXPECT_STREQ("default", buffer);
}

TEST_F(RegPathTest, ReadStringAcceptsOnlyRegSz) {
    char buffer[64] = {};
    StoreString("Expand", "%TEMP%", REG_EXPAND_SZ);
    EXPECT_FALSE(RegPathReadString(kTestPath, "Expand", "d", buffer, sizeof(buffer)));
    EXPECT_STREQ("d", buffer);
    const char multi[] = "a\0b\0";
    Store("Multi", REG_MULTI_SZ, multi, sizeof(multi));
    EXPECT_FALSE(RegPathReadString(kTestPath, "Multi", "d", buffer, sizeof(buffer)));
    Store("Binary", REG_BINARY, "Edit", 5);
    EXPECT_FALSE(RegPathReadString(kTestPath, "Binary", "d", buffer, sizeof(buffer)));
    EXPECT_STREQ("d", buffer);
    RegPathWriteDword(kTestPath, "Number", 5);
    EXPECT_FALSE(RegPathReadString(kTestPath, "Number", "d", buffer, sizeof(buffer)));
    EXPECT_STREQ("d", buffer);
}

TEST_F(RegPathTest, DefaultIsCutToTheBuffer) {
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_FALSE(RegPathReadString(kTestPath, "Missing", "0123456789", buffer, sizeof(buffer)));
    EXPECT_STREQ("0123456", buffer);

    char one[1] = {'#'};
    EXPECT_FALSE(RegPathReadString(kTestPath, "Missing", "abc", one, sizeof(one)));
    EXPECT_EQ('\0', one[0]);
    EXPECT_FALSE(RegPathReadString(kTestPath, "Missing", "abc", one, 0));
}

TEST_F(RegPathTest, StringWithoutTerminatingZeroIsTerminated) {
    Store("Raw", REG_SZ, "abc", 3);
    char buffer[16];
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_TRUE(RegPathReadString(kTestPath, "Raw", "d", buffer, sizeof(buffer)));
    EXPECT_STREQ("abc", buffer);
}

TEST_F(RegPathTest, EmptyStringIsStoredAsOneByte) {
    ASSERT_TRUE(RegPathWriteString(kTestPath, "Empty", ""));
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, key.Receive()));
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key.Get(), "Empty", nullptr, &type, nullptr, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(1u, size);

    char buffer[16] = "#";
    EXPECT_TRUE(RegPathReadString(kTestPath, "Empty", "default", buffer, sizeof(buffer)));
    EXPECT_STREQ("", buffer);
}

TEST_F(RegPathTest, WriteStringRoundTripsEightBitText) {
    const std::string text = "Internet Explorer_Server \x95\x5C";
    ASSERT_TRUE(RegPathWriteString(kTestPath, "Name", text.c_str()));
    char buffer[64] = {};
    EXPECT_TRUE(RegPathReadString(kTestPath, "Name", "", buffer, sizeof(buffer)));
    EXPECT_EQ(text, buffer);
}

TEST_F(RegPathTest, CountSubkeysCreatesAMissingKey) {
    EXPECT_EQ(0u, RegPathCountSubkeys(kTestPath));
    EXPECT_TRUE(KeyExists(kTestKey));

    const std::string base = kTestPath;
    RegPathWriteDword((base + "\\0").c_str(), "V", 1);
    RegPathWriteDword((base + "\\name").c_str(), "V", 1);
    RegPathWriteDword((base + "\\2\\nested").c_str(), "V", 1);
    EXPECT_EQ(3u, RegPathCountSubkeys(kTestPath));  // direct subkeys only
    EXPECT_EQ(0u, RegPathCountSubkeys("HKCU\\Software"));
}
