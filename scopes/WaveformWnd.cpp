#include "scopes/WaveformWnd.h"

#include "foundation/DrawHelpers.h"
#include "scopes/ScopeWndColors.h"
#include "scopes/ScopeWndGeometry.h"
#include "scopes/VideoScopeGraph.h"

namespace {
constexpr COLORREF kLabelled = 0x006FA4;
}  // namespace

CWaveformWnd::CWaveformWnd() = default;
CWaveformWnd::~CWaveformWnd() = default;

// The trace reads these on the feeding thread.
void CWaveformWnd::SetNormalRange(int b) {
  const auto hold = m_feed.Hold();
  m_bNormalRange = b;
}

void CWaveformWnd::SetMarkOutRange(int b) {
  const auto hold = m_feed.Hold();
  m_bMarkOutRange = b;
}

void CWaveformWnd::SetShowAsY(int b) {
  const auto hold = m_feed.Hold();
  m_bShowAsY = b;
  UpdateBkGnd();
}

void CWaveformWnd::SetScaleType(int nType) {
  m_nScaleType = static_cast<unsigned char>(nType);
  UpdateBkGnd();
}

double CWaveformWnd::Value2WndPos(double v) const {
  const int H = m_bufGraph.Height();
  return H * (scopewnd::kWaveformTop - v) / scopewnd::kWaveformSpan;
}

double CWaveformWnd::WndPos2Value(double y) const { return scopewnd::WaveformValue(m_bufGraph.Height(), y); }

void CWaveformWnd::DrawLabel(CDC* pDC, const wchar_t* text, int y) {
  CRect rc(0, y - 6, 20, y + 6);
  pDC->DrawText(text, -1, &rc, DT_RIGHT | DT_SINGLELINE);
}

void CWaveformWnd::DrawBkGnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  const int W = rc.Width(), H = rc.Height();
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(scopewnd::kScaleText);
  CFont* pOldFont = pDC->SelectObject(&ms_font);
  pDC->FillSolidRect(&rc, 0);
  for (const scopewnd::ScaleLine& line : scopewnd::WaveformScale(m_nScaleType)) {
    const int y = scopewnd::WaveformRow(H, line.k);
    if (line.kind == scopewnd::LineKind::Minor) {
      foundation::FillLine(pDC, 0, y, W, 1, scopewnd::kMinorLine);
      continue;
    }
    foundation::FillLine(pDC, scopewnd::kWaveformMargin, y, W - scopewnd::kWaveformMargin, 1, line.kind == scopewnd::LineKind::Major ? scopewnd::kMajorLine : kLabelled);
    DrawLabel(pDC, line.label, y);
  }
  const scopewnd::LegalLines legal = scopewnd::WaveformLegalLines(H, m_bShowAsY != 0);
  if (legal.nCount == 2) {
    for (int row : legal.rows) foundation::FillLine(pDC, scopewnd::kWaveformMargin, row, W - scopewnd::kWaveformMargin, 2, scopewnd::kLegalLine);
  } else {
    foundation::FillLine(pDC, scopewnd::kWaveformMargin, legal.rows[0] - 1, W - scopewnd::kWaveformMargin, 2, scopewnd::kLegalLine);
  }
  pDC->SelectObject(pOldFont);
}

void CWaveformWnd::DrawGraph(CBuf32Draw* pDraw) {
  if (!m_pGraph || !pDraw) return;
  const CRect rc = scopewnd::WaveformTraceRect(pDraw->Width(), pDraw->Height());
  m_pGraph->DrawParadeL(pDraw->Buf(), pDraw->Width(), pDraw->Height(), rc, m_bNormalRange, m_bMarkOutRange,
                        m_bShowAsY);
}

void CWaveformWnd::DrawActive(CDC* pDC) {
  CPoint p;
  ::GetCursorPos(&p);
  ScreenToClient(&p);
  CRect rc;
  GetClientRect(&rc);
  const int W = rc.Width(), H = m_bufGraph.Height();
  CFont* pOldFont = pDC->SelectObject(&ms_font);
  pDC->SetBkMode(OPAQUE);
  pDC->SetBkColor(0);
  pDC->SetTextColor(scopewnd::kReadoutColor);
  const CString text = scopewnd::WaveformReadout(m_nScaleType, H, p.y);
  CRect rcText = MeasureText(pDC, text, 0, 0);
  rcText.OffsetRect(2, scopewnd::WaveformReadoutRow(H) - rcText.Height() / 2);
  pDC->DrawText(text, &rcText, DT_SINGLELINE);
  if (p.y >= rcText.top && p.y <= rcText.bottom)
    foundation::FillLine(pDC, rcText.right + 3, p.y, W - rcText.Width() - 5, 1, scopewnd::kReadoutColor);
  else
    foundation::FillLine(pDC, 0, p.y, W, 1, scopewnd::kReadoutColor);
  pDC->SelectObject(pOldFont);
}
