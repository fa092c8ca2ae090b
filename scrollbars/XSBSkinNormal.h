// Stock skin: raised 3-D buttons in the system scroll-bar colours, checkerboard track.
#pragma once
#include "scrollbars/XScrollBarSkin.h"

class PARVANEU_API CXSBSkinNormal : public CXScrollBarSkin {
 public:
  CXSBSkinNormal();
  ~CXSBSkinNormal() override;
  // The process-wide instance, made on first use; null only if it cannot be made.
  static CXSBSkinNormal* GetTheSkin();

  void DrawButton(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) override;
  void DrawScrollMoveRect(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) override;
  void DrawDirectionMark(CDC* pDC, const RECT* pRect, BtnStates nState, Directions4 nDir) override;
  void DrawDragBar(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) override;

 private:
  static CXScrollBarSkin* ms_pTheSkin;
};
