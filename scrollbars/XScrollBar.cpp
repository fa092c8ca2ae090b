#include "scrollbars/XScrollBar.h"

#include "foundation/ControlClass.h"
#include "scrollbars/XScrollBarSkin.h"

namespace {
CControlClass s_class{CS_DBLCLKS, IDC_ARROW};
}  // namespace

BEGIN_MESSAGE_MAP(CXScrollBar, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CXScrollBar::CXScrollBar()
    : m_sizeBtn{::GetSystemMetrics(SM_CXHSCROLL), ::GetSystemMetrics(SM_CYHSCROLL)} {}

CXScrollBar::~CXScrollBar() {
  if (m_hWnd) DestroyWindow();
}

BOOL CXScrollBar::Create(BOOL bShow, Directions2 dir, const RECT& rect, CWnd* pParent, UINT nID) {
  m_nDirection = dir;
  if (!CWnd::Create(s_class.Name(), L"", WS_CHILD, rect, pParent, nID)) return FALSE;
  SetOwner(pParent);
  if (bShow) ShowWindow(SW_SHOW);
  return TRUE;
}

BOOL CXScrollBar::Create(BOOL bShow, Directions2 dir, const RECT& rect, CWnd* pParent, CXScrollBarSkin* pSkin,
                         UINT nID) {
  m_pSkin = pSkin;
  return Create(bShow, dir, rect, pParent, nID);
}

xsb::SModel CXScrollBar::Model() const { return xsb::SModel{m_nScrollSize, m_nPos, m_nPageSize, m_nLineSize}; }

void CXScrollBar::StoreModel(const xsb::SModel& m) {
  m_nScrollSize = m.nScrollSize;
  m_nPos = m.nPos;
  m_nPageSize = m.nPageSize;
  m_nLineSize = m.nLineSize;
}

xsb::SParts CXScrollBar::Parts() const {
  xsb::SParts p;
  p.nWidth = m_nWidth;
  p.nHeight = m_nHeight;
  p.rcPrevBtn = m_rcPrevBtn;
  p.rcNextBtn = m_rcNextBtn;
  p.rcMove = m_rcMove;
  return p;
}

void CXScrollBar::SetScrollSize(int nScrollSize, int nPageSize) {
  xsb::SModel m = Model();
  xsb::SetScrollSize(m, nScrollSize, nPageSize, m_nDirection == dirHorz ? m_nWidth : m_nHeight);
  StoreModel(m);
}

void CXScrollBar::SetScrollPos(int nPos) { m_nPos = xsb::ClampPos(Model(), nPos); }

int CXScrollBar::ScrollPos(int nDelta) {
  xsb::SModel m = Model();
  int nChange = xsb::ScrollPos(m, nDelta);
  m_nPos = m.nPos;
  return nChange;
}

void CXScrollBar::SetScrollBtnSize(const SIZE& size, BOOL bAutoSize) {
  m_sizeBtn = size;
  if (bAutoSize) AutoSize();
}

XSBHitResult CXScrollBar::HitTest(POINT pt, XSBHitTest* pHit) {
  return xsb::HitTest(Parts(), Model(), m_nDirection, pt, pHit);
}

void CXScrollBar::AutoSize() {
  if (!::IsWindow(m_hWnd)) return;
  CRect rc;
  GetWindowRect(&rc);
  int cx = m_nDirection == dirVert ? m_sizeBtn.cx : rc.Width();
  int cy = m_nDirection == dirHorz ? m_sizeBtn.cy : rc.Height();
  SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXScrollBar::UpdateStoreInfo() {
  CRect rc;
  GetWindowRect(&rc);
  xsb::SParts p = xsb::ComputeParts(rc.Width(), rc.Height(), m_sizeBtn, m_nDirection);
  m_nWidth = p.nWidth;
  m_nHeight = p.nHeight;
  m_rcPrevBtn = p.rcPrevBtn;
  m_rcNextBtn = p.rcNextBtn;
  m_rcMove = p.rcMove;
}

void CXScrollBar::GetScrollInfo(int& nThumbLen, float& fUnitsPerPixel) {
  xsb::ThumbInfo(Model(), m_rcMove, m_nDirection, nThumbLen, fUnitsPerPixel);
}

void CXScrollBar::GetPrevBtnRect(RECT* pRect) {
  if (pRect) *pRect = m_rcPrevBtn;
}
void CXScrollBar::GetNextBtnRect(RECT* pRect) {
  if (pRect) *pRect = m_rcNextBtn;
}
void CXScrollBar::GetMoveRect(RECT* pRect) {
  if (pRect) *pRect = m_rcMove;
}
void CXScrollBar::GetMoveBtnRect(RECT* pRect) {
  if (pRect) *pRect = xsb::ThumbRect(Model(), m_rcMove, m_nDirection);
}

int CXScrollBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  AutoSize();
  return 0;
}

void CXScrollBar::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  UpdateStoreInfo();
  m_buffers.Resize(m_nWidth, m_nHeight);
  m_nPos = xsb::ClampPos(Model(), m_nPos);
  Invalidate(TRUE);
}

void CXScrollBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (!IsWindowEnabled()) {
    m_hitHover.result = hitNone;
    CWnd::OnMouseMove(nFlags, point);
    return;
  }
  if (m_bPressed && m_nDownHit == hitMoveBtn) OnDragMoveBar(point);
  const XSBHitResult nOld = m_hitHover.result;
  HitTest(point, &m_hitHover);
  if (nOld != m_hitHover.result) {
    switch (xsb::HoverCapture(nOld, m_hitHover.result, m_bPressed != FALSE)) {
      case xsb::captureSet: SetCapture(); break;
      case xsb::captureRelease: ::ReleaseCapture(); break;
      case xsb::captureKeep: break;
    }
    Invalidate(TRUE);
  }
  CWnd::OnMouseMove(nFlags, point);
}

void CXScrollBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_hitHover.result == hitNone || !IsWindowEnabled()) return;
  m_ptDown = point;
  m_nDownHit = m_hitHover.result;
  m_nDownPos = m_nPos;
  m_bPressed = TRUE;
  // The hover capture went with the last release; a press without a move in between still needs
  // the mouse, or its release could land elsewhere and the held push would never end.
  if (::GetCapture() != m_hWnd) SetCapture();
  InvalidateRect(&m_hitHover.rect, TRUE);
  if (m_nDownHit != hitMoveBtn) DoPushAjustBtn(xsb::PushDelta(m_nDownHit, Model()));
  CWnd::OnLButtonDown(nFlags, point);
}

// A quick second click is a second press.
void CXScrollBar::OnLButtonDblClk(UINT nFlags, CPoint point) { OnLButtonDown(nFlags, point); }

void CXScrollBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bPressed) {
    m_bPressed = FALSE;
    Invalidate(TRUE);
  }
  ::ReleaseCapture();
  CWnd::OnLButtonUp(nFlags, point);
}

void CXScrollBar::OnDragMoveBar(CPoint pt) {
  const int nDelta = m_nDirection == dirHorz ? pt.x - m_ptDown.x : pt.y - m_ptDown.y;
  const int nOld = m_nPos;
  m_nPos = xsb::DragPos(Model(), m_rcMove, m_nDirection, m_nDownPos, nDelta);
  if (m_nPos == nOld) return;
  InvalidateRect(&m_rcMove, TRUE);
  UpdateWindow();
  SendNotify(XSBN_DRAG, nOld, m_nPos);
}

void CXScrollBar::PushStep(int nDelta, bool bAlways) {
  const int nOld = m_nPos;
  ScrollPos(nDelta);
  if (!bAlways && m_nPos == nOld) return;
  InvalidateRect(&m_rcMove, TRUE);
  UpdateWindow();
  SendNotify(XSBN_PUSH, nOld, m_nPos);
}

void CXScrollBar::DoPushAjustBtn(int nDelta) {
  const XSBHitResult nStart = m_hitHover.result;
  const HWND hWnd = m_hWnd;
  PushStep(nDelta, true);  // the first step is reported even when the position cannot move
  SetTimer(xsb::TIMER_FIRST, xsb::FIRST_DELAY_MS, nullptr);
  // Waits for this bar's messages only, so time passes between repeats instead of spinning.
  MSG msg{};
  bool bReleased = false;
  while (::IsWindow(hWnd) && ::GetCapture() == hWnd) {
    const BOOL bGot = ::GetMessageW(&msg, hWnd, 0, 0);
    if (bGot == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (bGot < 0) break;  // the bar was destroyed while the loop waited
    if (msg.message == WM_LBUTTONUP) {
      bReleased = true;
      break;
    }
    // Without the capture (the bar was disabled, another window took the mouse) no release
    // will come: stop rather than step on forever.
    if (::GetCapture() != hWnd) {
      if (msg.message != WM_TIMER || xsb::RepeatTimer(msg.wParam) == xsb::repeatDrop) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      break;
    }
    if (msg.message != WM_TIMER) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
      continue;
    }
    switch (xsb::RepeatTimer(msg.wParam)) {
      case xsb::repeatSwitchAndStep:
        KillTimer(xsb::TIMER_FIRST);
        SetTimer(xsb::TIMER_REPEAT, xsb::REPEAT_MS, nullptr);
        [[fallthrough]];
      case xsb::repeatStep:
        if (xsb::RepeatSteps(m_hitHover.result, nStart)) PushStep(nDelta, false);
        break;
      case xsb::repeatDrop:
        break;
    }
  }
  if (!::IsWindow(hWnd)) return;
  KillTimer(xsb::TIMER_REPEAT);
  KillTimer(xsb::TIMER_FIRST);
  if (bReleased) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  m_bPressed = FALSE;
}

void CXScrollBar::SendNotify(int nType, int nOldPos, int nNewPos) {
  CWnd* pTarget = GetOwner();
  if (!pTarget) pTarget = GetParent();
  if (!pTarget || !pTarget->GetSafeHwnd()) return;
  XSBNotify nm{};
  nm.hdr.hwndFrom = m_hWnd;
  nm.hdr.idFrom = static_cast<UINT>(GetDlgCtrlID());
  nm.hdr.code = 0;
  nm.nType = nType;
  nm.nOldPos = nOldPos;
  nm.nNewPos = nNewPos;
  pTarget->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&nm));
}

void CXScrollBar::OnPaint() {
  if (!m_pSkin) {
    // Nothing is drawn, but the update region is still validated.
    CPaintDC dc(this);
    return;
  }
  CPaintDC dc(this);
  m_buffers.Present(&dc, [this](CDC* pDC) { OnDraw(pDC); });
}

void CXScrollBar::OnDraw(CDC* pDC) {
  if (!m_pSkin || !pDC) return;
  const bool bHorz = m_nDirection == dirHorz;
  RECT rcThumb;
  GetMoveBtnRect(&rcThumb);
  RECT rcBefore = m_rcMove, rcAfter = m_rcMove;
  if (bHorz) {
    rcBefore.right = rcThumb.left;
    rcAfter.left = rcThumb.right;
  } else {
    rcBefore.bottom = rcThumb.top;
    rcAfter.top = rcThumb.bottom;
  }
  const Directions4 nFirst = bHorz ? dirLeft : dirUp, nSecond = bHorz ? dirRight : dirDown;
  if (!IsWindowEnabled()) {
    m_pSkin->DrawScrollMoveRect(pDC, &m_rcMove, btnDisabled, m_nDirection);
    m_pSkin->DrawDragBar(pDC, &rcThumb, btnDisabled, m_nDirection);
    m_pSkin->DrawButton(pDC, &m_rcPrevBtn, btnDisabled, m_nDirection);
    m_pSkin->DrawDirectionMark(pDC, &m_rcPrevBtn, btnDisabled, nFirst);
    m_pSkin->DrawButton(pDC, &m_rcNextBtn, btnDisabled, m_nDirection);
    m_pSkin->DrawDirectionMark(pDC, &m_rcNextBtn, btnDisabled, nSecond);
    return;
  }
  const XSBHitResult nHover = m_hitHover.result;
  const bool bPressed = m_bPressed != FALSE;
  auto state = [&](XSBHitResult part) { return xsb::PartState(part, nHover, bPressed); };
  m_pSkin->DrawScrollMoveRect(pDC, &m_rcMove, btnNormal, m_nDirection);
  if (nHover == hitMovePrev) m_pSkin->DrawScrollMoveRect(pDC, &rcBefore, state(hitMovePrev), m_nDirection);
  if (nHover == hitMoveNext) m_pSkin->DrawScrollMoveRect(pDC, &rcAfter, state(hitMoveNext), m_nDirection);
  m_pSkin->DrawDragBar(pDC, &rcThumb, state(hitMoveBtn), m_nDirection);
  m_pSkin->DrawButton(pDC, &m_rcPrevBtn, state(hitPrevBtn), m_nDirection);
  m_pSkin->DrawDirectionMark(pDC, &m_rcPrevBtn, state(hitPrevBtn), nFirst);
  m_pSkin->DrawButton(pDC, &m_rcNextBtn, state(hitNextBtn), m_nDirection);
  m_pSkin->DrawDirectionMark(pDC, &m_rcNextBtn, state(hitNextBtn), nSecond);
}
