// DestinationRuleTable::Load and Save: the registry side of the rule table.
#include "destination/DestinationRuleTable.h"

#include "settings/ProfileSettings.h"
#include "settings/RegPath.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

// "ClassName" is read into this many bytes, its terminating zero included.
constexpr DWORD kClassNameBufferSize = 260;

void WriteDefaultRules(const std::string& base) {
    const std::string ctrlV = base + "\\" + DeliveryMethodKeyName(DeliveryMethod::CtrlV) + "\\0";
    RegPathWriteString(ctrlV.c_str(), "ClassName", kBrowserPaneClassName);
    RegPathWriteDword(ctrlV.c_str(), "Param1", 26);  // the pane's paste command
    const std::string paste = base + "\\" + DeliveryMethodKeyName(DeliveryMethod::Paste) + "\\0";
    RegPathWriteString(paste.c_str(), "ClassName", kEditClassName);
}

std::string MethodPath(const std::string& base, DeliveryMethod method) {
    return base + "\\" + DeliveryMethodKeyName(method);
}

// The numeric rule keys of a method key, in rising order (creating the method key).
std::vector<unsigned> RuleKeys(const std::string& methodPath) {
    std::vector<unsigned> keys;
    for (const std::string& name : RegPathSubkeyNames(methodPath.c_str())) {
        unsigned index = 0;
        if (ParseRuleKeyIndex(name, &index)) keys.push_back(index);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

constexpr DeliveryMethod kMethods[] = {DeliveryMethod::Paste, DeliveryMethod::CtrlV, DeliveryMethod::User,
                                       DeliveryMethod::Keybd};

}  // namespace

void DestinationRuleTable::Load() {
    const std::string base = kDestinationRulesPath;
    if (RegPathCountSubkeys(base.c_str()) == 0) WriteDefaultRules(base);

    for (DeliveryMethod method : kMethods) {
        const std::string methodPath = MethodPath(base, method);
        // Every rule key whose name is an index, in the order of the indices, gaps and
        // all; keys with other names are no rules.
        for (unsigned index : RuleKeys(methodPath)) {
            const std::string rulePath = methodPath + "\\" + std::to_string(index);
            char className[kClassNameBufferSize] = {};
            if (!RegPathReadString(rulePath.c_str(), "ClassName", "", className, sizeof(className))) {
                // An empty key is a gap; one with values is a rule this program cannot read.
                if (RegPathCountValues(rulePath.c_str()) != 0) AddUnreadable(method, index);
                continue;
            }
            DestinationRule rule;
            rule.ClassName = className;
            rule.Param1 = RegPathReadDword(rulePath.c_str(), "Param1", 0);
            rule.Param2 = RegPathReadDword(rulePath.c_str(), "Param2", 0);
            Add(method, std::move(rule));
        }
    }
}

bool DestinationRuleTable::Save() const {
    const std::string base = kDestinationRulesPath;
    bool saved = true;
    for (DeliveryMethod method : kMethods) {
        const std::string methodPath = MethodPath(base, method);
        const std::vector<unsigned>& unreadable = Unreadable(method);
        const std::vector<unsigned> indices = RuleKeyIndices(Count(method), unreadable);
        // The rules first, then the keys no rule is written to: a failure half-way loses none.
        for (std::size_t i = 0; i < indices.size(); ++i) {
            const std::string rulePath = methodPath + "\\" + std::to_string(indices[i]);
            const DestinationRule& rule = RuleAt(method, i);
            saved &= RegPathWriteString(rulePath.c_str(), "ClassName", rule.ClassName.c_str());
            saved &= RegPathWriteDword(rulePath.c_str(), "Param1", rule.Param1);
            saved &= RegPathWriteDword(rulePath.c_str(), "Param2", rule.Param2);
        }
        for (unsigned key : RuleKeys(methodPath)) {
            const bool kept = std::find(indices.begin(), indices.end(), key) != indices.end() ||
                              std::find(unreadable.begin(), unreadable.end(), key) != unreadable.end();
            if (!kept) saved &= RegPathDeleteSubkey(methodPath.c_str(), std::to_string(key).c_str());
        }
    }
    return saved;
}
