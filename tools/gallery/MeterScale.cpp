#include "tools/gallery/MeterScale.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "audio/ExVUMeter.h"
#include "audio/VUMeter.h"
#include "audio/VUMeterLogic.h"

namespace gallery {

namespace {
constexpr COLORREF kStripBack = RGB(255, 255, 255);
constexpr COLORREF kTick = RGB(120, 120, 120);
constexpr COLORREF kText = RGB(50, 50, 50);
constexpr int kTickLen = 4;
constexpr int kInfDB = -100;  // levels below read as -inf
}  // namespace

int PixelOf(const CAudioScale& scale, SBarSpan span, int value) {
  const double range = scale.GetValueRange();
  if (range == 0) return span.empty;
  return span.empty + static_cast<int>(std::lround((value - scale.GetMinValue()) * (span.full - span.empty) / range));
}

SBarSpan BarSpanOf(int cx, int cy, int nChannels) {
  vumeter::SLayout layout;
  if (!vumeter::ComputeLayout(cx, cy, nChannels, layout)) return {};
  return {layout.nOriginY, layout.nOriginY + layout.nGridCount * (layout.nCellHeight + 1)};
}

SBarSpan BarSpanOf(int length, bool bVertical) {
  // The bar leaves a pixel of frame at each end and fills from the bottom or the left.
  return bVertical ? SBarSpan{1, length - 1} : SBarSpan{length - 1, 1};
}

CAudioScale ScaleOf(const SExVUMParam& param, const std::vector<int>& marksDB) {
  std::vector<ScaleItem> items;
  for (int dB : marksDB)
    items.push_back({dB, static_cast<int>(std::lround(10000.0 * exvumeter::LevelFraction(param, static_cast<float>(dB))))});
  CAudioScale scale;
  scale.SetScale(items.data(), static_cast<int>(items.size()));
  return scale;
}

CAudioScale Thinned(const CAudioScale& scale, SBarSpan span, int minGap) {
  const int n = scale.m_arrScale.GetSize();
  std::vector<ScaleItem> kept;
  for (int i = 0; i < n; ++i) {
    const ScaleItem& p = scale.m_arrScale[i];
    const bool last = i == n - 1;
    if (!kept.empty()) {
      const int gap = std::abs(PixelOf(scale, span, p.nValue) - PixelOf(scale, span, kept.back().nValue));
      if (gap < minGap) {
        if (!last) continue;
        if (kept.size() > 1) kept.pop_back();  // the quietest point wins over its neighbour
      }
    }
    kept.push_back(p);
  }
  CAudioScale out;
  out.SetScale(kept.data(), static_cast<int>(kept.size()));
  return out;
}

BEGIN_MESSAGE_MAP(CMeterScale, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CMeterScale::CMeterScale(const CAudioScale& scale, SBarSpan span, ASDSStyle side, bool bHorizontal)
    : m_scale(scale), m_span(span), m_nSide(side), m_bHorizontal(bHorizontal) {
  m_font.CreatePointFont(70, L"Tahoma");
}

void CMeterScale::Place(CMeterScale* strip, CWnd* pParent, const CRect& rc) {
  std::unique_ptr<CMeterScale> owned(strip);
  static CString cls = AfxRegisterWndClass(0);
  if (owned->CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, rc, pParent, 0)) owned.release();
}

void CMeterScale::Add(CWnd* pParent, const CVUMeter& meter, ASDSStyle side, int width) {
  CRect rc;
  meter.GetWindowRect(&rc);
  pParent->ScreenToClient(&rc);
  const SVUMeterInitParam& ip = meter.GetInitParam();
  CAudioScale scale;
  if (ip.pScale) {
    scale = *ip.pScale;
  } else {
    ScaleItem linear[] = {{0, 100}, {-10, 90}, {-20, 80}, {-30, 70}, {-40, 60}, {-50, 50},
                          {-60, 40}, {-70, 30}, {-80, 20}, {-90, 10}, {-100, 0}};
    scale.SetScale(linear, 11);
  }
  const SBarSpan span = BarSpanOf(rc.Width(), rc.Height(), ip.nVUCount);
  const CRect strip = side == ASDS_TEXTLEFT ? CRect(rc.left - width, rc.top, rc.left, rc.bottom)
                                            : CRect(rc.right, rc.top, rc.right + width, rc.bottom);
  Place(new CMeterScale(Thinned(scale, span, 12), span, side, false), pParent, strip);
}

void CMeterScale::Add(CWnd* pParent, CExVUMeter& meter, ASDSStyle side, int width) {
  CRect rc;
  meter.GetWindowRect(&rc);
  pParent->ScreenToClient(&rc);
  const bool vertical = meter.IsVertical();
  const SExVUMParam& param = meter.GetParam();
  std::vector<int> marks;
  for (int dB : {0, -3, -6, -10, -20, -30, -40, -50, -60, -70, -80})
    if (dB <= param.fMaxDB && dB >= param.fMinDB) marks.push_back(dB);
  const CAudioScale all = ScaleOf(param, marks);
  const SBarSpan span = BarSpanOf(vertical ? rc.Height() : rc.Width(), vertical);
  CRect strip;
  if (!vertical)
    strip = CRect(rc.left, rc.top - width, rc.right, rc.top);
  else
    strip = side == ASDS_TEXTLEFT ? CRect(rc.left - width, rc.top, rc.left, rc.bottom)
                                  : CRect(rc.right, rc.top, rc.right + width, rc.bottom);
  Place(new CMeterScale(Thinned(all, span, vertical ? 12 : 26), span, side, !vertical), pParent, strip);
}

void CMeterScale::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, kStripBack);
  CFont* old = dc.SelectObject(&m_font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(kText);
  dc.SetBkColor(kTick);  // the scale's ticks take the background colour
  if (m_bHorizontal)
    DrawAcross(dc, rc);
  else
    m_scale.Draw(&dc, CRect(rc.left, m_span.full, rc.right, m_span.empty), kInfDB, m_nSide, 0, 0, kTickLen);
  dc.SelectObject(old);
}

// Ticks along the bottom edge, each label centred above its tick.
void CMeterScale::DrawAcross(CDC& dc, const CRect& rc) {
  for (int i = 0; i < m_scale.m_arrScale.GetSize(); ++i) {
    const ScaleItem& p = m_scale.m_arrScale[i];
    const int x = PixelOf(m_scale, m_span, p.nValue);
    dc.FillSolidRect(x, rc.bottom - kTickLen, 1, kTickLen, kTick);
    CString text;
    text.Format(L"%d", p.nDB);
    // Centred on the tick, moved inwards where the strip ends.
    const int w = dc.GetTextExtent(text).cx;
    const int left = std::clamp(x - w / 2, static_cast<int>(rc.left), static_cast<int>(rc.right) - w);
    CRect label(left, rc.top, left + w, rc.bottom - kTickLen);
    dc.DrawText(text, &label, DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOCLIP);
  }
}

}  // namespace gallery
