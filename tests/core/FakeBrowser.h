// An in-memory fake browser for the logic tests: windows that are browsers or
// folders, documents with titles, addresses, frames and elements, and any
// operation can be told to fail (it then throws BrowserError with code -1 unless
// told otherwise). Writes are recorded on the elements.
#pragma once

#include "browser/BrowserAccess.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fake {

struct Element {
    std::optional<std::string> name;
    std::string outerHtml;
    std::vector<std::string> written;  // every text written, in order
    bool failName = false;
    bool failOuterHtml = false;
    bool failWrite = false;
    bool notAnElement = false;  // the item exists but is no single element
};

struct Frame;

struct Document {
    std::string title;
    std::string url;
    bool hasFrameList = false;
    std::vector<Frame> frames;
    bool hasElements = true;
    std::vector<Element> elements;
    bool failTitle = false;
    bool failFrames = false;
    bool failFrameCount = false;
    bool failFrameItem = false;
    bool failElements = false;
    bool failLength = false;

    Element& Add(std::optional<std::string> name, std::string html) {
        Element e;
        e.name = std::move(name);
        e.outerHtml = std::move(html);
        elements.push_back(std::move(e));
        return elements.back();
    }
};

struct Frame {
    bool hasWindow = true;
    std::string name;
    std::shared_ptr<Document> document = std::make_shared<Document>();  // null = none
    bool failName = false;
    bool failDocument = false;
    bool otherOrigin = false;  // its document is refused unless the frame is named
};

struct Window {
    bool isBrowser = true;
    std::shared_ptr<Document> document = std::make_shared<Document>();  // null = not HTML
    bool failDocument = false;
};

inline void FailIf(bool fail, const char* what, std::int32_t code = -1) {
    if (fail) throw BrowserError(what, code);
}

class FakeElement : public HtmlElement {
public:
    explicit FakeElement(Element& e) : m_e(e) {}
    std::optional<std::string> NameAttribute() override {
        FailIf(m_e.failName, "name");
        return m_e.name;
    }
    std::string OuterHtml() override {
        FailIf(m_e.failOuterHtml, "outerHTML");
        return m_e.outerHtml;
    }
    void WriteText(const std::string& text) override {
        FailIf(m_e.failWrite, "innerText");
        m_e.written.push_back(text);
    }

private:
    Element& m_e;
};

class FakeCollection : public ElementCollection {
public:
    explicit FakeCollection(Document& d) : m_d(d) {}
    std::int32_t Length() override {
        FailIf(m_d.failLength, "length");
        return static_cast<std::int32_t>(m_d.elements.size());
    }
    std::unique_ptr<HtmlElement> ItemAt(std::int32_t index) override {
        if (index < 0 || index >= static_cast<std::int32_t>(m_d.elements.size())) return nullptr;
        Element& e = m_d.elements[static_cast<std::size_t>(index)];
        if (e.notAnElement) return nullptr;
        return std::make_unique<FakeElement>(e);
    }
    std::unique_ptr<HtmlElement> ItemNamed(const std::string& name) override {
        Element* found = nullptr;
        for (Element& e : m_d.elements) {
            if (e.name != name) continue;
            if (found) return nullptr;  // several: a collection, not an element
            found = &e;
        }
        if (!found || found->notAnElement) return nullptr;
        return std::make_unique<FakeElement>(*found);
    }

private:
    Document& m_d;
};

class FakeDocument;

class FakeFrameList : public FrameList {
public:
    explicit FakeFrameList(Document& d) : m_d(d) {}
    std::int32_t Count() override {
        FailIf(m_d.failFrameCount, "frames.length");
        return static_cast<std::int32_t>(m_d.frames.size());
    }
    std::unique_ptr<FrameWindow> Item(std::int32_t index) override;

private:
    Document& m_d;
};

class FakeDocument : public HtmlDocument {
public:
    explicit FakeDocument(std::shared_ptr<Document> d) : m_d(std::move(d)) {}
    std::string Title() override {
        FailIf(m_d->failTitle, "title");
        return m_d->title;
    }
    std::string Url() override { return m_d->url; }
    std::unique_ptr<FrameList> Frames() override {
        FailIf(m_d->failFrames, "frames");
        if (!m_d->hasFrameList) return nullptr;
        return std::make_unique<FakeFrameList>(*m_d);
    }
    std::unique_ptr<ElementCollection> Elements() override {
        FailIf(m_d->failElements, "all");
        if (!m_d->hasElements) return nullptr;
        return std::make_unique<FakeCollection>(*m_d);
    }

private:
    std::shared_ptr<Document> m_d;
};

class FakeFrameWindow : public FrameWindow {
public:
    explicit FakeFrameWindow(Frame& f) : m_f(f) {}
    std::unique_ptr<HtmlDocument> Document() override {
        FailIf(m_f.otherOrigin, "frame of another origin", kAccessDenied);
        return NamedDocument();
    }
    std::unique_ptr<HtmlDocument> NamedDocument() override {
        FailIf(m_f.failDocument, "frame document", kAccessDenied);
        if (!m_f.document) return nullptr;
        return std::make_unique<FakeDocument>(m_f.document);
    }
    std::string Name() override {
        FailIf(m_f.failName, "frame name");
        return m_f.name;
    }

private:
    Frame& m_f;
};

inline std::unique_ptr<FrameWindow> FakeFrameList::Item(std::int32_t index) {
    FailIf(m_d.failFrameItem, "frames.item");
    if (index < 0 || index >= static_cast<std::int32_t>(m_d.frames.size())) return nullptr;
    Frame& f = m_d.frames[static_cast<std::size_t>(index)];
    if (!f.hasWindow) return nullptr;
    return std::make_unique<FakeFrameWindow>(f);
}

class FakeBrowserWindow : public BrowserWindow {
public:
    explicit FakeBrowserWindow(Window& w) : m_w(w) {}
    std::unique_ptr<HtmlDocument> Document() override {
        FailIf(m_w.failDocument, "document");
        if (!m_w.document) return nullptr;
        return std::make_unique<FakeDocument>(m_w.document);
    }

private:
    Window& m_w;
};

// The whole fake: its windows, and switches for the window list itself.
class FakeBrowser : public BrowserAccess {
public:
    std::vector<Window> windows;
    bool listMissing = false;
    bool failCount = false;
    bool failItem = false;
    int opened = 0;

    // A browser window showing a page without frames.
    Document& AddPage(const std::string& title, const std::string& url = "http://example.test/") {
        Window w;
        w.document->title = title;
        w.document->url = url;
        windows.push_back(w);
        return *windows.back().document;
    }
    void AddFolder() {
        Window w;
        w.isBrowser = false;
        windows.push_back(w);
    }

    std::unique_ptr<WindowList> OpenWindowList() override;

private:
    class List : public WindowList {
    public:
        explicit List(FakeBrowser& b) : m_b(b) {}
        std::int32_t Count() override {
            FailIf(m_b.failCount, "count", -2147467263);  // E_NOTIMPL
            return static_cast<std::int32_t>(m_b.windows.size());
        }
        std::unique_ptr<BrowserWindow> Item(std::int32_t index) override {
            FailIf(m_b.failItem, "item");
            if (index < 0 || index >= static_cast<std::int32_t>(m_b.windows.size())) return nullptr;
            Window& w = m_b.windows[static_cast<std::size_t>(index)];
            if (!w.isBrowser) return nullptr;
            return std::make_unique<FakeBrowserWindow>(w);
        }

    private:
        FakeBrowser& m_b;
    };
};

inline std::unique_ptr<WindowList> FakeBrowser::OpenWindowList() {
    ++opened;
    if (listMissing) return nullptr;
    return std::make_unique<List>(*this);
}

}  // namespace fake
