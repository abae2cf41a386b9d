// "Delivery Rules...": the destination rules in the order they are looked up, edited in a
// copy of the table, tried on a window picked with the finder, and on OK written back to
// the registry and read again at once.
#pragma once

#include "destination/DestinationRuleTable.h"
#include "framework/Dialog.h"

#include <string>
#include <vector>

// Runs the dialog over `rules` (the table in effect); on OK saves the edited table and
// loads `rules` afresh from the registry, so the next drop uses it.
void EditDeliveryRules(CWnd* parent, DestinationRuleTable& rules);

// A rule as the list and the finder show it: "CtrlV\tInternet Explorer_Server\t26\t0";
// a Keybd rule shows its key by name ("Ctrl+V").
std::string RuleRowText(DeliveryMethod method, const DestinationRule& rule);

class CDeliveryRulesDlg : public CDialog {
public:
    CDeliveryRulesDlg(const DestinationRuleTable& rules, CWnd* parent);
    // The table as edited; meaningful after IDOK.
    const DestinationRuleTable& Rules() const { return m_rules; }

protected:
    BOOL OnInitDialog() override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FillList(int select);
    void ShowRow(int row);
    void UpdateButtons();
    void ShowMethodFields();
    // The rule in the edit fields; false (with the field told) when a number is not one.
    bool EditedRule(DeliveryMethod* method, DestinationRule* rule);
    // The selected row when it is a readable rule.
    const DestinationRuleTable::Row* SelectedRule() const;
    int RowOf(DeliveryMethod method, std::size_t index) const;
    // Fills the list again with that rule selected and shown.
    void SelectRule(DeliveryMethod method, std::size_t index);
    void OnAdd();
    void OnChange();
    void OnRemove();
    void OnMove(bool up);
    void OnTry();
    // The finder: pressed on its icon, the pointer is captured until the release.
    bool StartFinding(POINT client);
    void ShowPointed(POINT screen, bool picked);

    const DestinationRuleTable& m_inEffect;
    DestinationRuleTable m_rules;
    std::vector<DestinationRuleTable::Row> m_rows;
    bool m_finding = false;
    HWND m_picked = nullptr;  // the window the finder was released over
    POINT m_pickedPoint = {};
};
