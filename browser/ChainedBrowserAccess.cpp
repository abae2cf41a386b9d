#include "browser/ChainedBrowserAccess.h"

#include <utility>

ChainedWindowList::ChainedWindowList(std::unique_ptr<WindowList> first, std::unique_ptr<WindowList> second)
    : m_first(std::move(first)), m_second(std::move(second)) {}

std::int32_t ChainedWindowList::FirstCount() {
    return m_first ? m_first->Count() : 0;
}

std::int32_t ChainedWindowList::Count() {
    const std::int32_t second = m_second ? m_second->Count() : 0;
    return FirstCount() + second;
}

std::unique_ptr<BrowserWindow> ChainedWindowList::Item(std::int32_t index) {
    const std::int32_t firstCount = FirstCount();
    if (index < 0) return nullptr;
    if (index < firstCount) return m_first->Item(index);
    if (!m_second) return nullptr;
    return m_second->Item(index - firstCount);
}

std::unique_ptr<WindowList> ChainedBrowserAccess::OpenWindowList() {
    std::unique_ptr<WindowList> first = m_first.OpenWindowList();
    std::unique_ptr<WindowList> second = m_second.OpenWindowList();
    if (!first && !second) return nullptr;
    if (!second) return first;
    if (!first) return second;
    return std::make_unique<ChainedWindowList>(std::move(first), std::move(second));
}
