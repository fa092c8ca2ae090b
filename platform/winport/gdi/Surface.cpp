#include "winport/gdi/Surface.h"

#include <algorithm>
#include <new>

namespace winport {

bool Surface::Resize(int width, int height, Pixel fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return true;
  if (!WithinCap(width, height)) return false;
  std::vector<Pixel> next;
  try {
    next.assign(static_cast<std::size_t>(width) * height, fill);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const int cw = std::min(width, width_);
  const int ch = std::min(height, height_);
  for (int y = 0; y < ch; ++y) {
    std::copy_n(pixels_.data() + static_cast<std::size_t>(y) * width_, cw,
                next.data() + static_cast<std::size_t>(y) * width);
  }
  pixels_ = std::move(next);
  width_ = width;
  height_ = height;
  return true;
}

}  // namespace winport
