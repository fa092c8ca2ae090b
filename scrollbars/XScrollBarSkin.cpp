#include "scrollbars/XScrollBarSkin.h"

#include <new>

#include "scrollbars/XSBStockSkinAutoRelease.h"
#include "scrollbars/XScrollBarLogic.h"

CXScrollBarSkin::~CXScrollBarSkin() {
  m_brTrack.DeleteObject();
  m_penWindow.DeleteObject();
  m_penDkShadow.DeleteObject();
  m_penShadow.DeleteObject();
  m_penHighlight.DeleteObject();
  m_penScroll.DeleteObject();
}

void CXScrollBarSkin::AddToAutoRelease(CXScrollBarSkin* pSkin) { CXSBStockSkinAutoRelease::Add(pSkin, nullptr); }

CXScrollBarSkin* CXScrollBarSkin::GetStockSkin(CXScrollBarSkin** ppSlot, CXScrollBarSkin* (*pfnCreate)()) {
  return CXSBStockSkinAutoRelease::GetOrCreate(ppSlot, pfnCreate);
}

void CXScrollBarSkin::InitStockObjects(COLORREF crScroll, BOOL bWindowPen) {
  m_crScroll = crScroll;
  m_crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  m_crShadow = ::GetSysColor(COLOR_BTNSHADOW);
  m_crDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
  m_crWindow = ::GetSysColor(COLOR_WINDOW);
  m_penScroll.CreatePen(PS_SOLID, 1, m_crScroll);
  m_penHighlight.CreatePen(PS_SOLID, 1, m_crHighlight);
  m_penShadow.CreatePen(PS_SOLID, 1, m_crShadow);
  m_penDkShadow.CreatePen(PS_SOLID, 1, m_crDkShadow);
  if (bWindowPen) m_penWindow.CreatePen(PS_SOLID, 1, m_crWindow);
  // 2 x 2 checkerboard; the bitmap holds pixels, so red and blue trade places.
  const DWORD dwScroll = winport::ToPixel(m_crScroll), dwWindow = winport::ToPixel(m_crWindow);
  const DWORD bits[4] = {dwScroll, dwWindow, dwWindow, dwScroll};
  CBitmap bmp;
  if (bmp.CreateBitmap(2, 2, 1, 32, bits)) m_brTrack.CreatePatternBrush(&bmp);
  bmp.DeleteObject();
}

void CXScrollBarSkin::DrawFlatButton(CDC* pDC, const RECT* pRect, BtnStates nState) {
  const int nSaved = pDC->SaveDC();
  const RECT& rc = *pRect;
  pDC->FillSolidRect(&rc, nState == btnPressed ? RGB(0, 0, 0) : nState == btnHot ? m_crShadow : m_crScroll);
  pDC->SelectObject(&m_penShadow);
  pDC->MoveTo(rc.left, rc.bottom - 1);
  pDC->LineTo(rc.left, rc.top);
  pDC->LineTo(rc.right - 1, rc.top);
  pDC->LineTo(rc.right - 1, rc.bottom - 1);
  pDC->LineTo(rc.left - 1, rc.bottom - 1);
  pDC->RestoreDC(nSaved);
}

void CXScrollBarSkin::DrawCheckerTrack(CDC* pDC, const RECT* pRect, BtnStates nState) {
  if (nState == btnPressed)
    pDC->FillSolidRect(pRect, RGB(0, 0, 0));
  else
    pDC->FillRect(pRect, &m_brTrack);
}

void CXScrollBarSkin::DrawLitArrow(CDC* pDC, const RECT* pRect, BtnStates nState, Directions4 nDir) {
  CPen* pPen = nState == btnHot || nState == btnPressed ? &m_penWindow : nState == btnDisabled ? &m_penShadow : nullptr;
  if (!pPen) {
    pDC->SelectStockObject(BLACK_PEN);
    DrawArrowShape(pDC, pRect, nDir);
    return;
  }
  CPen* pOld = pDC->SelectObject(pPen);
  DrawArrowShape(pDC, pRect, nDir);
  pDC->SelectObject(pOld);
}

void CXScrollBarSkin::DrawArrowShape(CDC* pDC, const RECT* pRect, Directions4 nDir) {
  RECT rcClip;
  const int nClip = pDC->GetClipBox(&rcClip);
  if (nClip == ERROR || nClip == NULLREGION) return;
  for (const xsb::SMarkLine& line : xsb::ArrowMarkLines(*pRect, nDir, rcClip)) {
    pDC->MoveTo(line.from.x, line.from.y);
    pDC->LineTo(line.to.x, line.to.y);
  }
}
