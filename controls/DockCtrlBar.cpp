#include "controls/DockCtrlBar.h"

#include "controls/DockBarLogic.h"
#include "foundation/ControlClass.h"

namespace {
CControlClass s_class{CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW};
}  // namespace

BEGIN_MESSAGE_MAP(CDockCtrlBar, CControlBar)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDockCtrlBar::CDockCtrlBar()
    : m_cr3DLight(::GetSysColor(COLOR_BTNHIGHLIGHT)), m_cr3DShadow(::GetSysColor(COLOR_BTNSHADOW)) {}

CDockCtrlBar::~CDockCtrlBar() {
  if (GetSafeHwnd()) DestroyWindow();
}

BOOL CDockCtrlBar::Create(CWnd* pParentWnd, UINT nID, LPCTSTR lpszWindowName, CSize size, DWORD dwStyle,
                          HBRUSH hbrBackground) {
  const dockbar::SSizes sizes = dockbar::InitialSizes(size, dwStyle);
  m_sizeFloat = sizes.sizeFloat;
  m_sizeVert = sizes.sizeVert;
  m_sizeHorz = sizes.sizeHorz;
  SetBarStyle((dwStyle & CBRS_ALL) | CBRS_SIZE_DYNAMIC | CBRS_HIDE_INPLACE | CBRS_FLOAT_MULTI | CBRS_FLOATING);

  // One class for every bar, without a class brush: each bar paints its own background, so a
  // brush never outlives its owner in a class shared with later bars.
  m_brBack.DeleteObject();
  m_hbrBack = hbrBackground;
  auto v = reinterpret_cast<std::uintptr_t>(hbrBackground);
  LOGBRUSH lb{};
  if (v > 0 && v <= 31) {
    m_brBack.CreateSolidBrush(::GetSysColor(static_cast<int>(v - 1)));
    m_hbrBack = static_cast<HBRUSH>(m_brBack.GetSafeHandle());
  } else if (hbrBackground && ::GetObjectW(hbrBackground, sizeof(lb), &lb) && lb.lbStyle == BS_SOLID) {
    m_brBack.CreateSolidBrush(lb.lbColor);
    m_hbrBack = static_cast<HBRUSH>(m_brBack.GetSafeHandle());
  }
  const DWORD ws = (dwStyle & ~static_cast<DWORD>(0xFFFF) & ~static_cast<DWORD>(CBRS_GRIPPER)) | WS_CHILD | WS_VISIBLE |
                   WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  return CWnd::Create(s_class.Name(), lpszWindowName, ws, CRect(0, 0, size.cx, size.cy), pParentWnd, nID);
}

BOOL CDockCtrlBar::IsFloating() const { return dockbar::StateOf(m_dwStyle).bFloating; }
BOOL CDockCtrlBar::IsLeftDocked() const { return dockbar::StateOf(m_dwStyle).bLeft; }
BOOL CDockCtrlBar::IsTopDocked() const { return dockbar::StateOf(m_dwStyle).bTop; }
BOOL CDockCtrlBar::IsRightDocked() const { return dockbar::StateOf(m_dwStyle).bRight; }
BOOL CDockCtrlBar::IsBottomDocked() const { return dockbar::StateOf(m_dwStyle).bBottom; }
BOOL CDockCtrlBar::IsVertDocked() const { return dockbar::StateOf(m_dwStyle).Vert(); }
BOOL CDockCtrlBar::IsHorzDocked() const { return dockbar::StateOf(m_dwStyle).Horz(); }

void CDockCtrlBar::Set3DColor(COLORREF clrLight, COLORREF clrShadow) {
  m_cr3DLight = clrLight;
  m_cr3DShadow = clrShadow;
}

void CDockCtrlBar::GetClientRect(RECT* pRect) const {
  if (!pRect) return;
  CWnd::GetClientRect(pRect);
  *pRect = dockbar::ContentRect(*pRect, dockbar::StateOf(m_dwStyle));
}

CSize CDockCtrlBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  dockbar::SSizes sizes{m_sizeVert, m_sizeHorz, m_sizeFloat};
  const SIZE size = dockbar::DynamicSize(sizes, nLength, dwMode, dockbar::StateOf(m_dwStyle));
  m_sizeFloat = sizes.sizeFloat;
  return size;
}

void CDockCtrlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CDockCtrlBar::OnDrawFrame(CDC* pDC) {
  const dockbar::SDockState state = dockbar::StateOf(m_dwStyle);
  if (!pDC || (!state.Horz() && !state.Vert())) return;
  CRect rc;
  CWnd::GetClientRect(&rc);
  pDC->Draw3dRect(&rc, m_cr3DShadow, m_cr3DLight);
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(&rc, m_cr3DLight, m_cr3DShadow);
  rc.InflateRect(1, 1);
  RECT ridges[2];
  dockbar::GripperRidges(rc, state.Horz(), ridges);
  for (const RECT& r : ridges) pDC->Draw3dRect(r.left, r.top, r.right, r.bottom, m_cr3DLight, m_cr3DShadow);
}

void CDockCtrlBar::OnDraw(CDC*) {}

BOOL CDockCtrlBar::OnEraseBkgnd(CDC* pDC) {
  if (!m_hbrBack || !pDC) return CControlBar::OnEraseBkgnd(pDC);
  CRect rc;
  CWnd::GetClientRect(&rc);
  ::FillRect(pDC->GetSafeHdc(), &rc, m_hbrBack);
  return TRUE;
}

void CDockCtrlBar::OnPaint() {
  CPaintDC dc(this);
  OnDrawFrame(&dc);
  OnDraw(&dc);
}
