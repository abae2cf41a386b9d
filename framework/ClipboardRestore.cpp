#include "framework/ClipboardRestore.h"

#include "framework/Clipboard.h"

#include <cstring>
#include <utility>

namespace {

constexpr char kWindowClass[] = "AfxClipboardRestore";
constexpr UINT_PTR kTimerId = 1;
// While another program holds the clipboard open, putting back is tried again this often.
constexpr UINT kRetryMs = 50;

enum class Kind { Block, Bitmap, EnhMetaFile, None };

Kind KindOf(UINT format) {
    switch (format) {
    case CF_BITMAP:
        return Kind::Bitmap;
    case CF_ENHMETAFILE:
        return Kind::EnhMetaFile;
    case CF_METAFILEPICT:
    case CF_PALETTE:
    case CF_OWNERDISPLAY:
    case CF_DSPTEXT:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
        return Kind::None;
    default:
        if (format >= CF_PRIVATEFIRST && format <= CF_GDIOBJLAST) return Kind::None;
        return Kind::Block;
    }
}

void FreeData(UINT format, HANDLE data) {
    if (!data) return;
    switch (KindOf(format)) {
    case Kind::Bitmap:
        DeleteObject(static_cast<HGDIOBJ>(data));
        break;
    case Kind::EnhMetaFile:
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(data));
        break;
    default:
        GlobalFree(data);
        break;
    }
}

HANDLE CopyBlock(HANDLE source) {
    const SIZE_T size = GlobalSize(source);
    GlobalMemory copy(GMEM_MOVEABLE, size);
    if (!copy) return nullptr;
    if (size > 0) {
        GlobalLockGuard from(source);
        GlobalLockGuard to(copy.Get());
        if (!from || !to) return nullptr;
        std::memcpy(to.Get(), from.Get(), size);
    }
    return copy.Release();
}

HANDLE CopyData(UINT format, HANDLE source) {
    if (!source) return nullptr;
    switch (KindOf(format)) {
    case Kind::Block:
        return CopyBlock(source);
    case Kind::Bitmap:
        return CopyImage(source, IMAGE_BITMAP, 0, 0, 0);
    case Kind::EnhMetaFile:
        return CopyEnhMetaFileA(static_cast<HENHMETAFILE>(source), nullptr);
    default:
        return nullptr;
    }
}

}  // namespace

bool CClipboardSnapshot::Take(const ClipboardSession& clipboard) {
    Clear();
    if (!clipboard.IsOpen()) return false;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        HANDLE copy = KindOf(format) == Kind::None ? nullptr : CopyData(format, GetClipboardData(format));
        if (copy)
            m_items.push_back({format, copy});
        else
            m_skipped.push_back(format);
    }
    return true;
}

bool CClipboardSnapshot::PutBack(const ClipboardSession& clipboard) {
    if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
    bool all = true;
    for (Item& item : m_items) {
        if (SetClipboardData(item.format, item.data))
            item.data = nullptr;  // the clipboard's now
        else
            all = false;
    }
    Clear();
    return all;
}

void CClipboardSnapshot::Clear() {
    for (const Item& item : m_items) FreeData(item.format, item.data);
    m_items.clear();
    m_skipped.clear();
}

std::vector<UINT> CClipboardSnapshot::Formats() const {
    std::vector<UINT> formats;
    for (const Item& item : m_items) formats.push_back(item.format);
    return formats;
}

bool MarkClipboardTransient(const ClipboardSession& clipboard) {
    if (!clipboard.IsOpen()) return false;
    // Each holds a DWORD 0; the first one's presence alone is its meaning. A registered
    // format's number stays the same while the system runs: asked once.
    static const UINT formats[] = {RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing"),
                                   RegisterClipboardFormatA("CanIncludeInClipboardHistory"),
                                   RegisterClipboardFormatA("CanUploadToCloudClipboard")};
    bool all = true;
    for (const UINT format : formats)
        if (format == 0 || !SetClipboardBlock({format, std::string(sizeof(DWORD), '\0')})) all = false;
    return all;
}

CClipboardRestore::~CClipboardRestore() {
    Finish();
    if (m_window) DestroyWindow(m_window);
}

bool CClipboardRestore::EnsureWindow() {
    if (m_window) return true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &CClipboardRestore::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    m_window = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!m_window) return false;
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

bool CClipboardRestore::Offer(std::vector<Data> data, bool transient) {
    // The earlier offer's contents go back first; still busy, the new offer waits too.
    if (!Finish() || !EnsureWindow()) return false;
    const ClipboardSession clipboard(m_window);
    if (!clipboard.IsOpen()) return false;
    m_saved.Take(clipboard);
    m_emptying = true;
    const bool emptied = EmptyClipboard() != FALSE;
    m_emptying = false;
    if (!emptied) {
        m_saved.Clear();
        return false;
    }
    m_offered = std::move(data);
    for (const Data& d : m_offered) SetClipboardData(d.Format, nullptr);
    if (transient) MarkClipboardTransient(clipboard);
    m_pending = true;
    m_lost = false;
    m_renders = 0;
    SetTimer(m_window, kTimerId, kUnreadMs, nullptr);
    return true;
}

void CClipboardRestore::Render(UINT format) {
    for (const Data& d : m_offered) {
        if (d.Format != format) continue;
        SetClipboardBlock(d);
        break;
    }
    if (!m_pending) return;
    ++m_renders;
    // Each request restarts the grace: a reader may ask for several formats in turn.
    SetTimer(m_window, kTimerId, kGraceMs, nullptr);
}

void CClipboardRestore::RenderAll() {
    // The window goes while it still owes data: the clipboard gets all of it.
    const ClipboardSession clipboard(m_window);
    if (!clipboard.IsOpen() || GetClipboardOwner() != m_window) return;
    for (const Data& d : m_offered) SetClipboardBlock(d);
}

void CClipboardRestore::OnTimer() {
    // A clipboard still held open by another program is tried again shortly, without waiting.
    if (!Finish(0)) SetTimer(m_window, kTimerId, kRetryMs, nullptr);
}

bool CClipboardRestore::Finish(DWORD waitMs) {
    if (!m_pending) {
        if (m_window) KillTimer(m_window, kTimerId);
        return true;
    }
    if (!m_lost && GetClipboardOwner() == m_window) {
        const ClipboardSession clipboard(m_window, waitMs);
        if (!clipboard.IsOpen()) return false;  // the saved contents stay for the next try
        m_emptying = true;
        m_saved.PutBack(clipboard);  // emptied: the offer is gone, whatever went back
        m_emptying = false;
    }
    // Put back, or another program copied something new: nothing of the offer is owed.
    m_pending = false;
    KillTimer(m_window, kTimerId);
    m_offered.clear();
    m_saved.Clear();
    return true;
}

LRESULT CALLBACK CClipboardRestore::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CClipboardRestore*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_RENDERFORMAT:
        self->Render(static_cast<UINT>(wParam));
        return 0;
    case WM_RENDERALLFORMATS:
        self->RenderAll();
        return 0;
    case WM_DESTROYCLIPBOARD:
        if (!self->m_emptying) self->m_lost = true;
        return 0;
    case WM_TIMER:
        if (wParam == kTimerId) self->OnTimer();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
