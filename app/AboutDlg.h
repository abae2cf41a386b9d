// The about box, with the build date on its update line.
#pragma once

#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    CString m_strUpdate;  // "Update : " and the build date, as "Apr  8 2003"

protected:
    void DoDataExchange(CDataExchange* dx) override;
};
