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
// wParam Param2; Keybd - Param1 is the key typed (KeybdKey). Paste uses neither.
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

// The key a Keybd rule types, in the hotkey control's form: the virtual key in the low
// byte, the HOTKEYF_* modifiers (Shift, Ctrl, Alt, extended key) in the high byte.
constexpr std::uint32_t kKeyShift = 0x0100;
constexpr std::uint32_t kKeyControl = 0x0200;
constexpr std::uint32_t kKeyAlt = 0x0400;
constexpr std::uint32_t kKeyExtended = 0x0800;
constexpr std::uint32_t kCtrlVKey = kKeyControl | 'V';
constexpr std::uint32_t kShiftInsertKey = kKeyShift | kKeyExtended | 0x2D;  // VK_INSERT

// A Keybd rule's Param1 as the key it types: Ctrl+V for 0, and for a value that names no
// key (modifiers only); the bits above the control's 16 are not looked at.
std::uint32_t KeybdKey(std::uint32_t param1);

// The index a rule key's name gives: decimal without leading zeros ("0", "1", ... up to
// kMaxRuleKeyIndex); false for any other name, which is no rule and is left alone.
constexpr unsigned kMaxRuleKeyIndex = 999999;
bool ParseRuleKeyIndex(std::string_view name, unsigned* index);

// The indices the rules of one list are written to: 0, 1, 2... in order, passing over the
// keys of rules that could not be read (unreadable, in any order), which stay where they are.
std::vector<unsigned> RuleKeyIndices(std::size_t ruleCount, const std::vector<unsigned>& unreadable);

// Class names of the two default rules.
extern const char kEditClassName[];         // the standard edit control
extern const char kBrowserPaneClassName[];  // the browser's HTML pane

// What a lookup gives: the method and the matched rule (a default rule when no rule names the class).
struct DestinationMatch {
    DeliveryMethod Method = DeliveryMethod::Keybd;
    DestinationRule Rule;
};

class DestinationRuleTable {
public:
    // Appends the rules stored in the registry, writing the two default rules first
    // when the key has no subkeys at all: every rule key named by an index, in the order
    // of the indices (gaps passed over); a key with values but no readable "ClassName"
    // is recorded as unreadable. Silent on every registry failure.
    // Defined in the Windows layer (DestinationRuleTableLoad.cpp).
    void Load();

    // Writes the table to the registry as the rules' own layout: each list's rules under
    // the indices RuleKeyIndices gives, every other numeric key of the list deleted except
    // the unreadable ones; keys with other names are left alone. False when a write failed.
    // Defined in the Windows layer (DestinationRuleTableLoad.cpp).
    bool Save() const;

    void Add(DeliveryMethod method, DestinationRule rule);
    std::size_t Count(DeliveryMethod method) const;
    // index must be below Count(method).
    const DestinationRule& RuleAt(DeliveryMethod method, std::size_t index) const;

    // Edits within one list; an index out of range changes nothing and gives false.
    bool Insert(DeliveryMethod method, std::size_t index, DestinationRule rule);  // index <= Count
    bool Replace(DeliveryMethod method, std::size_t index, DestinationRule rule);
    bool Remove(DeliveryMethod method, std::size_t index);
    // Swaps the rule at index with the one before (MoveUp) or after (MoveDown).
    bool MoveUp(DeliveryMethod method, std::size_t index);
    bool MoveDown(DeliveryMethod method, std::size_t index);

    // Rule keys of a list whose "ClassName" could not be read: kept out of every lookup,
    // shown as such and never rewritten or deleted.
    void AddUnreadable(DeliveryMethod method, unsigned keyIndex);
    const std::vector<unsigned>& Unreadable(DeliveryMethod method) const;

    // One row per rule in the order of lookup: the lists in method order, and within a
    // list by the key index each rule has once saved.
    struct Row {
        DeliveryMethod Method = DeliveryMethod::Paste;
        bool Readable = true;
        std::size_t Index = 0;  // readable: the rule's index in its list; else its key index
    };
    std::vector<Row> Rows() const;

    // The first rule of the Paste, CtrlV, User and Keybd lists (in that order) whose
    // class name equals className byte for byte; Keybd with a default rule when none does.
    DestinationMatch Find(std::string_view className) const;

private:
    const std::vector<DestinationRule>& List(DeliveryMethod method) const {
        return m_lists[static_cast<std::size_t>(method)];
    }
    std::vector<DestinationRule>& List(DeliveryMethod method) { return m_lists[static_cast<std::size_t>(method)]; }

    std::array<std::vector<DestinationRule>, kDeliveryMethodCount> m_lists;
    std::array<std::vector<unsigned>, kDeliveryMethodCount> m_unreadable;
};
