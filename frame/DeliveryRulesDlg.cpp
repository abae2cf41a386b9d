#include "frame/DeliveryRulesDlg.h"

#include "frame/HotKey.h"
#include "framework/Afx.h"
#include "res/resource.h"
#include "text/CodePageText.h"
#include "view/Delivery.h"
#include "view/DropNotice.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>

namespace {

constexpr DeliveryMethod kMethods[] = {DeliveryMethod::Paste, DeliveryMethod::CtrlV, DeliveryMethod::User,
                                       DeliveryMethod::Keybd};

std::string RuleDescription(DeliveryMethod method, const DestinationRule& rule) {
    std::string text = RuleRowText(method, rule);
    for (char& c : text) {
        if (c == '\t') c = ' ';
    }
    return text;
}

// The number in an edit field, decimal or 0x hexadecimal, up to 32 bits.
bool FieldNumber(HWND dialog, int id, std::uint32_t* value) {
    char text[32] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    const char* start = text;
    while (*start == ' ') ++start;
    if (*start == '\0') {
        *value = 0;
        return true;
    }
    if (*start == '-' || *start == '+') return false;
    char* end = nullptr;
    const unsigned long long number = std::strtoull(start, &end, 0);
    while (end && *end == ' ') ++end;
    if (!end || *end != '\0' || number > 0xFFFFFFFFull) return false;
    *value = static_cast<std::uint32_t>(number);
    return true;
}

DeliveryMethod ComboMethod(HWND dialog) {
    const LRESULT chosen = SendDlgItemMessageA(dialog, IDC_RULE_METHOD, CB_GETCURSEL, 0, 0);
    return chosen >= 0 && chosen < 4 ? kMethods[chosen] : DeliveryMethod::Paste;
}

}  // namespace

std::string RuleRowText(DeliveryMethod method, const DestinationRule& rule) {
    std::string text = std::string(DeliveryMethodKeyName(method)) + "\t" + rule.ClassName + "\t";
    if (method == DeliveryMethod::Keybd) return text + HotKeyName(static_cast<int>(KeybdKey(rule.Param1)));
    return text + std::to_string(rule.Param1) + "\t" + std::to_string(rule.Param2);
}

void EditDeliveryRules(CWnd* parent, DestinationRuleTable& rules) {
    CDeliveryRulesDlg dialog(rules, parent);
    if (dialog.DoModal() != IDOK) return;
    if (!dialog.Rules().Save()) AfxMessageBox(IDS_RULES_NOT_SAVED, MB_OK | MB_ICONEXCLAMATION);
    // What the registry holds now is what the next drop uses.
    DestinationRuleTable reloaded;
    reloaded.Load();
    rules = std::move(reloaded);
}

CDeliveryRulesDlg::CDeliveryRulesDlg(const DestinationRuleTable& rules, CWnd* parent)
    : CDialog(IDD_DELIVERY_RULES, parent), m_inEffect(rules), m_rules(rules) {}

BOOL CDeliveryRulesDlg::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    const int tabs[] = {40, 150, 190};
    SendDlgItemMessageA(m_hWnd, IDC_RULES_LIST, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(tabs));
    for (DeliveryMethod method : kMethods)
        SendDlgItemMessageA(m_hWnd, IDC_RULE_METHOD, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(DeliveryMethodKeyName(method)));
    SendDlgItemMessageA(m_hWnd, IDC_RULE_METHOD, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(m_hWnd, IDC_RULE_CLASS, EM_LIMITTEXT, 259, 0);
    SendDlgItemMessageA(m_hWnd, IDC_RULE_FINDER, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadCursorA(nullptr, MAKEINTRESOURCEA(32515))), 0);  // IDC_CROSS
    FillList(0);
    ShowRow(0);
    return result;
}

void CDeliveryRulesDlg::FillList(int select) {
    m_rows = m_rules.Rows();
    SendDlgItemMessageA(m_hWnd, IDC_RULES_LIST, LB_RESETCONTENT, 0, 0);
    for (const DestinationRuleTable::Row& row : m_rows) {
        std::string text;
        if (row.Readable) {
            text = RuleRowText(row.Method, m_rules.RuleAt(row.Method, row.Index));
        } else {
            text = std::string(DeliveryMethodKeyName(row.Method)) + "\t" +
                   AfxFormatString1(IDS_RULE_UNREADABLE, std::to_string(row.Index));
        }
        SendDlgItemMessageA(m_hWnd, IDC_RULES_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (select >= static_cast<int>(m_rows.size())) select = static_cast<int>(m_rows.size()) - 1;
    SendDlgItemMessageA(m_hWnd, IDC_RULES_LIST, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    UpdateButtons();
}

const DestinationRuleTable::Row* CDeliveryRulesDlg::SelectedRule() const {
    const LRESULT row = SendDlgItemMessageA(m_hWnd, IDC_RULES_LIST, LB_GETCURSEL, 0, 0);
    if (row < 0 || row >= static_cast<LRESULT>(m_rows.size())) return nullptr;
    const DestinationRuleTable::Row& selected = m_rows[static_cast<std::size_t>(row)];
    return selected.Readable ? &selected : nullptr;
}

void CDeliveryRulesDlg::SelectRule(DeliveryMethod method, std::size_t index) {
    m_rows = m_rules.Rows();
    FillList(RowOf(method, index));
    ShowRow(RowOf(method, index));
}

int CDeliveryRulesDlg::RowOf(DeliveryMethod method, std::size_t index) const {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].Readable && m_rows[i].Method == method && m_rows[i].Index == index) return static_cast<int>(i);
    }
    return 0;
}

void CDeliveryRulesDlg::ShowRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || !m_rows[static_cast<std::size_t>(row)].Readable) {
        UpdateButtons();
        return;
    }
    const DestinationRuleTable::Row& shown = m_rows[static_cast<std::size_t>(row)];
    const DestinationRule& rule = m_rules.RuleAt(shown.Method, shown.Index);
    SendDlgItemMessageA(m_hWnd, IDC_RULE_METHOD, CB_SETCURSEL, static_cast<WPARAM>(shown.Method), 0);
    SetDlgItemTextA(m_hWnd, IDC_RULE_CLASS, rule.ClassName.c_str());
    SetDlgItemTextA(m_hWnd, IDC_RULE_PARAM1, std::to_string(rule.Param1).c_str());
    SetDlgItemTextA(m_hWnd, IDC_RULE_PARAM2, std::to_string(rule.Param2).c_str());
    const std::uint32_t key = shown.Method == DeliveryMethod::Keybd ? KeybdKey(rule.Param1) : kCtrlVKey;
    SendDlgItemMessageA(m_hWnd, IDC_RULE_KEY, HKM_SETHOTKEY, key, 0);
    ShowMethodFields();
    UpdateButtons();
}

void CDeliveryRulesDlg::ShowMethodFields() {
    // The keyboard method takes its key from the hotkey control; the others their numbers.
    const bool keybd = ComboMethod(m_hWnd) == DeliveryMethod::Keybd;
    EnableWindow(GetDlgItem(m_hWnd, IDC_RULE_KEY), keybd);
    EnableWindow(GetDlgItem(m_hWnd, IDC_RULE_PARAM1), !keybd);
    EnableWindow(GetDlgItem(m_hWnd, IDC_RULE_PARAM2), !keybd);
}

void CDeliveryRulesDlg::UpdateButtons() {
    const DestinationRuleTable::Row* row = SelectedRule();
    EnableWindow(GetDlgItem(m_hWnd, IDC_RULE_CHANGE), row != nullptr);
    EnableWindow(GetDlgItem(m_hWnd, IDC_RULE_REMOVE), row != nullptr);
    EnableWindow(GetDlgItem(m_hWnd, IDC_RULE_UP), row && row->Index > 0);
    EnableWindow(GetDlgItem(m_hWnd, IDC_RULE_DOWN), row && row->Index + 1 < m_rules.Count(row->Method));
    EnableWindow(GetDlgItem(m_hWnd, IDC_RULE_TRY), m_picked && IsWindow(m_picked));
}

bool CDeliveryRulesDlg::EditedRule(DeliveryMethod* method, DestinationRule* rule) {
    *method = ComboMethod(m_hWnd);
    char className[260] = {};
    GetDlgItemTextA(m_hWnd, IDC_RULE_CLASS, className, sizeof(className));
    rule->ClassName = className;
    if (*method == DeliveryMethod::Keybd) {
        const LRESULT key = SendDlgItemMessageA(m_hWnd, IDC_RULE_KEY, HKM_GETHOTKEY, 0, 0) & 0xFFFF;
        // Ctrl+V is stored as 0, the default that needs no value of its own.
        rule->Param1 = static_cast<std::uint32_t>(key) == kCtrlVKey ? 0 : static_cast<std::uint32_t>(key);
        rule->Param2 = 0;
        return true;
    }
    for (const auto& field : {std::make_pair(IDC_RULE_PARAM1, &rule->Param1),
                              std::make_pair(IDC_RULE_PARAM2, &rule->Param2)}) {
        if (!FieldNumber(m_hWnd, field.first, field.second)) {
            AfxMessageBox(IDS_RULE_NOT_NUMBER, MB_OK | MB_ICONEXCLAMATION);
            SetFocus(GetDlgItem(m_hWnd, field.first));
            SendDlgItemMessageA(m_hWnd, field.first, EM_SETSEL, 0, -1);
            return false;
        }
    }
    return true;
}

void CDeliveryRulesDlg::OnAdd() {
    DeliveryMethod method = DeliveryMethod::Paste;
    DestinationRule rule;
    if (!EditedRule(&method, &rule)) return;
    // After the selected rule of the same list, else at the end of the list.
    const DestinationRuleTable::Row* row = SelectedRule();
    const std::size_t index = row && row->Method == method ? row->Index + 1 : m_rules.Count(method);
    m_rules.Insert(method, index, rule);
    SelectRule(method, index);
}

void CDeliveryRulesDlg::OnChange() {
    const DestinationRuleTable::Row* row = SelectedRule();
    DeliveryMethod method = DeliveryMethod::Paste;
    DestinationRule rule;
    if (!row || !EditedRule(&method, &rule)) return;
    std::size_t index = row->Index;
    if (method == row->Method) {
        m_rules.Replace(method, index, rule);
    } else {
        // Another method: the rule moves to the end of that list.
        m_rules.Remove(row->Method, index);
        index = m_rules.Count(method);
        m_rules.Insert(method, index, rule);
    }
    SelectRule(method, index);
}

void CDeliveryRulesDlg::OnRemove() {
    const DestinationRuleTable::Row* row = SelectedRule();
    if (!row) return;
    const LRESULT selected = SendDlgItemMessageA(m_hWnd, IDC_RULES_LIST, LB_GETCURSEL, 0, 0);
    m_rules.Remove(row->Method, row->Index);
    FillList(static_cast<int>(selected));
    ShowRow(static_cast<int>(SendDlgItemMessageA(m_hWnd, IDC_RULES_LIST, LB_GETCURSEL, 0, 0)));
}

void CDeliveryRulesDlg::OnMove(bool up) {
    const DestinationRuleTable::Row* row = SelectedRule();
    if (!row) return;
    const DeliveryMethod method = row->Method;
    const std::size_t index = row->Index;
    if (!(up ? m_rules.MoveUp(method, index) : m_rules.MoveDown(method, index))) return;
    SelectRule(method, up ? index - 1 : index + 1);
}

void CDeliveryRulesDlg::OnTry() {
    DestinationMatch match;
    if (!m_picked || !IsWindow(m_picked) || !EditedRule(&match.Method, &match.Rule)) return;
    DropOptions options;
    options.OwnWindow = m_hWnd;
    options.ClipboardOwner = m_hWnd;
    options.Text = AfxLoadString(IDS_RULE_TRY_TEXT);
    const DropResult result = DeliverEntry(m_picked, m_pickedPoint, match, options);
    if (result.Outcome == DropOutcome::Delivered) return;
    MessageBeep(0xFFFFFFFF);
    const std::wstring notice = DropNoticeText(result);
    if (!notice.empty()) AfxMessageBox(FromWide(notice, CP_UTF8), MB_OK | MB_ICONEXCLAMATION, CP_UTF8);
}

bool CDeliveryRulesDlg::StartFinding(POINT client) {
    RECT finder = {};
    ::GetWindowRect(GetDlgItem(m_hWnd, IDC_RULE_FINDER), &finder);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&finder), 2);
    if (!PtInRect(&finder, client)) return false;
    m_finding = true;
    SetCapture(m_hWnd);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32515)));  // IDC_CROSS
    return true;
}

void CDeliveryRulesDlg::ShowPointed(POINT screen, bool picked) {
    // Only looked at: nothing is clicked, activated or sent to the window.
    HWND window = WindowFromPoint(screen);
    if (window && GetAncestor(window, GA_ROOT) == m_hWnd) window = nullptr;
    char className[256] = {};
    if (!window || !GetClassNameA(window, className, sizeof(className))) {
        SetDlgItemTextA(m_hWnd, IDC_RULE_POINTED, "");
        return;
    }
    const DestinationMatch match = m_inEffect.Find(className);
    const std::wstring text = ToWide(className, CP_ACP) + L"  \x2014  " + ProgramName(window) + L"  \x2014  " +
                              ToWide(RuleDescription(match.Method, match.Rule), CP_ACP);
    SetDlgItemTextW(m_hWnd, IDC_RULE_POINTED, text.c_str());
    if (!picked) return;
    m_picked = window;
    m_pickedPoint = screen;
    SetDlgItemTextA(m_hWnd, IDC_RULE_CLASS, className);
    UpdateButtons();
}

INT_PTR CDeliveryRulesDlg::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT client = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
    case WM_LBUTTONDOWN:
        return StartFinding(client) ? TRUE : FALSE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (!m_finding) return FALSE;
        {
            POINT screen = client;
            ClientToScreen(m_hWnd, &screen);
            if (msg == WM_LBUTTONUP) {
                m_finding = false;
                ReleaseCapture();
            }
            ShowPointed(screen, msg == WM_LBUTTONUP);
        }
        return TRUE;
    case WM_CAPTURECHANGED:
        m_finding = false;
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_RULES_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE)
                ShowRow(static_cast<int>(SendDlgItemMessageA(m_hWnd, IDC_RULES_LIST, LB_GETCURSEL, 0, 0)));
            return TRUE;
        case IDC_RULE_METHOD:
            if (HIWORD(wParam) == CBN_SELCHANGE) ShowMethodFields();
            return TRUE;
        case IDC_RULE_ADD: OnAdd(); return TRUE;
        case IDC_RULE_CHANGE: OnChange(); return TRUE;
        case IDC_RULE_REMOVE: OnRemove(); return TRUE;
        case IDC_RULE_UP: OnMove(true); return TRUE;
        case IDC_RULE_DOWN: OnMove(false); return TRUE;
        case IDC_RULE_TRY: OnTry(); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
