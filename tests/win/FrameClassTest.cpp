// The window class of a frame comes from the application: Jotwell's object names it
// "JotwellFrame" (what other programs and the test tools look for) and its document template
// gives the icon; an application that names none gets the framework's own class.
#include "app/JotwellApp.h"
#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FrameClass {
    std::string name;
    bool hasIcon;
};

FrameClass ClassOfNewFrame() {
    CFrameWnd* frame = new CFrameWnd;  // deletes itself when its window goes
    if (!frame->CreateEx(0, nullptr, "frame class test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr)) {
        delete frame;
        return {"", false};
    }
    char name[64] = {};
    GetClassNameA(frame->m_hWnd, name, sizeof(name));
    const FrameClass result = {name, GetClassLongPtrA(frame->m_hWnd, GCLP_HICON) != 0};
    frame->DestroyWindow();
    return result;
}

}  // namespace

TEST(FrameClass, NamedByTheApplicationWithItsTemplatesIcon) {
    CJotwellApp app;
    app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, nullptr, nullptr, nullptr));
    const FrameClass frame = ClassOfNewFrame();
    EXPECT_EQ("JotwellFrame", frame.name);
    EXPECT_TRUE(frame.hasIcon);
}

TEST(FrameClass, TheFrameworksOwnWhenTheApplicationNamesNone) {
    CWinApp app;
    EXPECT_EQ("AfxFrameOrView", ClassOfNewFrame().name);
}
