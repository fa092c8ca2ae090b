// The splash: the enable gate, default size and blue fill, pictures from BMP and PNG files and
// from resources, placement on 4:3, 16:9 and 32:9 screens, the one-second lifetime, every
// dismissing message (and the ones that are not), and the progress message strip.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ControlsTestUtil.h"
#include "controls/SplashLogic.h"
#include "controls/SplashWnd.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;
using controlstest::Px;

namespace {

TEST(SplashGeometry, PlacementAndStrip) {
  // Centred rectangles of a 450 x 310 splash.
  EXPECT_EQ(splash::Placement(RECT{287, 229, 737, 539}, 1024, 768).x, 287);
  EXPECT_EQ(splash::Placement(RECT{287, 229, 737, 539}, 1024, 768).y, 214);
  EXPECT_EQ(splash::Placement(RECT{1695, 385, 2145, 695}, 3840, 1080).x, 735) << "left half of 32:9";
  EXPECT_EQ(splash::Placement(RECT{1695, 385, 2145, 695}, 3840, 1920).x, 735) << "exactly 2:1 counts";
  EXPECT_EQ(splash::Placement(RECT{1695, 385, 2145, 695}, 3840, 1921).x, 1695);
  EXPECT_EQ(splash::Placement(RECT{0, 0, 10, 10}, 0x7FFFFFFF, 0x7FFFFFFF).x, 0) << "no overflow";
  const RECT s = splash::MessageStrip(RECT{0, 0, 450, 310});
  EXPECT_EQ(s.left, 5);
  EXPECT_EQ(s.top, 294);
  EXPECT_EQ(s.right, 270);
  EXPECT_EQ(s.bottom, 310);
}

// A 24-bit bottom-up BMP file of the picture.
void WriteBmp(const std::string& path, const winport::Surface& s) {
  const int w = s.Width(), h = s.Height(), stride = (w * 3 + 3) & ~3;
  const std::uint32_t size = 54 + static_cast<std::uint32_t>(stride * h);
  std::vector<std::uint8_t> b(size, 0);
  auto put32 = [&](int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[static_cast<size_t>(at + i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(w));
  put32(22, static_cast<std::uint32_t>(h));
  b[26] = 1;
  b[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = s.At(x, h - 1 - y);
      std::uint8_t* d = &b[static_cast<size_t>(54 + y * stride + x * 3)];
      d[0] = p & 0xFF;
      d[1] = (p >> 8) & 0xFF;
      d[2] = (p >> 16) & 0xFF;
    }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(size));
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

class CHostWnd : public CWnd {
 public:
  std::vector<UINT> seen;
  BOOL PreTranslateMessage(MSG* pMsg) override { return CSplashWnd::PreTranslateAppMessage(pMsg); }
  LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
    if (m == WM_LBUTTONDOWN || m == WM_KEYDOWN || m == WM_RBUTTONDOWN) seen.push_back(m);
    return CWnd::WindowProc(m, w, l);
  }
};

class SplashWindow : public testsupport::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    CSplashWnd::EnableSplashScreen(TRUE);
  }
  void TearDown() override {
    CSplashWnd::DestroySplashScreen();
    CSplashWnd::EnableSplashScreen(FALSE);
    HostWindowTest::TearDown();
  }
  void Screen(int cx, int cy) {
    m_top.DestroyWindow();
    hl::Reset({cx, cy});
  }
  static CSplashWnd* Splash() { return CSplashWnd::c_pSplashWnd; }
  static CRect SplashRect() {
    CRect rc;
    Splash()->GetWindowRect(&rc);
    return rc;
  }
  std::string TempFile(const char* name) {
    const std::string dir = PARVANEU_TEST_OUTPUT_DIR "/splash";
    std::filesystem::create_directories(dir);
    return dir + "/" + name;
  }
};

TEST_F(SplashWindow, NothingShowsUntilEnabled) {
  CSplashWnd::EnableSplashScreen(FALSE);
  CSplashWnd::ShowSplashScreen(L"nothing.bmp", nullptr, TRUE);
  CSplashWnd::ShowSplashScreen(1u, nullptr);
  EXPECT_EQ(Splash(), nullptr);
  EXPECT_FALSE(CSplashWnd::Show(SW_SHOW));
  CSplashWnd::ShowTitleMessage(L"dropped", RGB(255, 255, 255));  // no splash: nothing happens
}

TEST_F(SplashWindow, WithoutAPictureBlueAndCentredOnSixteenByNine) {
  CSplashWnd::ShowSplashScreen(L"/no/such/picture.bmp", nullptr, TRUE);
  ASSERT_NE(Splash(), nullptr);
  EXPECT_EQ(SplashRect(), CRect(735, 370, 735 + 450, 370 + 310));
  EXPECT_EQ(Splash()->GetExStyle() & WS_EX_TOPMOST, static_cast<DWORD>(WS_EX_TOPMOST));
  EXPECT_EQ(::GetTopWindow(nullptr), Splash()->GetSafeHwnd()) << "above the host";
  const hl::Image img = hl::Capture(Splash()->GetSafeHwnd());
  EXPECT_EQ(img.At(0, 0), Px(0xFF0000));
  EXPECT_EQ(img.At(449, 309), Px(0xFF0000));
  EXPECT_EQ(img.At(0, 0), 0x0000FFu) << "pure blue";
  // A second splash while one is up does nothing.
  CSplashWnd* first = Splash();
  CSplashWnd::ShowSplashScreen(L"/no/such/other.bmp", nullptr, TRUE);
  EXPECT_EQ(Splash(), first);
}

TEST_F(SplashWindow, PlacementOnFourByThreeAndThirtyTwoByNine) {
  Screen(1024, 768);
  CSplashWnd::ShowSplashScreen(L"", nullptr, TRUE);
  ASSERT_NE(Splash(), nullptr);
  EXPECT_EQ(SplashRect().TopLeft(), CPoint(287, 214));
  CSplashWnd::DestroySplashScreen();
  EXPECT_EQ(Splash(), nullptr);
  Screen(3840, 1080);
  CSplashWnd::ShowSplashScreen(L"", nullptr, TRUE);
  ASSERT_NE(Splash(), nullptr);
  EXPECT_EQ(SplashRect().TopLeft(), CPoint(735, 370)) << "centred in the left half";
}

TEST_F(SplashWindow, PicturesFromBmpPngAndResources) {
  auto pic = controlstest::Picture(120, 80, [](int x, int y) { return RGB(x * 2, y * 3, 77); });
  const std::string bmp = TempFile("splash.bmp"), png = TempFile("splash.png");
  WriteBmp(bmp, *pic);
  ASSERT_TRUE(winport::WritePng(*pic, png.c_str()));
  controlstest::RegisterBitmap(L"IDB_TEST_SPLASH", *pic);
  struct Source {
    std::wstring name;
    BOOL file;
  } sources[] = {{Wide(bmp), TRUE}, {Wide(png), TRUE}, {L"IDB_TEST_SPLASH", FALSE}};
  for (const Source& s : sources) {
    CSplashWnd::ShowSplashScreen(s.name.c_str(), nullptr, s.file);
    ASSERT_NE(Splash(), nullptr);
    EXPECT_EQ(SplashRect().Size(), CSize(120, 80));
    EXPECT_EQ(CSplashWnd::m_rect, CRect(0, 0, 120, 80));
    const hl::Image img = hl::Capture(Splash()->GetSafeHwnd());
    EXPECT_EQ(img.At(10, 20), Px(RGB(20, 60, 77)));
    EXPECT_EQ(img.At(119, 79), Px(RGB(238, 237, 77)));
    CSplashWnd::DestroySplashScreen();
  }
  CSplashWnd::ShowSplashScreen(L"IDB_NO_SUCH_SPLASH", nullptr, FALSE);
  ASSERT_NE(Splash(), nullptr);
  EXPECT_EQ(SplashRect().Size(), CSize(450, 310));
}

TEST_F(SplashWindow, GoesAwayAfterOneSecond) {
  CSplashWnd::ShowSplashScreen(L"", &m_top, TRUE);
  ASSERT_NE(Splash(), nullptr);
  hl::Advance(999);
  EXPECT_NE(Splash(), nullptr);
  hl::Advance(1);
  EXPECT_EQ(Splash(), nullptr);
  // Shown again while still enabled.
  CSplashWnd::ShowSplashScreen(L"", &m_top, TRUE);
  EXPECT_NE(Splash(), nullptr);
}

TEST_F(SplashWindow, EveryDismissingMessageClosesItAndIsSwallowed) {
  const UINT dismissing[] = {WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN, WM_KEYDOWN,
                             WM_SYSKEYDOWN,    WM_LBUTTONDOWN,   WM_RBUTTONDOWN,   WM_MBUTTONDOWN};
  for (UINT m : dismissing) {
    CSplashWnd::ShowSplashScreen(L"", nullptr, TRUE);
    ASSERT_NE(Splash(), nullptr);
    MSG msg{m_top.GetSafeHwnd(), m, 0, 0, 0, {}};
    EXPECT_TRUE(CSplashWnd::PreTranslateAppMessage(&msg)) << std::hex << m;
    EXPECT_EQ(Splash(), nullptr) << std::hex << m;
  }
  CSplashWnd::ShowSplashScreen(L"", nullptr, TRUE);
  for (UINT m : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_KEYUP, WM_CHAR, WM_TIMER, WM_PAINT, WM_LBUTTONDBLCLK}) {
    MSG msg{m_top.GetSafeHwnd(), m, 0, 0, 0, {}};
    EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&msg)) << std::hex << m;
  }
  EXPECT_NE(Splash(), nullptr);
  // Without a splash nothing is swallowed.
  CSplashWnd::DestroySplashScreen();
  MSG msg{m_top.GetSafeHwnd(), WM_LBUTTONDOWN, 0, 0, 0, {}};
  EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&msg));
}

TEST_F(SplashWindow, TheHostsFirstClickClosesItAndIsNotDelivered) {
  CHostWnd host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
  CSplashWnd::ShowSplashScreen(L"", nullptr, TRUE);
  ASSERT_NE(Splash(), nullptr);
  hl::MouseDown(host, 10, 10);
  hl::MouseUp(host, 10, 10);
  EXPECT_EQ(Splash(), nullptr);
  EXPECT_TRUE(host.seen.empty());
  hl::MouseDown(host, 10, 10);
  EXPECT_EQ(host.seen, std::vector<UINT>{WM_LBUTTONDOWN}) << "later clicks arrive";
  // A click on the splash itself goes through its own pre-translation.
  CSplashWnd::ShowSplashScreen(L"", nullptr, TRUE);
  hl::MouseDown(Splash()->GetSafeHwnd(), 5, 5);
  EXPECT_EQ(Splash(), nullptr);
  host.DestroyWindow();
}

TEST_F(SplashWindow, ProgressMessageInTheStripReplacedByTheNext) {
  auto pic = controlstest::Picture(450, 310, [](int, int) { return RGB(0, 60, 0); });
  controlstest::RegisterBitmap(L"IDB_TEST_SPLASH_GREEN", *pic);
  CSplashWnd::ShowSplashScreen(L"IDB_TEST_SPLASH_GREEN", nullptr, FALSE);
  ASSERT_NE(Splash(), nullptr);
  CSplashWnd::ShowTitleMessage(L"WWWWWWWWWWWWWWWW", RGB(255, 255, 0));
  auto ink = [&](int x0, int y0, int x1, int y1) {
    const hl::Image img = hl::Capture(Splash()->GetSafeHwnd());
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += img.At(x, y) != Px(RGB(0, 60, 0));
    return n;
  };
  EXPECT_GT(ink(5, 294, 270, 310), 20) << "text in the strip";
  EXPECT_EQ(ink(0, 0, 450, 294), 0) << "nothing above the strip";
  EXPECT_EQ(ink(0, 294, 5, 310), 0);
  EXPECT_EQ(ink(270, 294, 450, 310), 0) << "clipped at right - 180";
  const int far = ink(60, 294, 270, 310);
  EXPECT_GT(far, 0);
  CSplashWnd::ShowTitleMessage(L".", RGB(255, 255, 0));
  EXPECT_EQ(ink(60, 294, 270, 310), 0) << "the old message was painted over from the picture";
  EXPECT_GT(ink(5, 294, 60, 310), 0);
}

}  // namespace
