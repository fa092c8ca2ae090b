// Text and image costs that painting pays every frame: measuring labels, rendering them,
// laying out DrawText, decoding a bitmap resource.
#include <benchmark/benchmark.h>

#include <cstring>

#include "winport/gdi/ImageCodec.h"
#include "winport/text/DrawTextLayout.h"

namespace {

std::shared_ptr<const winport::Font> LabelFont() {
  LOGFONTW lf{};
  lf.lfHeight = -11;
  lf.lfWeight = FW_NORMAL;
  std::wcscpy(lf.lfFaceName, L"Tahoma");
  return winport::Font::Create(lf);
}

void BM_MeasureLabel(benchmark::State& state) {
  auto font = LabelFont();
  for (auto _ : state) benchmark::DoNotOptimize(font->Measure(L"-48 dB"));
}
BENCHMARK(BM_MeasureLabel);

void BM_CreateCachedFont(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LabelFont());
}
BENCHMARK(BM_CreateCachedFont);

void BM_RenderLabel(benchmark::State& state) {
  auto font = LabelFont();
  for (auto _ : state) benchmark::DoNotOptimize(font->Render(L"-48 dB"));
}
BENCHMARK(BM_RenderLabel);

void BM_LayoutCentredLabel(benchmark::State& state) {
  auto font = LabelFont();
  const RECT r{0, 0, 40, 13};
  for (auto _ : state) {
    benchmark::DoNotOptimize(winport::LayoutDrawText(*font, L"-∞", r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT));
  }
}
BENCHMARK(BM_LayoutCentredLabel);

void BM_PngRoundTrip(benchmark::State& state) {
  winport::Surface s(256, 64, 0x336699);
  for (auto _ : state) benchmark::DoNotOptimize(winport::DecodeImage(winport::EncodePng(s)));
}
BENCHMARK(BM_PngRoundTrip);

}  // namespace
