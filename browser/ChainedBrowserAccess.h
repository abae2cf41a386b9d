// Two browser sources seen as one: the first source's windows, then the second's.
#pragma once

#include "browser/BrowserAccess.h"

#include <memory>

// Two window lists joined: indexes below the first list's count go to it, the
// rest to the second. Either list may be missing.
class ChainedWindowList : public WindowList {
public:
    ChainedWindowList(std::unique_ptr<WindowList> first, std::unique_ptr<WindowList> second);
    std::int32_t Count() override;
    std::unique_ptr<BrowserWindow> Item(std::int32_t index) override;

private:
    std::int32_t FirstCount();

    std::unique_ptr<WindowList> m_first;
    std::unique_ptr<WindowList> m_second;
};

// Opens both sources; the chain is nothing only when neither opens.
class ChainedBrowserAccess : public BrowserAccess {
public:
    ChainedBrowserAccess(BrowserAccess& first, BrowserAccess& second) : m_first(first), m_second(second) {}
    std::unique_ptr<WindowList> OpenWindowList() override;

private:
    BrowserAccess& m_first;
    BrowserAccess& m_second;
};
