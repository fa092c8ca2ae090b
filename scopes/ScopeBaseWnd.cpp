#include "scopes/ScopeBaseWnd.h"

#include <cstring>

#include "companion/MemBitDC.h"
#include "foundation/ControlClass.h"
#include "scopes/ScopeWndGeometry.h"
#include "scopes/VideoScopeGraph.h"

CFont CScopeBaseWnd::ms_font;
int CScopeBaseWnd::ms_nResRef = 0;
CPoint CScopeBaseWnd::ms_ptLastMouse(0, 0);

namespace {
CControlClass s_class{0, IDC_ARROW};
}  // namespace

BEGIN_MESSAGE_MAP(CScopeBaseWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_MOUSEMOVE()
  ON_WM_SIZE()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CScopeBaseWnd::CScopeBaseWnd() {
  if (ms_nResRef == 0) ms_font.CreatePointFont(80, L"Tahoma");
  ++ms_nResRef;
}

CScopeBaseWnd::~CScopeBaseWnd() {
  // The window goes first: its last messages still reach this class's handlers.
  if (GetSafeHwnd()) DestroyWindow();
  if (--ms_nResRef == 0) ms_font.DeleteObject();
}

BOOL CScopeBaseWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(s_class.Name(), nullptr, dwStyle, rect, pParentWnd, nID);
}

int CScopeBaseWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  m_feed.Open(m_hWnd);
  return 0;
}

void CScopeBaseWnd::OnDestroy() {
  m_feed.Close();
  CWnd::OnDestroy();
}

void CScopeBaseWnd::AttachVideoScopeGraph(CVideoScopeGraph* pGraph) {
  const auto hold = m_feed.Hold();
  m_pGraph = pGraph;
}

void CScopeBaseWnd::ReleaseBuffers() {
  m_bufGraph.Release();
  m_bufBkGnd.Release();
}

bool CScopeBaseWnd::BuffersReady() const {
  return m_bufBkGnd.Buf() && m_bufGraph.Buf() && m_bufBkGnd.Width() == m_bufGraph.Width() &&
         m_bufBkGnd.Height() == m_bufGraph.Height();
}

void CScopeBaseWnd::UpdateBkGnd() {
  const auto hold = m_feed.Hold();
  if (!GetSafeHwnd()) return;
  CRect rc;
  GetClientRect(&rc);
  const int w = rc.Width(), h = rc.Height();
  if (w <= 0 || h <= 0) return;
  // Half-made buffers would let a later UpdateGraph draw into nothing: both or neither.
  if (!m_bufGraph.Create(w, h) || !m_bufBkGnd.Create(w, h)) {
    ReleaseBuffers();
    return;
  }
  CMemBitDC dc;
  if (!dc.SetSize(w, h, nullptr) || !dc.GetBitmap()) {
    ReleaseBuffers();
    return;
  }
  DrawBkGnd(&dc);
  const DWORD bytes = static_cast<DWORD>(w) * static_cast<DWORD>(h) * 4;
  if (dc.GetBitmap()->GetBitmapBits(bytes, m_bufBkGnd.Buf()) != bytes) {
    ReleaseBuffers();
    return;
  }
  DWORD* bk = m_bufBkGnd.Buf();
  const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  for (std::size_t i = 0; i < n; ++i) bk[i] &= 0x00FFFFFF;
  // Until the next trace arrives the window shows the graticule, never unset pixels.
  std::memcpy(m_bufGraph.Buf(), bk, n * sizeof(DWORD));
}

void CScopeBaseWnd::UpdateGraph() {
  {
    // Checked under the lock: OnSize may be releasing the buffers on the window thread.
    const auto hold = m_feed.Hold();
    if (!m_pGraph || !BuffersReady()) return;
    const std::size_t n = static_cast<std::size_t>(m_bufGraph.Width()) * static_cast<std::size_t>(m_bufGraph.Height());
    _MMX_ZeroMem(m_bufGraph.Buf(), n * sizeof(DWORD));
    DrawGraph(&m_bufGraph);
    scopewnd::ComposeScope(m_bufBkGnd.Buf(), m_bufGraph.Buf(), n);
  }
  // Outside the lock: the window system takes its own, and a paint waiting for ours must not
  // be what it waits behind.
  m_feed.Invalidate(TRUE);
}

void CScopeBaseWnd::OnPaint() {
  CPaintDC dc(this);
  // The whole paint holds the lock, so a composition on a worker thread is never half shown.
  const auto hold = m_feed.Hold();
  if (!BuffersReady()) return;
  m_bufGraph.DrawOut(&dc, 0, 0, m_bufGraph.Width(), m_bufGraph.Height(), 0, 0);
  if (m_bMouseIn) DrawActive(&dc);
}

void CScopeBaseWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  const auto hold = m_feed.Hold();
  if (cx <= 0 || cy <= 0) {
    ReleaseBuffers();
  } else if (cx != m_bufBkGnd.Width() || cy != m_bufBkGnd.Height() || !BuffersReady()) {
    UpdateBkGnd();
    // The graticule scales with the size: the part of the window that kept its old pixels
    // must show the new one too, not only the part that was uncovered.
    InvalidateRect(nullptr, FALSE);
  }
}

CSize CScopeBaseWnd::GraphSize() {
  const auto hold = m_feed.Hold();
  return CSize(m_bufGraph.Width(), m_bufGraph.Height());
}

void CScopeBaseWnd::OnMouseMove(UINT nFlags, CPoint point) {
  const CSize size = GraphSize();
  if (point.x < 0 || point.y < 0 || point.x >= size.cx || point.y >= size.cy) {
    ReleaseCapture();
    m_bMouseIn = 0;
    InvalidateRect(nullptr, FALSE);
  } else {
    if (GetCapture() != this) SetCapture();
    // Entering at the point last seen in another scope still needs the readout drawn.
    const bool entered = !m_bMouseIn;
    m_bMouseIn = 1;
    if (entered || point.x != ms_ptLastMouse.x || point.y != ms_ptLastMouse.y) InvalidateRect(nullptr, TRUE);
    ms_ptLastMouse = point;
  }
  CWnd::OnMouseMove(nFlags, point);
}

CRect CScopeBaseWnd::MeasureText(CDC* pDC, const CString& text, int x, int y) {
  CRect rc(x, y, x, y);
  pDC->DrawText(text, &rc, DT_CALCRECT | DT_SINGLELINE);
  return rc;
}
