#include "scopes/HistogramWnd.h"

#include "foundation/DrawHelpers.h"
#include "scopes/ScopeWndColors.h"
#include "scopes/ScopeWndGeometry.h"
#include "scopes/VideoScopeGraph.h"

namespace {
constexpr int kMinorLevels[] = {16, 32, 48, 80, 96, 112, 144, 160, 176, 208, 224, 240};
constexpr int kMajorLevels[] = {0, 64, 128, 192, 255};
}  // namespace

CHistogramWnd::CHistogramWnd() = default;
CHistogramWnd::~CHistogramWnd() = default;

CRect CHistogramWnd::ClientRect() const {
  CRect rc;
  GetClientRect(&rc);
  return rc;
}

void CHistogramWnd::SetDrawCategory(DrawCategory nCategory) {
  const auto hold = m_feed.Hold();  // the trace reads it on the feeding thread
  m_nDrawCategory = nCategory;
}

void CHistogramWnd::DrawBkGnd(CDC* pDC) {
  const CRect rc = ClientRect();
  pDC->FillSolidRect(&rc, 0);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(scopewnd::kScaleText);
  CFont* pOldFont = pDC->SelectObject(&ms_font);
  const int top = rc.top + 16, height = rc.Height() - 32;
  for (int L : kMinorLevels) foundation::FillLine(pDC, scopewnd::HistogramX(rc, L), top, 1, height, scopewnd::kMinorLine);
  for (int L : kMajorLevels) {
    const int x = scopewnd::HistogramX(rc, L);
    foundation::FillLine(pDC, x, top, 1, height, scopewnd::kMajorLine);
    CString text;
    text.Format(L"%d", L);
    CRect rcText = MeasureText(pDC, text, x, 0);
    rcText.OffsetRect(-rcText.Width() / 2, (16 - rcText.Height()) / 2);
    pDC->DrawText(text, &rcText, DT_SINGLELINE);
  }
  pDC->SelectObject(pOldFont);
}

void CHistogramWnd::DrawLuminance(CBuf32Draw* pDraw) {
  m_pGraph->DrawHistoL(pDraw, scopewnd::HistogramSingleRect(GraphRect()));
}
void CHistogramWnd::DrawRed(CBuf32Draw* pDraw) { m_pGraph->DrawHistoR(pDraw, scopewnd::HistogramSingleRect(GraphRect())); }
void CHistogramWnd::DrawGreen(CBuf32Draw* pDraw) {
  m_pGraph->DrawHistoG(pDraw, scopewnd::HistogramSingleRect(GraphRect()));
}
void CHistogramWnd::DrawBlue(CBuf32Draw* pDraw) {
  m_pGraph->DrawHistoB(pDraw, scopewnd::HistogramSingleRect(GraphRect()));
}

void CHistogramWnd::DrawAll(CBuf32Draw* pDraw) {
  const CRect rc = GraphRect();
  m_pGraph->DrawHistoL(pDraw, scopewnd::HistogramBandRect(rc, 0));
  m_pGraph->DrawHistoR(pDraw, scopewnd::HistogramBandRect(rc, 1));
  m_pGraph->DrawHistoG(pDraw, scopewnd::HistogramBandRect(rc, 2));
  m_pGraph->DrawHistoB(pDraw, scopewnd::HistogramBandRect(rc, 3));
}

void CHistogramWnd::DrawGraph(CBuf32Draw* pDraw) {
  if (!m_pGraph || !pDraw) return;
  switch (m_nDrawCategory) {
    case Luminance: DrawLuminance(pDraw); break;
    case Red: DrawRed(pDraw); break;
    case Green: DrawGreen(pDraw); break;
    case Blue: DrawBlue(pDraw); break;
    case All: DrawAll(pDraw); break;
    default: break;
  }
}

CString CHistogramWnd::ShareText(int L) const {
  CString text;
  if (!m_pGraph || L < 0 || L > 255) return text;
  const long nRGB = m_pGraph->GetHistoPixelCount(), nLuma = m_pGraph->GetHistoLPixelCount();
  if (nRGB <= 0 || nLuma <= 0) return text;
  const bool haveLuma = m_pGraph->GetYUVGraph().GetYHisto().GetSize() == 256;
  const float l = static_cast<float>(m_pGraph->GetHistoValueL(L)) / static_cast<float>(nLuma);
  const float r = static_cast<float>(m_pGraph->GetHistoValueR(L)) / static_cast<float>(nRGB);
  const float g = static_cast<float>(m_pGraph->GetHistoValueG(L)) / static_cast<float>(nRGB);
  const float b = static_cast<float>(m_pGraph->GetHistoValueB(L)) / static_cast<float>(nRGB);
  switch (m_nDrawCategory) {
    case Luminance:
      if (haveLuma) text.Format(L"%6.3f%%", l * 100.0);
      break;
    case Red: text.Format(L"%6.3f%%", r * 100.0); break;
    case Green: text.Format(L"%6.3f%%", g * 100.0); break;
    case Blue: text.Format(L"%6.3f%%", b * 100.0); break;
    case All:
      if (haveLuma) text.Format(L"LRGB %6.3f%% %6.3f%% %6.3f%% %6.3f%%", l * 100.0, r * 100.0, g * 100.0, b * 100.0);
      break;
    default: break;
  }
  return text;
}

void CHistogramWnd::DrawActive(CDC* pDC) {
  CPoint p;
  ::GetCursorPos(&p);
  ScreenToClient(&p);
  CRect R = ClientRect();
  R.DeflateRect(0, 1);
  CFont* pOldFont = pDC->SelectObject(&ms_font);
  pDC->SetBkMode(OPAQUE);
  pDC->SetBkColor(0);
  pDC->SetTextColor(scopewnd::kReadoutColor);
  const int L = scopewnd::HistogramLevelAt(ClientRect(), p.x);
  CString label;
  label.Format(L"  %d  ", L);
  CRect rcLabel = MeasureText(pDC, label, scopewnd::HistogramX(ClientRect(), 255), 0);
  rcLabel.OffsetRect(-rcLabel.Width() / 2, (16 - rcLabel.Height()) / 2);
  pDC->DrawText(label, &rcLabel, DT_CENTER | DT_SINGLELINE);
  if (p.x < rcLabel.left || p.x > rcLabel.right)
    foundation::FillLine(pDC, p.x, R.top, 1, R.Height(), scopewnd::kReadoutColor);
  else
    foundation::FillLine(pDC, p.x, 16, 1, R.Height() - 16, scopewnd::kReadoutColor);
  const CString share = ShareText(L);
  if (!share.IsEmpty()) {
    const CSize size = GraphSize();
    CRect rcShare(0, size.cy - 12, size.cx, size.cy);
    pDC->SetBkColor(0);
    pDC->DrawText(share, &rcShare, DT_SINGLELINE | DT_CENTER | DT_RIGHT);
  }
  pDC->SelectObject(pOldFont);
}
