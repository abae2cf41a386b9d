// CDialog: a modal dialog on a dialog template, with data exchange between its controls
// and member strings (DDX_Text) and the length check (DDV_MaxChars). The dialog and its
// controls are Unicode windows, so a member string in UTF-8 shows and comes back whole.
#pragma once

#include "framework/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    // Gives up the exchange: the control that failed gets the focus.
    [[noreturn]] void Fail();

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    int m_idLastControl = 0;
};

// `value` holds text in `codePage` (CP_ACP, CP_UTF8 ...); a character the code page lacks
// comes back as its default character.
void DDX_Text(CDataExchange* dx, int id, CString& value, UINT codePage = CP_ACP);
// The limit counts the bytes of `value`. The edit control is told the same number as its
// limit in characters, so a text over the limit in bytes is refused by the check on OK.
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT idTemplate, CWnd* parent = nullptr) : m_nIDTemplate(idTemplate), m_pParentWnd(parent) {}
    virtual INT_PTR DoModal();
    // Moves data between controls and members: `save` reads the controls.
    BOOL UpdateData(BOOL save = TRUE);
    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* dx) {}
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Messages other than WM_INITDIALOG and the OK and Cancel commands.
    virtual INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) { return FALSE; }

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
