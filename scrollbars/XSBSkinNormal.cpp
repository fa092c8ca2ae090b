#include "scrollbars/XSBSkinNormal.h"

CXScrollBarSkin* CXSBSkinNormal::ms_pTheSkin = nullptr;

CXSBSkinNormal::CXSBSkinNormal() { InitStockObjects(::GetSysColor(COLOR_SCROLLBAR), FALSE); }
CXSBSkinNormal::~CXSBSkinNormal() = default;

CXSBSkinNormal* CXSBSkinNormal::GetTheSkin() {
  return static_cast<CXSBSkinNormal*>(
      GetStockSkin(&ms_pTheSkin, []() -> CXScrollBarSkin* { return new CXSBSkinNormal; }));
}

void CXSBSkinNormal::DrawButton(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2) {
  const bool bPressed = nState == btnPressed;
  const int nSaved = pDC->SaveDC();
  CRect rc(*pRect);
  pDC->FillSolidRect(&rc, m_crScroll);
  pDC->SelectObject(bPressed ? &m_penShadow : &m_penScroll);
  pDC->MoveTo(rc.left, rc.bottom - 1);
  pDC->LineTo(rc.left, rc.top);
  pDC->LineTo(rc.right - 1, rc.top);
  pDC->SelectObject(bPressed ? &m_penShadow : &m_penDkShadow);
  pDC->LineTo(rc.right - 1, rc.bottom - 1);
  pDC->LineTo(rc.left - 1, rc.bottom - 1);
  if (!bPressed) {
    rc.DeflateRect(1, 1);
    pDC->SelectObject(&m_penHighlight);
    pDC->MoveTo(rc.left, rc.bottom - 1);
    pDC->LineTo(rc.left, rc.top);
    pDC->LineTo(rc.right - 1, rc.top);
    pDC->SelectObject(&m_penShadow);
    pDC->LineTo(rc.right - 1, rc.bottom - 1);
    pDC->LineTo(rc.left - 1, rc.bottom - 1);
  }
  pDC->RestoreDC(nSaved);
}

void CXSBSkinNormal::DrawScrollMoveRect(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2) {
  DrawCheckerTrack(pDC, pRect, nState);
}

void CXSBSkinNormal::DrawDirectionMark(CDC* pDC, const RECT* pRect, BtnStates nState, Directions4 nDir) {
  if (nState == btnDisabled) {
    CPen* pOld = pDC->SelectObject(&m_penShadow);
    DrawArrowShape(pDC, pRect, nDir);
    pDC->SelectObject(pOld);
    return;
  }
  pDC->SelectStockObject(BLACK_PEN);
  DrawArrowShape(pDC, pRect, nDir);
}

void CXSBSkinNormal::DrawDragBar(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) {
  DrawButton(pDC, pRect, nState == btnDisabled ? btnDisabled : btnNormal, nDir);
}
