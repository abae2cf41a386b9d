// The web input setting file read from disk.
#include "webinput/WebInputFile.h"

#include <gtest/gtest.h>

#include "framework/WholeFile.h"

namespace {

std::wstring TempPath(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"jotwell-\u0141\u00f3d\u017a-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
}

}  // namespace

TEST(WebInputFile, LoadReadsAFileAndAReloadReplacesTheModel) {
    const std::wstring path = TempPath(L"webinput.txt");
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxWriteFileSafely(path.c_str(), "[P]\r\na=1\r\n"));
    WebInputSettings s;
    EXPECT_TRUE(LoadWebInputFile(path, s));
    EXPECT_EQ(1u, s.Pages.size());
    EXPECT_FALSE(LoadWebInputFile(path + L".missing", s));
    EXPECT_TRUE(s.Pages.empty());
    EXPECT_TRUE(LoadWebInputFile(path, s));
    EXPECT_FALSE(LoadWebInputFile(L"", s));
    EXPECT_TRUE(s.Pages.empty());
    DeleteFileW(path.c_str());
}

TEST(WebInputFile, TheFileKeepsItsEncoding) {
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        std::string title;
    };
    const Case cases[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF[Caf\xC3\xA9]\r\na=1\r\n", TextEncoding::Utf8, "Caf\xC3\xA9"},
        {"UTF-8 without mark", "[\xE6\x97\xA5\xE6\x9C\xAC]\na=\xF0\x9F\x98\x80\n", TextEncoding::Utf8, "\xE6\x97\xA5\xE6\x9C\xAC"},
        {"mark before ASCII", "\xEF\xBB\xBF[P]\na=1\n", TextEncoding::Utf8, "P"},
        {"ANSI", "[Caf\x82\xA0]\na=1\n", TextEncoding::Ansi, "Caf\x82\xA0"},
        {"ASCII", "[P]\na=1\n", TextEncoding::Ansi, "P"},
        {"UTF-16 LE, held as UTF-8", std::string("\xFF\xFE[\0\xE9\0]\0\n\0a\0=\0" "1\0\n\0", 18), TextEncoding::Utf8, "\xC3\xA9"},
    };
    const std::wstring path = TempPath(L"webinput-encoding.txt");
    for (const Case& c : cases) {
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxWriteFileSafely(path.c_str(), c.bytes));
        WebInputSettings s;
        EXPECT_TRUE(LoadWebInputFile(path, s)) << c.name;
        EXPECT_EQ(c.encoding, s.Encoding) << c.name;
        ASSERT_EQ(1u, s.Pages.size()) << c.name;
        EXPECT_EQ(c.title, s.Pages[0].TitlePrefix) << c.name;
    }
    DeleteFileW(path.c_str());
}
