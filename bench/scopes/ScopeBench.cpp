// Frame analysis and drawing of the scope graph, single-threaded, per frame.
// Frames: raw 4:2:2 in U Y V Y byte order from the files named by SCOPES_BENCH_FRAMES_1080 and
// SCOPES_BENCH_FRAMES_2160 when set (the peer script makes them, so the other program sees
// the very same frames); otherwise a built-in moving test pattern.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "companion/Buf32Draw.h"
#include "companion/ColorConvert.h"
#include "scopes/VideoScopeGraph.h"

namespace {

constexpr int kDrawW = 720, kDrawH = 512;

struct FrameSet {
  long width = 0, height = 0;
  long pitch[5] = {};
  std::vector<std::vector<uint8_t>> frames[5];  // by format
};

// Colour bars over a luma ramp, with noise, shifted per frame.
std::vector<uint8_t> PatternUYVY(long w, long h, int n) {
  static const uint8_t bars[8][3] = {{235, 128, 128}, {210, 16, 146},  {170, 166, 16}, {145, 54, 34},
                                     {106, 202, 222}, {81, 90, 240},   {41, 240, 110}, {16, 128, 128}};
  std::vector<uint8_t> f(size_t(w) * h * 2);
  std::mt19937 rng(n);
  for (long y = 0; y < h; ++y)
    for (long i = 0; i < w / 2; ++i) {
      uint8_t* u = &f[(size_t(y) * w + 2 * i) * 2];
      const long x = (2 * i + n * 16) % w;
      int Y, U, V;
      if (y < h * 2 / 3) {
        const auto* b = bars[(x * 8) / w];
        Y = b[0], U = b[1], V = b[2];
      } else {
        Y = 16 + int((x * 219) / w), U = 128, V = 128;
      }
      const int noise = int(rng() % 9) - 4;
      u[0] = uint8_t(U), u[1] = uint8_t(std::clamp(Y + noise, 0, 255)), u[2] = uint8_t(V);
      u[3] = uint8_t(std::clamp(Y - noise, 0, 255));
    }
  return f;
}

std::unique_ptr<FrameSet> MakeFrames(long w, long h, const char* env) {
  auto s = std::make_unique<FrameSet>();
  s->width = w, s->height = h;
  std::vector<std::vector<uint8_t>> uyvy;
  const size_t bytes = size_t(w) * h * 2;
  if (const char* path = std::getenv(env)) {
    if (FILE* fp = std::fopen(path, "rb")) {
      std::vector<uint8_t> f(bytes);
      while (uyvy.size() < 8 && std::fread(f.data(), 1, bytes, fp) == bytes) uyvy.push_back(f);
      std::fclose(fp);
    }
  }
  for (int n = 0; uyvy.size() < 4; ++n) uyvy.push_back(PatternUYVY(w, h, n));
  const long pairs = w / 2;
  const long m101Row = ((pairs * 4 + 127) / 128) * 160;
  s->pitch[CVideoScopeGraph::YVYU] = w * 2;
  s->pitch[CVideoScopeGraph::VYUY] = w * 2;
  s->pitch[CVideoScopeGraph::ARGB] = w * 4;
  s->pitch[CVideoScopeGraph::M101_10BIT] = m101Row;
  for (const auto& f : uyvy) {
    s->frames[CVideoScopeGraph::YVYU].push_back(f);
    std::vector<uint8_t> v(f.size());
    for (size_t i = 0; i < f.size(); i += 4) v[i] = f[i + 1], v[i + 1] = f[i], v[i + 2] = f[i + 3], v[i + 3] = f[i + 2];
    std::vector<uint8_t> argb(size_t(w) * h * 4);
    VYUY2ARGB(v.data(), w, h, w * 2, 0, argb.data());
    std::vector<uint8_t> m(size_t(m101Row) * h, 0x55);
    for (long y = 0; y < h; ++y)
      for (long off = 0, blk = 0; off < pairs * 4; off += 128, blk += 160)
        std::memcpy(&m[y * m101Row + blk], &v[y * w * 2 + off], std::min(128L, pairs * 4 - off));
    s->frames[CVideoScopeGraph::VYUY].push_back(std::move(v));
    s->frames[CVideoScopeGraph::ARGB].push_back(std::move(argb));
    s->frames[CVideoScopeGraph::M101_10BIT].push_back(std::move(m));
  }
  return s;
}

const FrameSet& Frames(int height) {
  static std::map<int, std::unique_ptr<FrameSet>> sets;
  auto& s = sets[height];
  if (!s) s = height == 1080 ? MakeFrames(1920, 1080, "SCOPES_BENCH_FRAMES_1080")
                             : MakeFrames(3840, 2160, "SCOPES_BENCH_FRAMES_2160");
  return *s;
}

void Update(CVideoScopeGraph& g, const FrameSet& s, int fmt, size_t n) {
  auto& f = s.frames[fmt][n % s.frames[fmt].size()];
  g.UpdateGraph(const_cast<uint8_t*>(f.data()), s.width, s.height, s.pitch[fmt], 0, CVideoScopeGraph::ColFmt(fmt));
}

// args: format, frame height, Y/C mode
void BM_UpdateGraph(benchmark::State& st) {
  const int fmt = int(st.range(0));
  const FrameSet& s = Frames(int(st.range(1)));
  CVideoScopeGraph g;
  g.SetYorYCFlag(static_cast<unsigned char>(st.range(2)));
  size_t n = 0;
  for (auto _ : st) {
    Update(g, s, fmt, n++);
    g.EndUpdateGraph();
  }
}

enum Draw { kYParade, kYCParade, kVector, kLightning, kHistoL, kHistoRGB, kParadeRGB, kDrawCount };
const char* const kDrawNames[] = {"YParade", "YCParade", "Vector", "Lightning", "HistoL", "HistoRGB", "ParadeRGB"};

void DrawOne(CVideoScopeGraph& g, CBuf32Draw& d, int op) {
  DWORD* p = d.Buf();
  std::memset(p, 0, sizeof(DWORD) * kDrawW * kDrawH);  // a window clears before every drawing
  const CRect rc(8, 8, kDrawW - 8, kDrawH - 8);
  switch (op) {
    case kYParade: g.DrawParadeL(p, kDrawW, kDrawH, rc, FALSE, TRUE, TRUE); break;
    case kYCParade: g.DrawParadeL(p, kDrawW, kDrawH, rc, FALSE, TRUE, FALSE); break;
    case kVector: g.DrawVector(p, kDrawW, kDrawH, 1.0f); break;
    case kLightning: g.DrawLightning(p, kDrawW, kDrawH, rc, TRUE); break;
    case kHistoL: g.DrawHistoL(&d, rc); break;
    case kHistoRGB:
      g.DrawHistoR(&d, rc), g.DrawHistoG(&d, rc), g.DrawHistoB(&d, rc);
      break;
    case kParadeRGB:
      g.DrawParadeR(p, kDrawW, kDrawH, rc, 255, 0), g.DrawParadeG(p, kDrawW, kDrawH, rc, 255, 0),
          g.DrawParadeB(p, kDrawW, kDrawH, rc, 255, 0);
      break;
  }
}

// args: drawing, format, frame height
void BM_Draw(benchmark::State& st) {
  const int op = int(st.range(0));
  const FrameSet& s = Frames(int(st.range(2)));
  CVideoScopeGraph g;
  g.SetYorYCFlag(op == kYCParade ? 1 : 0);
  Update(g, s, int(st.range(1)), 0);
  CBuf32Draw d;
  d.Create(kDrawW, kDrawH);
  for (auto _ : st) DrawOne(g, d, op);
  st.SetLabel(kDrawNames[op]);
}

// Everything a host does per frame with all displays on, luma mode: analysis plus the drawing
// of the luma waveform, vector, lightning, luma histogram, RGB histograms and RGB parade.
void AllDisplays(benchmark::State& st, int threads) {
  const int fmt = int(st.range(0));
  const FrameSet& s = Frames(int(st.range(1)));
  CVideoScopeGraph g;
  g.SetThreadCount(threads);
  g.SetYorYCFlag(0);
  CBuf32Draw d;
  d.Create(kDrawW, kDrawH);
  size_t n = 0;
  for (auto _ : st) {
    Update(g, s, fmt, n++);
    for (int op : {kYParade, kVector, kLightning, kHistoL, kHistoRGB, kParadeRGB}) DrawOne(g, d, op);
    g.EndUpdateGraph();
  }
  st.SetLabel("threads " + std::to_string(g.GetThreadCount()));
}
void BM_FrameAllDisplays(benchmark::State& st) { AllDisplays(st, 1); }
// The same with slice threads (0 = all the machine has). Wall time: the work of every thread
// ends before the frame does.
void BM_FrameAllDisplaysThreads(benchmark::State& st) { AllDisplays(st, int(st.range(2))); }

// The luma waveform alone: accumulation plus drawing.
void BM_LumaWaveform(benchmark::State& st) {
  const FrameSet& s = Frames(int(st.range(1)));
  const int fmt = int(st.range(0));
  CVideoScopeGraph g;
  g.SetYorYCFlag(0);
  g.EnableRGBAnalyse(0), g.EnableVector(0), g.EnableYHisto(0), g.EnableLighting(0);
  CBuf32Draw d;
  d.Create(kDrawW, kDrawH);
  size_t n = 0;
  for (auto _ : st) {
    Update(g, s, fmt, n++);
    DrawOne(g, d, kYParade);
  }
}

// The luma histogram alone: accumulation plus drawing.
void BM_LumaHistogram(benchmark::State& st) {
  const FrameSet& s = Frames(int(st.range(1)));
  const int fmt = int(st.range(0));
  CVideoScopeGraph g;
  g.EnableRGBAnalyse(0), g.EnableVector(0), g.EnableYParade(0), g.EnableLighting(0);
  CBuf32Draw d;
  d.Create(kDrawW, kDrawH);
  size_t n = 0;
  for (auto _ : st) {
    Update(g, s, fmt, n++);
    DrawOne(g, d, kHistoL);
  }
}

// A plain read of the frame: the floor of any analysis.
void BM_ReadFrame(benchmark::State& st) {
  const FrameSet& s = Frames(int(st.range(1)));
  const auto& set = s.frames[st.range(0)];
  size_t n = 0;
  for (auto _ : st) {
    const auto& f = set[n++ % set.size()];
    const uint64_t* p = reinterpret_cast<const uint64_t*>(f.data());
    uint64_t acc = 0;
    for (size_t i = 0; i < f.size() / 8; ++i) acc += p[i];
    benchmark::DoNotOptimize(acc);
  }
}

constexpr int kFormats[] = {CVideoScopeGraph::VYUY, CVideoScopeGraph::YVYU, CVideoScopeGraph::ARGB,
                            CVideoScopeGraph::M101_10BIT};

void UpdateArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"fmt", "h", "yc"});
  for (int h : {1080, 2160})
    for (int f : kFormats)
      for (int yc : {0, 1}) b->Args({f, h, yc});
}
void DrawArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"op", "fmt", "h"});
  for (int h : {1080, 2160})
    for (int f : kFormats)
      for (int op = 0; op < kDrawCount; ++op) b->Args({op, f, h});
}
void FrameArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"fmt", "h"});
  for (int h : {1080, 2160})
    for (int f : kFormats) b->Args({f, h});
}

BENCHMARK(BM_UpdateGraph)->Apply(UpdateArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Draw)->Apply(DrawArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameAllDisplays)->Apply(FrameArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameAllDisplaysThreads)
    ->ArgNames({"fmt", "h", "threads"})
    ->ArgsProduct({{CVideoScopeGraph::VYUY, CVideoScopeGraph::YVYU}, {1080, 2160}, {1, 2, 0}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LumaWaveform)->Apply(FrameArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LumaHistogram)->Apply(FrameArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFrame)->Apply(FrameArgs)->Unit(benchmark::kMillisecond);

}  // namespace
