// A memory DC over a fresh bitmap with pixel reads, for drawing tests without a window.
#pragma once
#include <winport/afx.h>

#include <memory>

namespace testsupport {

// A memory DC with a w x h bitmap filled with fill (a COLORREF).
struct Canvas {
  Canvas(int w, int h, COLORREF fill = RGB(255, 255, 255)) {
    surface = std::make_shared<winport::Surface>(w, h, winport::ToPixel(fill));
    bitmap = winport::CreateBitmapFromSurface(surface);
    dc.CreateCompatibleDC(nullptr);
    old = ::SelectObject(dc, bitmap);
  }
  ~Canvas() {
    ::SelectObject(dc, old);
    dc.DeleteDC();
    ::DeleteObject(bitmap);
  }
  COLORREF At(int x, int y) const { return winport::ToColorref(surface->At(x, y) & 0xFFFFFF); }
  // Pixels of colour c inside [l, r) x [t, b).
  int Count(int l, int t, int r, int b, COLORREF c) const {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) n += At(x, y) == c;
    return n;
  }
  int CountNot(int l, int t, int r, int b, COLORREF c) const { return (r - l) * (b - t) - Count(l, t, r, b, c); }

  std::shared_ptr<winport::Surface> surface;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  CDC dc;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

}  // namespace testsupport
