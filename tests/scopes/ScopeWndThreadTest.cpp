// A worker thread feeds frames and updates a scope window while the window thread paints and
// resizes it: every picture that reaches the screen is one whole composition. Run under
// ThreadSanitizer by the test command.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <winport/headless.h>

#include "scopes/HistogramWnd.h"
#include "scopes/RGBParadeWnd.h"
#include "scopes/ScopeWndGeometry.h"
#include "scopes/VectorScopeWnd.h"
#include "scopes/WaveformWnd.h"
#include "support/FeedRace.h"
#include "support/HostWindow.h"
#include "tests/scopes/ScopeWndFrames.h"

namespace hl = winport::headless;

namespace {

constexpr int kFrameW = 64, kFrameH = 16;
// Enough frames for an unlocked paint to be caught tearing most runs; ThreadSanitizer sees a race
// on its first occurrence and runs everything far slower, so it gets fewer.
#if defined(__SANITIZE_THREAD__)
constexpr int kFrames = 120;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
constexpr int kFrames = 120;
#else
constexpr int kFrames = 1200;
#endif
#else
constexpr int kFrames = 1200;
#endif
constexpr int kLevels[2] = {60, 200};

// Row of a level in the luma trace drawn without marks over the full range.
int TraceRow(const CRect& rc, int L) { return rc.bottom - (rc.Height() * L) / 256; }

// Trace pixels on a row: those differing from the graticule at the row's right end, which the
// trace rectangle never reaches.
int TraceCount(const hl::Image& img, int row) {
  const uint32_t ground = img.At(img.width - 1, row) & 0xFFFFFF;
  int n = 0;
  for (int x = 25; x < img.width - 1; ++x) n += (img.At(x, row) & 0xFFFFFF) != ground;
  return n;
}

using ScopeWndThreadTest = testsupport::HostWindowTest;

TEST_F(ScopeWndThreadTest, PaintsNeverShowAHalfComposedFrame) {
  CVideoScopeGraph graph;
  CWaveformWnd wf;
  ASSERT_TRUE(wf.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 170), &m_top, 1));
  wf.SetMarkOutRange(0);
  wf.AttachVideoScopeGraph(&graph);
  hl::Pump();
  std::vector<uint8_t> frames[2] = {scopetest::VyuyColumns(kFrameW, kFrameH, [](int) { return kLevels[0]; }),
                                    scopetest::VyuyColumns(kFrameW, kFrameH, [](int) { return kLevels[1]; })};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < kFrames; ++i) {
      std::vector<uint8_t>& f = frames[i & 1];
      graph.UpdateGraph(f.data(), kFrameW, kFrameH, kFrameW * 2, 0, CVideoScopeGraph::VYUY);
      wf.UpdateGraph();
      graph.EndUpdateGraph();
    }
    done = true;
  });
  // A size of 0 releases the buffers while the worker may be about to draw into them.
  const SIZE sizes[4] = {{300, 170}, {340, 200}, {0, 0}, {260, 150}};
  int shots = 0;
  for (int i = 0; !done || i < 3; ++i) {
    if (i % 8 == 0) wf.MoveWindow(0, 0, sizes[(i / 8) % 4].cx, sizes[(i / 8) % 4].cy);
    hl::Pump();
    const hl::Image img = hl::Capture(wf.GetSafeHwnd());
    if (img.width == 0) continue;
    const CRect rc = scopewnd::WaveformTraceRect(img.width, img.height);
    const int a = TraceCount(img, TraceRow(rc, kLevels[0]));
    const int b = TraceCount(img, TraceRow(rc, kLevels[1]));
    const int between = TraceCount(img, TraceRow(rc, (kLevels[0] + kLevels[1]) / 2));
    ++shots;
    // One frame's whole trace, or the bare graticule right after a resize; never parts of two.
    const bool whole = (a == kFrameW && b == 0) || (a == 0 && b == kFrameW) || (a == 0 && b == 0);
    EXPECT_TRUE(whole && between == 0) << "shot " << shots << ": " << a << " / " << b << " / " << between;
    if (!whole || between) {
      testsupport::SaveShot(img, "torn");
      break;
    }
  }
  worker.join();
  EXPECT_GT(shots, 3);
  wf.MoveWindow(0, 0, 300, 170);
  wf.UpdateGraph();  // after the race: the last frame still composes and shows
  hl::Pump();
  const hl::Image img = hl::Capture(wf.GetSafeHwnd());
  const CRect rc = scopewnd::WaveformTraceRect(img.width, img.height);
  EXPECT_EQ(TraceCount(img, TraceRow(rc, kLevels[1])), kFrameW);
  wf.DestroyWindow();
}

// A worker updates every kind of scope while the window thread changes the settings their traces
// read and then destroys them one by one: the settings are taken under the window's lock, and no
// update reaches a window being destroyed (TSan checks both). After the destroys the updates go on
// into the buffers the objects still own.
TEST_F(ScopeWndThreadTest, SettingsAndDestroyWhileUpdatingOnAnotherThread) {
  CVideoScopeGraph graph;
  CWaveformWnd wf;
  CHistogramWnd histo;
  CVectorScopeWnd vs;
  CRGBParadeWnd parade;
  CScopeBaseWnd* scopes[4] = {&wf, &histo, &vs, &parade};
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(scopes[i]->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 120), &m_top, 1 + i));
    scopes[i]->AttachVideoScopeGraph(&graph);
  }
  hl::Pump();
  std::vector<DWORD> frame = scopetest::ArgbColumns(kFrameW, kFrameH, [](int x) { return scopetest::Bar75(x, kFrameW); });
  testsupport::FeedAcross(
      [&] {
        graph.UpdateGraph(frame.data(), kFrameW, kFrameH, kFrameW * 4, 0, CVideoScopeGraph::ARGB);
        for (CScopeBaseWnd* s : scopes) s->UpdateGraph();
        graph.EndUpdateGraph();
      },
      [&] {
        for (int k = 0; k < 40; ++k) {
          wf.SetNormalRange(k & 1);
          wf.SetMarkOutRange(k & 2);
          wf.SetShowAsY(k & 4);
          wf.SetScaleType(k % 3);
          histo.SetDrawCategory(static_cast<CHistogramWnd::DrawCategory>(k % 5));
          vs.ShowAsVector(k & 1);
          parade.SetScaleType(k % 3);
          hl::Pump();
        }
        for (CScopeBaseWnd* s : scopes) {
          s->DestroyWindow();
          hl::Pump();
        }
      },
      3, 3);
  for (CScopeBaseWnd* s : scopes) EXPECT_EQ(s->GetSafeHwnd(), nullptr);
}

}  // namespace
