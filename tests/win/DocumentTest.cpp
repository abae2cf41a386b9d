// The entry document and the framework's file handling, against real files and the real
// registry of the test's Wine prefix.
#include "document/JotwellDoc.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <sstream>

#include <gtest/gtest.h>

#include "settings/ProfileAccess.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "framework/WinApp.h"
#include "text/CodePageText.h"

// A fake allocator for the whole test program: once armed, it fails the given allocation
// (counted from the arming) with std::bad_alloc, as a machine out of memory would. Its
// blocks come from malloc, which the library's own operator delete frees.
namespace {
std::atomic<int> g_allocationsUntilFailure{0};  // 0: never fails
}  // namespace

void* operator new(size_t size) {
    if (g_allocationsUntilFailure.load() > 0 && --g_allocationsUntilFailure == 0) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

namespace {

std::vector<CString> g_messages;

int RecordMessageBox(const CString& text, UINT) {
    g_messages.push_back(text);
    return IDOK;
}

class TestApp : public CWinApp {
public:
    TestApp() {
        m_pszAppName = "Jotwell";
        m_pszProfileName = "Jotwell";
        SetRegistryKey("Velmora");
    }
};

std::string ReadFile(const std::wstring& path) {
    std::string bytes;
    AfxReadWholeFile(path.c_str(), bytes);
    return bytes;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    UniqueHandle out(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(out.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

class DocumentTest : public testing::Test {
protected:
    void SetUp() override {
        // Every file of these tests is in a folder whose name no single code page spells.
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_dir = std::wstring(temp) + L"jotwell \u0141\u00f3d\u017a \u6771\u4eac " + std::to_wstring(GetCurrentProcessId()) +
                L"-" + ToWide(testing::UnitTest::GetInstance()->current_test_info()->name(), CP_ACP);
        CreateDirectoryW(m_dir.c_str(), nullptr);
        g_messages.clear();
        AfxSetMessageBoxHook(&RecordMessageBox);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Velmora\\Jotwell\\Pos");
    }
    void TearDown() override {
        AfxSetMessageBoxHook(nullptr);
        AfxSetFileSystem(nullptr);
        WIN32_FIND_DATAW found = {};
        HANDLE find = FindFirstFileW((m_dir + L"\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileW((m_dir + L"\\" + found.cFileName).c_str());
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        RemoveDirectoryW(m_dir.c_str());
    }
    std::wstring Path(const char* name) const { return m_dir + L"\\" + ToWide(name, CP_ACP); }
    int CountFiles() const {
        int n = 0;
        WIN32_FIND_DATAW found = {};
        HANDLE find = FindFirstFileW((m_dir + L"\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return 0;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
        } while (FindNextFileW(find, &found));
        FindClose(find);
        return n;
    }

    TestApp m_app;
    std::wstring m_dir;
};

std::vector<std::pair<CString, CString>> EntriesOf(const CJotwellDoc& doc) {
    std::vector<std::pair<CString, CString>> out;
    for (int i = 0; i < doc.GetEntryCount(); ++i) out.emplace_back(doc.Entries().Text(i), doc.Entries().Explanation(i));
    return out;
}

}  // namespace

TEST_F(DocumentTest, ColumnWidthsOutsideTheirRangeFallBack) {
    struct Case { int stored; int separate; int endPart; };
    const Case cases[] = {{0, 64, 24}, {1201, 64, 24}, {-5, 64, 24}, {1, 1, 1}, {1200, 1200, 1200}};
    for (const Case& c : cases) {
        m_app.WriteProfileInt("Pos", "Separate", c.stored);
        m_app.WriteProfileInt("Pos", "EndPart", c.stored);
        EXPECT_EQ(c.separate, ReadSetting(Profile::kTextColumnWidth)) << c.stored;
        EXPECT_EQ(c.endPart, ReadSetting(Profile::kExplanationColumnWidth)) << c.stored;
    }
}

TEST_F(DocumentTest, NewDocumentHoldsOnlyThePlaceholder) {
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    ASSERT_EQ(1, doc.GetEntryCount());
    EXPECT_TRUE(doc.Entries().Text(0).empty());
    EXPECT_TRUE(doc.Entries().Explanation(0).empty());
}

TEST_F(DocumentTest, OpenAndSaveKeepEveryEntry) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "Hello\\tWorld\nC:\\\\temp\r\n\r\n");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    const std::vector<std::pair<CString, CString>> expected = {
        {"Hello", "World"}, {"C:\\temp", ""}, {"", ""}, {"", ""}};
    EXPECT_EQ(expected, EntriesOf(doc));

    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
    // The empty last entry keeps its line end, so it survives the next load.
    EXPECT_EQ("Hello\\tWorld\r\nC:\\\\temp\r\n\r\n", ReadFile(path));
    CJotwellDoc again;
    ASSERT_TRUE(again.OnOpenDocument(path.c_str()));
    EXPECT_EQ(expected, EntriesOf(again));
    EXPECT_EQ(1, CountFiles()) << "no temporary file is left behind";
}

TEST_F(DocumentTest, OpenAndSaveOfAnUnchangedFileWritesItsBytesInItsEncoding) {
    struct Case {
        const char* name;
        std::string bytes;
        FileEncoding encoding;
        CString firstText;
    };
    // "café – 日本 😀", a backslash pair and "Ωμέγα" as a note; the same in Shift-JIS bytes.
    const std::string utf8 = "caf\xC3\xA9 \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\r\n"
                             "C:\\\\temp\\t\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1\r\n\r\n";
    const Case cases[] = {
        {"UTF-8 without mark", utf8, {TextEncoding::Utf8, false}, "caf\xC3\xA9 \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8, {TextEncoding::Utf8, true}, "caf\xC3\xA9 \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"},
        {"mark alone", "\xEF\xBB\xBF", {TextEncoding::Utf8, true}, ""},
        {"ANSI", "\x93\xfa\x96\x7b\\t\x83\x5c\r\nplain", {TextEncoding::Ansi, false}, "\x93\xfa\x96\x7b"},
    };
    for (const Case& c : cases) {
        const std::wstring path = Path("list.txt");
        WriteFile(path, c.bytes);
        CJotwellDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(path.c_str())) << c.name;
        EXPECT_EQ(c.encoding, doc.Encoding()) << c.name;
        EXPECT_EQ(c.firstText, doc.Entries().Text(0)) << c.name;
        WriteFile(path, "something else");
        ASSERT_TRUE(doc.OnSaveDocument(path.c_str())) << c.name;
        EXPECT_EQ(c.bytes, ReadFile(path)) << c.name;
    }
}

// UTF-16 as Notepad's "Unicode" and "Unicode big endian" write it: the entries are every
// character (held as UTF-8), an unchanged file saves to its own bytes, an edit stays UTF-16.
TEST_F(DocumentTest, Utf16FilesReadEveryCharacterAndSaveInTheirOwnForm) {
    // "Grüße 日本 😀" with a note "Ωμέγα", then "C:\\temp" and an empty line.
    const std::wstring text = L"Gr\u00fc\u00dfe \u65e5\u672c \xd83d\xde00\\t\u03a9\u03bc\u03ad\u03b3\u03b1\r\nC:\\\\temp\r\n\r\n";
    const CString firstText = "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const wchar_t c : text) {
            const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        const std::wstring path = Path("list.txt");
        WriteFile(path, bytes);
        CJotwellDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
        ASSERT_EQ(4, doc.GetEntryCount());
        EXPECT_EQ(firstText, doc.Entries().Text(0));
        EXPECT_EQ("\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1", doc.Entries().Explanation(0));
        EXPECT_EQ("C:\\temp", doc.Entries().Text(1));
        WriteFile(path, "something else");
        ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
        EXPECT_EQ(bytes, ReadFile(path)) << "an unchanged file saves byte for byte";

        doc.SetPathName(path.c_str(), FALSE);
        ASSERT_TRUE(doc.SetEntryText(2, "\xE6\x9D\xB1\xE4\xBA\xAC", doc.EditGeneration()));  // 東京, saved at once
        const std::string east = bigEndian ? std::string("\x67\x71\x4E\xAC", 4) : std::string("\x71\x67\xAC\x4E", 4);
        const std::string saved = ReadFile(path);
        EXPECT_EQ(bytes.substr(0, bytes.size() - 4) + east, saved) << "the edit is written as UTF-16";
    }
}

// A file in no encoding the program knows opens read-only, with a message, and no save
// rewrites it: UTF-16 without its mark, a cut-off UTF-16 file, NUL bytes in 8-bit text.
TEST_F(DocumentTest, FileOfNoKnownEncodingOpensReadOnlyAndIsNeverSaved) {
    const std::string cases[] = {
        std::string("o\0n\0e\0\r\0\n\0t\0w\0o\0", 16),
        std::string("\xFF\xFEo\0n\0e", 7),
        std::string("\xFE\xFF\xDC\x00\0a", 6),  // a low surrogate alone
        std::string("one\r\ntwo\0three", 14),
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        g_messages.clear();
        const std::wstring path = Path("list.txt");
        WriteFile(path, bytes);
        CJotwellDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
        doc.SetPathName(path.c_str(), FALSE);
        EXPECT_EQ(1u, g_messages.size()) << "the open says the list is read-only";
        EXPECT_FALSE(doc.SetEntryText(0, "changed", doc.EditGeneration()));
        doc.SetModifiedFlag(TRUE);
        EXPECT_FALSE(doc.OnSaveDocument(path.c_str()));
        EXPECT_FALSE(doc.DoFileSave());
        EXPECT_EQ(bytes, ReadFile(path));
        EXPECT_EQ(1, CountFiles());
    }
}

TEST_F(DocumentTest, NewDocumentIsAnsiAndRefreshDecidesTheEncodingAgain) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "\xEF\xBB\xBFone");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    doc.SetPathName(path.c_str(), FALSE);
    EXPECT_EQ((FileEncoding{TextEncoding::Utf8, true}), doc.Encoding());

    WriteFile(path, "\xE6\x97\xA5");
    doc.OnRefresh();
    EXPECT_EQ((FileEncoding{TextEncoding::Utf8, false}), doc.Encoding());
    WriteFile(path, "plain");
    doc.OnRefresh();
    EXPECT_EQ(FileEncoding(), doc.Encoding());

    WriteFile(path, "\xEF\xBB\xBFone");
    doc.OnRefresh();
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(FileEncoding(), doc.Encoding());
}

TEST_F(DocumentTest, EmptyFileGivesThePlaceholderAndStoresAsEmpty) {
    const std::wstring path = Path("empty.txt");
    WriteFile(path, "");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    EXPECT_EQ(1, doc.GetEntryCount());
    WriteFile(path, "junk");
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
    EXPECT_EQ("", ReadFile(path));
}

TEST_F(DocumentTest, FailedOpenKeepsTheEntriesAndReportsThePath) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "one\r\ntwo");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    const auto before = EntriesOf(doc);

    const std::wstring missing = Path("gone.txt");
    EXPECT_FALSE(doc.OnOpenDocument(missing.c_str()));
    EXPECT_EQ(before, EntriesOf(doc));
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ(FromWide(missing, CP_UTF8) + " was not found.", g_messages[0]) << "the path as named, in any language";
}

TEST_F(DocumentTest, LoadThatRunsOutOfMemoryKeepsTheEntriesTheFileAndTheModifiedFlag) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "one\\tfirst\r\ntwo");
    std::string big;
    for (int i = 0; i < 200; ++i)
        big += "entry number " + std::to_string(i) + " of a long list\\texplained at some length\r\n";
    const std::wstring bigPath = Path("big.txt");
    WriteFile(bigPath, big);
    for (const BOOL modified : {FALSE, TRUE}) {
        g_messages.clear();
        CJotwellDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
        doc.SetPathName(path.c_str(), FALSE);
        doc.SetModifiedFlag(modified);
        const auto before = EntriesOf(doc);
        const std::wstring pathBefore = doc.GetPathName();
        const std::wstring titleBefore = doc.GetTitle();

        // The file is read whole first; the failure comes while its entries are built.
        g_allocationsUntilFailure = 50;
        EXPECT_FALSE(doc.OnOpenDocument(bigPath.c_str()));
        EXPECT_EQ(0, g_allocationsUntilFailure.load()) << "the failure was not reached";
        g_allocationsUntilFailure = 0;
        EXPECT_EQ(before, EntriesOf(doc));
        EXPECT_EQ(modified, doc.IsModified());
        EXPECT_EQ(pathBefore, doc.GetPathName());
        EXPECT_EQ(titleBefore, doc.GetTitle());
        ASSERT_EQ(1u, g_messages.size());
        EXPECT_EQ("Failed to open document.", g_messages[0]);
    }
    EXPECT_EQ("one\\tfirst\r\ntwo", ReadFile(path));
}

TEST_F(DocumentTest, RefreshRereadsTheFileAndKeepsEntriesWhenItIsGone) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "one");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    doc.SetPathName(path.c_str(), FALSE);

    WriteFile(path, "one\r\ntwo\\tnote");
    doc.OnRefresh();
    const std::vector<std::pair<CString, CString>> refreshed = {{"one", ""}, {"two", "note"}, {"", ""}};
    EXPECT_EQ(refreshed, EntriesOf(doc));

    DeleteFileW(path.c_str());
    doc.OnRefresh();
    EXPECT_EQ(refreshed, EntriesOf(doc));
    EXPECT_EQ(1u, g_messages.size());
}

TEST_F(DocumentTest, RefreshOfAnUntitledDocumentReportsTheOpenFailure) {
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.OnRefresh();
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ("Failed to open document.", g_messages[0]);
    EXPECT_EQ(1, doc.GetEntryCount());
}

TEST_F(DocumentTest, SaveThatCannotReplaceTheFileLeavesItIntact) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "old contents");
    {
        // Another program holds the file open without sharing: the new contents are
        // written, but the old file cannot be replaced.
        UniqueHandle holder(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), AfxWriteFileSafely(path.c_str(), "new contents"));
    }
    EXPECT_EQ("old contents", ReadFile(path));
    EXPECT_EQ(1, CountFiles()) << "the temporary file is removed";

    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxWriteFileSafely(path.c_str(), "new contents"));
    EXPECT_EQ("new contents", ReadFile(path));
}

TEST_F(DocumentTest, SaveKeepsTheFilesAttributes) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "old contents");
    const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxWriteFileSafely(path.c_str(), "new contents"));
    EXPECT_EQ("new contents", ReadFile(path));
    EXPECT_EQ(attributes, GetFileAttributesW(path.c_str()));
    EXPECT_EQ(1, CountFiles());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The kill check: a program saving one of two contents over and over is killed twelve times
// at some moment of a save; each time the file holds the one or the other, whole.
constexpr wchar_t kSaveLoopVariable[] = L"JOTWELL_SAVE_LOOP";

// Two sizes, so that a writer that shortens or lengthens the file in place is caught too.
std::string SaveLoopContents(char fill) { return std::string(fill == 'a' ? 4 << 20 : 1 << 20, fill) + "\r\nend"; }

TEST(SafeWriterChild, SavesUntilKilled) {
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(kSaveLoopVariable, path, MAX_PATH)) GTEST_SKIP() << "run by the kill check alone";
    for (int i = 0;; ++i) AfxWriteFileSafely(path, SaveLoopContents(i % 2 ? 'b' : 'a'));
}

TEST_F(DocumentTest, KillsDuringSavesLeaveTheFileWhole) {
    const std::wstring path = Path("list.txt");
    const std::string a = SaveLoopContents('a'), b = SaveLoopContents('b');
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = std::string("\"") + exe + "\" --gtest_filter=SafeWriterChild.*";
    SetEnvironmentVariableW(kSaveLoopVariable, path.c_str());
    for (int kill = 0; kill < 12; ++kill) {
        WriteFile(path, "first");
        STARTUPINFOA start = {};
        start.cb = sizeof(start);
        PROCESS_INFORMATION child = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                                   &start, &child));
        UniqueHandle process(child.hProcess), thread(child.hThread);
        // Killed once the first save is in, a little later each time.
        for (int i = 0; i < 1000 && ReadFile(path) == "first"; ++i) Sleep(10);
        Sleep(static_cast<DWORD>(kill * 7));
        TerminateProcess(process.Get(), 1);
        WaitForSingleObject(process.Get(), INFINITE);
        const std::string now = ReadFile(path);
        EXPECT_TRUE(now == a || now == b) << "kill " << kill << ": " << now.size() << " bytes";
    }
    SetEnvironmentVariableW(kSaveLoopVariable, nullptr);
}

TEST_F(DocumentTest, SaveThatFailsLeavesTheDocumentsFileAsItWas) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "one\r\ntwo");
    const std::wstring other = Path("other.txt");
    WriteFile(other, "changed\r\ntwo");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(other.c_str()));
    DeleteFileW(other.c_str());
    doc.SetModifiedFlag(TRUE);
    {
        UniqueHandle holder(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(doc.OnSaveDocument(path.c_str()));
    }
    EXPECT_EQ("one\r\ntwo", ReadFile(path));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(1u, g_messages.size());
    EXPECT_EQ(1, CountFiles()) << "the temporary file is removed";
}

TEST_F(DocumentTest, FailedSaveReportsAndKeepsTheDocumentsFile) {
    const std::wstring source = Path("source.txt");
    WriteFile(source, "entry");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(source.c_str()));
    DeleteFileW(source.c_str());
    const std::wstring path = Path("missing-folder\\list.txt");
    EXPECT_FALSE(doc.OnSaveDocument(path.c_str()));
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ(0, CountFiles());
}

TEST_F(DocumentTest, SessionEndKeepsAListThatCannotBeSavedInARecoveryFile) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "one");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    doc.SetPathName(path.c_str(), FALSE);
    std::wstring recovery;
    {
        UniqueHandle holder(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_TRUE(doc.SetEntryText(0, "changed", doc.EditGeneration()));
        EXPECT_TRUE(doc.IsModified());
        ASSERT_EQ(1u, g_messages.size());  // the failed save
        doc.OnEndSession();
        EXPECT_EQ(1u, g_messages.size()) << "nothing is asked at a session's end";
        recovery = ReadPathSetting(Profile::kRecoveryFile);
    }
    EXPECT_EQ("one", ReadFile(path));
    ASSERT_FALSE(recovery.empty());
    EXPECT_NE(std::wstring::npos, recovery.find(L"\\Jotwell\\list ("));
    EXPECT_EQ("changed", ReadFile(recovery));
    // The next start names it, once.
    CJotwellDoc::ReportRecoveryFile();
    ASSERT_EQ(2u, g_messages.size());
    EXPECT_EQ(AfxFormatPath(IDS_RECOVERY_FILE_KEPT, recovery), g_messages[1]);
    EXPECT_EQ("", ReadSetting(Profile::kRecoveryFile));
    CJotwellDoc::ReportRecoveryFile();
    EXPECT_EQ(2u, g_messages.size());
    DeleteFileW(recovery.c_str());

    // Where the file can be written, the session's end saves it there.
    doc.OnEndSession();
    EXPECT_EQ("changed", ReadFile(path));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ("", ReadSetting(Profile::kRecoveryFile));
}

TEST_F(DocumentTest, SaveOfAFileChangedOnDiskNeverWritesTheOldCopy) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "one");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    doc.SetPathName(path.c_str(), FALSE);
    WriteFile(path, "one\r\nadded elsewhere");
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ("one\r\nadded elsewhere", ReadFile(path));
    EXPECT_EQ(3, doc.GetEntryCount());
    EXPECT_TRUE(g_messages.empty());
}

namespace {

// Stand-ins for what Wine cannot show on demand: a folder that takes no new file (a share
// where the user may change files but not create them) and a disk that fills up after
// `g_bytesUntilFull` more bytes.
size_t g_bytesUntilFull = 0;

HANDLE WINAPI NoNewFile(const wchar_t* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                        DWORD disposition, DWORD flags, HANDLE templateFile) {
    if (disposition == CREATE_NEW) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(path, access, share, security, disposition, flags, templateFile);
}

BOOL WINAPI FillsUp(HANDLE file, const void* data, DWORD size, DWORD* written, OVERLAPPED* overlapped) {
    const DWORD room = static_cast<DWORD>(std::min<size_t>(size, g_bytesUntilFull));
    g_bytesUntilFull -= room;
    if (room > 0) return WriteFile(file, data, room, written, overlapped);
    SetLastError(ERROR_DISK_FULL);
    *written = 0;
    return FALSE;
}

int g_answer = IDOK;
int AnswerMessageBox(const CString& text, UINT) {
    g_messages.push_back(text);
    return g_answer;
}

}  // namespace

TEST_F(DocumentTest, AnInPlaceSaveThatFailsPartWayIsKnownAsTheDocumentsOwnAndSavedAgain) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "one\r\ntwo");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    doc.SetPathName(path.c_str(), FALSE);
    const AfxFileSystem halfWay = {&NoNewFile, &FillsUp};
    AfxSetFileSystem(&halfWay);
    g_bytesUntilFull = 4;
    EXPECT_TRUE(doc.SetEntryText(0, "changed", doc.EditGeneration()));
    AfxSetFileSystem(nullptr);
    ASSERT_EQ("chan", ReadFile(path).substr(0, 4)) << "the save wrote in place and stopped part way";
    ASSERT_EQ(1u, g_messages.size());  // the disk-full message of the save
    EXPECT_TRUE(doc.IsModified());

    // The next look at the file asks to save again, never whether to load the file as
    // another program's; Yes writes the whole list.
    AfxSetMessageBoxHook(&AnswerMessageBox);
    g_answer = IDYES;
    EXPECT_TRUE(doc.CheckFileOnDisk());
    ASSERT_EQ(2u, g_messages.size());
    EXPECT_EQ(AfxFormatPath(IDS_SAVE_FAILED_SAVE_AGAIN, doc.GetPathName()), g_messages[1]);
    EXPECT_EQ("changed\r\ntwo", ReadFile(path));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ("changed", doc.Entries().Text(0));

    // A change by another program after that is one again.
    WriteFile(path, "theirs");
    EXPECT_TRUE(doc.CheckFileOnDisk());
    EXPECT_EQ("theirs", doc.Entries().Text(0));
    EXPECT_EQ(2u, g_messages.size());
}

TEST_F(DocumentTest, AnEditAfterAFailedInPlaceSaveWritesTheWholeListWithoutAQuestion) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "one\r\ntwo");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    doc.SetPathName(path.c_str(), FALSE);
    const AfxFileSystem halfWay = {&NoNewFile, &FillsUp};
    AfxSetFileSystem(&halfWay);
    g_bytesUntilFull = 2;
    EXPECT_TRUE(doc.SetEntryText(1, "second", doc.EditGeneration()));
    AfxSetFileSystem(nullptr);
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_TRUE(doc.SetEntryText(0, "first", doc.EditGeneration()));
    EXPECT_EQ(1u, g_messages.size()) << "nothing asked: the half-written file is the document's own";
    EXPECT_EQ("first\r\nsecond", ReadFile(path));
}

TEST_F(DocumentTest, TheStampAndTheWatcherFollowASymbolicLinkToTheFileItNames) {
    CreateDirectoryW(Path("real").c_str(), nullptr);
    const std::wstring target = Path("real\\list.txt"), link = Path("link.txt");
    WriteFile(target, "one");
    // (Wine 8 answers TRUE and makes nothing.)
    if (!CreateSymbolicLinkW(link.c_str(), target.c_str(), 0) || GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
        RemoveDirectoryW(Path("real").c_str());
        GTEST_SKIP() << "no symbolic link here (error " << GetLastError() << ")";
    }
    const CFileStamp before = CFileStamp::Of(link.c_str());
    EXPECT_TRUE(before.exists);
    EXPECT_TRUE(before == CFileStamp::Of(target.c_str()));
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(link.c_str()));
    doc.SetPathName(link.c_str(), FALSE);
    Sleep(20);
    WriteFile(target, "one\r\ntwo, written through the real name");
    EXPECT_TRUE(CFileStamp::Of(link.c_str()) == CFileStamp::Of(target.c_str()));
    EXPECT_TRUE(before != CFileStamp::Of(link.c_str()));
    EXPECT_TRUE(doc.CheckFileOnDisk());
    EXPECT_EQ(3, doc.GetEntryCount());
    DeleteFileW(link.c_str());
    DeleteFileW(target.c_str());
    RemoveDirectoryW(Path("real").c_str());
}

TEST_F(DocumentTest, ARecoveryFileThatCannotBeWrittenIsToldAtTheNextStart) {
    const std::wstring path = Path("list.txt");
    WriteFile(path, "one");
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    doc.SetPathName(path.c_str(), FALSE);
        doc.SetModifiedFlag(TRUE);
    WriteFile(path, "changed elsewhere");  // the file is not written over at the session's end
    const AfxFileSystem full = {&NoNewFile, &FillsUp};
    AfxSetFileSystem(&full);
    g_bytesUntilFull = 0;
    doc.OnEndSession();
    AfxSetFileSystem(nullptr);
    EXPECT_TRUE(g_messages.empty());
    CJotwellDoc::ReportRecoveryFile();
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ(AfxLoadString(IDS_RECOVERY_FILE_FAILED), g_messages[0]);
    CJotwellDoc::ReportRecoveryFile();
    EXPECT_EQ(1u, g_messages.size()) << "told once";
}

TEST_F(DocumentTest, AListBeyondMaxPathOpensAndSaves) {
    const std::wstring folder = m_dir + L"\\" + std::wstring(220, L'f');  // (a Unix name holds 255 bytes)
    ASSERT_TRUE(CreateDirectoryW(AfxLongPath(folder).c_str(), nullptr));
    const std::wstring path = folder + L"\\list.txt";
    ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH));
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxWriteFileSafely(path.c_str(), "one"));
    CJotwellDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    doc.SetPathName(path.c_str(), FALSE);
    EXPECT_EQ(path, doc.GetPathName());
    EXPECT_TRUE(CFileStamp::Of(path.c_str()).exists);
    EXPECT_TRUE(doc.SetEntryText(0, "changed", doc.EditGeneration()));
    EXPECT_FALSE(doc.IsModified());
    std::string bytes;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxReadWholeFile(path.c_str(), bytes));
    EXPECT_EQ("changed", bytes);
    EXPECT_TRUE(g_messages.empty());
    DeleteFileW(AfxLongPath(path).c_str());
    RemoveDirectoryW(AfxLongPath(folder).c_str());
}
