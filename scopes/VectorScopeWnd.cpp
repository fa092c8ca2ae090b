#include "scopes/VectorScopeWnd.h"

#include "companion/VDraw.h"
#include "foundation/DrawHelpers.h"
#include "scopes/ScopeWndColors.h"
#include "scopes/ScopeWndGeometry.h"
#include "scopes/VideoScopeGraph.h"

namespace {
constexpr COLORREF kGraticule = 0x0090D1;
constexpr COLORREF kTarget = 0x0DAC58;
// Pixels per chroma step of the trace: min(W, H) * gain / 256 puts a chroma of 128 just inside
// the 100 % circle.
constexpr float kVectorGain = 0.847875118255615234375f;
}  // namespace

BEGIN_MESSAGE_MAP(CVectorScopeWnd, CScopeBaseWnd)
  ON_WM_SIZE()
END_MESSAGE_MAP()

CVectorScopeWnd::CVectorScopeWnd() = default;
CVectorScopeWnd::~CVectorScopeWnd() = default;

void CVectorScopeWnd::OnSize(UINT nType, int cx, int cy) {
  const scopewnd::VectorGeometry g = scopewnd::VectorGeometryFor(cx, cy);
  m_nCenterX = g.cx;
  m_nCenterY = g.cy;
  m_nRadius = g.r;
  CScopeBaseWnd::OnSize(nType, cx, cy);
}

void CVectorScopeWnd::DrawBkGnd(CDC* pDC) {
  if (m_bShowAsVector)
    DrawVectorBkGnd(pDC);
  else
    DrawLightingBkGnd(pDC);
}

void CVectorScopeWnd::DrawActive(CDC* pDC) {
  if (m_bShowAsVector)
    DrawVectorActive(pDC);
  else
    DrawLightingActive(pDC);
}

void CVectorScopeWnd::ShowAsVector(int bVector) {
  const auto hold = m_feed.Hold();  // the trace reads it on the feeding thread
  m_bShowAsVector = bVector;
}

void CVectorScopeWnd::DrawGraph(CBuf32Draw* pDraw) {
  if (!m_pGraph || !pDraw) return;
  const int W = pDraw->Width(), H = pDraw->Height();
  if (m_bShowAsVector)
    m_pGraph->DrawVector(pDraw->Buf(), W, H, kVectorGain);
  else
    m_pGraph->DrawLightning(pDraw->Buf(), W, H, scopewnd::LightningTraceRect(W, H), 1);
}

void CVectorScopeWnd::DrawScaleCircle(CDC* pDC, int r) {
  const int cx = m_nCenterX, cy = m_nCenterY;
  pDC->Arc(cx - r, cy - r, cx + r, cy + r, cx - r, cy - r, cx - r, cy - r);
}

void CVectorScopeWnd::DrawScaleText(CDC* pDC, int r, const wchar_t* text) {
  CRect rc(m_nCenterX + 5, m_nCenterY - r - 10, m_nCenterX + 105, m_nCenterY - r);
  pDC->DrawText(text, -1, &rc, DT_SINGLELINE);
}

void CVectorScopeWnd::DrawColorLabel(CDC* pDC, SARGB col, const wchar_t* text) {
  pDC->SetTextColor(kTarget);
  int u = 0, v = 0;
  scopewnd::TargetChroma(col.red, col.green, col.blue, u, v);
  const POINT c = scopewnd::VectorTarget({m_nCenterX, m_nCenterY, m_nRadius}, u, v);
  const int x = c.x, y = c.y;
  foundation::FillLine(pDC, x - 2, y - 2, 5, 1, kTarget);
  foundation::FillLine(pDC, x - 2, y + 2, 5, 1, kTarget);
  foundation::FillLine(pDC, x - 2, y - 2, 1, 5, kTarget);
  foundation::FillLine(pDC, x + 2, y - 2, 1, 5, kTarget);
  const int lx = x < m_nCenterX ? x - 12 : x + 4;
  const int ly = y < m_nCenterY ? y - 10 : y + 4;
  CRect rc(lx, ly, lx + 20, ly + 20);
  pDC->DrawText(text, -1, &rc, DT_SINGLELINE);
}

void CVectorScopeWnd::DrawVectorBkGnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  CPen pen(PS_SOLID, 1, kGraticule);
  CPen* pOldPen = pDC->SelectObject(&pen);
  CFont* pOldFont = pDC->SelectObject(&ms_font);
  pDC->FillSolidRect(&rc, 0);
  const int r = m_nRadius, cx = m_nCenterX, cy = m_nCenterY;
  for (int i = 0; i < 5; ++i) DrawScaleCircle(pDC, scopewnd::VectorCircleRadius(r, i));
  const int a = scopewnd::VectorAxisGap(r);
  foundation::FillLine(pDC, cx + a, cy, cx - a, 1, kGraticule);
  foundation::FillLine(pDC, 0, cy, cx - a, 1, kGraticule);
  foundation::FillLine(pDC, cx, 0, 1, cy - a, kGraticule);
  foundation::FillLine(pDC, cx, cy + a, 1, cy - a, kGraticule);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(kGraticule);
  static const wchar_t* const kScale[] = {L"20", L"40", L"60", L"80", L"100"};
  for (int i = 0; i < 5; ++i) DrawScaleText(pDC, scopewnd::VectorCircleRadius(r, i), kScale[i]);
  DrawColorLabel(pDC, {0, 0, 255, 0}, L"R");
  DrawColorLabel(pDC, {0, 255, 0, 0}, L"G");
  DrawColorLabel(pDC, {255, 0, 0, 0}, L"B");
  DrawColorLabel(pDC, {0, 255, 255, 0}, L"Yl");
  DrawColorLabel(pDC, {255, 0, 255, 0}, L"Mg");
  DrawColorLabel(pDC, {255, 255, 0, 0}, L"Cy");
  pDC->SelectObject(pOldFont);
  pDC->SelectObject(pOldPen);
}

void CVectorScopeWnd::DrawVectorActive(CDC* pDC) {
  CPoint p;
  ::GetCursorPos(&p);
  ScreenToClient(&p);
  CPen pen(PS_SOLID, 1, scopewnd::kReadoutColor);
  CPen* pOldPen = pDC->SelectObject(&pen);
  CFont* pOldFont = pDC->SelectObject(&ms_font);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(scopewnd::kReadoutColor);
  pDC->MoveTo(m_nCenterX, m_nCenterY);
  pDC->LineTo(p.x, p.y);
  const scopewnd::VectorReadout ro = scopewnd::VectorReadoutAt({m_nCenterX, m_nCenterY, m_nRadius}, p);
  DrawScaleCircle(pDC, ro.nDistance);
  CString text;
  text.Format(L"%d\u00B0, %d%%", ro.nAngle, ro.nPercent);
  const CRect size = MeasureText(pDC, text, 0, 0);
  CRect rcClient;
  GetClientRect(&rcClient);
  CRect rc(rcClient.right - size.Width() - 5, rcClient.top + 5, rcClient.right, rcClient.top + 5 + size.Height());
  pDC->DrawText(text, &rc, DT_SINGLELINE);
  pDC->SelectObject(pOldFont);
  pDC->SelectObject(pOldPen);
}

void CVectorScopeWnd::DrawLightingActive(CDC*) {}

void CVectorScopeWnd::DrawLightingBkGnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, 0);
  const scopewnd::LightningGeometry g = scopewnd::LightningGeometryFor(rc.Width(), rc.Height());
  const int cy = m_nCenterY;
  foundation::FillLine(pDC, g.mx - g.hx, cy, g.pw + 2 * g.hx, 1, kGraticule);
  foundation::FillLine(pDC, g.mx, g.my - g.hy, 1, g.ph + 2 * g.hy, kGraticule);
  if (g.xstep > 0) {
    for (int k = 1; k * g.xstep <= g.pw; ++k)
      foundation::FillLine(pDC, g.mx + k * g.xstep, g.my - g.hy, 1, g.ph + 2 * g.hy, scopewnd::kMinorLine);
  }
  for (int k = 1; k <= 5; ++k) {
    foundation::FillLine(pDC, g.mx, cy - k * g.ystep, g.pw, 1, scopewnd::kMinorLine);
    foundation::FillLine(pDC, g.mx, cy + k * g.ystep, g.pw, 1, scopewnd::kMinorLine);
  }
  // Luma across from the first legal code to just past the last; chroma up and down by half its range.
  using namespace scopewnd;
  constexpr int kLumaCodes = kLegalLumaHigh - kLegalLumaLow + 1, kChromaCodes = kLegalChromaHigh - kLegalChromaLow;
  DrawFrameRect(pDC, g.mx + g.pw * kLegalLumaLow / 256, cy - g.ph * (kChromaCodes / 2) / 256, g.pw * kLumaCodes / 256,
                g.ph * kChromaCodes / 256, kLegalLine);

  CFont* pOldFont = pDC->SelectObject(&ms_font);
  pDC->SetTextColor(kGraticule);
  pDC->SetBkMode(TRANSPARENT);
  static const wchar_t* const kSteps[] = {L"20", L"40", L"60", L"80", L"100"};
  CRect box(g.mx - 15, cy, g.mx, cy + 16);
  pDC->DrawText(L"0", -1, &box, DT_RIGHT);
  box.OffsetRect(g.xstep + 8, 1);
  for (int i = 0; i < 5; ++i) {
    if (i > 0) box.OffsetRect(g.xstep, 0);
    pDC->DrawText(kSteps[i], -1, &box, DT_CENTER);
  }
  box.OffsetRect(g.xstep / 2, -15);
  pDC->DrawText(L"Y", -1, &box, DT_CENTER);
  for (int sign = -1; sign <= 1; sign += 2) {
    CRect side(g.mx - 20, cy + sign * g.ystep - 5, g.mx, cy + sign * g.ystep + 10);
    for (int i = 0; i < 5; ++i) {
      if (i > 0) side.OffsetRect(0, sign * g.ystep);
      pDC->DrawText(kSteps[i], -1, &side, DT_CENTER);
    }
    side.OffsetRect(0, sign * g.ystep);
    pDC->DrawText(sign < 0 ? L"U" : L"V", -1, &side, DT_CENTER);
  }
  pDC->SelectObject(pOldFont);
}

namespace {

// Adds the samples at byte offset nByte of each record to the two counts.
void CheckBytes(const YVYU* p, unsigned long n, int nByte, unsigned char lo, unsigned char hi, long& nLow,
                long& nHigh) {
  nLow = nHigh = 0;
  if (!p) return;
  const BYTE* b = reinterpret_cast<const BYTE*>(p);
  for (unsigned long i = 0; i < n; ++i) {
    const BYTE s = b[static_cast<std::size_t>(i) * 4 + static_cast<std::size_t>(nByte)];
    nLow += s < lo;
    nHigh += s > hi;
  }
}

}  // namespace

void CheckY(YVYU* p, unsigned long n, unsigned char lo, unsigned char hi, long& nLow, long& nHigh) {
  long low2 = 0, high2 = 0;
  CheckBytes(p, n, 1, lo, hi, nLow, nHigh);
  CheckBytes(p, n, 3, lo, hi, low2, high2);
  nLow += low2;
  nHigh += high2;
}

void CheckU(YVYU* p, unsigned long n, unsigned char lo, unsigned char hi, long& nLow, long& nHigh) {
  CheckBytes(p, n, 0, lo, hi, nLow, nHigh);
  nLow *= 2;
  nHigh *= 2;
}

void CheckV(YVYU* p, unsigned long n, unsigned char lo, unsigned char hi, long& nLow, long& nHigh) {
  CheckBytes(p, n, 2, lo, hi, nLow, nHigh);
  nLow *= 2;
  nHigh *= 2;
}
