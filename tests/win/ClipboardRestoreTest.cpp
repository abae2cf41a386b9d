// Leaving the clipboard as it was, on the real clipboard: the formats kept and put back, the
// delayed text rendered for a reader, put back after the read or after the time-out, never
// over another program's copy; the transient marks on a drop's text and not on Copy's.
#include "framework/ClipboardRestore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/win/MessageLog.h"
#include "view/DropClipboard.h"

namespace {

const UINT kCustom = RegisterClipboardFormatA("JotwellTest Custom");
const char* const kMarks[] = {"ExcludeClipboardContentFromMonitorProcessing", "CanIncludeInClipboardHistory",
                              "CanUploadToCloudClipboard"};

// Another clipboard user: a window of its own that opens, reads and writes the clipboard.
class OtherProgram {
public:
    OtherProgram()
        : m_window(CreateWindowExA(0, "STATIC", "other", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr)) {}
    ~OtherProgram() { DestroyWindow(m_window); }

    // Empties the clipboard and puts CF_TEXT `text` and, when not empty, `custom` bytes on it.
    void Copy(const std::string& text, const std::string& custom = "") {
        const ClipboardSession clipboard(m_window);
        ASSERT_TRUE(clipboard.IsOpen());
        EmptyClipboard();
        Put(CF_TEXT, text + '\0');
        if (!custom.empty()) Put(kCustom, custom);
    }
    // The bytes of `format`, or "(none)".
    std::string Read(UINT format) {
        const ClipboardSession clipboard(m_window);
        HANDLE data = clipboard.IsOpen() ? GetClipboardData(format) : nullptr;
        GlobalLockGuard lock(data);
        if (!lock) return "(none)";
        return std::string(static_cast<const char*>(lock.Get()), GlobalSize(data));
    }
    std::string Text() {
        const std::string bytes = Read(CF_TEXT);
        return bytes == "(none)" ? bytes : std::string(bytes.c_str());
    }
    std::wstring WideText() {
        const std::string bytes = Read(CF_UNICODETEXT);
        return bytes == "(none)" ? L"(none)" : std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()));
    }
    HWND m_window;

private:
    static void Put(UINT format, const std::string& bytes) {
        GlobalMemory block(GMEM_MOVEABLE, bytes.size());
        {
            GlobalLockGuard lock(block.Get());
            std::memcpy(lock.Get(), bytes.data(), bytes.size());
        }
        if (SetClipboardData(format, block.Get())) block.Release();
    }
};

bool Marked() {
    for (const char* mark : kMarks)
        if (!IsClipboardFormatAvailable(RegisterClipboardFormatA(mark))) return false;
    return true;
}

std::vector<CClipboardRestore::Data> TextData(const std::string& text) {
    return {{CF_TEXT, text + '\0'}};
}

}  // namespace

TEST(ClipboardRestore, ASnapshotKeepsBlocksAndBitmapsInOrderAndSkipsHandlesItCannotCopy) {
    OtherProgram other;
    other.Copy("kept text", "custom\x01\x02");
    {
        const ClipboardSession clipboard(other.m_window);
        ASSERT_TRUE(clipboard.IsOpen());
        const BYTE pixels[8] = {0xFF, 0, 0, 0, 0, 0, 0, 0};
        SetClipboardData(CF_BITMAP, CreateBitmap(2, 2, 1, 1, pixels));
        SetClipboardData(CF_DSPTEXT, GlobalAlloc(GMEM_MOVEABLE, 4));
    }
    CClipboardSnapshot snapshot;
    {
        const ClipboardSession clipboard(other.m_window);
        ASSERT_TRUE(snapshot.Take(clipboard));
    }
    const std::vector<UINT> kept = snapshot.Formats();
    ASSERT_GE(kept.size(), 3u);
    EXPECT_EQ(static_cast<UINT>(CF_TEXT), kept[0]);
    EXPECT_EQ(kCustom, kept[1]);
    EXPECT_NE(std::find(kept.begin(), kept.end(), static_cast<UINT>(CF_BITMAP)), kept.end());
    EXPECT_EQ(std::vector<UINT>{CF_DSPTEXT}, snapshot.Skipped());

    other.Copy("something else");
    {
        const ClipboardSession clipboard(other.m_window);
        ASSERT_TRUE(snapshot.PutBack(clipboard));
    }
    EXPECT_EQ("kept text", other.Text());
    EXPECT_EQ("custom\x01\x02", other.Read(kCustom));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DSPTEXT));
    EXPECT_TRUE(snapshot.Formats().empty());  // handed over, not kept twice
}

TEST(ClipboardRestore, TheOfferIsRenderedForTheReaderThenTheOldContentsComeBackAfterTheGrace) {
    OtherProgram other;
    other.Copy("before", "custom");
    CClipboardRestore restore;
    ASSERT_TRUE(restore.Offer(TextData("dropped\r\ntext"), true));
    EXPECT_EQ(restore.Window(), GetClipboardOwner());
    EXPECT_TRUE(Marked());
    EXPECT_FALSE(IsClipboardFormatAvailable(kCustom));
    EXPECT_EQ(0, restore.Renders());

    const DWORD offered = GetTickCount();
    // The reader asks for the offered format and for one the system makes from it.
    EXPECT_EQ("dropped\r\ntext", other.Text());
    EXPECT_EQ(L"dropped\r\ntext", other.WideText());
    EXPECT_GE(restore.Renders(), 1);
    const DWORD read = GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return !restore.Pending(); }, 3000));
    const DWORD restored = GetTickCount();
    EXPECT_GE(restored - read + 20, CClipboardRestore::kGraceMs);
    EXPECT_LT(restored - offered, CClipboardRestore::kUnreadMs);
    EXPECT_EQ("before", other.Text());
    EXPECT_EQ("custom", other.Read(kCustom));
    EXPECT_FALSE(Marked());
}

TEST(ClipboardRestore, NothingReadMeansTheOldContentsComeBackAfterTwoSeconds) {
    OtherProgram other;
    other.Copy("before");
    CClipboardRestore restore;
    const DWORD offered = GetTickCount();
    ASSERT_TRUE(restore.Offer(TextData("never read"), false));
    EXPECT_FALSE(Marked());
    ASSERT_TRUE(PumpUntil([&] { return !restore.Pending(); }, 4000));
    EXPECT_GE(GetTickCount() - offered + 20, CClipboardRestore::kUnreadMs);
    EXPECT_EQ(0, restore.Renders());
    EXPECT_EQ("before", other.Text());
}

TEST(ClipboardRestore, ACopyByAnotherOwnerMeanwhileIsNeverOverwritten) {
    OtherProgram other;
    other.Copy("before");
    {
        CClipboardRestore restore;
        ASSERT_TRUE(restore.Offer(TextData("dropped"), true));
        EXPECT_EQ("dropped", other.Text());
        other.Copy("copied meanwhile");
        ASSERT_TRUE(PumpUntil([&] { return !restore.Pending(); }, 3000));
        EXPECT_EQ("copied meanwhile", other.Text());
        // A second offer after that keeps the new copy and puts it back.
        ASSERT_TRUE(restore.Offer(TextData("second"), true));
        EXPECT_EQ("second", other.Text());
    }  // ends pending: put back at once
    EXPECT_EQ("copied meanwhile", other.Text());
    // A copy before any read, too: the offer is never rendered over it.
    CClipboardRestore unread;
    ASSERT_TRUE(unread.Offer(TextData("unread"), true));
    other.Copy("early copy");
    unread.Finish();
    EXPECT_EQ("early copy", other.Text());
    EXPECT_EQ(0, unread.Renders());
}

TEST(ClipboardRestore, ADropsTextIsMarkedTransientAndTheCopyCommandsIsNot) {
    OtherProgram other;
    ASSERT_TRUE(PutDropTextOnClipboard(other.m_window, "drop\\nline", TextEncoding::Ansi, nullptr));
    EXPECT_EQ("drop\r\nline", other.Text());
    EXPECT_TRUE(Marked());
    for (const char* mark : kMarks) {
        if (std::strcmp(mark, kMarks[0]) == 0) continue;
        EXPECT_EQ(std::string(4, '\0'), other.Read(RegisterClipboardFormatA(mark))) << mark;
    }
    ASSERT_TRUE(PutTextOnClipboard(other.m_window, "copy", TextEncoding::Ansi));
    EXPECT_EQ("copy", other.Text());
    EXPECT_FALSE(Marked());

    // A UTF-8 list's drop through the restore: the wide text, marked, then the Copy text back.
    CClipboardRestore restore;
    ASSERT_TRUE(PutDropTextOnClipboard(other.m_window, u8"caf\u00E9\\n", TextEncoding::Utf8, &restore));
    EXPECT_TRUE(Marked());
    EXPECT_EQ(L"caf\u00E9\r\n", other.WideText());
    ASSERT_TRUE(PumpUntil([&] { return !restore.Pending(); }, 3000));
    EXPECT_EQ("copy", other.Text());
}

TEST(ClipboardRestore, WhileAnotherProgramHoldsTheClipboardTheSavedContentsWaitAndComeBackAfter) {
    OtherProgram other;
    other.Copy("before", "custom");
    CClipboardRestore restore;
    ASSERT_TRUE(restore.Offer(TextData("dropped"), true));
    EXPECT_EQ("dropped", other.Text());
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Holding()) << "clipboard_holder.exe did not open the clipboard";
        // Tried for a while, then kept: neither put back nor dropped.
        EXPECT_FALSE(restore.Finish());
        EXPECT_TRUE(restore.Pending());
        // A new offer cannot be made over contents still owed.
        EXPECT_FALSE(restore.Offer(TextData("second"), true));
        // Past the unread time-out the timer keeps trying.
        PumpMessages(CClipboardRestore::kUnreadMs + 300);
        EXPECT_TRUE(restore.Pending());
    }
    ASSERT_TRUE(PumpUntil([&] { return !restore.Pending(); }, 2000));
    EXPECT_EQ("before", other.Text());
    EXPECT_EQ("custom", other.Read(kCustom));
}
