// Pictures the control tests hand in: surfaces drawn pixel by pixel, turned into bitmaps or
// registered as bitmap resources of a test module.
#pragma once
#include <winport/afx.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace controlstest {

// A w x h surface whose pixel (x, y) is fn(x, y) as a COLORREF.
inline std::shared_ptr<winport::Surface> Picture(int w, int h, const std::function<COLORREF(int, int)>& fn) {
  auto s = std::make_shared<winport::Surface>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s->Set(x, y, winport::ToPixel(fn(x, y)));
  return s;
}

// Registers the picture as a PNG bitmap resource of a test module at the front of the chain.
inline void RegisterBitmap(LPCWSTR name, const winport::Surface& s) {
  static HINSTANCE module = winport::AddResourceModule(L"controls-test");
  static std::vector<std::unique_ptr<std::vector<std::uint8_t>>> keep;  // the chain does not copy
  keep.push_back(std::make_unique<std::vector<std::uint8_t>>(winport::EncodePng(s)));
  winport::AddResource(module, name, RT_BITMAP, *keep.back());
}

constexpr std::uint32_t Px(COLORREF cr) { return winport::ToPixel(cr); }

}  // namespace controlstest
