#include "framework/Dialog.h"

#include "text/CodePageText.h"

#include <stdexcept>
#include <unordered_map>

namespace {

// Thrown by a failed exchange, caught by UpdateData.
struct DataExchangeFailed {};

std::unordered_map<HWND, CDialog*>& DialogMap() {
    static std::unordered_map<HWND, CDialog*> map;
    return map;
}

}  // namespace

void CDataExchange::Fail() {
    if (m_idLastControl) {
        HWND control = GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl);
        SetFocus(control);
        SendMessageA(control, EM_SETSEL, 0, -1);
    }
    throw DataExchangeFailed();
}

void DDX_Text(CDataExchange* dx, int id, CString& value, UINT codePage) {
    dx->m_idLastControl = id;
    HWND control = GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
    if (dx->m_bSaveAndValidate) {
        const int n = GetWindowTextLengthW(control);
        std::wstring text(static_cast<size_t>(n) + 1, L'\0');
        const int got = GetWindowTextW(control, &text[0], n + 1);
        text.resize(static_cast<size_t>(got > 0 ? got : 0));
        value = FromWide(text, codePage);
    } else {
        SetWindowTextW(control, ToWide(value, codePage).c_str());
    }
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars) {
    if (dx->m_bSaveAndValidate) {
        if (static_cast<int>(value.size()) > maxChars) {
            AfxMessageBox(AfxFormatString1(AFX_IDP_PARSE_STRING_SIZE, std::to_string(maxChars)), MB_ICONEXCLAMATION);
            dx->Fail();
        }
    } else if (dx->m_idLastControl) {
        SendDlgItemMessageA(dx->m_pDlgWnd->m_hWnd, dx->m_idLastControl, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
    }
}

INT_PTR CDialog::DoModal() {
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!parent && AfxGetMainWnd()) parent = AfxGetMainWnd()->m_hWnd;
    return DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), parent, &StaticDialogProc,
                           reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL save) {
    CDataExchange dx(this, save);
    try {
        DoDataExchange(&dx);
    } catch (const DataExchangeFailed&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        CDialog* dlg = reinterpret_cast<CDialog*>(lParam);
        dlg->m_hWnd = hwnd;
        DialogMap()[hwnd] = dlg;
        return dlg->OnInitDialog();
    }
    auto it = DialogMap().find(hwnd);
    if (it == DialogMap().end()) return FALSE;
    CDialog* dlg = it->second;
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
            dlg->OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            dlg->OnCancel();
            return TRUE;
        }
        break;
    case WM_NCDESTROY:
        DialogMap().erase(hwnd);
        dlg->m_hWnd = nullptr;
        return FALSE;
    default:
        break;
    }
    return dlg->DialogProc(msg, wParam, lParam);
}
