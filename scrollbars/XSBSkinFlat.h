// Stock skin: flat framed buttons that darken when hot and turn black when pressed.
#pragma once
#include "scrollbars/XScrollBarSkin.h"

class PARVANEU_API CXSBSkinFlat : public CXScrollBarSkin {
 public:
  CXSBSkinFlat();
  ~CXSBSkinFlat() override;
  // The process-wide instance, made on first use; null only if it cannot be made.
  static CXSBSkinFlat* GetTheSkin();

  void DrawButton(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) override;
  void DrawScrollMoveRect(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) override;
  void DrawDirectionMark(CDC* pDC, const RECT* pRect, BtnStates nState, Directions4 nDir) override;
  void DrawDragBar(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) override;

 private:
  static CXScrollBarSkin* ms_pTheSkin;
};
