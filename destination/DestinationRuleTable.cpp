#include "destination/DestinationRuleTable.h"

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

void DestinationRuleTable::Add(DeliveryMethod method, DestinationRule rule) {
    m_lists[static_cast<std::size_t>(method)].push_back(std::move(rule));
}

std::size_t DestinationRuleTable::Count(DeliveryMethod method) const {
    return List(method).size();
}

const DestinationRule& DestinationRuleTable::RuleAt(DeliveryMethod method, std::size_t index) const {
    return List(method).at(index);
}

DestinationMatch DestinationRuleTable::Find(std::string_view className) const {
    // Keybd rules are never searched: the keyboard method is the default anyway.
    for (DeliveryMethod method : {DeliveryMethod::Paste, DeliveryMethod::CtrlV, DeliveryMethod::User}) {
        for (const DestinationRule& rule : List(method)) {
            if (rule.ClassName == className) return DestinationMatch{method, rule};
        }
    }
    return DestinationMatch{};
}
