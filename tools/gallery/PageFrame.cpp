#include "tools/gallery/PageFrame.h"

namespace gallery {

namespace {
constexpr UINT_PTR kTickTimer = 1;
}

int CPageFrame::ms_nOpen = 0;

void PaintTitles(CDC* pDC, const RECT& rcClient, const std::vector<Title>& titles) {
  static CFont font;
  if (!font.GetSafeHandle()) font.CreatePointFont(80, L"Tahoma");
  pDC->FillSolidRect(&rcClient, RGB(24, 26, 30));
  CFont* old = pDC->SelectObject(&font);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(RGB(220, 220, 220));
  for (const Title& t : titles) {
    CRect rc = t.rc;
    pDC->DrawText(t.text, -1, &rc, DT_SINGLELINE | DT_LEFT | DT_BOTTOM);
  }
  pDC->SelectObject(old);
}

BEGIN_MESSAGE_MAP(CPageFrame, CWnd)
  ON_WM_TIMER()
  ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CPageFrame::CreatePage(Page* page, BOOL bTicking) {
  m_pPage = page;
  const SIZE size = page->ClientSize();
  static CString cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  CString title;
  title.Format(L"ParvaneU gallery - %s", CString::FromUtf8(page->Name()).GetString());
  if (!CreateEx(0, cls, title, WS_POPUP | WS_VISIBLE, CRect(40, 40, 40 + size.cx, 40 + size.cy), nullptr, 0)) return FALSE;
  page->Create(this);
  ++ms_nOpen;
  if (bTicking) {
    m_nStart = GetTickCount();
    page->Tick(0);
    SetTimer(kTickTimer, kTickMs, nullptr);
  }
  return TRUE;
}

void CPageFrame::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kTickTimer && m_pPage) m_pPage->Tick((GetTickCount() - m_nStart) / kTickMs * kTickMs);
  CWnd::OnTimer(nIDEvent);
}

void CPageFrame::OnClose() {
  KillTimer(kTickTimer);
  DestroyWindow();
  if (--ms_nOpen <= 0) PostQuitMessage(0);
}

}  // namespace gallery
