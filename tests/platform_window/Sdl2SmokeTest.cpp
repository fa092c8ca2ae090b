// The SDL2 back end under a virtual X server: a real window filled red, presented and read back.
// The outer test re-runs this program under xvfb-run with the inner test selected.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include <winport/window/Backend.h>
#include <winport/window/Sdl2.h>

#include "support/Recorder.h"
#include "winport/window/Sdl2.h"

using namespace winport;

namespace {

constexpr int kSkipped = 77;

std::string SelfPath() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  if (n <= 0) return {};
  buf[n] = 0;
  return buf;
}

// Runs the named test of this program under a virtual X server; its exit code.
int RunUnderXvfb(const char* test) {
  if (std::system("command -v xvfb-run > /dev/null 2>&1") != 0) return kSkipped;
  // The system's display libraries keep some allocations to exit; the child checks pixels, not
  // those libraries' leaks.
  std::string cmd = "xvfb-run -a env ASAN_OPTIONS=detect_leaks=0 WINPORT_SDL2_SMOKE_CHILD=1 WINPORT_BACKEND=sdl2 '" +
                    SelfPath() + "' --gtest_filter=" + test;
  int status = std::system(cmd.c_str());
  if (status == -1) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Sdl2Smoke, RedWindowIsShownAndPresented) {
  const int code = RunUnderXvfb("Sdl2Smoke.ChildRun");
  if (code == kSkipped) GTEST_SKIP() << "no xvfb-run or no SDL2 back end";
  EXPECT_EQ(code, 0);
}

TEST(Sdl2Smoke, PresentAfterOneChildPaintsCopiesOnlyThatChild) {
  const int code = RunUnderXvfb("Sdl2Smoke.PartialChild");
  if (code == kSkipped) GTEST_SKIP() << "no xvfb-run or no SDL2 back end";
  EXPECT_EQ(code, 0);
}

// Pumps until the queue is empty and every pending paint and present has run.
void Settle() {
  SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(0);
  });
  while (AfxPumpMessage()) {
  }
}

TEST(Sdl2Smoke, PartialChild) {
  if (!std::getenv("WINPORT_SDL2_SMOKE_CHILD")) GTEST_SKIP() << "runs only inside the smoke test";
  if (!SelectBackend("sdl2")) std::exit(kSkipped);
  COLORREF colour = RGB(0, 0, 255);
  CRecorderWnd top, left, right;
  auto painter = [&colour](CRecorderWnd& w) {
    return [&w, &colour](UINT m, WPARAM, LPARAM, LRESULT&) {
      if (m != WM_PAINT) return false;
      CPaintDC dc(&w);
      dc.FillSolidRect(0, 0, 40, 30, colour);
      return true;
    };
  };
  left.hook = painter(left);
  right.hook = painter(right);
  ASSERT_TRUE(top.CreateTop(CRect(20, 20, 220, 120)));
  ASSERT_TRUE(left.CreateChild(&top, CRect(10, 10, 50, 40), WS_VISIBLE, 1));
  ASSERT_TRUE(right.CreateChild(&top, CRect(100, 50, 140, 80), WS_VISIBLE, 2));
  Settle();
  colour = RGB(0, 255, 0);
  right.Invalidate(FALSE);
  Settle();
  RECT presented{};
  ASSERT_TRUE(sdl2::LastPresented(top.m_hWnd, presented));
  EXPECT_EQ(presented.left, 100);
  EXPECT_EQ(presented.top, 50);
  EXPECT_EQ(presented.right, 140);
  EXPECT_EQ(presented.bottom, 80);
  Surface shot;
  ASSERT_TRUE(sdl2::ReadBack(top.m_hWnd, shot));
  EXPECT_EQ(shot.At(120, 60), 0x00FF00u);  // the new colour reached the screen
  EXPECT_EQ(shot.At(20, 20), 0x0000FFu);   // the other child kept what it showed
  top.DestroyWindow();
}

TEST(Sdl2Smoke, ChildRun) {
  if (!std::getenv("WINPORT_SDL2_SMOKE_CHILD")) GTEST_SKIP() << "runs only inside the smoke test";
  if (!SelectBackend("sdl2")) std::exit(kSkipped);
  ASSERT_STREQ(BackendName(), "sdl2");
  CRecorderWnd w;
  w.hook = [&w](UINT m, WPARAM wp, LPARAM, LRESULT&) {
    if (m == WM_PAINT) {
      CPaintDC dc(&w);
      dc.FillSolidRect(0, 0, 64, 48, RGB(255, 0, 0));
      return true;
    }
    if (m == WM_TIMER && wp == 1) {
      w.KillTimer(1);
      PostQuitMessage(0);
      return true;
    }
    return false;
  };
  ASSERT_TRUE(w.CreateTop(CRect(20, 20, 84, 68)));
  unsigned start = GetTickCount();
  w.SetTimer(1, 300, nullptr);
  while (AfxPumpMessage()) {
  }
  EXPECT_GE(GetTickCount() - start, 250u);  // the real clock ran
  EXPECT_TRUE(sdl2::IsShown(w.m_hWnd));
  Surface shot;
  ASSERT_TRUE(sdl2::ReadBack(w.m_hWnd, shot));
  ASSERT_EQ(shot.Width(), 64);
  ASSERT_EQ(shot.Height(), 48);
  EXPECT_EQ(shot.At(0, 0), 0xFF0000u);
  EXPECT_EQ(shot.At(63, 47), 0xFF0000u);
  w.DestroyWindow();
}

}  // namespace
