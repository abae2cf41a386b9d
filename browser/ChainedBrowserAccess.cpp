#include "browser/ChainedBrowserAccess.h"

#include <utility>

namespace {

// The kept list lent out to one caller; the access object owns it.
class LentWindowList : public WindowList {
public:
    explicit LentWindowList(WindowList& list) : m_list(list) {}
    std::int32_t Count() override { return m_list.Count(); }
    std::unique_ptr<BrowserWindow> Item(std::int32_t index) override { return m_list.Item(index); }

private:
    WindowList& m_list;
};

}  // namespace

ChainedWindowList::ChainedWindowList(std::unique_ptr<WindowList> first, std::unique_ptr<WindowList> second)
    : m_first(std::move(first)), m_second(std::move(second)) {}

std::int32_t ChainedWindowList::FirstCount() {
    if (!m_firstCount) m_firstCount = m_first ? m_first->Count() : 0;
    return *m_firstCount;
}

std::int32_t ChainedWindowList::Count() {
    const std::int32_t first = FirstCount();
    if (!m_secondCount) m_secondCount = m_second ? m_second->Count() : 0;
    return first + *m_secondCount;
}

std::unique_ptr<BrowserWindow> ChainedWindowList::Item(std::int32_t index) {
    const std::int32_t firstCount = FirstCount();
    if (index < 0) return nullptr;
    if (index < firstCount) return m_first->Item(index);
    if (!m_second) return nullptr;
    return m_second->Item(index - firstCount);
}

std::unique_ptr<WindowList> ChainedBrowserAccess::OpenWindowList() {
    if (!m_opened) {
        m_opened = true;
        std::unique_ptr<WindowList> first = m_first.OpenWindowList();
        std::unique_ptr<WindowList> second = m_second.OpenWindowList();
        if (first || second) m_list = std::make_unique<ChainedWindowList>(std::move(first), std::move(second));
    }
    if (!m_list) return nullptr;
    return std::make_unique<LentWindowList>(*m_list);
}
