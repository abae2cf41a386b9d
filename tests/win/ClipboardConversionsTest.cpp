// The clipboard commands on the real clipboard, under code page 1252 and 932, on ANSI text and
// on Unicode text beyond the code page.
#include "frame/ClipboardConversions.h"

#include "framework/Clipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class ClipboardConversions : public testing::Test {
protected:
    void SetUp() override {
        // EmptyClipboard needs an owner window, or SetClipboardData fails.
        m_owner = CreateWindowExA(0, "STATIC", "clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_owner, nullptr);
    }
    void TearDown() override {
        if (m_owner) DestroyWindow(m_owner);
    }

    // Puts exactly these bytes on the clipboard as CF_TEXT; no zero is added.
    void PutBlock(const std::string& bytes) {
        ClipboardSession clipboard(m_owner);
        ASSERT_TRUE(clipboard.IsOpen());
        ASSERT_TRUE(EmptyClipboard());
        GlobalMemory block(GMEM_MOVEABLE, bytes.size());
        ASSERT_TRUE(block);
        {
            GlobalLockGuard lock(block.Get());
            ASSERT_TRUE(lock);
            std::memcpy(lock.Get(), bytes.data(), bytes.size());
        }
        ASSERT_NE(SetClipboardData(CF_TEXT, block.Get()), nullptr);
        block.Release();
    }
    void PutText(const std::string& text) { PutBlock(std::string(text.c_str(), text.size() + 1)); }
    void PutUnicode(const std::wstring& text) { ASSERT_TRUE(PutClipboardText(m_owner, text)); }

    void Clear() {
        ClipboardSession clipboard(m_owner);
        ASSERT_TRUE(clipboard.IsOpen());
        ASSERT_TRUE(EmptyClipboard());
    }

    // The CF_TEXT block as it is now, whole; "<none>" when there is no text.
    std::string Block() {
        ClipboardSession clipboard(m_owner);
        if (!clipboard.IsOpen()) return "<closed>";
        HGLOBAL data = static_cast<HGLOBAL>(GetClipboardData(CF_TEXT));
        if (!data) return "<none>";
        GlobalLockGuard lock(data);
        if (!lock) return "<locked>";
        return std::string(static_cast<const char*>(lock.Get()), lock.Size());
    }
    std::wstring UnicodeText() {
        ClipboardSession clipboard(m_owner);
        GlobalLockGuard lock(clipboard.IsOpen() ? GetClipboardData(CF_UNICODETEXT) : nullptr);
        return lock ? std::wstring(static_cast<const wchar_t*>(lock.Get())) : L"<none>";
    }
    std::string Text() {
        const std::string block = Block();
        return block.substr(0, block.find('\0'));
    }

    HWND m_owner = nullptr;
};

bool Japanese() { return GetACP() == 932; }

}  // namespace

TEST_F(ClipboardConversions, HalfWidthRewritesTheText) {
    // Full-width "AB1", a half-width katakana byte, then full-width "C".
    PutText("\x82\x60\x82\x61\x82\x50\xb1\x82\x62");
    ASSERT_TRUE(ClipboardToHalfWidth(m_owner));
    if (Japanese()) {
        EXPECT_EQ(Block(), std::string("AB1\xb1" "C", 6));
    } else {
        // No half-width forms outside code page 932: the same text is put back.
        EXPECT_EQ(Text(), "\x82\x60\x82\x61\x82\x50\xb1\x82\x62");
    }
}

TEST_F(ClipboardConversions, HalfWidthLeavesBlocksOf260BytesOrMore) {
    const std::string longText(259, 'x');  // with its zero, a block of 260 bytes
    PutText("\x82\x60" + longText.substr(2));
    const std::string before = Block();
    ASSERT_EQ(before.size(), 260u);
    EXPECT_FALSE(ClipboardToHalfWidth(m_owner));
    EXPECT_EQ(Block(), before);

    PutText("\x82\x60" + longText.substr(3));  // 259 bytes
    EXPECT_TRUE(ClipboardToHalfWidth(m_owner));
    if (Japanese()) {
        EXPECT_EQ(Text(), "A" + longText.substr(3));
    }
}

TEST_F(ClipboardConversions, NothingToDoWithoutText) {
    Clear();
    EXPECT_FALSE(ClipboardToHalfWidth(m_owner));
    EXPECT_FALSE(ClipboardPrefixLines(m_owner, ">"));
    EXPECT_EQ(Block(), "<none>");
}

TEST_F(ClipboardConversions, PrefixLines) {
    PutText("a\r\nb\nc\r\n");
    ASSERT_TRUE(ClipboardPrefixLines(m_owner, ">"));
    EXPECT_EQ(Text(), ">a\r\n>b\nc\r\n>");

    PutText("");
    ASSERT_TRUE(ClipboardPrefixLines(m_owner, "> "));
    EXPECT_EQ(Text(), "> ");
}

TEST_F(ClipboardConversions, EmptyPrefixLeavesTheClipboardAlone) {
    PutText("a\r\nb");
    EXPECT_FALSE(ClipboardPrefixLines(m_owner, ""));
    EXPECT_EQ(Text(), "a\r\nb");
}

TEST_F(ClipboardConversions, TextWithoutTerminatingZeroIsReadUpToTheBlockEnd) {
    // Wine hands such a block out with a zero of its own over the last byte; Windows hands it
    // out as it is. Either way the conversion reads no further than the block and writes a
    // terminated text.
    PutBlock("a\r\nbc");
    bool cut = Block().back() == '\0';
    ASSERT_TRUE(ClipboardPrefixLines(m_owner, ">"));
    EXPECT_EQ(Block(), std::string(cut ? ">a\r\n>b" : ">a\r\n>bc") + '\0');

    PutBlock("\x82\x60\x82\x61");
    cut = Block().back() == '\0';
    ASSERT_TRUE(ClipboardToHalfWidth(m_owner));
    // Cut short, the text ends in a lead byte without its trail byte, which is copied.
    const std::string expected = Japanese() ? (cut ? "A\x82" : "AB") : (cut ? "\x82\x60\x82" : "\x82\x60\x82\x61");
    EXPECT_EQ(Block(), expected + '\0');
}

TEST_F(ClipboardConversions, UnicodeTextBeyondTheCodePageKeepsEveryCharacter) {
    // An emoji fits neither code page. Full-width A and 1, katakana ga (its mark is lost),
    // hiragana a, the ideographic full stop and the yen sign have half-width forms.
    const std::wstring text = L"\U0001F600\uFF21\uFF11\u30AC\u3042\u3002\uFFE5 \u03B2\u65E5\r\n\u00E9";
    PutUnicode(text);
    ASSERT_TRUE(ClipboardToHalfWidth(m_owner));
    EXPECT_EQ(UnicodeText(), L"\U0001F600A1\uFF76\uFF71\uFF61\\ \u03B2\u65E5\r\n\u00E9");
    PutUnicode(text);
    ASSERT_TRUE(ClipboardPrefixLines(m_owner, "> "));
    EXPECT_EQ(UnicodeText(), L"> " + text.substr(0, text.size() - 1) + L"> \u00E9");
    // A character the code page holds only as a best-fit look-alike ("a" for a-macron) is kept too.
    PutUnicode(L"\u0101");
    ASSERT_TRUE(ClipboardPrefixLines(m_owner, "> "));
    EXPECT_EQ(UnicodeText(), L"> \u0101");

    // The limit counts UTF-16 units: 259 (the emoji is two) and the zero make 260, left alone.
    const std::wstring longText = L"\U0001F600\uFF21" + std::wstring(255, L'x');
    PutUnicode(longText + L'x');
    EXPECT_FALSE(ClipboardToHalfWidth(m_owner));
    PutUnicode(longText);
    ASSERT_TRUE(ClipboardToHalfWidth(m_owner));
    EXPECT_EQ(UnicodeText(), L"\U0001F600A" + std::wstring(255, L'x'));
}
