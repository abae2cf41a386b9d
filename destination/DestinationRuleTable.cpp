#include "destination/DestinationRuleTable.h"

#include <algorithm>
#include <utility>

const char kEditClassName[] = "Edit";
const char kBrowserPaneClassName[] = "Internet Explorer_Server";

const char* DeliveryMethodKeyName(DeliveryMethod method) {
    switch (method) {
    case DeliveryMethod::Paste: return "Paste";
    case DeliveryMethod::CtrlV: return "CtrlV";
    case DeliveryMethod::User: return "User";
    case DeliveryMethod::Keybd: return "Keybd";
    }
    return "";
}

std::uint32_t KeybdKey(std::uint32_t param1) {
    const std::uint32_t key = param1 & 0xFFFF;
    return (key & 0xFF) != 0 ? key : kCtrlVKey;
}

bool ParseRuleKeyIndex(std::string_view name, unsigned* index) {
    if (name.empty() || name.size() > 6 || (name.size() > 1 && name[0] == '0')) return false;
    unsigned value = 0;
    for (char c : name) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    *index = value;
    return true;
}

std::vector<unsigned> RuleKeyIndices(std::size_t ruleCount, const std::vector<unsigned>& unreadable) {
    std::vector<unsigned> indices;
    indices.reserve(ruleCount);
    for (unsigned next = 0; indices.size() < ruleCount; ++next) {
        if (std::find(unreadable.begin(), unreadable.end(), next) == unreadable.end()) indices.push_back(next);
    }
    return indices;
}

void DestinationRuleTable::Add(DeliveryMethod method, DestinationRule rule) {
    m_lists[static_cast<std::size_t>(method)].push_back(std::move(rule));
}

std::size_t DestinationRuleTable::Count(DeliveryMethod method) const {
    return List(method).size();
}

const DestinationRule& DestinationRuleTable::RuleAt(DeliveryMethod method, std::size_t index) const {
    return List(method).at(index);
}

bool DestinationRuleTable::Insert(DeliveryMethod method, std::size_t index, DestinationRule rule) {
    std::vector<DestinationRule>& list = List(method);
    if (index > list.size()) return false;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), std::move(rule));
    return true;
}

bool DestinationRuleTable::Replace(DeliveryMethod method, std::size_t index, DestinationRule rule) {
    std::vector<DestinationRule>& list = List(method);
    if (index >= list.size()) return false;
    list[index] = std::move(rule);
    return true;
}

bool DestinationRuleTable::Remove(DeliveryMethod method, std::size_t index) {
    std::vector<DestinationRule>& list = List(method);
    if (index >= list.size()) return false;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool DestinationRuleTable::MoveUp(DeliveryMethod method, std::size_t index) {
    std::vector<DestinationRule>& list = List(method);
    if (index == 0 || index >= list.size()) return false;
    std::swap(list[index - 1], list[index]);
    return true;
}

bool DestinationRuleTable::MoveDown(DeliveryMethod method, std::size_t index) {
    return MoveUp(method, index + 1);
}

void DestinationRuleTable::AddUnreadable(DeliveryMethod method, unsigned keyIndex) {
    m_unreadable[static_cast<std::size_t>(method)].push_back(keyIndex);
}

const std::vector<unsigned>& DestinationRuleTable::Unreadable(DeliveryMethod method) const {
    return m_unreadable[static_cast<std::size_t>(method)];
}

std::vector<DestinationRuleTable::Row> DestinationRuleTable::Rows() const {
    std::vector<Row> rows;
    for (DeliveryMethod method :
         {DeliveryMethod::Paste, DeliveryMethod::CtrlV, DeliveryMethod::User, DeliveryMethod::Keybd}) {
        const std::vector<unsigned> keys = RuleKeyIndices(Count(method), Unreadable(method));
        // (key index, row) pairs of the list, sorted by key index.
        std::vector<std::pair<unsigned, Row>> list;
        for (std::size_t i = 0; i < keys.size(); ++i) list.push_back({keys[i], Row{method, true, i}});
        for (unsigned key : Unreadable(method)) list.push_back({key, Row{method, false, key}});
        std::stable_sort(list.begin(), list.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& entry : list) rows.push_back(entry.second);
    }
    return rows;
}

DestinationMatch DestinationRuleTable::Find(std::string_view className) const {
    // A class no rule names gets the keyboard method with a default rule (Ctrl+V).
    for (DeliveryMethod method :
         {DeliveryMethod::Paste, DeliveryMethod::CtrlV, DeliveryMethod::User, DeliveryMethod::Keybd}) {
        for (const DestinationRule& rule : List(method)) {
            if (rule.ClassName == className) return DestinationMatch{method, rule};
        }
    }
    return DestinationMatch{};
}
