#include "tools/gallery/PageFrame.h"

namespace gallery {

namespace {
constexpr UINT_PTR kTickTimer = 1;
constexpr COLORREF kTitleBack = RGB(48, 52, 58);
constexpr COLORREF kTitleText = RGB(235, 235, 235);
constexpr COLORREF kPausedText = RGB(150, 155, 165);
}  // namespace

int CPageFrame::ms_nOpen = 0;

BEGIN_MESSAGE_MAP(CPageFrame, CWnd)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_KEYDOWN()
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
    m_bTicking = true;
    m_nStart = m_nStopped = GetTickCount();
    page->Tick(0);
    UpdateTimer();
  }
  return TRUE;
}

unsigned CPageFrame::ProgrammeTime() const { return (GetTickCount() - m_nStart) / kTickMs * kTickMs; }

void CPageFrame::UpdateTimer() {
  const bool run = m_bTicking && !m_bPaused && !m_bMinimised;
  if (run == m_bTimer) return;
  m_bTimer = run;
  if (run) {
    m_nStart += GetTickCount() - m_nStopped;  // the programme goes on where it stopped
    SetTimer(kTickTimer, m_pPage->LivePeriodMs(), nullptr);
  } else {
    m_nStopped = GetTickCount();
    KillTimer(kTickTimer);
  }
}

void CPageFrame::Pause(bool bPause) {
  if (m_bPaused == bPause) return;
  m_bPaused = bPause;
  UpdateTimer();
  CRect band(0, 0, FrameSize(m_pPage->ClientSize()).cx, kTitleHeight);
  InvalidateRect(&band, FALSE);
}

void CPageFrame::OnPaint() {
  CPaintDC dc(this);
  CRect band;
  GetClientRect(&band);
  band.bottom = kTitleHeight;
  dc.FillSolidRect(&band, kTitleBack);
  CFont* old = dc.SelectObject(&m_fntTitle);
  dc.SetBkMode(TRANSPARENT);
  band.DeflateRect(8, 0);
  if (m_bTicking) {
    dc.SetTextColor(kPausedText);
    dc.DrawText(m_bPaused ? L"paused: click to play" : L"click to pause", -1, &band,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
  dc.SetTextColor(kTitleText);
  dc.DrawText(m_strTitle, &band, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  dc.SelectObject(old);
}

void CPageFrame::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kTickTimer && m_pPage) m_pPage->Tick(ProgrammeTime());
  CWnd::OnTimer(nIDEvent);
}

void CPageFrame::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  m_bMinimised = nType == SIZE_MINIMIZED;
  UpdateTimer();
}

void CPageFrame::OnLButtonDown(UINT nFlags, CPoint point) {
  if (point.y < kTitleHeight && m_bTicking) Pause(!m_bPaused);
  CWnd::OnLButtonDown(nFlags, point);
}

void CPageFrame::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_SPACE && m_bTicking) Pause(!m_bPaused);
  CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPageFrame::OnClose() {
  KillTimer(kTickTimer);
  m_bTimer = false;
  DestroyWindow();
  if (--ms_nOpen <= 0) PostQuitMessage(0);
}

}  // namespace gallery
