// The per-window-class delivery rules: which method puts text into a window of a
// given class, with the method's two numeric parameters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One rule. Param1/Param2 mean, by list: CtrlV - Param1 is the command sent with the
// keys (low 16 bits, 0 for none); User - the message is WM_USER + Param1 with
// wParam Param2. Paste and Keybd use neither.
struct DestinationRule {
    std::string ClassName;
    std::uint32_t Param1 = 0;
    std::uint32_t Param2 = 0;
};

// In the order of loading and of lookup.
enum class DeliveryMethod { Paste, CtrlV, User, Keybd };

constexpr std::size_t kDeliveryMethodCount = 4;

// The registry key name of each method's list ("Paste", "CtrlV", "User", "Keybd").
const char* DeliveryMethodKeyName(DeliveryMethod method);

// Class names of the two default rules.
extern const char kEditClassName[];         // the standard edit control
extern const char kBrowserPaneClassName[];  // the browser's HTML pane

// What a lookup gives: the method, and for Paste, CtrlV and User the matched rule.
struct DestinationMatch {
    DeliveryMethod Method = DeliveryMethod::Keybd;
    DestinationRule Rule;
};

class DestinationRuleTable {
public:
    // Appends the rules stored in the registry, writing the two default rules first
    // when the key has no subkeys at all. Silent on every registry failure.
    // Defined in the Windows layer (DestinationRuleTableLoad.cpp).
    void Load();

    void Add(DeliveryMethod method, DestinationRule rule);
    std::size_t Count(DeliveryMethod method) const;
    // index must be below Count(method).
    const DestinationRule& RuleAt(DeliveryMethod method, std::size_t index) const;

    // The first rule of the Paste, CtrlV and User lists (in that order) whose class
    // name equals className byte for byte; Keybd when none does.
    DestinationMatch Find(std::string_view className) const;

private:
    const std::vector<DestinationRule>& List(DeliveryMethod method) const {
        return m_lists[static_cast<std::size_t>(method)];
    }

    std::array<std::vector<DestinationRule>, kDeliveryMethodCount> m_lists;
};
