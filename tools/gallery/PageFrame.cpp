#include "tools/gallery/PageFrame.h"

namespace gallery {

namespace {
constexpr UINT_PTR kTickTimer = 1;
constexpr COLORREF kTitleBack = RGB(48, 52, 58);
constexpr COLORREF kTitleText = RGB(235, 235, 235);
}  // namespace

int CPageFrame::ms_nOpen = 0;

BEGIN_MESSAGE_MAP(CPageFrame, CWnd)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CPageFrame::CreatePage(Page* page, BOOL bTicking, POINT ptAt) {
  m_pPage = page;
  const SIZE size = FrameSize(page->ClientSize());
  static CString cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  m_strTitle = CString::FromUtf8(page->Title());
  CString caption;
  caption.Format(L"ParvaneU gallery - %s", m_strTitle.GetString());
  if (!CreateEx(0, cls, caption, WS_POPUP | WS_VISIBLE, CRect(ptAt, size), nullptr, 0)) return FALSE;
  m_fntTitle.CreatePointFont(90, L"Tahoma");
  const CRect body(0, kTitleHeight, size.cx, size.cy);
  if (!m_wndBody.CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, body, this, 1)) return FALSE;
  page->Create(&m_wndBody);
  ++ms_nOpen;
  if (bTicking) {
    m_nStart = GetTickCount();
    page->Tick(0);
    SetTimer(kTickTimer, kTickMs, nullptr);
  }
  return TRUE;
}

void CPageFrame::OnPaint() {
  CPaintDC dc(this);
  CRect band;
  GetClientRect(&band);
  band.bottom = kTitleHeight;
  dc.FillSolidRect(&band, kTitleBack);
  CFont* old = dc.SelectObject(&m_fntTitle);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(kTitleText);
  band.left += 8;
  dc.DrawText(m_strTitle, &band, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  dc.SelectObject(old);
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
