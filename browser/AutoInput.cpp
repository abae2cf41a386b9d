#include "browser/AutoInput.h"

#include "browser/BrowserText.h"

#include <cstddef>
#include <memory>

namespace {

bool EndsValue(char c) {
    return c == '>' || c == ' ' || (c >= '\t' && c <= '\r');
}

// Lower-cases ASCII letters only, stepping over double-byte characters whole
// (their second byte may look like a capital letter).
std::string LowerAscii(std::string_view s, const LeadBytes& lead) {
    std::string out(s);
    std::size_t i = 0;
    while (i < out.size()) {
        const std::size_t len = lead.CharLength(out, i);
        if (len == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
        i += len;
    }
    return out;
}

// First position, at a character boundary at or after `from`, where `word` starts.
std::size_t FindWord(std::string_view s, std::string_view word, std::size_t from, const LeadBytes& lead) {
    std::size_t i = from;
    while (i < s.size()) {
        if (s.compare(i, word.size(), word) == 0) return i;
        i += lead.CharLength(s, i);
    }
    return std::string_view::npos;
}

std::unique_ptr<HtmlElement> LookUp(ElementCollection& elements, const std::string& key, bool byIndex) {
    if (byIndex) return elements.ItemAt(ParseLeadingNumber(std::string_view(key).substr(1)));
    return elements.ItemNamed(key);
}

}  // namespace

std::string ExtractValueAttribute(std::string_view outerHtml, const LeadBytes& lead) {
    const std::string lower = LowerAscii(outerHtml, lead);
    const std::string_view s(lower);
    const std::size_t word = FindWord(s, "value", 0, lead);
    if (word == std::string_view::npos) return std::string();
    const std::size_t eq = lead.Find(s, '=', word + 5);
    if (eq == std::string_view::npos) return std::string();
    const std::size_t start = eq + 1;
    std::size_t end = start;
    // White space and ">" never occur inside a double-byte character, so a plain
    // byte scan finds them even after a stray lead byte.
    while (end < s.size() && !EndsValue(s[end])) ++end;
    if (end >= s.size()) return std::string();
    return std::string(s.substr(start, end - start));
}

std::string AutoInput::ReadReference(ElementCollection* elements, const std::string& reference, bool report) {
    if (reference.empty()) return std::string();
    std::unique_ptr<HtmlElement> element;
    if (reference[0] == '#' && elements) {
        element = LookUp(*elements, reference, true);
    } else if (reference[0] == '*' && elements) {
        element = elements->ItemNamed(reference.substr(1));
    } else if (reference[0] != '#' && reference[0] != '*') {
        return reference;
    }
    if (element) return ExtractValueAttribute(element->OuterHtml(), m_lead);
    if (report) m_notify.Show(BrowserMessage::NoElement, reference);
    return std::string();
}

std::string AutoInput::ResolveValue(ElementCollection* elements, const std::string& value, bool report) {
    TableExpression table;
    if (WebInputSettings::ParseTableExpression(value, m_lead, table)) {
        const std::string key = ReadReference(elements, table.Reference, report);
        return m_settings.LookupTable(table.TableName, key);
    }
    return ReadReference(elements, value, report);
}

int AutoInput::FillDocument(ElementCollection* elements, const PageSection& page, bool report) {
    if (!elements) return 0;
    int result = 1;
    for (const FieldSetting& field : page.Fields) {
        const std::string value = ResolveValue(elements, field.Value, report);
        int written = 0;
        if (!value.empty()) {
            std::unique_ptr<HtmlElement> element = LookUp(*elements, field.Name, !field.Name.empty() && field.Name[0] == '#');
            if (element) {
                element->WriteText(value);
                written = 1;
            } else if (report) {
                m_notify.Beep();
            }
        }
        result = result && written;
    }
    return result;
}

int AutoInput::FillPage(BrowserAccess& browsers, const PageSection& page) {
    std::unique_ptr<WindowList> windows = browsers.OpenWindowList();
    if (!windows) return 0;
    int step = 1;
    int result = 0;
    try {
        const std::int32_t count = windows->Count();
        for (std::int32_t i = 0; i < count; ++i) {
            std::unique_ptr<BrowserWindow> browser = windows->Item(i);
            if (!browser) continue;
            std::unique_ptr<HtmlDocument> document = browser->Document();
            if (!document) continue;
            const std::string title = document->Title();
            step = 2;
            if (!StartsWith(title, page.TitlePrefix)) continue;

            const bool named = !page.FrameName.empty();
            std::unique_ptr<FrameList> frames = document->Frames();
            const std::int32_t frameCount = frames ? frames->Count() : 0;
            if (frameCount <= 0) {
                result = FillDocument(document->Elements().get(), page, true);
                continue;
            }
            step = 3;
            for (std::int32_t f = 0; f < frameCount; ++f) {
                try {
                    std::unique_ptr<FrameWindow> frame = frames->Item(f);
                    if (!frame) continue;
                    // A frame the section names is reached whatever its origin; any
                    // other only as far as the browser lets its page reach it.
                    const std::string name = frame->Name();
                    std::unique_ptr<HtmlDocument> frameDocument =
                        named && StartsWith(name, page.FrameName) ? frame->NamedDocument() : frame->Document();
                    if (!frameDocument) continue;
                    const std::string frameTitle = frameDocument->Title();
                    if (!StartsWith(name, page.FrameName) && !StartsWith(frameTitle, page.FrameName)) continue;
                    result = FillDocument(frameDocument->Elements().get(), page, named);
                    if (named) break;
                } catch (const BrowserError&) {
                    if (frameCount == 1)
                        result = FillDocument(document->Elements().get(), page, true);
                    else
                        m_notify.Beep();
                }
            }
        }
    } catch (const BrowserError&) {
        m_notify.Show(BrowserMessage::Failure, std::to_string(step));
    }
    return result;
}

int AutoInput::Run(BrowserAccess& browsers) {
    int result = 1;
    for (const PageSection& page : m_settings.Pages) {
        const int pageResult = FillPage(browsers, page);
        result = result && pageResult;
    }
    return result;
}
