// The SDL2 back end as a session sees it: window titles and places, the program ended by SIGINT
// or SIGTERM (the loop returns and the windows close), and no start without a display. Windowed
// cases re-run this program under xvfb-run with the inner test selected.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>

#include <winport/afx.h>
#include <winport/window/Backend.h>
#include <winport/window/Sdl2.h>

using namespace winport;

namespace {

constexpr int kSkipped = 77;
constexpr UINT_PTR kSignalTimer = 7;

std::string SelfPath() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  if (n <= 0) return {};
  buf[n] = 0;
  return buf;
}

// Runs the inner test in a virtual display; the exit status of the child, or nullopt when skipped.
std::optional<int> RunChild(const char* signalName) {
  if (std::system("command -v xvfb-run > /dev/null 2>&1") != 0) return std::nullopt;
  const std::string cmd = std::string("timeout 120 xvfb-run -a env ASAN_OPTIONS=detect_leaks=0 WINPORT_SDL2_SESSION_SIGNAL=") +
                          signalName + " '" + SelfPath() + "' --gtest_filter=Sdl2Session.Child > /dev/null 2>&1";
  const int status = std::system(cmd.c_str());
  if (status == -1 || !WIFEXITED(status)) return -1;
  if (WEXITSTATUS(status) == kSkipped) return std::nullopt;
  return WEXITSTATUS(status);
}

// A page-like window that sends the process a signal from its timer.
class CSignalWnd : public CWnd {
 public:
  int m_nSignal = 0;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TIMER && wParam == kSignalTimer) {
      KillTimer(kSignalTimer);
      std::raise(m_nSignal);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

TEST(Sdl2Session, SigintEndsTheLoopAndClosesTheWindows) {
  const auto code = RunChild("INT");
  if (!code) GTEST_SKIP() << "no xvfb-run or no SDL2 back end";
  EXPECT_EQ(*code, 0);
}

TEST(Sdl2Session, SigtermEndsTheLoopAndClosesTheWindows) {
  const auto code = RunChild("TERM");
  if (!code) GTEST_SKIP() << "no xvfb-run or no SDL2 back end";
  EXPECT_EQ(*code, 0);
}

TEST(Sdl2Session, Child) {
  const char* which = std::getenv("WINPORT_SDL2_SESSION_SIGNAL");
  if (!which) GTEST_SKIP() << "runs only inside the session tests";
  if (!SelectBackend("sdl2")) std::exit(kSkipped);
  LPCWSTR cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  CSignalWnd first;
  CWnd second;
  first.m_nSignal = std::string(which) == "TERM" ? SIGTERM : SIGINT;
  ASSERT_TRUE(first.CreateEx(0, cls, L"First page", WS_POPUP | WS_VISIBLE, CRect(30, 40, 130, 100), nullptr, 0));
  ASSERT_TRUE(second.CreateEx(0, cls, L"", WS_POPUP | WS_VISIBLE, CRect(200, 60, 260, 110), nullptr, 0));
  const HWND hFirst = first.m_hWnd, hSecond = second.m_hWnd;

  EXPECT_EQ(sdl2::Title(hFirst), "First page");
  second.SetWindowText(L"Zweite Seite \u00fc");
  EXPECT_EQ(sdl2::Title(hSecond), "Zweite Seite \xc3\xbc");
  POINT at{};
  ASSERT_TRUE(sdl2::Position(hFirst, at));
  EXPECT_EQ(at.x, 30);
  EXPECT_EQ(at.y, 40);
  ASSERT_TRUE(sdl2::Position(hSecond, at));
  EXPECT_EQ(at.x, 200);
  EXPECT_EQ(at.y, 60);

  first.SetTimer(kSignalTimer, 100, nullptr);
  while (AfxPumpMessage()) {
  }
  EXPECT_FALSE(IsWindow(hFirst));
  EXPECT_FALSE(IsWindow(hSecond));
}

TEST(Sdl2Session, NoDisplayIsRefusedWithAMessage) {
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  } saved[] = {{"DISPLAY", {}}, {"WAYLAND_DISPLAY", {}}, {"SDL_VIDEODRIVER", {}}};
  for (Saved& s : saved) {
    if (const char* v = std::getenv(s.name)) s.value = v;
    unsetenv(s.name);
  }
  testing::internal::CaptureStderr();
  const bool started = SelectBackend("sdl2");
  const std::string said = testing::internal::GetCapturedStderr();
  for (const Saved& s : saved)
    if (s.value) setenv(s.name, s.value->c_str(), 1);
  if (started) SelectBackend("headless");
  EXPECT_FALSE(started);
  EXPECT_STREQ(BackendName(), "headless");
  EXPECT_NE(said.find("no display"), std::string::npos) << said;
}

}  // namespace
