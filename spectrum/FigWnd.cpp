#include "spectrum/FigWnd.h"

#include <new>

#include "foundation/AudioScale.h"
#include "foundation/ControlClass.h"
#include "foundation/DrawHelpers.h"
#include "spectrum/FigMapping.h"

using namespace spectrum;

namespace {
CControlClass s_class{CS_DBLCLKS, IDC_ARROW};
}  // namespace

BEGIN_MESSAGE_MAP(CFigWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CFigWnd::CFigWnd() = default;

CFigWnd::~CFigWnd() {
  if (GetSafeHwnd()) DestroyWindow();
}

BOOL CFigWnd::Create(DWORD dwStyle, const RECT& rect, const CAudioScale* pScale, CWnd* pParentWnd, UINT nID) {
  m_pScale = pScale;
  return CWnd::Create(s_class.Name(), L"", dwStyle, rect, pParentWnd, nID);
}

int CFigWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  m_feed.Open(m_hWnd);
  return 0;
}

void CFigWnd::OnDestroy() {
  m_feed.Close();
  CWnd::OnDestroy();
}

void CFigWnd::SetXScaleCount(int n) {
  const auto hold = m_feed.Hold();
  m_nXScaleCount = n;
  if (!m_buffers.Back().GetSafeHdc()) return;
  RebuildGrid();
  Clear();
  Show();
}

void CFigWnd::RebuildGrid() {
  CMemBitDC& grid = m_buffers.Back();
  grid.FillSolidRect(0, 0, grid.GetWidth(), grid.GetHeight(), m_crBack);
  DrawGrid(&grid);
}

void CFigWnd::Clear() {
  const auto hold = m_feed.Hold();
  m_buffers.Compose();
}

void CFigWnd::DrawDBValue(float* const pValues, int nCount, COLORREF crColor) {
  const auto hold = m_feed.Hold();
  if (!m_buffers.IsReady()) return;
  CPen pen;
  if (!pen.CreatePen(PS_SOLID, 1, crColor)) return;
  CMemBitDC& fig = m_buffers.Draw();
  CPen* pOld = fig.SelectObject(&pen);
  DrawData(&fig, pValues, nCount);
  fig.SelectObject(pOld);
  pen.DeleteObject();
}

void CFigWnd::Show() { m_feed.Invalidate(FALSE); }

void CFigWnd::DrawScaleLines(CDC* pDC) {
  const int W = GetWidth();
  const SScaleMap map = SScaleMap::Make(m_pScale, GetHeight());
  if (map.IsFlat()) return;  // a scale without height has no lines to place
  const COLORREF cr = pDC->GetBkColor();
  for (int i = 0; i < m_pScale->m_arrScale.GetSize(); ++i)
    foundation::FillLine(pDC, 0, map.GridRow(m_pScale->m_arrScale[i].nValue), W, 1, cr);
}

void CFigWnd::DrawXScaleLines(CDC* pDC) {
  const int H = GetHeight();
  const int step = XGridStep(GetWidth(), m_nXScaleCount);
  if (step < 0) return;
  const COLORREF cr = pDC->GetBkColor();
  // With more intervals than columns every line falls on column 0: one is enough.
  const long long last = step == 0 ? 0 : m_nXScaleCount;
  for (long long k = 0; k <= last; ++k) foundation::FillLine(pDC, static_cast<int>(k * step), 0, 1, H, cr);
}

void CFigWnd::DrawGrid(CDC* pDC) {
  if (!pDC) return;
  pDC->SetBkColor(m_crGrid);
  DrawScaleLines(pDC);
  DrawXScaleLines(pDC);
}

bool CFigWnd::EnsureColBuf(int nWidth) {
  if (m_nColBufLen == nWidth && m_pColBuf) return true;
  std::unique_ptr<float[]> buf(new (std::nothrow) float[static_cast<size_t>(nWidth)]);
  if (!buf) return false;
  m_pColBuf = std::move(buf);
  m_nColBufLen = nWidth;
  return true;
}

void CFigWnd::DrawPolyline(CDC* pDC, const float* pRows, int nCount, int nWidth) {
  if (nCount <= 0) return;
  if (m_nPointsLen < nCount) {
    std::unique_ptr<POINT[]> pts(new (std::nothrow) POINT[static_cast<size_t>(nCount)]);
    if (!pts) return;
    m_pPoints = std::move(pts);
    m_nPointsLen = nCount;
  }
  POINT* pts = m_pPoints.get();
  pts[0] = {0, TruncCoord(pRows[0])};
  for (int i = 1; i < nCount; ++i) pts[i] = {SpreadColumn(i, nCount, nWidth), TruncCoord(pRows[i])};
  pDC->MoveTo(pts[0]);
  if (nCount > 1) pDC->Polyline(pts, nCount);
  pDC->MoveTo(pts[nCount - 1]);  // where the last LineTo would have left it
}

void CFigWnd::DrawData(CDC* pDC, float* const pValues, int nCount) {
  const int W = GetWidth();
  if (W <= 0 || !pDC || !pValues || nCount <= 0) return;
  const SScaleMap map = SScaleMap::Make(m_pScale, GetHeight());
  if (!EnsureColBuf(W)) return;
  float* rows = m_pColBuf.get();
  int n = nCount;
  if (nCount > W) {
    // Reduced before the scale mapping, so DB2Value runs once per column.
    BucketMax(pValues, 0, nCount, W, rows);
    n = W;
  } else {
    for (int i = 0; i < nCount; ++i) rows[i] = pValues[i];
  }
  for (int i = 0; i < n; ++i) rows[i] = map.LevelToRow(rows[i]);
  DrawPolyline(pDC, rows, n, W);
}

void CFigWnd::OnShow(CDC* /*pDC*/) {}

void CFigWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (cx < 5 || cy < 2) return;
  const auto hold = m_feed.Hold();
  if (!m_buffers.Resize(cx, cy)) return;
  RebuildGrid();
  Clear();
}

void CFigWnd::OnPaint() {
  CPaintDC dc(this);
  // The whole copy holds the lock, so a figure drawn on a worker is never shown half done.
  const auto hold = m_feed.Hold();
  m_buffers.Present(&dc, [this](CDC* pDC) { OnShow(pDC); });
}

void CFigWnd::NoteOut(FIGWNDNote note, int x, int y) {
  CWnd* pParent = GetParent();
  if (!pParent) return;
  NMFIGWND nm{};
  nm.hdr.hwndFrom = GetSafeHwnd();
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  nm.hdr.code = 0;
  nm.note = note;
  nm.x = x;
  nm.y = y;
  ::SendMessageW(pParent->GetSafeHwnd(), WM_NOTIFY, static_cast<WPARAM>(nm.hdr.idFrom), reinterpret_cast<LPARAM>(&nm));
}

void CFigWnd::OnMouseMove(UINT nFlags, CPoint point) {
  NoteOut(FWN_MOUSEMOVE, point.x, point.y);
  CWnd::OnMouseMove(nFlags, point);
}

void CFigWnd::OnLButtonDown(UINT nFlags, CPoint point) {
  NoteOut(FWN_LBUTTONDOWN, point.x, point.y);
  CWnd::OnLButtonDown(nFlags, point);
}

void CFigWnd::OnContextMenu(CWnd* /*pWnd*/, CPoint pos) { NoteOut(FWN_CONTEXTMENU, pos.x, pos.y); }
