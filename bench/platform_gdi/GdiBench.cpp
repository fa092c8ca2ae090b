// Costs of the drawing paths controls use on every paint: opaque boxes, full-window copies,
// blends, gradients and text.
#include <benchmark/benchmark.h>
#include <winport/afx.h>

#include <memory>
#include <vector>

namespace {

struct Target {
  Target(int w, int h) : surface(std::make_shared<winport::Surface>(w, h, 0)) {
    bitmap = winport::CreateBitmapFromSurface(surface);
    dc.CreateCompatibleDC(nullptr);
    old = ::SelectObject(dc, bitmap);
  }
  ~Target() {
    ::SelectObject(dc, old);
    dc.DeleteDC();
    ::DeleteObject(bitmap);
  }
  std::shared_ptr<winport::Surface> surface;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  CDC dc;
};

void BM_FillSolidRect(benchmark::State& state) {
  Target t(1920, 1080);
  for (auto _ : state) t.dc.FillSolidRect(0, 0, 1920, 1080, RGB(10, 20, 30));
  state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_FillSolidRect);

void BM_OnePixelLines(benchmark::State& state) {
  Target t(400, 300);
  for (auto _ : state) {
    for (int y = 0; y < 300; y += 3) {
      t.dc.SetBkColor(RGB(y, 0, 0));
      const RECT r{0, y, 400, y + 1};
      t.dc.ExtTextOut(0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }
  }
}
BENCHMARK(BM_OnePixelLines);

void BM_BitBltFullWindow(benchmark::State& state) {
  Target src(1920, 1080), dst(1920, 1080);
  for (auto _ : state) dst.dc.BitBlt(0, 0, 1920, 1080, &src.dc, 0, 0, SRCCOPY);
  state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_BitBltFullWindow);

void BM_SetDIBitsToDevice(benchmark::State& state) {
  Target t(1920, 1080);
  std::vector<DWORD> bits(1920 * 1080, 0x00336699u);
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = 1920;
  bmi.bmiHeader.biHeight = -1080;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  for (auto _ : state) {
    t.dc.SetDIBitsToDevice(0, 0, 1920, 1080, 0, 0, 0, 1080, bits.data(), &bmi, DIB_RGB_COLORS);
  }
  state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_SetDIBitsToDevice);

void BM_AlphaBlend(benchmark::State& state) {
  Target src(256, 256), dst(256, 256);
  src.surface->Fill(0x80402010u);
  const BLENDFUNCTION bf{AC_SRC_OVER, 0, 200, AC_SRC_ALPHA};
  for (auto _ : state) dst.dc.AlphaBlend(0, 0, 256, 256, &src.dc, 0, 0, 256, 256, bf);
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_AlphaBlend);

void BM_GradientFill(benchmark::State& state) {
  Target t(32, 600);
  TRIVERTEX v[2] = {{0, 0, 0xFF00, 0, 0, 0}, {32, 600, 0, 0xFF00, 0, 0}};
  GRADIENT_RECT r{0, 1};
  for (auto _ : state) t.dc.GradientFill(v, 2, &r, 1, GRADIENT_FILL_RECT_V);
}
BENCHMARK(BM_GradientFill);

void BM_TextOut(benchmark::State& state) {
  Target t(200, 40);
  CFont font;
  font.CreatePointFont(80, L"Tahoma");
  CFont* old = t.dc.SelectObject(&font);
  t.dc.SetBkMode(TRANSPARENT);
  const CString text(L"-12.5 dB");
  for (auto _ : state) t.dc.TextOut(2, 2, text);
  t.dc.SelectObject(old);
}
BENCHMARK(BM_TextOut);

}  // namespace
