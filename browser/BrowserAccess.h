// The browser access layer: the few operations that form auto-input and the tag
// index report need from running browsers, with no platform headers.
//
// Ownership: every object is handed out in a std::unique_ptr and released by its
// owner; an object may be used only while the object that produced it lives.
// Texts are 8-bit text in the run's encoding (the system ANSI code page, or UTF-8 when
// the web input settings are UTF-8); an implementation converts from and to whatever
// the browser speaks (UTF-16 over COM, UTF-8 over DevTools).
//
// Results: "nothing" (an empty pointer, std::nullopt) means the object is not of
// the kind asked for (a folder window, a frame without a window, an item that is
// not a single element) and is never a failure. A failed call (what a COM call
// returning a failure status would be) throws BrowserError; the logic catches it
// at its guards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

// The status of an access the browser refuses (E_ACCESSDENIED).
const std::int32_t kAccessDenied = static_cast<std::int32_t>(0x80070005u);

class BrowserError : public std::runtime_error {
public:
    // `code` is the failure's status (an HRESULT for COM), shown in reports.
    BrowserError(const std::string& what, std::int32_t code) : std::runtime_error(what), m_code(code) {}
    std::int32_t Code() const { return m_code; }

private:
    std::int32_t m_code;
};

class HtmlElement {
public:
    virtual ~HtmlElement() = default;
    // The "name" attribute: std::nullopt when it is absent (null); any value that
    // is not text comes converted to text.
    virtual std::optional<std::string> NameAttribute() = 0;
    virtual std::string OuterHtml() = 0;
    // The start of the outer HTML as far as a listing needs it: its whole start tag
    // and at least `bytes` bytes, or all of it when shorter. A layer that holds such
    // a start already returns it without fetching an element of many megabytes.
    virtual std::string OuterHtmlStart(std::size_t bytes) {
        static_cast<void>(bytes);
        return OuterHtml();
    }
    // Replaces the element's text (innerText). Refused with an access error on the
    // elements of RefusesTextWrite (browser/BrowserText.h).
    virtual void WriteText(const std::string& text) = 0;
};

class ElementCollection {
public:
    virtual ~ElementCollection() = default;
    virtual std::int32_t Length() = 0;
    // The element at a 0-based index in document order, or nothing.
    virtual std::unique_ptr<HtmlElement> ItemAt(std::int32_t index) = 0;
    // The element of that name (or id), or nothing, also when several share it.
    virtual std::unique_ptr<HtmlElement> ItemNamed(const std::string& name) = 0;
};

class FrameWindow;

class FrameList {
public:
    virtual ~FrameList() = default;
    virtual std::int32_t Count() = 0;
    // Frame window f (0-based), or nothing.
    virtual std::unique_ptr<FrameWindow> Item(std::int32_t index) = 0;
};

class HtmlDocument {
public:
    virtual ~HtmlDocument() = default;
    virtual std::string Title() = 0;
    virtual std::string Url() = 0;
    // The document's frames, or nothing when it has no frame list.
    virtual std::unique_ptr<FrameList> Frames() = 0;
    // All elements of the document in source order, or nothing.
    virtual std::unique_ptr<ElementCollection> Elements() = 0;
};

class FrameWindow {
public:
    virtual ~FrameWindow() = default;
    // The frame's document, or nothing. A frame whose origin differs from its page's
    // is refused, as the browser refuses its page's scripts: an access error.
    virtual std::unique_ptr<HtmlDocument> Document() = 0;
    // The same for a frame that the user named (a page section's frame name): reached
    // whatever its origin, as the user asked for it.
    virtual std::unique_ptr<HtmlDocument> NamedDocument() { return Document(); }
    virtual std::string Name() = 0;
};

class BrowserWindow {
public:
    virtual ~BrowserWindow() = default;
    // The page shown, or nothing when it is not an HTML document.
    virtual std::unique_ptr<HtmlDocument> Document() = 0;
};

// The list of windows a browser source knows (the shell's windows: browsers and
// folder windows alike, so Item may give nothing for an index below Count).
class WindowList {
public:
    virtual ~WindowList() = default;
    virtual std::int32_t Count() = 0;
    // Window i (0-based) when it is a browser, else nothing.
    virtual std::unique_ptr<BrowserWindow> Item(std::int32_t index) = 0;
};

// Where window lists come from; one object per kind of browser connection.
class BrowserAccess {
public:
    virtual ~BrowserAccess() = default;
    // A fresh snapshot of the window list, or nothing when it cannot be opened.
    virtual std::unique_ptr<WindowList> OpenWindowList() = 0;
};
