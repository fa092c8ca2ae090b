// Small drawing helpers on a DC: an anti-aliased line, a one-pixel frame, and the window class
// for children that paint every pixel themselves.
#pragma once
#include <winport/afx.h>

#include "companion/KestruneExport.h"

class KESTRUNE_API CVDraw {
 public:
  // Wu's line between integer end points: both end points in full colour, every step along the
  // major axis shared between the two nearest pixels of the minor axis, blended over what is
  // there. The same pixels whichever end comes first; mirrored lines give mirrored pixels.
  // Follows the DC's clip and origin; a null DC does nothing.
  static void AntiLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF cr);
  static void AntiLine(HDC hdc, int x1, int y1, int x2, int y2, COLORREF cr);
};

// The outline of the w x h box at (x, y), one pixel wide, in cr; nothing for w or h <= 0.
// The DC's background colour is left as it was.
KESTRUNE_API void DrawFrameRect(CDC* pDC, int x, int y, int w, int h, COLORREF cr);
KESTRUNE_API void DrawFrameRect(HDC hdc, int x, int y, int w, int h, COLORREF cr);

// A window class without background brush (and with the arrow cursor), registered once per
// process, for child windows that paint all their pixels.
KESTRUNE_API LPCWSTR GetNullBackWndClass();
