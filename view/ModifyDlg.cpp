#include "view/ModifyDlg.h"

BOOL CModifyDlg::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    return result;
}

void CModifyDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_MODIFY_TEXT, m_strText, m_nCodePage);
    DDV_MaxChars(dx, m_strText, kMaxChars);
}
