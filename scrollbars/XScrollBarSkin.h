// What draws a CXScrollBar: its arrow buttons, track pieces, arrow marks and thumb. The bar calls
// these in a fixed order on a memory DC of its size, later calls covering earlier ones.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"
#include "scrollbars/XScrollBarTypes.h"

class PARVANEU_API CXScrollBarSkin {
 public:
  CXScrollBarSkin() = default;
  virtual ~CXScrollBarSkin();
  CXScrollBarSkin(const CXScrollBarSkin&) = delete;
  CXScrollBarSkin& operator=(const CXScrollBarSkin&) = delete;

  virtual void DrawButton(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) = 0;
  virtual void DrawScrollMoveRect(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) = 0;
  virtual void DrawDirectionMark(CDC* pDC, const RECT* pRect, BtnStates nState, Directions4 nDir) = 0;
  virtual void DrawDragBar(CDC* pDC, const RECT* pRect, BtnStates nState, Directions2 nDir) = 0;

 protected:
  // Hands a stock skin to the list deleted at library unload.
  static void AddToAutoRelease(CXScrollBarSkin* pSkin);
  // The stock skin kept in *ppSlot, made by pfnCreate on first use under a process-wide lock;
  // null when it cannot be made. The slot is cleared when the skins are released.
  static CXScrollBarSkin* GetStockSkin(CXScrollBarSkin** ppSlot, CXScrollBarSkin* (*pfnCreate)());

  // What the stock skins share: system colours (the face colour given), pens, the checkerboard.
  void InitStockObjects(COLORREF crScroll, BOOL bWindowPen);
  // A face filled black / shadow / face colour for pressed / hot / other, in a shadow frame.
  void DrawFlatButton(CDC* pDC, const RECT* pRect, BtnStates nState);
  // Black when pressed, else the checkerboard.
  void DrawCheckerTrack(CDC* pDC, const RECT* pRect, BtnStates nState);
  // The flat skins' arrow: window pen when hot or pressed, shadow pen when disabled (both put
  // back after), else the stock black pen (left selected).
  void DrawLitArrow(CDC* pDC, const RECT* pRect, BtnStates nState, Directions4 nDir);
  // The triangle of one-pixel lines in the selected pen.
  static void DrawArrowShape(CDC* pDC, const RECT* pRect, Directions4 nDir);

  COLORREF m_crScroll = 0;
  COLORREF m_crHighlight = 0;
  COLORREF m_crShadow = 0;
  COLORREF m_crDkShadow = 0;
  COLORREF m_crWindow = 0;
  CPen m_penScroll, m_penHighlight, m_penShadow, m_penDkShadow, m_penWindow;
  CBrush m_brTrack;
};
