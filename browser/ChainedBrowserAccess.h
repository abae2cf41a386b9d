// Two browser sources seen as one: the first source's windows, then the second's.
#pragma once

#include "browser/BrowserAccess.h"

#include <memory>
#include <optional>

// Two window lists joined: indexes below the first list's count go to it, the
// rest to the second. Either list may be missing. Each count is read once, when
// first needed, and kept: a window that opens meanwhile shifts nothing.
class ChainedWindowList : public WindowList {
public:
    ChainedWindowList(std::unique_ptr<WindowList> first, std::unique_ptr<WindowList> second);
    std::int32_t Count() override;
    std::unique_ptr<BrowserWindow> Item(std::int32_t index) override;

private:
    std::int32_t FirstCount();

    std::unique_ptr<WindowList> m_first;
    std::unique_ptr<WindowList> m_second;
    std::optional<std::int32_t> m_firstCount;
    std::optional<std::int32_t> m_secondCount;
};

// Opens both sources once, at the first request, and keeps the joined list: every
// later request (each page section of a fill) gets that same list, so a source
// that did not answer is not asked again. Make one per run. The chain is nothing
// only when neither source opens.
class ChainedBrowserAccess : public BrowserAccess {
public:
    ChainedBrowserAccess(BrowserAccess& first, BrowserAccess& second) : m_first(first), m_second(second) {}
    std::unique_ptr<WindowList> OpenWindowList() override;

private:
    BrowserAccess& m_first;
    BrowserAccess& m_second;
    bool m_opened = false;
    std::unique_ptr<ChainedWindowList> m_list;  // null: neither source opened
};
