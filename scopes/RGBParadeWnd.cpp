#include "scopes/RGBParadeWnd.h"

#include "foundation/DrawHelpers.h"
#include "scopes/ScopeWndColors.h"
#include "scopes/ScopeWndGeometry.h"
#include "scopes/VideoScopeGraph.h"

namespace {
constexpr int kMargin = scopewnd::kParadeMargin;
constexpr int kMinorCodes[] = {-16, 0, 16, 32, 48, 80, 96, 112, 144, 160, 176, 208, 224, 240};
constexpr int kMajorCodes[] = {0, 64, 128, 192, 255};
}  // namespace

CRGBParadeWnd::CRGBParadeWnd() = default;
CRGBParadeWnd::~CRGBParadeWnd() = default;

void CRGBParadeWnd::SetScaleType(int nType) {
  m_nScaleType = static_cast<unsigned char>(nType);
  UpdateBkGnd();
}

void CRGBParadeWnd::DrawScaleLine(CDC* pDC, int y, int W, COLORREF cr, int nLabel) {
  foundation::FillLine(pDC, kMargin, y, W - kMargin, 1, cr);
  CString text;
  text.Format(L"%d", nLabel);
  CRect rc = MeasureText(pDC, text, 0, y);
  rc.OffsetRect(19 - rc.Width(), -(rc.Height() / 2));
  pDC->DrawText(text, &rc, DT_SINGLELINE);
}

void CRGBParadeWnd::DrawBkGnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  const int W = rc.Width();
  pDC->FillSolidRect(&rc, 0);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(scopewnd::kScaleText);
  CFont* pOldFont = pDC->SelectObject(&ms_font);
  if (m_nScaleType == 0) {
    for (int v : kMinorCodes) foundation::FillLine(pDC, kMargin, scopewnd::ParadeCodeRow(rc, v), W - kMargin, 1, scopewnd::kMinorLine);
    for (int v : kMajorCodes) DrawScaleLine(pDC, scopewnd::ParadeCodeRow(rc, v), W, scopewnd::kMajorLine, v);
  } else if (m_nScaleType == 2) {
    for (int mv = -200; mv <= 900; mv += 100) DrawScaleLine(pDC, scopewnd::ParadeMvRow(rc, mv), W, scopewnd::kMajorLine, mv);
  }
  pDC->SelectObject(pOldFont);
}

void CRGBParadeWnd::DrawGraph(CBuf32Draw* pDraw) {
  // Before the first RGB frame there are no columns to spread over the parade.
  if (!m_pGraph || !pDraw || m_pGraph->GetHistoPixelCount() <= 0) return;
  const CRect rc = GraphRect();
  DWORD* buf = pDraw->Buf();
  const int W = pDraw->Width(), H = pDraw->Height();
  m_pGraph->DrawParadeR(buf, W, H, scopewnd::ParadeColumn(rc, 0), scopewnd::kParadeTopCode, scopewnd::kParadeBottomCode);
  m_pGraph->DrawParadeG(buf, W, H, scopewnd::ParadeColumn(rc, 1), scopewnd::kParadeTopCode, scopewnd::kParadeBottomCode);
  m_pGraph->DrawParadeB(buf, W, H, scopewnd::ParadeColumn(rc, 2), scopewnd::kParadeTopCode, scopewnd::kParadeBottomCode);
}

void CRGBParadeWnd::DrawActive(CDC* pDC) {
  CFont* pOldFont = pDC->SelectObject(&ms_font);
  pDC->SetBkMode(OPAQUE);
  pDC->SetBkColor(0);
  pDC->SetTextColor(scopewnd::kReadoutColor);
  CPoint p;
  ::GetCursorPos(&p);
  ScreenToClient(&p);
  CRect rc;
  GetClientRect(&rc);
  const CString text = scopewnd::ParadeReadout(m_nScaleType, rc, p.y);
  CRect rcText = MeasureText(pDC, text, 0, scopewnd::ParadeCodeRow(rc, 255));
  rcText.OffsetRect(0, -(rcText.Height() / 2));
  pDC->DrawText(text, &rcText, DT_SINGLELINE);
  const int x0 = p.y >= rcText.top && p.y <= rcText.bottom ? kMargin : 0;
  foundation::FillLine(pDC, x0, p.y, rc.Width() - x0, 1, scopewnd::kReadoutColor);
  pDC->SelectObject(pOldFont);
}
