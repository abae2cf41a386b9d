#include "view/TextDropTarget.h"

#include <shellapi.h>

#include <cstring>

#include "framework/Handles.h"
#include "text/CodePageText.h"
#include "view/JotwellView.h"

namespace {

FORMATETC Format(CLIPFORMAT format) { return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// A medium got from a data object, released when done.
class Medium {
public:
    Medium(IDataObject* data, CLIPFORMAT format) {
        FORMATETC f = Format(format);
        m_ok = data && SUCCEEDED(data->GetData(&f, &m_medium)) && m_medium.tymed == TYMED_HGLOBAL;
    }
    ~Medium() {
        if (m_ok) ::ReleaseStgMedium(&m_medium);
    }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;
    HGLOBAL Get() const { return m_ok ? m_medium.hGlobal : nullptr; }

private:
    STGMEDIUM m_medium = {};
    bool m_ok = false;
};

// The characters of a global block up to its first NUL, never past its end.
template <typename Char>
std::basic_string<Char> BlockText(HGLOBAL block) {
    const GlobalLockGuard locked(block);
    if (!locked) return std::basic_string<Char>();
    const size_t most = locked.Size() / sizeof(Char);
    const Char* chars = static_cast<const Char*>(locked.Get());
    size_t n = 0;
    while (n < most && chars[n] != 0) ++n;
    return std::basic_string<Char>(chars, n);
}

}  // namespace

HRESULT CTextDropTarget::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CTextDropTarget::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

ULONG CTextDropTarget::Release() {
    const LONG left = ::InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

CTextDropTarget::Kind CTextDropTarget::KindOf(IDataObject* data) {
    if (!data) return Kind::None;
    FORMATETC files = Format(CF_HDROP);
    if (data->QueryGetData(&files) == S_OK) return Kind::Files;
    for (const CLIPFORMAT format : {CLIPFORMAT(CF_UNICODETEXT), CLIPFORMAT(CF_TEXT)}) {
        FORMATETC text = Format(format);
        if (data->QueryGetData(&text) == S_OK) return Kind::Text;
    }
    return Kind::None;
}

DWORD CTextDropTarget::Effect(DWORD allowed) const {
    if (!m_view || m_kind == Kind::None || !(allowed & DROPEFFECT_COPY)) return DROPEFFECT_NONE;
    if (m_kind == Kind::Text && !m_view->AcceptsDroppedText()) return DROPEFFECT_NONE;
    return DROPEFFECT_COPY;
}

HRESULT CTextDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    m_kind = KindOf(data);
    if (effect) *effect = Effect(*effect);
    return S_OK;
}

HRESULT CTextDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (effect) *effect = Effect(*effect);
    return S_OK;
}

HRESULT CTextDropTarget::DragLeave() {
    m_kind = Kind::None;
    return S_OK;
}

HRESULT CTextDropTarget::Drop(IDataObject* data, DWORD, POINTL pt, DWORD* effect) {
    const DWORD allowed = effect ? *effect : DROPEFFECT_COPY;
    m_kind = KindOf(data);
    DWORD done = Effect(allowed);
    if (done != DROPEFFECT_NONE && m_kind == Kind::Files) {
        // The frame opens the first file after this drop has returned; WM_DROPFILES frees
        // the copy (DragFinish), the data object keeps its own block.
        const Medium medium(data, CF_HDROP);
        const SIZE_T size = medium.Get() ? ::GlobalSize(medium.Get()) : 0;
        GlobalMemory copy(GMEM_MOVEABLE, size);
        bool copied = false;
        if (size && copy) {
            const GlobalLockGuard from(medium.Get());
            const GlobalLockGuard to(copy.Get());
            if (from && to) {
                std::memcpy(to.Get(), from.Get(), size);
                copied = true;
            }
        }
        HWND frame = ::GetAncestor(m_view->m_hWnd, GA_ROOT);
        if (copied && ::PostMessageA(frame, WM_DROPFILES, reinterpret_cast<WPARAM>(copy.Get()), 0)) copy.Release();
        else done = DROPEFFECT_NONE;
    } else if (done != DROPEFFECT_NONE) {
        std::wstring text;
        if (!TextOf(data, text) || !m_view->QueueDroppedText(POINT{pt.x, pt.y}, text)) done = DROPEFFECT_NONE;
    }
    m_kind = Kind::None;
    if (effect) *effect = done;
    return S_OK;
}

bool CTextDropTarget::TextOf(IDataObject* data, std::wstring& text) {
    {
        const Medium wide(data, CF_UNICODETEXT);
        if (wide.Get()) {
            text = BlockText<wchar_t>(wide.Get());
            return true;
        }
    }
    const Medium ansi(data, CF_TEXT);
    if (!ansi.Get()) return false;
    text = ToWide(BlockText<char>(ansi.Get()), CP_ACP);
    return true;
}
