#include "audio/ExVUMeter.h"

#include <algorithm>
#include <climits>
#include <thread>

#include "foundation/ControlClass.h"
#include "foundation/DrawHelpers.h"

using namespace exvumeter;

namespace {

// No background brush: the meter paints its whole client area.
CControlClass s_class{0, IDC_ARROW};

// Holds one busy flag for a scope, provided the other flag is clear; the two flags are tested
// in opposite order by the two sides, and sequentially consistent atomics make sure at most one
// side proceeds.
class CBusyScope {
 public:
  CBusyScope(std::atomic_flag& own, const std::atomic_flag& other) : m_own(own) {
    if (m_own.test_and_set()) return;
    if (other.test()) {
      m_own.clear();
      return;
    }
    m_bHeld = true;
  }
  ~CBusyScope() { Release(); }
  CBusyScope(const CBusyScope&) = delete;
  CBusyScope& operator=(const CBusyScope&) = delete;
  explicit operator bool() const { return m_bHeld; }
  void Release() {
    if (m_bHeld) m_own.clear();
    m_bHeld = false;
  }

 private:
  std::atomic_flag& m_own;
  bool m_bHeld = false;
};

}  // namespace

BEGIN_MESSAGE_MAP(CExVUMeter, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_MOUSEMOVE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CExVUMeter::CExVUMeter() = default;

CExVUMeter::~CExVUMeter() {
  if (GetSafeHwnd()) DestroyWindow();
}

BOOL CExVUMeter::Create(int nCount, BOOL bVertical, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd) {
  SetCount(nCount);
  SetVertical(bVertical);
  return CWnd::Create(s_class.Name(), nullptr, dwStyle, rect, pParentWnd, 0);
}

// The window thread's exclusive hold on the level arrays, for resets and resizes. SetValue
// drops its flag before it touches the window, so this wait never waits on this thread.
void CExVUMeter::LockSetting() {
  while (m_bSetting.test_and_set()) std::this_thread::yield();
}

void CExVUMeter::SetCount(int nCount) {
  if (nCount < 0) nCount = 0;
  LockSetting();
  const int old = m_arrPeakRec.GetSize();
  m_arrValue.SetSize(nCount, -1);
  m_arrPeakRec.SetSize(nCount, -1);
  for (int i = 0; i < nCount; ++i) {
    m_arrValue[i] = m_Param.fMinDB;
    m_arrPeakRec[i].fPeak = m_Param.fMinDB;
    if (i >= old) m_arrPeakRec[i].nHold = m_arrPeakRec[i].nOver = 0;
  }
  m_nBarSize = BarSizeFor(m_bVertical ? m_cx : m_cy, m_nMeterDist, nCount, m_nBarSize);
  m_bSetting.clear();
  RedrawImages();
  m_bDrawing.clear();
}

void CExVUMeter::SetVertical(BOOL b) {
  m_bVertical = b ? 1 : 0;
  RedrawImages();
}

void CExVUMeter::SetMeterDist(int n) {
  m_nMeterDist = std::clamp(n, 0, kMaxMeterDist);  // a negative gap would stack bars on each other
  RedrawImages();
}

void CExVUMeter::SetTipPostText(LPCWSTR psz) {
  LockSetting();
  m_strTipPostText = psz ? psz : L"";
  m_bSetting.clear();
}

void CExVUMeter::RedrawImages() {
  if (!m_buffers.IsReady()) return;
  DrawBack(&m_buffers.Back());
  m_buffers.Compose([this](CDC* pDC) { DrawValue(pDC); });
}

void CExVUMeter::ParamChanged() {
  Clear();
  if (m_buffers.Back().GetSafeHdc()) DrawBack(&m_buffers.Back());
}

void CExVUMeter::ColorChanged() {
  if (m_buffers.Back().GetSafeHdc()) DrawBack(&m_buffers.Back());
}

void CExVUMeter::Clear() {
  LockSetting();
  for (int i = 0; i < m_arrValue.GetSize(); ++i) m_arrValue[i] = m_Param.fMinDB;
  for (int i = 0; i < m_arrPeakRec.GetSize(); ++i) m_arrPeakRec[i] = {m_Param.fMinDB, 0, 0};
  m_bSetting.clear();
  if (m_buffers.IsReady() && GetSafeHwnd()) {
    m_buffers.Compose([this](CDC* pDC) { DrawValue(pDC); });
    CDC* pDC = GetDC();
    if (pDC) {
      m_buffers.Present(pDC);
      ReleaseDC(pDC);
    }
  }
  m_bDrawing.clear();
}

int CExVUMeter::ValueToLeng(float fDB) { return exvumeter::ValueToLeng(m_Param, Usable(), fDB); }

void CExVUMeter::SetValue(const float* const pValues) { SetValue(pValues, INT_MAX); }

BOOL CExVUMeter::SetValue(const float* pValues, int nCount) {
  if (!pValues || nCount < 0) return FALSE;
  CBusyScope busy(m_bSetting, m_bDrawing);
  if (!busy) return FALSE;
  const SFall fall = FallFor(m_Param);
  // The bar count as it is under the flag, which SetCount also takes: never more values are read
  // than the caller handed over.
  const int n = m_arrValue.GetSize();
  for (int i = 0; i < n; ++i)
    StepChannel(m_Param, fall, m_arrValue[i], m_arrPeakRec[i], i < nCount ? pValues[i] : m_Param.fMinDB);

  const int tip = m_nTipMeter.load();
  if (tip >= 0 && tip < n) {
    CString text;
    if (!(m_arrValue[tip] < m_Param.fMinDB)) {
      text.Format(L"%5.1f ", static_cast<double>(m_arrValue[tip]));
      text += m_strTipPostText;
    }
    m_strPendingTip = text;
    m_feed.Defer();
  }
  // On the window's own thread the window cannot go away meanwhile: the text goes out now.
  if (m_feed.OnWindowThread()) ApplyPendingTip();
  busy.Release();
  m_feed.Invalidate(TRUE);
  return n > 0;
}

// Runs on the window's thread with one of the busy flags held.
void CExVUMeter::ApplyPendingTip() {
  if (!m_feed.TakeDeferred()) return;
  m_ToolTip.SetHoverText(m_strPendingTip);
}

void CExVUMeter::GradientRect(CDC* pDC, const RECT& rect, COLORREF crFrom, COLORREF crTo) {
  TRIVERTEX v[2] = {};
  v[0].x = rect.left;
  v[0].y = rect.top;
  v[0].Red = static_cast<COLOR16>(GetRValue(crFrom) << 8);
  v[0].Green = static_cast<COLOR16>(GetGValue(crFrom) << 8);
  v[0].Blue = static_cast<COLOR16>(GetBValue(crFrom) << 8);
  v[1].x = rect.right;
  v[1].y = rect.bottom;
  v[1].Red = static_cast<COLOR16>(GetRValue(crTo) << 8);
  v[1].Green = static_cast<COLOR16>(GetGValue(crTo) << 8);
  v[1].Blue = static_cast<COLOR16>(GetBValue(crTo) << 8);
  GRADIENT_RECT r = {0, 1};
  pDC->GradientFill(v, 2, &r, 1, m_bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void CExVUMeter::DrawBack(CDC* pDC) {
  if (!pDC) return;
  pDC->FillSolidRect(0, 0, m_cx, m_cy, m_Color.crBack);
  for (int i = 0; i < GetCount(); ++i) {
    const int p = GetBarPos(i);
    if (m_bVertical)
      pDC->Draw3dRect(p, 0, m_nBarSize, m_cy, m_Color.crFrameTL, m_Color.crFrameBR);
    else
      pDC->Draw3dRect(0, p, m_cx, m_nBarSize, m_Color.crFrameTL, m_Color.crFrameBR);
    DrawOneBar(pDC, p + 1, m_nBarSize - 2);
  }
}

void CExVUMeter::DrawOneBar(CDC* pDC, int nPos, int nSize) {
  const int L = Length(), S = Usable();
  if (!pDC || !(m_Param.fMinDB < m_Param.fMaxDB) || S <= 0) return;
  const float fS = static_cast<float>(S);
  // Breakpoint ends, kept inside the bar so odd fractions cannot reach across the window.
  auto end = [&](float pos) {
    const double e = static_cast<double>(pos * fS) + 0.5;
    return (e > -1 && e < S + 1) ? static_cast<int>(e) + 1 : (e >= S + 1 ? S + 2 : 0);
  };
  const int e1 = end(m_Param.fPos1), e2 = end(m_Param.fPos2), e3 = end(m_Param.fPos3);
  const SExVUMColor& c = m_Color;
  if (m_bVertical) {
    GradientRect(pDC, CRect(nPos, L - e1, nPos + nSize, L - 1), c.crGrad1, c.crGrad0);
    GradientRect(pDC, CRect(nPos, L - e2, nPos + nSize, L - e1), c.crGrad2, c.crGrad1);
    GradientRect(pDC, CRect(nPos, L - e3, nPos + nSize, L - e2), c.crGrad3, c.crGrad2);
  } else {
    GradientRect(pDC, CRect(1, nPos, e1, nPos + nSize), c.crGrad0, c.crGrad1);
    GradientRect(pDC, CRect(e1, nPos, e2, nPos + nSize), c.crGrad1, c.crGrad2);
    GradientRect(pDC, CRect(e2, nPos, e3, nPos + nSize), c.crGrad2, c.crGrad3);
  }
  if (e3 <= S && S - e3 - 1 > 0) {
    if (m_bVertical)
      pDC->FillSolidRect(nPos, 1, nSize, S - e3 - 1, c.crGrad3);
    else
      pDC->FillSolidRect(e3 + 1, nPos, S - e3 - 1, nSize, c.crGrad3);
  }
}

void CExVUMeter::DrawOneValue(CDC* pDC, int nPos, int nSize, float fValue) {
  if (!pDC) return;
  const int S = Usable();
  const int len = ClampLeng(ValueToLeng(fValue), S);
  if (S - len <= 0) return;
  if (m_bVertical)
    pDC->FillSolidRect(nPos, 1, nSize, S - len, m_Color.crCover);
  else
    pDC->FillSolidRect(len + 1, nPos, S - len, nSize, m_Color.crCover);
}

void CExVUMeter::DrawValue(CDC* pDC) {
  if (!pDC) return;
  CBusyScope busy(m_bDrawing, m_bSetting);
  if (!busy) return;
  const int L = Length(), S = Usable();
  if (S <= 0) return;
  const int n = m_nBarSize - 2;
  for (int i = 0; i < GetCount(); ++i) {
    const int p = GetBarPos(i) + 1;
    DrawOneValue(pDC, p, n, m_arrValue[i]);
    const SExVUMPeak& rec = m_arrPeakRec[i];
    const int len = ClampLeng(ValueToLeng(rec.fPeak), S);
    if (m_bVertical)
      foundation::FillLine(pDC, p, L - len - 1, n, 1, m_Color.crPeak);
    else
      foundation::FillLine(pDC, len + 1, p, 1, n, m_Color.crPeak);
    if (rec.nOver > 0) {
      if (m_bVertical)
        pDC->FillSolidRect(p, 0, n, 2, m_Color.crGrad3);
      else
        pDC->FillSolidRect(L - 1, p, 2, n, m_Color.crGrad3);
    }
  }
}

int CExVUMeter::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  m_ToolTip.Open(this, TIP_ID);
  m_feed.Open(m_hWnd);
  return 0;
}

void CExVUMeter::OnDestroy() {
  m_feed.Close();
  CWnd::OnDestroy();
}

void CExVUMeter::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  m_cx = cx;
  m_cy = cy;
  Clear();
  if (cx > 0 && cy > 0) {
    // Sized even without channels, so the window shows its background rather than old bars.
    if (GetCount() > 0) m_nBarSize = BarSizeFor(m_bVertical ? cx : cy, m_nMeterDist, GetCount(), m_nBarSize);
    m_buffers.Resize(cx, cy);
    DrawBack(&m_buffers.Back());
    m_buffers.Compose([this](CDC* pDC) { DrawValue(pDC); });
  }
  m_ToolTip.FitClient(cx, cy);
}

BOOL CExVUMeter::OnEraseBkgnd(CDC*) { return TRUE; }

void CExVUMeter::OnPaint() {
  {
    CBusyScope busy(m_bDrawing, m_bSetting);
    if (busy) ApplyPendingTip();
  }
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  m_buffers.Paint(&dc, rc, m_Color.crBack, [this](CDC* pDC) { DrawValue(pDC); });
}

void CExVUMeter::TrackTipMeter(int x, int y) {
  m_nTipMeter = BarFromPos(m_bVertical ? x : y, m_nBarSize, m_nMeterDist, GetCount());
}

BOOL CExVUMeter::PreTranslateMessage(MSG* pMsg) {
  if (pMsg && pMsg->message == WM_MOUSEMOVE)
    TrackTipMeter(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
  m_ToolTip.Relay(pMsg);
  return CWnd::PreTranslateMessage(pMsg);
}

// Message loops that do not pre-translate still deliver the move here.
void CExVUMeter::OnMouseMove(UINT nFlags, CPoint point) {
  TrackTipMeter(point.x, point.y);
  m_ToolTip.Relay();
  CWnd::OnMouseMove(nFlags, point);
}
