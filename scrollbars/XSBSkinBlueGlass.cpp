#include "scrollbars/XSBSkinBlueGlass.h"

CXScrollBarSkin* CXSBSkinBlueGlass::ms_pTheSkin = nullptr;

CXSBSkinBlueGlass::CXSBSkinBlueGlass() { InitStockObjects(RGB(255, 255, 255), TRUE); }
CXSBSkinBlueGlass::~CXSBSkinBlueGlass() = default;

CXSBSkinBlueGlass* CXSBSkinBlueGlass::GetTheSkin() {
  return static_cast<CXSBSkinBlueGlass*>(
      GetStockSkin(&ms_pTheSkin, []() -> CXScrollBarSkin* { return new CXSBSkinBlueGlass; }));
}

void CXSBSkinBlueGlass::DrawButton(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2) {
  DrawFlatButton(pDC, pRect, nState);
}

// A bevelled grey groove at rest; hot pieces draw nothing over the resting track beneath.
void CXSBSkinBlueGlass::DrawScrollMoveRect(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2) {
  const RECT& rc = *pRect;
  if (nState == btnPressed) {
    pDC->FillSolidRect(CRect(rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom - 2), RGB(0, 0, 0));
    return;
  }
  if (nState == btnHot) return;
  pDC->FillSolidRect(&rc, RGB(135, 135, 135));
  pDC->SelectStockObject(BLACK_PEN);
  pDC->MoveTo(rc.left, rc.bottom - 1);
  pDC->LineTo(rc.left, rc.top);
  pDC->LineTo(rc.right - 1, rc.top);
  pDC->SelectStockObject(WHITE_PEN);
  pDC->LineTo(rc.right - 1, rc.bottom - 1);
  pDC->LineTo(rc.left, rc.bottom - 1);
  pDC->MoveTo(rc.left + 1, rc.bottom - 2);
  pDC->LineTo(rc.left + 1, rc.top);
  pDC->LineTo(rc.right - 2, rc.top);
  pDC->SelectStockObject(BLACK_PEN);
  pDC->LineTo(rc.right - 2, rc.bottom - 1);
  pDC->LineTo(rc.left + 1, rc.bottom - 1);
}

void CXSBSkinBlueGlass::DrawDirectionMark(CDC* pDC, const RECT* pRect, BtnStates nState, Directions4 nDir) {
  DrawLitArrow(pDC, pRect, nState, nDir);
}

// The same in every state.
void CXSBSkinBlueGlass::DrawDragBar(CDC* pDC, const RECT* pRect, BtnStates, Directions2 nDir) {
  CRect rc(*pRect);
  if (nDir == dirHorz)
    rc.DeflateRect(1, 2, 1, 2);
  else
    rc.DeflateRect(2, 1, 2, 1);
  pDC->FillSolidRect(&rc, RGB(150, 150, 200));
  CPen penLight(PS_SOLID, 1, RGB(200, 200, 255));
  CPen penDark(PS_SOLID, 1, RGB(0, 0, 100));
  CPen* pOld = pDC->SelectObject(&penLight);
  if (nDir == dirHorz) {
    pDC->MoveTo(rc.left, rc.top);
    pDC->LineTo(rc.left, rc.bottom);
    pDC->SelectObject(&penDark);
    pDC->MoveTo(rc.right, rc.top);
    pDC->LineTo(rc.right, rc.bottom);
  } else {
    pDC->MoveTo(rc.left, rc.top);
    pDC->LineTo(rc.right, rc.top);
    pDC->SelectObject(&penDark);
    pDC->MoveTo(rc.left, rc.bottom);
    pDC->LineTo(rc.right, rc.bottom);
  }
  pDC->SelectObject(pOld);
}
