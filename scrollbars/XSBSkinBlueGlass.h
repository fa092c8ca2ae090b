// Stock skin: white framed buttons, a grey bevelled track and a blue glass thumb.
#pragma once
#include "scrollbars/XScrollBarSkin.h"

class PARVANEU_API CXSBSkinBlueGlass : public CXScrollBarSkin {
 public:
  CXSBSkinBlueGlass();
  ~CXSBSkinBlueGlass() override;
  // The process-wide instance, made on first use; null only if it cannot be made.
  static CXSBSkinBlueGlass* GetTheSkin();

  void DrawButton(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) override;
  void DrawScrollMoveRect(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) override;
  void DrawDirectionMark(CDC* pDC, const RECT* pRect, BtnStates nState, Directions4 nDir) override;
  void DrawDragBar(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) override;

 private:
  static CXScrollBarSkin* ms_pTheSkin;
};
