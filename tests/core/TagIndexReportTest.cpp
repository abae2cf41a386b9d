#include "browser/TagIndexReport.h"

#include "browser/BrowserText.h"

#include "FakeBrowser.h"
#include "FakeNotifications.h"

#include <gtest/gtest.h>

using fake::Document;
using fake::FakeBrowser;
using fake::Frame;
using fake::FakeNotifications;

namespace {

const LeadBytes kSingleByte;

std::string Report(FakeBrowser& browser, FakeNotifications& notify, const LeadBytes& lead = kSingleByte) {
    std::string out;
    WriteTagIndexReport(browser, notify, lead, out);
    return out;
}

Frame FrameWithElements(const std::string& title) {
    Frame f;
    f.document->title = title;
    f.document->Add(std::nullopt, "<HTML><HEAD><TITLE>" + title + "</TITLE></HEAD>");
    f.document->Add(std::nullopt, "<HEAD><TITLE>" + title + "</TITLE></HEAD>");
    f.document->Add(std::nullopt, "<TITLE>" + title + "</TITLE>");
    return f;
}

}  // namespace

TEST(TagIndexReport, FramesetPageWithAnUnreadableFrameAndAFolder) {
    FakeBrowser browser;
    Document& order = browser.AddPage("Order", "http://shop.test/order");
    order.Add(std::nullopt, "<HTML><HEAD><TITLE>Order</TITLE></HEAD>");
    order.hasFrameList = true;
    order.frames.push_back(FrameWithElements("Menu"));
    order.frames.push_back(FrameWithElements("Body"));
    order.frames[1].failDocument = true;
    browser.AddFolder();
    Document& plain = browser.AddPage("Plain", "file:///c:/plain.html");
    plain.Add(std::string("user"), "<INPUT name=user>");
    plain.Add(std::nullopt, "<P>");
    plain.elements.back().notAnElement = true;

    FakeNotifications notify;
    EXPECT_EQ(
        "\n\n**** IE[1/3] TITLE:Order  (http://shop.test/order) ****\n"
        "\n=== Frame[1/2]  Menu ===\n"
        "[#  0]() <HTML><HEAD><TITLE>Menu</TITLE></HEAD>\n"
        "[#  1]() <HEAD><TITLE>Menu</TITLE></HEAD>\n"
        "[#  2]() <TITLE>Menu</TITLE>\n"
        "\n=== Frame[2] : Error!!! fail to get frame document:-2147024891 ===\n"
        "\n=== NoFrame ===\n"
        "[#  0]() <HTML><HEAD><TITLE>Order</TITLE></HEAD>\n"
        "\n\n**** IE[3/3] TITLE:Plain  (file:///c:/plain.html) ****\n"
        "\n=== NoFrame ===\n"
        "[#  0](user) <INPUT name=user>\n"
        "[#  1]- error item(1) -\n",
        Report(browser, notify));
    EXPECT_TRUE(notify.messages.empty());
}

TEST(TagIndexReport, FramesWithoutTroubleDoNotListTheTopDocument) {
    FakeBrowser browser;
    Document& page = browser.AddPage("P", "u");
    page.Add(std::nullopt, "<HTML>");
    page.hasFrameList = true;
    page.frames.push_back(FrameWithElements("A"));
    page.frames.push_back(FrameWithElements("B"));
    page.frames[0].document->failElements = true;  // header only
    page.frames[1].hasWindow = false;                // skipped
    FakeNotifications notify;
    EXPECT_EQ("\n\n**** IE[1/1] TITLE:P  (u) ****\n\n=== Frame[1/2]  A ===\n", Report(browser, notify));
}

TEST(TagIndexReport, WideIndexesAndCuts) {
    FakeBrowser browser;
    const std::string title41 = std::string(40, 'T') + "X";
    Document& page = browser.AddPage(title41, "u");
    page.hasFrameList = true;
    Frame frame;
    frame.document->title = title41;  // frame headers are not cut
    for (int k = 0; k < 1001; ++k) frame.document->Add(std::nullopt, "<B>");
    frame.document->elements[1000].outerHtml = std::string(80, 'h') + "cut";
    page.frames.push_back(frame);
    FakeNotifications notify;
    const std::string out = Report(browser, notify);
    EXPECT_EQ(0u, out.find("\n\n**** IE[1/1] TITLE:" + std::string(40, 'T') + "  (u) ****\n"));
    EXPECT_NE(std::string::npos, out.find("=== Frame[1/1]  " + title41 + " ===\n"));
    EXPECT_NE(std::string::npos, out.find("\n[#999]() <B>\n[#1000]() " + std::string(80, 'h') + "\n"));
    EXPECT_EQ(out.size() - 1, out.rfind('\n'));
}

TEST(TagIndexReport, DoubleByteTitleIsCutAtACharacterBoundary) {
    const LeadBytes sjis = LeadBytes::ForCodePage(932);
    FakeBrowser browser;
    // 39 single bytes, then a two-byte character that would straddle byte 40.
    browser.AddPage(std::string(39, 'a') + "\x82\xA0" + "z", "u").hasElements = false;
    browser.AddPage(std::string(38, 'a') + "\x82\xA0" + "z", "u").hasElements = false;
    FakeNotifications notify;
    EXPECT_EQ("\n\n**** IE[1/2] TITLE:" + std::string(39, 'a') + "  (u) ****\n" +
                  "\n\n**** IE[2/2] TITLE:" + std::string(38, 'a') + "\x82\xA0  (u) ****\n",
              Report(browser, notify, sjis));
    // Under a single-byte code page the cut is exactly 40 bytes.
    EXPECT_EQ(0u, Report(browser, notify).find("\n\n**** IE[1/2] TITLE:" + std::string(39, 'a') + "\x82  (u)"));
}

TEST(TagIndexReport, NoWindowsOrNoListGiveAnEmptyReport) {
    FakeBrowser browser;
    FakeNotifications notify;
    EXPECT_EQ("", Report(browser, notify));
    browser.AddPage("P");
    browser.listMissing = true;
    EXPECT_EQ("", Report(browser, notify));
    EXPECT_TRUE(notify.messages.empty());
}

TEST(TagIndexReport, FailuresOutsideFramesEndTheReportWithTheStep) {
    {
        FakeBrowser browser;
        browser.failCount = true;
        FakeNotifications notify;
        EXPECT_EQ("", Report(browser, notify));
        EXPECT_EQ(std::vector<std::string>{"GPF : Error:1"}, notify.messages);
    }
    {
        FakeBrowser browser;
        browser.AddPage("P", "u").failTitle = true;
        browser.AddPage("Q", "u");
        FakeNotifications notify;
        EXPECT_EQ("", Report(browser, notify));
        EXPECT_EQ(std::vector<std::string>{"GPF : Error:2"}, notify.messages);
    }
    {
        FakeBrowser browser;
        Document& page = browser.AddPage("P", "u");
        page.Add(std::string("a"), "<A>");
        page.Add(std::string("b"), "<B>").failOuterHtml = true;
        FakeNotifications notify;
        EXPECT_EQ("\n\n**** IE[1/1] TITLE:P  (u) ****\n\n=== NoFrame ===\n[#  0](a) <A>\n", Report(browser, notify));
        EXPECT_EQ(std::vector<std::string>{"GPF : Error:8"}, notify.messages);
    }
    {
        FakeBrowser browser;
        browser.AddPage("P", "u").failLength = true;
        FakeNotifications notify;
        Report(browser, notify);
        EXPECT_EQ(std::vector<std::string>{"GPF : Error:7"}, notify.messages);
    }
    {
        // A failing element inside a frame is a frame error, not a message.
        FakeBrowser browser;
        Document& page = browser.AddPage("P", "u");
        page.hasFrameList = true;
        page.frames.push_back(FrameWithElements("F"));
        page.frames[0].document->elements[1].failName = true;
        page.hasElements = false;
        FakeNotifications notify;
        EXPECT_EQ("\n\n**** IE[1/1] TITLE:P  (u) ****\n\n=== Frame[1/1]  F ===\n"
                  "[#  0]() <HTML><HEAD><TITLE>F</TITLE></HEAD>\n"
                  "\n=== Frame[1] : Error!!! fail to get frame document:-1 ===\n",
                  Report(browser, notify));
        EXPECT_TRUE(notify.messages.empty());
    }
}

TEST(TagIndexReport, PasswordFieldsNeverShowTheirValue) {
    FakeBrowser browser;
    Document& page = browser.AddPage("Login", "u");
    // As the DevTools layer reports a typed value, as a page's script sets it, and as older browsers write it.
    page.Add(std::string("pw"), "<input type=\"password\" name=\"pw\" value=\"typed secret\">");
    page.Add(std::string("pw2"), "<input name=pw2 value='set by script' TYPE = 'Password' >");
    page.Add(std::string("pw3"), "<INPUT value=hunter2 type=PASSWORD name=pw3 value=again/>");
    page.Add(std::string("user"), "<input type=\"text\" name=\"user\" value=\"alice\">");
    page.Add(std::nullopt, "<p title=\"type=password\" value=\"shown\">");
    FakeNotifications notify;
    EXPECT_EQ("\n\n**** IE[1/1] TITLE:Login  (u) ****\n\n=== NoFrame ===\n"
              "[#  0](pw) <input type=\"password\" name=\"pw\">\n"
              "[#  1](pw2) <input name=pw2 TYPE = 'Password' >\n"
              "[#  2](pw3) <INPUT type=PASSWORD name=pw3>\n"  // an unquoted value takes the "/" too
              "[#  3](user) <input type=\"text\" name=\"user\" value=\"alice\">\n"
              "[#  4]() <p title=\"type=password\" value=\"shown\">\n",
              Report(browser, notify));
    // A value that runs past the 80 bytes shown, and double-byte text holding a quote's byte value.
    const LeadBytes sjis = LeadBytes::ForCodePage(932);
    EXPECT_EQ("<input type=password name=x>",
              HidePasswordValue("<input value=\"" + std::string(200, 's') + "\" type=password name=x>", sjis));
    EXPECT_EQ("<input type=password>", HidePasswordValue("<input type=password value=\"\x83\x22\">", sjis));
    EXPECT_EQ("<input type=password", HidePasswordValue("<input type=password value=\"cut off", sjis));
    // A cut start is enough for a line only when it holds the whole start tag.
    EXPECT_TRUE(HoldsStartTag("<html lang=\"a>b\"><head>", sjis));
    EXPECT_FALSE(HoldsStartTag("<input value=\"a>b", sjis));
    EXPECT_FALSE(HoldsStartTag("text", sjis));
}

TEST(TagIndexReport, NoLineShowsAPasswordWhateverElementHoldsIt) {
    const LeadBytes sjis = LeadBytes::ForCodePage(932);
    // A containing element's line, as a page that mirrors typed text into the attribute shows it.
    EXPECT_EQ("<form name=f><input type=password name=p><input name=u value=shown>",
              HidePasswordValue("<form name=f><input type=password name=p value=typed><input name=u value=shown>", sjis));
    EXPECT_EQ("<TD><INPUT type=\"password\" name=p></TD>",
              HidePasswordValue("<TD><INPUT value=\"x y\" type=\"password\" name=p></TD>", sjis));
    // An input cut off before its type shows may be a password.
    EXPECT_EQ("<td><input name=p", HidePasswordValue("<td><input name=p value=\"secret that is cut", sjis));
    EXPECT_EQ("<td><input type=text value=\"shown but cut",
              HidePasswordValue("<td><input type=text value=\"shown but cut", sjis));
    // The first type attribute counts, as in a browser; an <inputs> tag is no input.
    EXPECT_EQ("<p><input type=text type=password value=v>",
              HidePasswordValue("<p><input type=text type=password value=v>", sjis));
    EXPECT_EQ("<inputs type=password value=v>", HidePasswordValue("<inputs type=password value=v>", sjis));
}

TEST(TagIndexReport, AFrameOfAnotherOriginIsListedOnlyWhenASectionNamesIt) {
    FakeBrowser browser;
    Document& page = browser.AddPage("Shop", "u");
    page.hasFrameList = true;
    page.frames.push_back(FrameWithElements("Own"));
    page.frames.push_back(FrameWithElements("Pay"));
    page.frames[1].name = "payment";
    page.frames[1].otherOrigin = true;
    page.frames[1].document->Add(std::string("card"), "<input name=card value=4111>");
    page.Add(std::nullopt, "<HTML>");
    FakeNotifications notify;
    const std::string own = "\n=== Frame[1/2]  Own ===\n[#  0]() <HTML><HEAD><TITLE>Own</TITLE></HEAD>\n"
                            "[#  1]() <HEAD><TITLE>Own</TITLE></HEAD>\n[#  2]() <TITLE>Own</TITLE>\n";
    EXPECT_EQ("\n\n**** IE[1/1] TITLE:Shop  (u) ****\n" + own +
                  "\n=== Frame[2] : Error!!! fail to get frame document:-2147024891 ===\n"
                  "\n=== NoFrame ===\n[#  0]() <HTML>\n",
              Report(browser, notify));
    // Named by a section of this page: listed with its values. A section of another page names nothing here.
    WebInputSettings settings;
    settings.LoadText("[Other:payment]\nq=1\n[Sh:pay]\nq=2\n", LeadBytes());
    std::string out;
    WriteTagIndexReport(browser, notify, LeadBytes(), out, settings.Pages);
    EXPECT_NE(std::string::npos, out.find("=== Frame[2/2]  Pay ===\n"));
    EXPECT_NE(std::string::npos, out.find("[#  3](card) <input name=card value=4111>\n"));
    settings.LoadText("[Other:payment]\nq=1\n", LeadBytes());
    out.clear();
    WriteTagIndexReport(browser, notify, LeadBytes(), out, settings.Pages);
    EXPECT_EQ(std::string::npos, out.find("4111"));
    EXPECT_TRUE(notify.messages.empty());
}

TEST(TagIndexReport, APageWhoseElementsCannotBeFetchedGetsItsErrorLine) {
    FakeBrowser browser;
    browser.AddPage("Huge", "u").failElements = true;
    browser.AddPage("Next", "v").Add(std::nullopt, "<HTML>");
    FakeNotifications notify;
    EXPECT_EQ("\n\n**** IE[1/2] TITLE:Huge  (u) ****\n"
              "\n=== Frame[0] : Error!!! fail to get frame document:-1 ===\n"
              "\n\n**** IE[2/2] TITLE:Next  (v) ****\n\n=== NoFrame ===\n[#  0]() <HTML>\n",
              Report(browser, notify));
    EXPECT_TRUE(notify.messages.empty());
}
