// Test tool for the end-to-end drop-in test: a second program that drags text out by OLE,
// as an editor or a browser does. A press in its window "JW Drag Source" starts DoDragDrop
// with a data object offering the text as CF_UNICODETEXT and CF_TEXT (the ANSI code page);
// each drag's end is appended to RESULTFILE as "drop <effect>" or "cancel".
//
// Usage: jw_dragsource TEXT RESULTFILE   (TEXT taken wide from the command line; "\n" in it
//        stands for CR LF)
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

namespace {

std::wstring g_text;
std::wstring g_resultFile;

HGLOBAL BlockOf(const void* bytes, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (void* to = block ? GlobalLock(block) : nullptr) {
        memcpy(to, bytes, size);
        GlobalUnlock(block);
    }
    return block;
}

class TextData : public IDataObject {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&m_refs);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->pUnkForRelease = nullptr;
        if (format->cfFormat == CF_UNICODETEXT) {
            medium->hGlobal = BlockOf(g_text.c_str(), (g_text.size() + 1) * sizeof(wchar_t));
        } else {
            const int n = WideCharToMultiByte(CP_ACP, 0, g_text.c_str(), -1, nullptr, 0, nullptr, nullptr);
            std::string ansi(static_cast<size_t>(n > 0 ? n : 1), '\0');
            if (n > 0) WideCharToMultiByte(CP_ACP, 0, g_text.c_str(), -1, &ansi[0], n, nullptr, nullptr);
            medium->hGlobal = BlockOf(ansi.data(), ansi.size());
        }
        return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format || !(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        return (format->cfFormat == CF_UNICODETEXT || format->cfFormat == CF_TEXT) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC formats[2] = {{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
                                {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}};
        return SHCreateStdEnumFmtEtc(2, formats, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    virtual ~TextData() = default;
    LONG m_refs = 1;
};

class Source : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the stack of the drag
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

void Note(const char* line) {
    FILE* f = _wfopen(g_resultFile.c_str(), L"a");
    if (!f) return;
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN: {
        TextData* data = new TextData;
        Source source;
        DWORD effect = DROPEFFECT_NONE;
        const HRESULT hr = DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
        data->Release();
        char line[64] = {};
        if (hr == DRAGDROP_S_DROP) std::snprintf(line, sizeof(line), "drop %lu", effect);
        else std::snprintf(line, sizeof(line), "cancel %08lx", static_cast<unsigned long>(hr));
        Note(line);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3) {
        std::fprintf(stderr, "usage: jw_dragsource TEXT RESULTFILE\n");
        return 2;
    }
    for (const wchar_t* p = argv[1]; *p; ++p) {
        if (p[0] == L'\\' && p[1] == L'n') {
            g_text += L"\r\n";
            ++p;
        } else {
            g_text += *p;
        }
    }
    g_resultFile = argv[2];
    LocalFree(argv);
    if (FAILED(OleInitialize(nullptr))) return 1;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"JwDragSource";
    RegisterClassW(&wc);
    CreateWindowExW(0, L"JwDragSource", L"JW Drag Source", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 240, 160,
                    nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    OleUninitialize();
    return 0;
}
