// The web input setting file read from disk.
#include "webinput/WebInputFile.h"

#include <gtest/gtest.h>

#include "framework/WholeFile.h"

namespace {

std::string TempPath(const char* name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "jotwell-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

}  // namespace

TEST(WebInputFile, LoadReadsAFileAndAReloadReplacesTheModel) {
    const std::string path = TempPath("webinput.txt");
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxWriteFileSafely(path.c_str(), "[P]\r\na=1\r\n"));
    WebInputSettings s;
    EXPECT_TRUE(LoadWebInputFile(path, s));
    EXPECT_EQ(1u, s.Pages.size());
    EXPECT_FALSE(LoadWebInputFile(path + ".missing", s));
    EXPECT_TRUE(s.Pages.empty());
    EXPECT_TRUE(LoadWebInputFile(path, s));
    EXPECT_FALSE(LoadWebInputFile("", s));
    EXPECT_TRUE(s.Pages.empty());
    DeleteFileA(path.c_str());
}
