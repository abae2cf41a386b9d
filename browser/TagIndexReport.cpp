#include "browser/TagIndexReport.h"

#include "browser/BrowserText.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

const std::size_t kTitleBytes = 40;
const std::size_t kHtmlBytes = 80;

std::string Number(const char* format, long value) {
    char buffer[32] = {};
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

class ReportWriter {
public:
    ReportWriter(const std::vector<PageSection>& sections, UserNotifications& notify, const LeadBytes& lead,
                 std::string& out)
        : m_sections(sections), m_notify(notify), m_lead(lead), m_out(out) {}

    void Write(BrowserAccess& browsers) {
        std::unique_ptr<WindowList> windows = browsers.OpenWindowList();
        if (!windows) return;
        m_step = 1;
        try {
            const std::int32_t count = windows->Count();
            for (std::int32_t i = 0; i < count; ++i) Window(*windows, i, count);
        } catch (const BrowserError&) {
            m_notify.Show(BrowserMessage::Failure, std::to_string(m_step));
        }
    }

private:
    void Window(WindowList& windows, std::int32_t i, std::int32_t count) {
        std::unique_ptr<BrowserWindow> browser = windows.Item(i);
        if (!browser) return;
        m_step = 2;
        std::unique_ptr<HtmlDocument> document = browser->Document();
        if (!document) return;
        const std::string title = document->Title();
        const std::string url = document->Url();
        m_out += "\n\n**** IE[" + std::to_string(i + 1) + "/" + std::to_string(count) + "] TITLE:" +
                 CutToBytes(title, kTitleBytes, m_lead) + "  (" + url + ") ****\n";

        std::unique_ptr<FrameList> frames = document->Frames();
        const std::int32_t frameCount = frames ? frames->Count() : 0;
        bool listTop = frameCount <= 0;
        const std::vector<std::string> namedFrames = FrameNamesFor(title);
        for (std::int32_t f = 0; f < frameCount; ++f) {
            std::unique_ptr<FrameWindow> frame = frames->Item(f);
            if (!frame) continue;
            try {
                Frame(*frame, f, frameCount, Named(*frame, namedFrames));
            } catch (const BrowserError& e) {
                FrameError(f + 1, e);
                listTop = true;
                break;
            }
        }
        if (!listTop) return;
        std::unique_ptr<ElementCollection> elements;
        try {
            elements = document->Elements();
        } catch (const BrowserError& e) {
            // The page's own elements could not be fetched: its error line, then the next window.
            FrameError(0, e);
            return;
        }
        if (!elements) return;
        m_out += "\n=== NoFrame ===\n";
        m_step = 7;
        List(*elements, 8);
    }

    void FrameError(std::int32_t number, const BrowserError& e) {
        m_out += "\n=== Frame[" + std::to_string(number) + "] : Error!!! fail to get frame document:" +
                 std::to_string(e.Code()) + " ===\n";
    }

    // The frame names that the page sections matching this page title give.
    std::vector<std::string> FrameNamesFor(const std::string& title) const {
        std::vector<std::string> names;
        for (const PageSection& page : m_sections)
            if (!page.FrameName.empty() && StartsWith(title, page.TitlePrefix)) names.push_back(page.FrameName);
        return names;
    }

    static bool Named(FrameWindow& frame, const std::vector<std::string>& names) {
        if (names.empty()) return false;
        const std::string name = frame.Name();
        for (const std::string& prefix : names)
            if (StartsWith(name, prefix)) return true;
        return false;
    }

    void Frame(FrameWindow& frame, std::int32_t f, std::int32_t frameCount, bool named) {
        m_step = 3;
        std::unique_ptr<HtmlDocument> document = named ? frame.NamedDocument() : frame.Document();
        if (!document) return;
        m_out += "\n=== Frame[" + std::to_string(f + 1) + "/" + std::to_string(frameCount) + "]  " +
                 document->Title() + " ===\n";
        std::unique_ptr<ElementCollection> elements;
        try {
            elements = document->Elements();
        } catch (const BrowserError&) {
            return;  // header only, no element lines
        }
        if (!elements) return;
        m_step = 4;
        List(*elements, 5);
    }

    void List(ElementCollection& elements, int readStep) {
        const std::int32_t length = elements.Length();
        for (std::int32_t k = 0; k < length; ++k) {
            m_step = readStep;
            std::unique_ptr<HtmlElement> element = elements.ItemAt(k);
            if (!element) {
                m_out += Number("[#%3ld]", k) + Number("- error item(%ld) -\n", k);
                continue;
            }
            const std::string name = element->NameAttribute().value_or(std::string());
            const std::string html = HidePasswordValue(element->OuterHtmlStart(kHtmlBytes), m_lead);
            m_out += Number("[#%3ld]", k) + "(" + name + ") " + CutToBytes(html, kHtmlBytes, m_lead) + "\n";
        }
    }

    const std::vector<PageSection>& m_sections;
    UserNotifications& m_notify;
    const LeadBytes& m_lead;
    std::string& m_out;
    int m_step = 0;
};

}  // namespace

void WriteTagIndexReport(BrowserAccess& browsers, UserNotifications& notify, const LeadBytes& lead,
                         std::string& out, const std::vector<PageSection>& sections) {
    ReportWriter(sections, notify, lead, out).Write(browsers);
}
