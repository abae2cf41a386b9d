#include "framework/CmdTarget.h"

void CCmdUI::Enable(BOOL on) {
    EnableMenuItem(m_menu, m_index, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
}

void CCmdUI::SetCheck(int check) {
    CheckMenuItem(m_menu, m_index, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}
