#include "controls/Knob.h"

#include <cmath>

#include "companion/MemBitDC.h"
#include "companion/VDraw.h"
#include "controls/KnobLogic.h"
#include "foundation/ControlClass.h"

namespace {
constexpr COLORREF kLineDragging = 0x0000FF;  // red while turning
constexpr COLORREF kLineIdle = 0xFFFFFF;
CControlClass s_class{CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW};
}  // namespace

BEGIN_MESSAGE_MAP(CKnob, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CKnob::CKnob() = default;

CKnob::~CKnob() {
  if (GetSafeHwnd()) DestroyWindow();
}

BOOL CKnob::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(s_class.Name(), nullptr, dwStyle, rect, pParentWnd, nID);
}

void CKnob::SetRange(int nMin, int nMax) {
  m_nMin = nMin;
  m_nMax = nMax;
}

void CKnob::SetPos(int nPos, BOOL bNotify) { SetAngle(knob::AngleFromPos(nPos, m_nMin, m_nMax), bNotify); }

int CKnob::GetPos() const { return knob::PosFromAngle(m_dAngle, m_nMin, m_nMax); }

void CKnob::SetAngle(double dAngle, BOOL bNotify) {
  // A non-finite angle would pass the equality test and the clamp and poison GetPos.
  if (!std::isfinite(dAngle) || dAngle == m_dAngle) return;
  m_dAngle = knob::ClampAngle(dAngle);
  if (bNotify) Notify(EN_CHANGE);
  if (GetSafeHwnd()) InvalidateRect(nullptr, TRUE);
}

void CKnob::Notify(UINT nCode) {
  if (!GetSafeHwnd()) return;
  CWnd* pParent = GetParent();
  if (!pParent) return;
  pParent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), static_cast<WORD>(nCode)),
                       reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

void CKnob::LoadBackBitmap(LPCWSTR lpszName, BOOL bFit) {
  m_pBackBitmap = nullptr;
  m_bmpBack.DeleteObject();
  if (lpszName) m_bmpBack.LoadBitmap(lpszName);
  if (bFit) FitWindowToBackBitmap();
}

void CKnob::LoadBackBitmap(UINT nID, BOOL bFit) {
  LoadBackBitmap(MAKEINTRESOURCEW(static_cast<WORD>(nID)), bFit);
}

void CKnob::SetBackBitmap(CBitmap* pBitmap, BOOL bFit) {
  m_pBackBitmap = pBitmap;
  if (bFit) FitWindowToBackBitmap();
}

void CKnob::SetIndicatorBitmap(CBitmap* pBitmap) {
  m_pIndicator = pBitmap;
  if (!pBitmap) return;
  BITMAP bm{};
  if (pBitmap->GetBitmap(&bm)) {
    m_nIndWidth = bm.bmWidth;
    m_nIndHeight = bm.bmHeight;
  }
}

CBitmap* CKnob::BackBitmap() { return m_pBackBitmap ? m_pBackBitmap : &m_bmpBack; }

void CKnob::FitWindowToBackBitmap() {
  CBitmap* pBack = BackBitmap();
  BITMAP bm{};
  if (!pBack->GetSafeHandle() || !pBack->GetBitmap(&bm) || !GetSafeHwnd()) return;
  SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER);
}

int CKnob::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  return 0;
}

void CKnob::OnDestroy() { CWnd::OnDestroy(); }

void CKnob::OnLButtonDown(UINT nFlags, CPoint point) {
  SetCapture();
  m_dDragAngle = m_dAngle;
  m_ptDragStart = point;
  m_bDraging = 1;
  InvalidateRect(nullptr, TRUE);
  CWnd::OnLButtonDown(nFlags, point);
}

void CKnob::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDraging) {
    SetAngle(knob::DragAngle(m_dDragAngle, m_ptDragStart.x, point.x), TRUE);
    InvalidateRect(nullptr, TRUE);
  }
  CWnd::OnMouseMove(nFlags, point);
}

void CKnob::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bDraging) {
    m_bDraging = 0;
    ::ReleaseCapture();
    InvalidateRect(nullptr, TRUE);
    Notify(EN_UPDATE);
  }
  CWnd::OnLButtonUp(nFlags, point);
}

void CKnob::OnLButtonDblClk(UINT nFlags, CPoint point) {
  SetPos(m_nDeftPos, TRUE);
  Notify(EN_UPDATE);
  CWnd::OnLButtonDblClk(nFlags, point);
}

void CKnob::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);

  CBitmap* pBack = BackBitmap();
  BITMAP bm{};
  if (pBack->GetSafeHandle() && pBack->GetBitmap(&bm)) {
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap* pOld = mem.SelectObject(pBack);
    dc.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
  } else {
    dc.FillSolidRect(&rc, RGB(0, 0, 0));
  }

  const POINT m{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  const POINT t = knob::TipPoint(m.x, m.y, m_dAngle, m_nRadius);
  if (m_pIndicator) {
    CMemBitDC ind;
    if (ind.AttachBitmap(m_pIndicator)) {
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      dc.AlphaBlend(t.x - m_nIndWidth / 2, t.y - m_nIndHeight / 2, m_nIndWidth, m_nIndHeight, &ind, 0, 0, m_nIndWidth,
                    m_nIndHeight, blend);
      ind.DetachBitmap();
    }
  } else {
    CVDraw::AntiLine(&dc, m.x, m.y, t.x, t.y, m_bDraging ? kLineDragging : kLineIdle);
  }
}
