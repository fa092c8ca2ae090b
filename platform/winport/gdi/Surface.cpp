#include "winport/gdi/Surface.h"

#include <algorithm>

namespace winport {

void Surface::Resize(int width, int height, Pixel fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  std::vector<Pixel> next(static_cast<std::size_t>(width) * height, fill);
  const int cw = std::min(width, width_);
  const int ch = std::min(height, height_);
  for (int y = 0; y < ch; ++y) {
    std::copy_n(pixels_.data() + static_cast<std::size_t>(y) * width_, cw,
                next.data() + static_cast<std::size_t>(y) * width);
  }
  pixels_ = std::move(next);
  width_ = width;
  height_ = height;
}

}  // namespace winport
