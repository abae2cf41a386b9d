// DestinationRuleTable::Load: the registry side of the rule table.
#include "destination/DestinationRuleTable.h"

#include "settings/ProfileSettings.h"
#include "settings/RegPath.h"

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

}  // namespace

void DestinationRuleTable::Load() {
    const std::string base = kDestinationRulesPath;
    if (RegPathCountSubkeys(base.c_str()) == 0) WriteDefaultRules(base);

    for (DeliveryMethod method :
         {DeliveryMethod::Paste, DeliveryMethod::CtrlV, DeliveryMethod::User, DeliveryMethod::Keybd}) {
        const std::string methodPath = base + "\\" + DeliveryMethodKeyName(method);
        // Rule keys are tried by index 0..N-1, not enumerated: N counts every subkey,
        // and trying an index that is missing leaves it created (empty).
        const DWORD count = RegPathCountSubkeys(methodPath.c_str());
        for (DWORD i = 0; i < count; ++i) {
            const std::string rulePath = methodPath + "\\" + std::to_string(i);
            char className[kClassNameBufferSize] = {};
            if (!RegPathReadString(rulePath.c_str(), "ClassName", "", className, sizeof(className))) continue;
            DestinationRule rule;
            rule.ClassName = className;
            rule.Param1 = RegPathReadDword(rulePath.c_str(), "Param1", 0);
            rule.Param2 = RegPathReadDword(rulePath.c_str(), "Param2", 0);
            Add(method, std::move(rule));
        }
    }
}
