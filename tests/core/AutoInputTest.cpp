#include "browser/AutoInput.h"

#include "browser/ChainedBrowserAccess.h"

#include "FakeBrowser.h"
#include "FakeNotifications.h"

#include <gtest/gtest.h>

using fake::Document;
using fake::FakeBrowser;
using fake::Frame;
using fake::FakeNotifications;

namespace {

const LeadBytes kSingleByte;

WebInputSettings Settings(const std::string& text) {
    WebInputSettings s;
    s.LoadText(text, kSingleByte);
    return s;
}

Frame NamedFrame(const std::string& name, const std::string& title) {
    Frame f;
    f.name = name;
    f.document->title = title;
    f.document->Add(std::string("q"), "<INPUT name=q>");
    return f;
}

struct FillRun {
    explicit FillRun(const std::string& text) : settings(Settings(text)), input(settings, notify, kSingleByte) {}
    WebInputSettings settings;
    FakeNotifications notify;
    AutoInput input;
};

}  // namespace

TEST(ExtractValueAttribute, ReadsTheTextAfterValueEquals) {
    EXPECT_EQ("abc", ExtractValueAttribute("<INPUT VALUE=ABC name=x>", kSingleByte));
    EXPECT_EQ("\"a", ExtractValueAttribute("<input value=\"a b\">", kSingleByte));
    EXPECT_EQ("x", ExtractValueAttribute("<input value=x\nname=y>", kSingleByte));
    EXPECT_EQ("", ExtractValueAttribute("<input name=x>", kSingleByte));
    EXPECT_EQ("", ExtractValueAttribute("<input value>", kSingleByte));
    EXPECT_EQ("", ExtractValueAttribute("value=abc", kSingleByte));  // nothing ends the value
    EXPECT_EQ("", ExtractValueAttribute("<input value= x>", kSingleByte));
    EXPECT_EQ("y", ExtractValueAttribute("<input data-value=y value=z>", kSingleByte));
}

TEST(ExtractValueAttribute, LeavesDoubleByteCharactersWhole) {
    const LeadBytes sjis = LeadBytes::ForCodePage(932);
    // 0x83 0x41 is one character whose second byte is "A"; lower-casing it would change it.
    EXPECT_EQ("\x83\x41z", ExtractValueAttribute("<INPUT VALUE=\x83\x41Z>", sjis));
    // "value" made of trail bytes does not count.
    EXPECT_EQ("k", ExtractValueAttribute("<p \x83value=no>value=k>", sjis));
    EXPECT_EQ("no", ExtractValueAttribute("<p \x83value=no>value=k>", kSingleByte));
}

TEST(AutoInput, FillsMatchingPagesByNameAndIndexWithoutFrames) {
    FakeBrowser browser;
    Document& order = browser.AddPage("Order form - shop");
    order.Add(std::string("customer"), "<INPUT name=customer>");
    order.Add(std::nullopt, "<INPUT>");
    order.Add(std::nullopt, "<INPUT id=third>");
    Document& other = browser.AddPage("Something else");
    other.Add(std::string("customer"), "<INPUT name=customer>");
    Document& second = browser.AddPage("Order form");
    second.Add(std::string("customer"), "<INPUT name=customer>");

    FillRun run("[Order form]\ncustomer=Smith\n#2=two\n# 0=zero\n");
    // The last page filled has no element 2, so the result is 0.
    EXPECT_EQ(0, run.input.FillPage(browser, run.settings.Pages[0]));
    EXPECT_EQ((std::vector<std::string>{"Smith", "zero"}), order.elements[0].written);
    EXPECT_EQ(std::vector<std::string>{"two"}, order.elements[2].written);
    EXPECT_EQ((std::vector<std::string>{"Smith", "zero"}), second.elements[0].written);
    EXPECT_TRUE(other.elements[0].written.empty());
    EXPECT_EQ(1, run.notify.beeps);
    EXPECT_TRUE(run.notify.messages.empty());
}

TEST(AutoInput, MissingElementBeepsOnceAndTheRestIsStillFilled) {
    FakeBrowser browser;
    Document& page = browser.AddPage("P");
    page.Add(std::string("b"), "<INPUT name=b>");
    FillRun run("[P]\na=1\nb=2\n");
    EXPECT_EQ(0, run.input.FillPage(browser, run.settings.Pages[0]));
    EXPECT_EQ(1, run.notify.beeps);
    EXPECT_EQ(std::vector<std::string>{"2"}, page.elements[0].written);
}

TEST(AutoInput, EmptyFrameNameFillsEveryFrameSilentlyAndNotTheTop) {
    FakeBrowser browser;
    Document& top = browser.AddPage("P");
    top.Add(std::string("q"), "<INPUT name=q>");
    top.hasFrameList = true;
    top.frames.push_back(NamedFrame("left", "Menu"));
    top.frames.push_back(NamedFrame("right", "Body"));
    FillRun run("[P]\nq=x\nmissing=y\nz=*nothere\n");
    EXPECT_EQ(0, run.input.FillPage(browser, run.settings.Pages[0]));
    EXPECT_EQ(std::vector<std::string>{"x"}, top.frames[0].document->elements[0].written);
    EXPECT_EQ(std::vector<std::string>{"x"}, top.frames[1].document->elements[0].written);
    EXPECT_TRUE(top.elements[0].written.empty());
    EXPECT_EQ(0, run.notify.beeps);
    EXPECT_TRUE(run.notify.messages.empty());
}

TEST(AutoInput, NamedFrameFillsOnlyTheFirstMatchByNameOrTitle) {
    FakeBrowser browser;
    Document& top = browser.AddPage("P");
    top.hasFrameList = true;
    top.frames.push_back(NamedFrame("left", "Menu"));
    top.frames.push_back(NamedFrame("x", "Mainpage"));
    top.frames.push_back(NamedFrame("main2", "Other"));
    FillRun run("[P:Main]\nq=x\n[P:main]\nq=y\n[P:nope]\nq=z\n");
    EXPECT_EQ(1, run.input.FillPage(browser, run.settings.Pages[0]));
    EXPECT_EQ(std::vector<std::string>{"x"}, top.frames[1].document->elements[0].written);  // by title
    EXPECT_EQ(1, run.input.FillPage(browser, run.settings.Pages[1]));
    EXPECT_EQ(std::vector<std::string>{"y"}, top.frames[2].document->elements[0].written);  // by name
    EXPECT_EQ(0, run.input.FillPage(browser, run.settings.Pages[2]));
    EXPECT_TRUE(top.frames[0].document->elements[0].written.empty());
}

TEST(AutoInput, AFrameOfAnotherOriginIsFilledOnlyWhenTheSectionNamesIt) {
    FakeBrowser browser;
    Document& top = browser.AddPage("P");
    top.hasFrameList = true;
    top.frames.push_back(NamedFrame("own", "Own"));
    top.frames.push_back(NamedFrame("pay", "Payment"));
    top.frames[1].otherOrigin = true;
    FillRun run("[P]\nq=every\n[P:pay]\nq=named\n[P:Payment]\nq=by title\n");
    // Every frame: the other origin's is refused as an unreadable frame is, with a beep.
    EXPECT_EQ(1, run.input.FillPage(browser, run.settings.Pages[0]));
    EXPECT_EQ(std::vector<std::string>{"every"}, top.frames[0].document->elements[0].written);
    EXPECT_TRUE(top.frames[1].document->elements[0].written.empty());
    EXPECT_EQ(1, run.notify.beeps);
    // Named by its name: the user asked for it.
    EXPECT_EQ(1, run.input.FillPage(browser, run.settings.Pages[1]));
    EXPECT_EQ(std::vector<std::string>{"named"}, top.frames[1].document->elements[0].written);
    // A title is read from the document, which is what is refused.
    EXPECT_EQ(0, run.input.FillPage(browser, run.settings.Pages[2]));
    EXPECT_EQ(std::vector<std::string>{"named"}, top.frames[1].document->elements[0].written);
    EXPECT_EQ(2, run.notify.beeps);
}

TEST(AutoInput, FailingOnlyFrameFallsBackToTheTopDocument) {
    FakeBrowser browser;
    Document& top = browser.AddPage("P");
    top.Add(std::string("q"), "<INPUT name=q>");
    top.hasFrameList = true;
    top.frames.push_back(NamedFrame("f", "F"));
    top.frames[0].failDocument = true;
    FillRun run("[P:f]\nq=v\n");
    EXPECT_EQ(1, run.input.FillPage(browser, run.settings.Pages[0]));
    EXPECT_EQ(std::vector<std::string>{"v"}, top.elements[0].written);
    EXPECT_EQ(0, run.notify.beeps);
}

TEST(AutoInput, FailingFrameAmongSeveralBeepsAndTheVisitGoesOn) {
    FakeBrowser browser;
    Document& top = browser.AddPage("P");
    top.Add(std::string("q"), "<INPUT name=q>");
    top.hasFrameList = true;
    top.frames.push_back(NamedFrame("a", "A"));
    top.frames.push_back(NamedFrame("b", "B"));
    top.frames[0].failName = true;
    FillRun run("[P]\nq=v\n");
    EXPECT_EQ(1, run.input.FillPage(browser, run.settings.Pages[0]));
    EXPECT_EQ(1, run.notify.beeps);
    EXPECT_EQ(std::vector<std::string>{"v"}, top.frames[1].document->elements[0].written);
    EXPECT_TRUE(top.elements[0].written.empty());
}

TEST(AutoInput, FailureOutsideTheFrameGuardShowsTheStep) {
    {
        FakeBrowser browser;
        browser.AddPage("P").failTitle = true;
        FillRun run("[P]\nq=v\n");
        EXPECT_EQ(0, run.input.FillPage(browser, run.settings.Pages[0]));
        EXPECT_EQ(std::vector<std::string>{"GPF : Error:1"}, run.notify.messages);
    }
    {
        // A rejected write in the second window: the first window's result stays.
        FakeBrowser browser;
        browser.AddPage("P").Add(std::string("q"), "<INPUT name=q>");
        browser.AddPage("P").Add(std::string("q"), "<INPUT name=q>").failWrite = true;
        FillRun run("[P]\nq=v\n");
        EXPECT_EQ(1, run.input.FillPage(browser, run.settings.Pages[0]));
        EXPECT_EQ(std::vector<std::string>{"GPF : Error:2"}, run.notify.messages);
    }
    {
        // The step is not set back for the next window: 3 stays after a frameset
        // page until another title is read.
        FakeBrowser browser;
        Document& first = browser.AddPage("P");
        first.hasFrameList = true;
        first.frames.push_back(NamedFrame("a", "A"));
        browser.AddPage("Q");
        browser.windows.back().failDocument = true;
        FillRun run("[P]\nq=v\n");
        run.input.FillPage(browser, run.settings.Pages[0]);
        EXPECT_EQ(std::vector<std::string>{"GPF : Error:3"}, run.notify.messages);
    }
}

TEST(AutoInput, WindowListThatCannotOpenIsSilent) {
    FakeBrowser browser;
    browser.listMissing = true;
    FillRun run("[P]\nq=v\n[Q]\nq=v\n");
    EXPECT_EQ(0, run.input.Run(browser));
    EXPECT_EQ(2, browser.opened);
    EXPECT_TRUE(run.notify.messages.empty());
}

TEST(AutoInput, RunVisitsEveryPageEvenAfterAFailedOne) {
    FakeBrowser browser;
    browser.AddPage("B").Add(std::string("q"), "<INPUT name=q>");
    FillRun run("[A]\nq=1\n[B]\nq=2\n");
    EXPECT_EQ(0, run.input.Run(browser));
    EXPECT_EQ(std::vector<std::string>{"2"}, browser.windows[0].document->elements[0].written);
    FillRun none("");
    EXPECT_EQ(1, none.input.Run(browser));
}

TEST(AutoInput, ReferencesAndTableLookups) {
    FakeBrowser browser;
    Document& page = browser.AddPage("P");
    page.Add(std::string("city"), "<INPUT value=Paris name=city>");
    page.Add(std::string("out"), "<INPUT name=out>");
    page.Add(std::string("copy"), "<INPUT name=copy>");
    page.Add(std::string("dflt"), "<INPUT name=dflt>");
    page.Add(std::string("none"), "<INPUT name=none>");
    page.Add(std::string("lit"), "<INPUT name=lit>");
    FillRun run(
        "[P]\nout=$C[*city]\ncopy=#0\ndflt=$C[literal]\nnone=$D[x]\nlit=$C[x\n"
        "[$C]\nparis=France\n$DEFAULT=other\n[$D]\ny=1\n");
    EXPECT_EQ(0, run.input.FillPage(browser, run.settings.Pages[0]));
    EXPECT_EQ(std::vector<std::string>{"France"}, page.elements[1].written);
    EXPECT_EQ(std::vector<std::string>{"paris"}, page.elements[2].written);
    EXPECT_EQ(std::vector<std::string>{"other"}, page.elements[3].written);
    EXPECT_TRUE(page.elements[4].written.empty());  // no entry, no default: skipped
    EXPECT_EQ(std::vector<std::string>{"$C[x"}, page.elements[5].written);
    EXPECT_EQ(0, run.notify.beeps);
}

TEST(AutoInput, MissingReferenceShowsItsMessageOnlyWhenReporting) {
    FakeBrowser browser;
    Document& page = browser.AddPage("P");
    page.Add(std::string("a"), "<INPUT name=a>");
    page.Add(std::string("dup"), "<INPUT name=dup>");
    page.Add(std::string("dup"), "<INPUT name=dup>");
    FillRun run("[P]\na=*gone\na=#7\na=$T[*dup]\n[$T]\n$DEFAULT=d\n");
    EXPECT_EQ(0, run.input.FillPage(browser, run.settings.Pages[0]));
    EXPECT_EQ((std::vector<std::string>{"No Element(Get) : [*gone]", "No Element(Get) : [#7]",
                                        "No Element(Get) : [*dup]"}),
              run.notify.messages);
    EXPECT_TRUE(page.elements[0].written.empty());  // an empty key finds no table value
    EXPECT_EQ(0, run.notify.beeps);

    auto elements = std::make_unique<fake::FakeCollection>(page);
    EXPECT_EQ("", run.input.ReadReference(elements.get(), "*gone", false));
    EXPECT_EQ(3u, run.notify.messages.size());
    EXPECT_EQ(0, run.input.FillDocument(nullptr, run.settings.Pages[0], true));
}

TEST(AutoInput, PasswordFieldsAreStillReadByReference) {
    FakeBrowser browser;
    Document& page = browser.AddPage("Login");
    page.Add(std::string("pw"), "<input type=password name=pw value=Secret>");
    page.Add(std::string("again"), "<input type=password name=again>");
    FillRun run("[Login]\nagain=*pw\n");
    EXPECT_EQ(1, run.input.Run(browser));
    EXPECT_EQ(std::vector<std::string>{"secret"}, page.elements[1].written);
}

TEST(AutoInput, JoinedListIsTakenOncePerRunAndKept) {
    FakeBrowser shell;
    FakeBrowser devTools;
    shell.AddFolder();
    for (const char* title : {"A", "B", "C", "D"}) devTools.AddPage(title).Add(std::string("q"), "<INPUT name=q>");
    ChainedBrowserAccess both(shell, devTools);
    FillRun run("[A]\nq=1\n[B]\nq=2\n[C]\nq=3\n[D]\nq=4\n");
    EXPECT_EQ(1, run.input.Run(both));
    EXPECT_EQ(1, shell.opened);
    EXPECT_EQ(1, devTools.opened);

    // A shell window that opens during the run shifts nothing: the counts were taken once.
    std::unique_ptr<WindowList> list = both.OpenWindowList();
    ASSERT_EQ(5, list->Count());
    shell.AddPage("late");
    EXPECT_EQ(5, both.OpenWindowList()->Count());
    EXPECT_EQ("A", list->Item(1)->Document()->Title());
    EXPECT_EQ(nullptr, list->Item(0));

    // A source that did not open is not asked again.
    FakeBrowser silent;
    silent.listMissing = true;
    ChainedBrowserAccess none(silent, silent);
    EXPECT_EQ(nullptr, none.OpenWindowList());
    EXPECT_EQ(nullptr, none.OpenWindowList());
    EXPECT_EQ(2, silent.opened);
}
