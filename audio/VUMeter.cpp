#include "audio/VUMeter.h"

#include <cstdint>

#include "foundation/AudioScale.h"
#include "foundation/ControlClass.h"
#include "foundation/DrawHelpers.h"

using namespace vumeter;

namespace {
constexpr COLORREF kFlashColor = 0x0000FF;  // a triggered marker shows red
CControlClass s_class{CS_HREDRAW | CS_VREDRAW};
}  // namespace

BEGIN_MESSAGE_MAP(CVUMeter, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CVUMeter::CVUMeter() = default;

CVUMeter::~CVUMeter() {
  if (GetSafeHwnd()) DestroyWindow();
  DeleteMarkers();  // markers added to a meter that never got a window
}

BOOL CVUMeter::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, const SVUMeterInitParam& param) {
  m_InitParam = param;
  if (m_InitParam.nVUCount < 0) m_InitParam.nVUCount = 0;
  for (INT_PTR i = 0; i < m_arrMarker.GetSize(); ++i) m_arrMarker[i]->arrFlashTime.SetSize(m_InitParam.nVUCount, -1);
  return CWnd::Create(s_class.Name(), nullptr, dwStyle, rect, pParentWnd, 0);
}

int CVUMeter::ChannelCount() const {
  const INT_PTR n = std::min(m_arrLevel.GetSize(), m_arrPeak.GetSize());
  return static_cast<int>(std::min<INT_PTR>(n, m_InitParam.nVUCount));
}

void CVUMeter::SetVUCount(int n) {
  if (n < 0) n = 0;  // no channels rather than a broken array
  m_InitParam.nVUCount = n;
  m_arrLevel.SetSize(n);
  m_arrPeak.SetSize(n);
  for (int i = 0; i < n; ++i) m_arrLevel[i] = m_arrPeak[i] = kNoPeak;
  for (INT_PTR i = 0; i < m_arrMarker.GetSize(); ++i) m_arrMarker[i]->arrFlashTime.SetSize(n, -1);
  ReInitial();
}

vumeter::SCellMap CVUMeter::CellMap() const {
  SCellMap m;
  m.nGridCount = m_nGridCount;
  m.nValueRange = m_nValueRange;
  m.fValueScale = m_fValueScale;
  m.nMinValue = m_nMinValue;
  return m;
}

int CVUMeter::DB2Index(double dB) const {
  const SCellMap m = CellMap();
  return m_InitParam.pScale ? m.FromScaleValue(m_InitParam.pScale->DB2Value(dB)) : m.FromLinearDB(dB);
}

void CVUMeter::ReInitial() {
  if (!GetSafeHwnd()) return;
  CRect rc;
  GetClientRect(&rc);
  const int cx = rc.Width(), cy = rc.Height();
  if (cx <= 0 || cy <= 0) return;
  // Without channels the images are still sized and cleared, so no stale bars stay on screen.
  if (m_buffers.GetWidth() != cx || m_buffers.GetHeight() != cy) {
    m_buffers.Resize(cx, cy);
    m_buffers.Draw().FillSolidRect(0, 0, cx, cy, m_InitParam.crBack);
  }
  m_buffers.Back().FillSolidRect(0, 0, cx, cy, m_InitParam.crBack);

  SLayout layout;
  if (!ComputeLayout(cx, cy, m_InitParam.nVUCount, layout)) return;
  m_ptOrigin = {layout.nOriginX, layout.nOriginY};
  m_nBarWidth = layout.nBarWidth;
  m_nCellHeight = layout.nCellHeight;
  m_nGridCount = layout.nGridCount;
  for (INT_PTR i = 0; i < m_arrLevel.GetSize(); ++i) m_arrLevel[i] = kNoPeak;
  for (INT_PTR i = 0; i < m_arrPeak.GetSize(); ++i) m_arrPeak[i] = kNoPeak;

  m_nHighIndex = m_nLowIndex = 0;
  if (m_nGridCount > 0) {
    const CAudioScale* pScale = m_InitParam.pScale;
    const SCellMap m = SCellMap::Make(m_nGridCount, pScale != nullptr, pScale ? pScale->GetValueRange() : 0,
                                      pScale ? pScale->GetMinValue() : 0);
    m_nValueRange = m.nValueRange;
    m_fValueScale = m.fValueScale;
    m_nMinValue = m.nMinValue;
    // Zone boundaries stay inside the bar and in order, so no zone is drawn backwards.
    m_nHighIndex = std::clamp(DB2Index(m_InitParam.nHighDB), 0, m_nGridCount);
    m_nLowIndex = std::clamp(DB2Index(m_InitParam.nLowDB), 0, m_nHighIndex);
  }
  DrawFrames();
}

void CVUMeter::DrawFrames() {
  CMemBitDC& back = m_buffers.Back();
  if (!back.GetSafeHdc()) return;
  back.FillSolidRect(0, 0, back.GetWidth(), back.GetHeight(), m_InitParam.crBack);
  for (int i = 0; i < ChannelCount(); ++i)
    DrawOneMeterFrame(&back, {m_ptOrigin.x + i * (m_nBarWidth + 3), m_ptOrigin.y}, m_nGridCount);
}

void CVUMeter::DrawOneMeterFrame(CDC* pDC, POINT pt, int nGrid) {
  if (!pDC || nGrid < 0) return;
  const int W = m_nBarWidth, H = m_nCellHeight;
  const int T = nGrid * (H + 1) + 1;
  const SVUMeterInitParam& p = m_InitParam;
  pDC->FillSolidRect(pt.x + 1, pt.y, W, T, p.crOff);
  const int topZone = (m_nGridCount - m_nHighIndex) * (H + 1);
  pDC->FillSolidRect(pt.x + 1, pt.y, W, topZone, DimColor(p.crHigh));
  pDC->FillSolidRect(pt.x + 1, pt.y + topZone, W, (m_nHighIndex - m_nLowIndex) * (H + 1), DimColor(p.crMid));
  foundation::FillLine(pDC, pt.x, pt.y, 1, T, p.crFrame);
  foundation::FillLine(pDC, pt.x + W + 1, pt.y, 1, T, p.crFrame);
  for (int k = 0; k <= nGrid; ++k) foundation::FillLine(pDC, pt.x, pt.y + k * (H + 1), W + 1, 1, p.crFrame);
}

void CVUMeter::DrawOneMeterFlash(CDC* pDC, POINT pt, int nLevel, int nPeak, int nIndex) {
  if (!pDC) return;
  const int W = m_nBarWidth, H = m_nCellHeight, G = m_nGridCount;
  const SVUMeterInitParam& p = m_InitParam;
  nLevel = std::min(nLevel, G - 1);
  nPeak = std::min(std::max(nPeak, nLevel), G - 1);
  if (nPeak >= 0) foundation::FillLine(pDC, pt.x + 1, pt.y + (G - nPeak - 1) * (H + 1), W, 1, p.crPeak);

  auto cell = [&](int k, COLORREF cr) { pDC->FillSolidRect(pt.x + 1, pt.y + (G - 1 - k) * (H + 1) + 1, W, H, cr); };
  for (int k = m_nHighIndex; k <= nLevel; ++k) cell(k, p.crHigh);
  for (int k = m_nLowIndex; k <= std::min(nLevel, m_nHighIndex - 1); ++k) cell(k, p.crMid);
  for (int k = 0; k <= std::min(nLevel, m_nLowIndex - 1); ++k) cell(k, p.crLow);

  for (INT_PTR m = 0; m < m_arrMarker.GetSize(); ++m) {
    const CVUMarker* pMarker = m_arrMarker[m];
    const int idx = DB2Index(pMarker->nDB);
    const bool flashing = nIndex >= 0 && nIndex < pMarker->arrFlashTime.GetSize() && pMarker->arrFlashTime[nIndex] > 0;
    // A marker far outside the bar's levels lands far off the DC, saturated.
    const int y = winport::SatCoord(pt.y + (std::int64_t{G} - idx) * (H + 1));
    foundation::FillLine(pDC, pt.x + 1, y, W, 1, flashing ? kFlashColor : pMarker->crMarker);
  }
}

void CVUMeter::OnDraw(CDC* pDC) {
  for (int i = 0; i < ChannelCount(); ++i)
    DrawOneMeterFlash(pDC, {m_ptOrigin.x + i * (m_nBarWidth + 3), m_ptOrigin.y}, m_arrLevel[i],
                      PeakIndex(m_arrPeak[i]), i);
}

void CVUMeter::SetDBValue(double* const pDB) {
  if (!pDB) return;
  const int n = ChannelCount();
  const SCellMap map = CellMap();
  bool anyPeak = false;
  for (int i = 0; i < n; ++i) {
    const int level = map.LevelFromIndex(DB2Index(pDB[i]));
    m_arrLevel[i] = level;
    FeedPeak(m_arrPeak[i], level);
    anyPeak = anyPeak || PeakIndex(m_arrPeak[i]) >= 0;
  }
  const bool hasWindow = GetSafeHwnd() != nullptr;
  if (!m_bPeakTimer && anyPeak && hasWindow) {
    SetTimer(PEAK_TIMER, 100, nullptr);
    m_bPeakTimer = 1;
    m_nPeakTick = 0;
  }
  if (m_nTipMeter >= 0 && m_nTipMeter < n) {
    CString text;
    if (m_strTipPostText.IsEmpty())
      text.Format(L"%5.1f", pDB[m_nTipMeter]);
    else
      text.Format(L"%5.1f %s", pDB[m_nTipMeter], static_cast<LPCWSTR>(m_strTipPostText));
    m_ToolTip.SetHoverText(text);
  }
  for (INT_PTR m = 0; m < m_arrMarker.GetSize(); ++m) {
    CVUMarker* pMarker = m_arrMarker[m];
    const int k_end = std::min(n, pMarker->arrFlashTime.GetSize());
    for (int k = 0; k < k_end; ++k)
      if (static_cast<double>(pMarker->nDB) < pDB[k]) pMarker->arrFlashTime[k] = m_nMarkerDuration;
  }
  if (hasWindow) InvalidateRect(nullptr, TRUE);
}

namespace {

// The float and int feeds widen the channel values to doubles for the double version.
template <class T>
CTArray<double> WidenLevels(const T* pDB, int nCount) {
  CTArray<double> values;
  values.SetSize(std::max(nCount, 0), -1);
  for (int i = 0; i < values.GetSize(); ++i) values[i] = pDB[i];
  return values;
}

}  // namespace

void CVUMeter::SetDBValue(float* const pDB) {
  if (!pDB) return;
  CTArray<double> values = WidenLevels(pDB, m_InitParam.nVUCount);
  SetDBValue(values.GetData());
}

void CVUMeter::SetDBValue(int* const pDB) {
  if (!pDB) return;
  CTArray<double> values = WidenLevels(pDB, m_InitParam.nVUCount);
  SetDBValue(values.GetData());
}

void CVUMeter::AddVUMarker(int nDB, COLORREF cr) {
  auto* pMarker = new CVUMarker{cr, nDB, {}};
  pMarker->arrFlashTime.SetSize(std::max(m_InitParam.nVUCount, 0), -1);
  m_arrMarker.Add(pMarker);
  if (GetSafeHwnd()) DrawFrames();
}

void CVUMeter::DeleteVUMarker(int nDB) {
  for (INT_PTR i = m_arrMarker.GetSize() - 1; i >= 0; --i) {
    if (m_arrMarker[i]->nDB != nDB) continue;
    delete m_arrMarker[i];
    m_arrMarker.RemoveAt(i);
  }
  if (GetSafeHwnd()) DrawFrames();
}

void CVUMeter::DeleteMarkers() {
  for (INT_PTR i = 0; i < m_arrMarker.GetSize(); ++i) delete m_arrMarker[i];
  m_arrMarker.RemoveAll();
}

int CVUMeter::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  SetVUCount(m_InitParam.nVUCount);
  m_ToolTip.Open(this, TIP_ID);
  SetTimer(MARKER_TIMER, MARKER_PERIOD, nullptr);
  return 0;
}

void CVUMeter::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  ReInitial();
  m_ToolTip.FitClient(cx, cy);
}

void CVUMeter::OnPeakTimer() {
  ++m_nPeakTick;
  const int n = ChannelCount();
  bool anyPeak = false, changed = false;
  for (int i = 0; i < n; ++i) {
    if (PeakIndex(m_arrPeak[i]) < 0) continue;
    anyPeak = true;
    changed = FallPeak(m_arrPeak[i], m_nPeakTick, m_nGridCount) || changed;
  }
  if (!anyPeak) {
    KillTimer(PEAK_TIMER);
    m_bPeakTimer = 0;
  }
  if (changed) InvalidateRect(nullptr, TRUE);
}

void CVUMeter::OnMarkerTimer() {
  bool due = false;
  for (INT_PTR m = 0; m < m_arrMarker.GetSize(); ++m) {
    CTArray<int>& times = m_arrMarker[m]->arrFlashTime;
    for (int k = 0; k < times.GetSize(); ++k) due = CountDownFlash(times[k], MARKER_PERIOD) || due;
  }
  if (due) InvalidateRect(nullptr, TRUE);
}

void CVUMeter::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == PEAK_TIMER) OnPeakTimer();
  else if (nIDEvent == MARKER_TIMER) OnMarkerTimer();
  CWnd::OnTimer(nIDEvent);
}

void CVUMeter::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  m_buffers.Paint(&dc, rc, m_InitParam.crBack, [this](CDC* pDC) { OnDraw(pDC); });
}

void CVUMeter::OnDestroy() {
  CWnd::OnDestroy();
  if (m_bPeakTimer) {
    KillTimer(PEAK_TIMER);
    m_bPeakTimer = 0;
  }
  DeleteMarkers();
  KillTimer(MARKER_TIMER);
}

void CVUMeter::TrackTipMeter(int x) {
  SLayout layout;
  layout.nOriginX = m_ptOrigin.x;
  layout.nBarWidth = m_nBarWidth;
  m_nTipMeter = BarFromX(x, layout, m_InitParam.nVUCount);
}

BOOL CVUMeter::PreTranslateMessage(MSG* pMsg) {
  if (pMsg && pMsg->message == WM_MOUSEMOVE) TrackTipMeter(static_cast<short>(LOWORD(pMsg->lParam)));
  m_ToolTip.Relay(pMsg);
  return CWnd::PreTranslateMessage(pMsg);
}

// Message loops that do not pre-translate still deliver the move here.
void CVUMeter::OnMouseMove(UINT nFlags, CPoint point) {
  TrackTipMeter(point.x);
  m_ToolTip.Relay();
  CWnd::OnMouseMove(nFlags, point);
}
