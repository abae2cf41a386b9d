#include "browser/ShellBrowserAccess.h"

#include "browser/BrowserText.h"
#include "framework/Handles.h"
#include "text/BstrText.h"
#include "text/CodePageText.h"

#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <mshtml.h>
#include <shldisp.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace {

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw BrowserError(what, static_cast<std::int32_t>(hr));
}

// The same object as another interface: nothing when it is not of that kind.
template <typename U, typename T>
ComPtr<U> QueryOrNothing(const ComPtr<T>& from, const char* what) {
    ComPtr<U> out;
    if (!from) return out;
    const HRESULT hr = from.As(out);
    if (hr == E_NOINTERFACE) out.Reset();
    else Check(hr, what);
    return out;
}

std::string Text(const UniqueBstr& b, UINT codePage) {
    return FromWide(std::wstring_view(b.Get(), b.Length()), codePage);
}

UniqueBstr Bstr(const std::string& text, UINT codePage) {
    UniqueBstr b(TextToBstr(text, codePage));
    if (!b.Get()) throw BrowserError("out of memory", static_cast<std::int32_t>(E_OUTOFMEMORY));
    return b;
}

void SetIndex(UniqueVariant& v, std::int32_t index) {
    VARIANT* p = v.Receive();
    p->vt = VT_I4;
    p->lVal = index;
}

class ComElement : public HtmlElement {
public:
    ComElement(ComPtr<IHTMLElement> e, UINT codePage) : m_e(std::move(e)), m_codePage(codePage) {}

    std::optional<std::string> NameAttribute() override {
        UniqueBstr attribute = Bstr("name", CP_ACP);
        UniqueVariant value;
        Check(m_e->getAttribute(attribute.Get(), 0, value.Receive()), "getAttribute");
        if (value.Get().vt == VT_NULL) return std::nullopt;
        if (value.Get().vt != VT_BSTR)
            Check(VariantChangeType(&value.Get(), &value.Get(), 0, VT_BSTR), "VariantChangeType");
        const BSTR s = value.Get().bstrVal;
        return FromWide(std::wstring_view(s, s ? SysStringLen(s) : 0), m_codePage);
    }

    std::string OuterHtml() override {
        UniqueBstr html;
        Check(m_e->get_outerHTML(html.Receive()), "outerHTML");
        return Text(html, m_codePage);
    }

    void WriteText(const std::string& text) override {
        // Older versions of the browser set the text of a script, or of some of the
        // other elements, too; no version may.
        UniqueBstr tag;
        Check(m_e->get_tagName(tag.Receive()), "tagName");
        if (RefusesTextWrite(Text(tag, CP_ACP))) throw BrowserError("innerText refused", kAccessDenied);
        UniqueBstr value = Bstr(text, m_codePage);
        Check(m_e->put_innerText(value.Get()), "innerText");
    }

private:
    ComPtr<IHTMLElement> m_e;
    UINT m_codePage;
};

class ComElementCollection : public ElementCollection {
public:
    ComElementCollection(ComPtr<IHTMLElementCollection> c, UINT codePage) : m_c(std::move(c)), m_codePage(codePage) {}

    std::int32_t Length() override {
        long length = 0;
        Check(m_c->get_length(&length), "all.length");
        return static_cast<std::int32_t>(length);
    }

    std::unique_ptr<HtmlElement> ItemAt(std::int32_t index) override {
        UniqueVariant key;
        SetIndex(key, index);
        return Item(key);
    }

    std::unique_ptr<HtmlElement> ItemNamed(const std::string& name) override {
        UniqueVariant key;
        UniqueBstr text = Bstr(name, m_codePage);
        VARIANT* p = key.Receive();
        p->vt = VT_BSTR;
        p->bstrVal = text.Release();
        return Item(key);
    }

private:
    std::unique_ptr<HtmlElement> Item(UniqueVariant& key) {
        UniqueVariant omitted;
        omitted.Get().vt = VT_ERROR;
        omitted.Get().scode = DISP_E_PARAMNOTFOUND;
        ComPtr<IDispatch> item;
        Check(m_c->item(key.Get(), omitted.Get(), item.Receive()), "all.item");
        ComPtr<IHTMLElement> element = QueryOrNothing<IHTMLElement>(item, "IHTMLElement");
        if (!element) return nullptr;
        return std::make_unique<ComElement>(std::move(element), m_codePage);
    }

    ComPtr<IHTMLElementCollection> m_c;
    UINT m_codePage;
};

std::unique_ptr<HtmlDocument> MakeDocument(ComPtr<IHTMLDocument2> d, UINT codePage);

class ComFrameWindow : public FrameWindow {
public:
    ComFrameWindow(ComPtr<IHTMLWindow2> w, UINT codePage) : m_w(std::move(w)), m_codePage(codePage) {}

    std::unique_ptr<HtmlDocument> Document() override {
        ComPtr<IHTMLDocument2> document;
        Check(m_w->get_document(document.Receive()), "frame document");
        return MakeDocument(std::move(document), m_codePage);
    }

    std::string Name() override {
        UniqueBstr name;
        Check(m_w->get_name(name.Receive()), "frame name");
        return Text(name, m_codePage);
    }

private:
    ComPtr<IHTMLWindow2> m_w;
    UINT m_codePage;
};

class ComFrameList : public FrameList {
public:
    ComFrameList(ComPtr<IHTMLFramesCollection2> f, UINT codePage) : m_f(std::move(f)), m_codePage(codePage) {}

    std::int32_t Count() override {
        long length = 0;
        Check(m_f->get_length(&length), "frames.length");
        return static_cast<std::int32_t>(length);
    }

    std::unique_ptr<FrameWindow> Item(std::int32_t index) override {
        UniqueVariant key;
        SetIndex(key, index);
        UniqueVariant result;
        Check(m_f->item(&key.Get(), result.Receive()), "frames.item");
        if (result.Get().vt != VT_DISPATCH || !result.Get().pdispVal) return nullptr;
        ComPtr<IHTMLWindow2> window;
        const HRESULT hr =
            result.Get().pdispVal->QueryInterface(IID_IHTMLWindow2, window.ReceiveVoid());
        if (hr == E_NOINTERFACE) return nullptr;
        Check(hr, "IHTMLWindow2");
        return std::make_unique<ComFrameWindow>(std::move(window), m_codePage);
    }

private:
    ComPtr<IHTMLFramesCollection2> m_f;
    UINT m_codePage;
};

class ComDocument : public HtmlDocument {
public:
    ComDocument(ComPtr<IHTMLDocument2> d, UINT codePage) : m_d(std::move(d)), m_codePage(codePage) {}

    std::string Title() override {
        UniqueBstr title;
        Check(m_d->get_title(title.Receive()), "title");
        return Text(title, m_codePage);
    }

    std::string Url() override {
        UniqueBstr url;
        Check(m_d->get_URL(url.Receive()), "URL");
        return Text(url, m_codePage);
    }

    std::unique_ptr<FrameList> Frames() override {
        ComPtr<IHTMLFramesCollection2> frames;
        Check(m_d->get_frames(frames.Receive()), "frames");
        if (!frames) return nullptr;
        return std::make_unique<ComFrameList>(std::move(frames), m_codePage);
    }

    std::unique_ptr<ElementCollection> Elements() override {
        ComPtr<IHTMLElementCollection> all;
        Check(m_d->get_all(all.Receive()), "all");
        if (!all) return nullptr;
        return std::make_unique<ComElementCollection>(std::move(all), m_codePage);
    }

private:
    ComPtr<IHTMLDocument2> m_d;
    UINT m_codePage;
};

std::unique_ptr<HtmlDocument> MakeDocument(ComPtr<IHTMLDocument2> d, UINT codePage) {
    if (!d) return nullptr;
    return std::make_unique<ComDocument>(std::move(d), codePage);
}

class ComBrowserWindow : public BrowserWindow {
public:
    ComBrowserWindow(ComPtr<IWebBrowser2> b, UINT codePage) : m_b(std::move(b)), m_codePage(codePage) {}

    std::unique_ptr<HtmlDocument> Document() override {
        ComPtr<IDispatch> dispatch;
        Check(m_b->get_Document(dispatch.Receive()), "Document");
        return MakeDocument(QueryOrNothing<IHTMLDocument2>(dispatch, "IHTMLDocument2"), m_codePage);
    }

private:
    ComPtr<IWebBrowser2> m_b;
    UINT m_codePage;
};

class ShellWindowList : public WindowList {
public:
    ShellWindowList(ComPtr<IShellWindows> w, UINT codePage) : m_w(std::move(w)), m_codePage(codePage) {}

    std::int32_t Count() override {
        long count = 0;
        Check(m_w->get_Count(&count), "ShellWindows.Count");
        return static_cast<std::int32_t>(count);
    }

    std::unique_ptr<BrowserWindow> Item(std::int32_t index) override {
        UniqueVariant key;
        SetIndex(key, index);
        ComPtr<IDispatch> item;
        Check(m_w->Item(key.Get(), item.Receive()), "ShellWindows.Item");
        ComPtr<IWebBrowser2> browser = QueryOrNothing<IWebBrowser2>(item, "IWebBrowser2");
        if (!browser) return nullptr;
        return std::make_unique<ComBrowserWindow>(std::move(browser), m_codePage);
    }

private:
    ComPtr<IShellWindows> m_w;
    UINT m_codePage;
};

}  // namespace

std::unique_ptr<WindowList> ShellBrowserAccess::OpenWindowList() {
    ComPtr<IUnknown> unknown;
    const DWORD context = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, context, IID_IUnknown, unknown.ReceiveVoid())))
        return nullptr;
    if (FAILED(OleRun(unknown.Get()))) return nullptr;
    ComPtr<IShellWindows> windows;
    if (FAILED(unknown.As(windows)) || !windows) return nullptr;
    long count = 0;
    if (FAILED(windows->get_Count(&count))) return nullptr;
    return std::make_unique<ShellWindowList>(std::move(windows), m_codePage);
}
