// Scroll-window content whose 10-pixel cells carry their logical position in their colour, so a
// screenshot tells which part of the document each device pixel shows.
#pragma once
#include <winport/afx.h>

inline COLORREF CellColour(int lx, int ly) { return RGB((lx / 10) & 255, (ly / 10) & 255, 77); }

template <class Base>
class CGridContent : public Base {
 public:
  void OnDraw(CDC* pDC) override {
    SIZE total;
    this->GetScrollSize(total);
    for (int y = 0; y < total.cy; y += 10)
      for (int x = 0; x < total.cx; x += 10) pDC->FillSolidRect(x, y, 10, 10, CellColour(x, y));
  }
  using Base::m_sizeLine;
  using Base::m_sizePage;
};
