// The keyed static picture: the exact key left out, colours one unit off drawn, no bitmap, a
// bitmap larger than the control, and a key changed between paints.
#include <gtest/gtest.h>

#include "ControlsTestUtil.h"
#include "controls/StaticPic.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;
using controlstest::Px;

namespace {

constexpr COLORREF kTeal = 0x808000;

class StaticPicWindow : public testsupport::HostWindowTest {
 protected:
  void TearDown() override {
    m_pic.DestroyWindow();
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
    HostWindowTest::TearDown();
  }
  void Make(const CRect& rc, std::shared_ptr<winport::Surface> picture) {
    ASSERT_TRUE(m_pic.Create(L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, rc, &m_top, 5));
    if (picture) {
      m_hBitmap = winport::CreateBitmapFromSurface(picture);
      m_pic.SetBitmap(m_hBitmap);
    }
  }
  CStaticPic m_pic;
  HBITMAP m_hBitmap = nullptr;
};

// Column x of a 6 x 4 picture: the key, one unit off in each channel, then two plain colours.
COLORREF Column(int x) {
  switch (x) {
    case 0: return kTeal;
    case 1: return RGB(1, 128, 128);
    case 2: return RGB(0, 127, 128);
    case 3: return RGB(0, 128, 129);
    case 4: return RGB(255, 0, 0);
    default: return RGB(0, 0, 0);
  }
}

TEST_F(StaticPicWindow, KeyExactlyLeftOutNeighboursDrawn) {
  Make(CRect(10, 10, 30, 30), controlstest::Picture(6, 4, [](int x, int) { return Column(x); }));
  const uint32_t face = Px(::GetSysColor(COLOR_BTNFACE));
  const hl::Image img = Shot(m_pic);
  EXPECT_EQ(img.At(0, 1), face) << "the key shows the erased background";
  for (int x = 1; x < 6; ++x) EXPECT_EQ(img.At(x, 1), Px(Column(x))) << x;
  EXPECT_EQ(img.At(7, 1), face) << "neither stretched nor centred";
  EXPECT_EQ(img.At(2, 6), face);
}

TEST_F(StaticPicWindow, NewKeyAtTheNextPaint) {
  Make(CRect(10, 10, 30, 30), controlstest::Picture(6, 4, [](int x, int) { return Column(x); }));
  hl::Pump();
  m_pic.SetTransColor(RGB(255, 0, 0));
  hl::Image img = Shot(m_pic);
  EXPECT_EQ(img.At(4, 1), Px(RGB(255, 0, 0))) << "no repaint of its own";
  m_pic.Invalidate();
  img = Shot(m_pic);
  EXPECT_EQ(img.At(4, 1), Px(::GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(img.At(0, 1), Px(kTeal)) << "teal is drawn once it is not the key";
}

TEST_F(StaticPicWindow, NoBitmapPaintsNothing) {
  Make(CRect(10, 10, 30, 30), nullptr);
  const hl::Image img = Shot(m_pic);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) ASSERT_EQ(img.At(x, y), Px(::GetSysColor(COLOR_BTNFACE)));
}

TEST_F(StaticPicWindow, LargerBitmapIsClippedAtTheControl) {
  Make(CRect(10, 10, 20, 20), controlstest::Picture(40, 40, [](int, int) { return RGB(200, 0, 200); }));
  const hl::Image top = Shot(m_top);
  EXPECT_EQ(top.At(19, 19), Px(RGB(200, 0, 200)));
  EXPECT_NE(top.At(20, 15), Px(RGB(200, 0, 200)));
  EXPECT_NE(top.At(15, 20), Px(RGB(200, 0, 200)));
  CRect rc;
  m_pic.GetWindowRect(&rc);
  EXPECT_EQ(rc.Size(), CSize(10, 10));
}

}  // namespace
