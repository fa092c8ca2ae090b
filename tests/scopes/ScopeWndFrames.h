// Frames and window probes shared by the scope window tests.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "scopes/ScopeBaseWnd.h"
#include "scopes/VideoScopeGraph.h"

namespace scopetest {

// SARGB pixels (0xAARRGGBB) of a w x h frame whose column x has colour f(x).
inline std::vector<DWORD> ArgbColumns(int w, int h, const std::function<DWORD(int)>& f) {
  std::vector<DWORD> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w + x] = f(x);
  return px;
}

// VYUY pairs (Y1 U Y2 V) of a w x h frame whose pixel column x has luma luma(x), chroma neutral.
inline std::vector<uint8_t> VyuyColumns(int w, int h, const std::function<int(int)>& luma) {
  std::vector<uint8_t> f(static_cast<size_t>(w) * h * 2);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < w / 2; ++i) {
      uint8_t* u = &f[(static_cast<size_t>(y) * w + 2 * i) * 2];
      u[0] = static_cast<uint8_t>(luma(2 * i));
      u[1] = 128;
      u[2] = static_cast<uint8_t>(luma(2 * i + 1));
      u[3] = 128;
    }
  return f;
}

// 75 % colour bars, seven equal columns: white, yellow, cyan, green, magenta, red, blue.
inline DWORD Bar75(int x, int w) {
  static const DWORD bars[7] = {0xFFBFBFBF, 0xFFBFBF00, 0xFF00BFBF, 0xFF00BF00, 0xFFBF00BF, 0xFFBF0000, 0xFF0000BF};
  return bars[(x * 7) / w];
}

// A scope class with its protected state opened for checks, counting paints and readouts.
template <class Base>
class Probe : public Base {
 public:
  int nPaints = 0, nActive = 0, nBkGnd = 0;
  LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
    if (m == WM_PAINT) ++nPaints;
    return Base::WindowProc(m, w, l);
  }
  int MouseIn() const { return this->m_bMouseIn; }
  bool HasBuffers() const { return this->m_bufBkGnd.Buf() && this->m_bufGraph.Buf(); }
  static HGDIOBJ Font() { return Base::ms_font.GetSafeHandle(); }
  static int Refs() { return Base::ms_nResRef; }

 protected:
  void DrawActive(CDC* pDC) override {
    ++nActive;
    Base::DrawActive(pDC);
  }
  void DrawBkGnd(CDC* pDC) override {
    ++nBkGnd;
    Base::DrawBkGnd(pDC);
  }
};

}  // namespace scopetest
