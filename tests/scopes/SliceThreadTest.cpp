// Slice threads: any thread count gives the counters and pixels of one thread, for every format
// and every combination of displays; one thread starts no thread; after the first frame a frame
// allocates nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "ScopeReference.h"
#include "companion/Buf32Draw.h"
#include "scopes/VideoScopeGraph.h"
#include "winport/base/debug.h"

namespace {
std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};
}  // namespace

// Counts the allocations made while a test asks for it; otherwise the usual heap.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t n) {
  if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

long MinRow(int fmt, long w) {
  const long pairs = w / 2;
  if (fmt == CVideoScopeGraph::ARGB) return w * 4;
  if (fmt == CVideoScopeGraph::TVYU) return pairs * 8;
  if (fmt == CVideoScopeGraph::M101_10BIT) {
    const long last = (pairs * 4 - 1) / 128;
    return last * 160 + pairs * 4 - last * 128;
  }
  return pairs * 4;
}

void Configure(CVideoScopeGraph& g, int flags) {
  g.EnableVector(flags & 1);
  g.EnableYParade(flags & 2);
  g.EnableYHisto(flags & 4);
  g.EnableLighting(flags & 8);
  g.EnableRGBAnalyse(flags & 16);
  g.SetYorYCFlag(static_cast<unsigned char>(flags % 3));
}

// Everything a graph holds after a frame, and what its displays draw from it.
std::vector<LONG> Snapshot(CVideoScopeGraph& g) {
  std::vector<LONG> s;
  const CYVYUGraph& y = g.GetYUVGraph();
  const CARGBGraph& a = g.GetARGBGraph();
  auto add = [&](const void* p, size_t bytes) {
    const LONG* l = static_cast<const LONG*>(p);
    s.insert(s.end(), l, l + bytes / sizeof(LONG));
  };
  add(y.GetYLevels().GetData(), sizeof(GrayLevel) * y.GetYLevels().GetSize());
  add(y.GetYCLevels().GetData(), sizeof(YCLevel) * y.GetYCLevels().GetSize());
  for (int L = 0; L < 256; ++L)
    for (long v : {g.GetHistoValueL(L), g.GetHistoValueR(L), g.GetHistoValueG(L), g.GetHistoValueB(L)})
      s.push_back(static_cast<LONG>(v));
  for (const auto* p : {&a.GetParadeR(), &a.GetParadeG(), &a.GetParadeB()}) add(p->GetData(), sizeof(GrayLevel) * p->GetSize());
  if (y.GetFrame()) add(y.GetFrame(), 4 * size_t(y.GetPairs()) * y.GetRows());
  std::vector<DWORD> buf(96 * 80);
  const CRect rc(2, 3, 94, 77);
  g.DrawVector(buf.data(), 96, 80, 1.5f);
  add(buf.data(), buf.size() * 4);
  std::fill(buf.begin(), buf.end(), 0);
  g.DrawLightning(buf.data(), 96, 80, rc, 1);
  add(buf.data(), buf.size() * 4);
  return s;
}

TEST(ScopeSliceThreads, EveryThreadCountEqualsOneThreadForEveryFormatAndDisplay) {
  std::mt19937 rng(77);
  // One graph per count, kept across frames and settings as a host keeps it (what a display
  // switched off keeps from earlier frames is compared too).
  const int counts[] = {2, 3, 5, 8};
  CVideoScopeGraph one, graphs[4];
  for (int i = 0; i < 4; ++i) graphs[i].SetThreadCount(counts[i]);
  for (int fmt = 0; fmt <= 4; ++fmt) {
    // Wide enough for several tiles per slice, odd, with a skip and a spare pitch.
    const long w = 263 + 2 * fmt, h = 41, skip = fmt % 3;
    const long minRow = MinRow(fmt, w);
    ref::Frame f = ref::RandomFrame(rng, w, h, minRow + 12, skip, minRow);
    for (int flags = 0; flags < 32; ++flags) {
      Configure(one, flags);
      one.UpdateGraph(f.Data(), w, h, f.pitch, skip, CVideoScopeGraph::ColFmt(fmt));
      const auto want = Snapshot(one);
      one.EndUpdateGraph();  // as a host does before its frame goes
      for (int i = 0; i < 4; ++i) {
        CVideoScopeGraph& g = graphs[i];
        Configure(g, flags);
        g.UpdateGraph(f.Data(), w, h, f.pitch, skip, CVideoScopeGraph::ColFmt(fmt));
        ASSERT_EQ(Snapshot(g), want) << "fmt " << fmt << " flags " << flags << " threads " << counts[i];
        g.EndUpdateGraph();
      }
    }
  }
  // Narrower than one tile per slice: the extra slices have nothing to do.
  std::vector<uint8_t> tiny(6 * 4 * 3);
  for (auto& b : tiny) b = uint8_t(rng());
  CVideoScopeGraph single, many;
  many.SetThreadCount(8);
  single.UpdateGraph(tiny.data(), 6, 4, 12, 0, CVideoScopeGraph::VYUY);
  many.UpdateGraph(tiny.data(), 6, 4, 12, 0, CVideoScopeGraph::VYUY);
  EXPECT_EQ(Snapshot(many), Snapshot(single));
}

int ThreadsOfProcess() {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("Threads:", 0) == 0) return std::atoi(line.c_str() + 8);
  return -1;
}

TEST(ScopeSliceThreads, CountsAndPoolLifetime) {
  CVideoScopeGraph g;
  EXPECT_EQ(g.GetThreadCount(), 1);
  g.SetThreadCount(-3);
  EXPECT_EQ(g.GetThreadCount(), 1);
  g.SetThreadCount(99);
  EXPECT_EQ(g.GetThreadCount(), 16);
  g.SetThreadCount(0);
  EXPECT_GE(g.GetThreadCount(), 1);

  std::vector<uint8_t> f(64 * 4 * 8, 0x70);
  const int before = ThreadsOfProcess();
  {
    CVideoScopeGraph single;
    single.UpdateGraph(f.data(), 128, 8, 256, 0, CVideoScopeGraph::VYUY);
    EXPECT_EQ(ThreadsOfProcess(), before);  // one thread starts none
    CVideoScopeGraph three;
    three.SetThreadCount(3);
    EXPECT_EQ(ThreadsOfProcess(), before);  // nor does choosing a count
    three.UpdateGraph(f.data(), 128, 8, 256, 0, CVideoScopeGraph::VYUY);
    EXPECT_EQ(ThreadsOfProcess(), before + 2);
    CVideoScopeGraph copy(three);  // a copy keeps the count, not the threads
    EXPECT_EQ(copy.GetThreadCount(), 3);
    EXPECT_EQ(ThreadsOfProcess(), before + 2);
  }
  EXPECT_EQ(ThreadsOfProcess(), before);  // joined with their graph
}

TEST(ScopeSliceThreads, NoAllocationAfterTheFirstFrame) {
  // The process-wide trace counter: line it up so that no call below traces (a trace formats).
  std::vector<std::wstring> lines;
  auto prev = winport::SetDebugOutputHook([&](std::wstring_view s) { lines.emplace_back(s); });
  CVideoScopeGraph sync;
  uint8_t unit[4] = {1, 2, 3, 4};
  for (int i = 0; i < 80 && lines.empty(); ++i) sync.UpdateGraph(unit, 2, 1, 4, 0, CVideoScopeGraph::VYUY);
  winport::SetDebugOutputHook(prev);
  ASSERT_EQ(lines.size(), 1u);

  std::mt19937 rng(3);
  std::vector<uint8_t> frames[2];
  for (auto& fr : frames) {
    fr.resize(size_t(320) * 4 * 48);
    for (auto& b : fr) b = uint8_t(rng());
  }
  CBuf32Draw d;
  d.Create(160, 120);
  const CRect rc(4, 4, 156, 116);
  for (int threads : {1, 2}) {
    for (int fmt : {CVideoScopeGraph::VYUY, CVideoScopeGraph::YVYU, CVideoScopeGraph::ARGB}) {
      const long w = fmt == CVideoScopeGraph::ARGB ? 320 : 640, pitch = 1280;
      CVideoScopeGraph g;
      g.SetThreadCount(threads);
      auto frame = [&](int k) {
        g.UpdateGraph(frames[k % 2].data(), w, 48, pitch, 0, CVideoScopeGraph::ColFmt(fmt));
        DWORD* p = d.Buf();
        g.DrawParadeL(p, 160, 120, rc, 0, 1, 1);
        g.DrawVector(p, 160, 120, 1.0f);
        g.DrawLightning(p, 160, 120, rc, 1);
        g.DrawHistoL(&d, rc);
        g.DrawHistoR(&d, rc);
        g.DrawParadeG(p, 160, 120, rc, 255, 0);
        g.EndUpdateGraph();
      };
      frame(0);
      g_allocations = 0;
      g_counting = true;
      for (int k = 1; k < 6; ++k) frame(k);
      g_counting = false;
      EXPECT_EQ(g_allocations.load(), 0) << "threads " << threads << " fmt " << fmt;
    }
  }
}

}  // namespace
