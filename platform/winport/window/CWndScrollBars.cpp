// CWnd's view of the window's own scroll bars beyond the plain forwards.
#include "winport/window/CWnd.h"

CScrollBar* CWnd::GetScrollBarCtrl(int) const { return nullptr; }

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) {
  if (nBar == SB_BOTH) {
    EnableScrollBarCtrl(SB_HORZ, bEnable);
    EnableScrollBarCtrl(SB_VERT, bEnable);
  } else if (CScrollBar* pBar = GetScrollBarCtrl(nBar)) {
    pBar->EnableWindow(bEnable);
  } else {
    ShowScrollBar(static_cast<UINT>(nBar), bEnable);
  }
}
