// The SDL2 back end under a virtual X server: a real window filled red, presented and read back.
// The outer test re-runs this program under xvfb-run with the inner test selected.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include <winport/window/Backend.h>
#include <winport/window/Sdl2.h>

#include "support/Recorder.h"

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

TEST(Sdl2Smoke, RedWindowIsShownAndPresented) {
  if (std::system("command -v xvfb-run > /dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
  // The system's display libraries keep some allocations to exit; the child checks pixels, not
  // those libraries' leaks.
  std::string cmd = "xvfb-run -a env ASAN_OPTIONS=detect_leaks=0 WINPORT_SDL2_SMOKE_CHILD=1 WINPORT_BACKEND=sdl2 '" +
                    SelfPath() +
                    "' --gtest_filter=Sdl2Smoke.ChildRun";
  int status = std::system(cmd.c_str());
  ASSERT_NE(status, -1);
  int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (code == kSkipped) GTEST_SKIP() << "SDL2 back end not available in this build";
  EXPECT_EQ(code, 0);
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
