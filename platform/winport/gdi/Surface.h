// A retained 32-bit pixel surface: what a window, a memory bitmap or a screenshot holds.
// Pixels are 0x00RRGGBB (bytes B, G, R, 0 in memory); a COLORREF is 0x00BBGGRR, so the two
// are never mixed without ToPixel / ToColorref.
#pragma once
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "winport/base/debug.h"
#include "winport/base/types.h"

namespace winport {

using Pixel = std::uint32_t;

constexpr Pixel ToPixel(COLORREF c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF ToColorref(Pixel p) {
  return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

// Every surface (window, bitmap, screenshot) is capped: sides of at most kMaxSurfaceSide and
// kMaxSurfacePixels pixels in all (64 MB, a 4096 x 4096 image). Window surfaces cover the
// top-left part of a larger client; bitmaps past the cap are refused.
constexpr int kMaxSurfaceSide = 1 << 15;
constexpr std::int64_t kMaxSurfacePixels = std::int64_t{1} << 24;

class WINPORT_API Surface {
 public:
  Surface() = default;
  // Empty when the size is past the cap or memory is refused.
  Surface(int width, int height, Pixel fill = 0) { Resize(width, height, fill); }

  static bool WithinCap(int width, int height) {
    return width >= 0 && height >= 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
           std::int64_t{width} * height <= kMaxSurfacePixels;
  }
  // The largest part of a width x height area, from its top-left, that a surface can hold.
  static SIZE Capped(int width, int height) {
    const int w = std::clamp(width, 0, kMaxSurfaceSide);
    int h = std::clamp(height, 0, kMaxSurfaceSide);
    if (w > 0 && std::int64_t{w} * h > kMaxSurfacePixels) h = static_cast<int>(kMaxSurfacePixels / w);
    return SIZE{w, h};
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  // Keeps the overlapping top-left content and fills what is new; negative sizes become 0.
  // False, with the surface unchanged, past the cap or when memory is refused.
  bool Resize(int width, int height, Pixel fill = 0);
  void Fill(Pixel p) { std::fill(pixels_.begin(), pixels_.end(), p); }

  Pixel* Data() { return pixels_.data(); }
  const Pixel* Data() const { return pixels_.data(); }
  std::span<Pixel> Pixels() { return pixels_; }
  std::span<const Pixel> Pixels() const { return pixels_; }
  // Rows are not checked: every caller clips to the surface first (At and Set below do).
  Pixel* Row(int y) {
    WINPORT_CHECK(y >= 0 && y < height_, "callers clip to the surface before taking a row");
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  const Pixel* Row(int y) const {
    WINPORT_CHECK(y >= 0 && y < height_, "callers clip to the surface before taking a row");
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Out-of-range reads give 0 and writes are dropped.
  Pixel At(int x, int y) const { return Contains(x, y) ? Row(y)[x] : 0; }
  void Set(int x, int y, Pixel p) {
    if (Contains(x, y)) Row(y)[x] = p;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

}  // namespace winport
