// The edit dialog of the entry list (template 131): one line of text and a caption that
// the caller chooses ("Modify Text" or "Modify Explanation").
#pragma once

#include "framework/Dialog.h"
#include "res/resource.h"

class CModifyDlg : public CDialog {
public:
    explicit CModifyDlg(CWnd* parent = nullptr) : CDialog(IDD_MODIFY, parent) {}

    CString m_strTitle;  // the caption, set as the dialog opens
    CString m_strText;   // exchanged with the edit control 1000
    UINT m_nCodePage = CP_ACP;  // the code page m_strText is in: the document's

    // The longest text the edit control takes, in bytes of m_nCodePage.
    static constexpr int kMaxChars = 32767;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
};
