#include "app/AboutDlg.h"

#include "res/resource.h"

// __DATE__ is the build date as "Mmm dd yyyy", the day padded with a space.
CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX), m_strUpdate(CString("Update : ") + __DATE__) {}

void CAboutDlg::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, IDC_ABOUT_UPDATE, m_strUpdate); }
