#include "scrollbars/XSBSkinFlat.h"

CXScrollBarSkin* CXSBSkinFlat::ms_pTheSkin = nullptr;

CXSBSkinFlat::CXSBSkinFlat() { InitStockObjects(::GetSysColor(COLOR_SCROLLBAR), TRUE); }
CXSBSkinFlat::~CXSBSkinFlat() = default;

CXSBSkinFlat* CXSBSkinFlat::GetTheSkin() {
  return static_cast<CXSBSkinFlat*>(GetStockSkin(&ms_pTheSkin, []() -> CXScrollBarSkin* { return new CXSBSkinFlat; }));
}

void CXSBSkinFlat::DrawButton(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2) {
  DrawFlatButton(pDC, pRect, nState);
}

void CXSBSkinFlat::DrawScrollMoveRect(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2) {
  DrawCheckerTrack(pDC, pRect, nState);
}

void CXSBSkinFlat::DrawDirectionMark(CDC* pDC, const RECT* pRect, BtnStates nState, Directions4 nDir) {
  DrawLitArrow(pDC, pRect, nState, nDir);
}

// A pressed thumb looks hot.
void CXSBSkinFlat::DrawDragBar(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) {
  DrawButton(pDC, pRect, nState == btnPressed ? btnHot : nState, nDir);
}
