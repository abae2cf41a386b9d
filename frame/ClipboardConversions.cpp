#include "frame/ClipboardConversions.h"

#include "frame/HalfWidth.h"
#include "framework/Clipboard.h"
#include "framework/Handles.h"
#include "text/CodePageText.h"
#include "text/SystemCodePage.h"

#include <limits>

namespace {

// The code page the half-width tables are written in.
constexpr UINT kHalfWidthTablesCodePage = 932;

// The half-width tables in wide characters, each form decoded from code page 932 once.
const WideHalfWidthTable& WideHalfWidthForms() {
    static const WideHalfWidthTable table = [] {
        WideHalfWidthTable forms;
        for (const HalfWidthForm& form : HalfWidthForms932()) {
            const char full[2] = {static_cast<char>(form.full >> 8), static_cast<char>(form.full & 0xFF)};
            const char half = static_cast<char>(form.half);
            const std::wstring wideFull = ToWide(std::string_view(full, 2), kHalfWidthTablesCodePage);
            const std::wstring wideHalf = ToWide(std::string_view(&half, 1), kHalfWidthTablesCodePage);
            if (wideFull.size() == 1 && wideHalf.size() == 1) forms.emplace(wideFull[0], wideHalf[0]);
        }
        return forms;
    }();
    return table;
}

// Whether the open clipboard's Unicode text holds a character that the ANSI code page cannot:
// then only that text keeps every character.
bool HoldsTextBeyondCodePage() {
    HGLOBAL data = static_cast<HGLOBAL>(GetClipboardData(CF_UNICODETEXT));
    if (!data) return false;
    GlobalLockGuard lock(data);
    if (!lock) return false;
    const wchar_t* chars = static_cast<const wchar_t*>(lock.Get());
    const std::wstring_view text(chars, BoundedTextLength(chars, lock.Size() / sizeof(wchar_t)));
    bool lossy = false;
    FromWide(text, CP_ACP, &lossy);
    return lossy;
}

// Hands the open clipboard's block of `format` (pointer and size in characters) to `rewrite`
// and puts its result back in the same format. Blocks of `sizeLimit` characters or more are
// left alone.
template <typename Char, typename Rewrite>
bool RewriteBlock(const ClipboardSession& clipboard, UINT format, SIZE_T sizeLimit, Rewrite rewrite) {
    HGLOBAL data = static_cast<HGLOBAL>(GetClipboardData(format));
    if (!data) return false;
    if (GlobalSize(data) / sizeof(Char) >= sizeLimit) return false;
    std::basic_string<Char> rewritten;
    {
        GlobalLockGuard source(data);
        if (!source) return false;
        // The block's size bounds every scan: text from another program may lack its zero.
        rewritten = rewrite(static_cast<const Char*>(source.Get()),
                            static_cast<std::size_t>(source.Size() / sizeof(Char)));
    }
    return PutClipboardText(clipboard, std::basic_string_view<Char>(rewritten));
}

// Opens the clipboard and rewrites its CF_TEXT with `rewriteAnsi`, or its CF_UNICODETEXT with
// `rewriteWide` when that holds characters the ANSI code page cannot.
template <typename RewriteAnsi, typename RewriteWide>
bool RewriteClipboardText(HWND owner, SIZE_T sizeLimit, RewriteAnsi rewriteAnsi, RewriteWide rewriteWide) {
    ClipboardSession clipboard(owner);
    if (!clipboard.IsOpen()) return false;
    if (HoldsTextBeyondCodePage())
        return RewriteBlock<wchar_t>(clipboard, CF_UNICODETEXT, sizeLimit, rewriteWide);
    return RewriteBlock<char>(clipboard, CF_TEXT, sizeLimit, rewriteAnsi);
}

}  // namespace

bool ClipboardToHalfWidth(HWND owner) {
    const unsigned codePage = GetACP();
    return RewriteClipboardText(
        owner, kHalfWidthBlockLimit,
        [codePage](const char* bytes, std::size_t size) {
            return ConvertToHalfWidth(bytes, size, SystemLeadBytes(), codePage);
        },
        [](const wchar_t* text, std::size_t size) { return ConvertToHalfWidth(text, size, WideHalfWidthForms()); });
}

bool ClipboardPrefixLines(HWND owner, const std::string& prefix) {
    if (prefix.empty()) return false;
    const std::wstring widePrefix = ToWide(prefix, CP_ACP);
    return RewriteClipboardText(
        owner, (std::numeric_limits<SIZE_T>::max)(),
        [&prefix](const char* bytes, std::size_t size) { return PrefixLines(bytes, size, prefix); },
        [&widePrefix](const wchar_t* text, std::size_t size) { return PrefixLines(text, size, widePrefix); });
}
