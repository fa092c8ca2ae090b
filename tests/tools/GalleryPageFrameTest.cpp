// A page window's programme runs only while someone can watch it: paused by a click on the
// title band, stopped while minimised, and it goes on where it stopped.
#include <gtest/gtest.h>

#include <winport/afx.h>
#include <winport/headless.h>

#include "tools/gallery/PageFrame.h"

namespace {

namespace hl = winport::headless;

class CountingPage : public gallery::Page {
 public:
  const char* Name() const override { return "counting"; }
  SIZE ClientSize() const override { return {200, 100}; }
  void Create(CWnd*) override {}
  void Tick(unsigned ms) override {
    ++ticks;
    last = ms;
  }
  int ticks = 0;
  unsigned last = 0;
};

TEST(GalleryPageFrame, PausedOrMinimisedPagesDoNotTickAndResumeWhereTheyStopped) {
  hl::Reset();
  CountingPage page;
  gallery::CPageFrame frame;
  ASSERT_TRUE(frame.CreatePage(&page, TRUE, POINT{0, 0}));
  hl::Advance(200);
  EXPECT_EQ(page.last, 200u);

  hl::MouseDown(frame, 20, gallery::kTitleHeight / 2);  // the title band
  hl::MouseUp(frame, 20, gallery::kTitleHeight / 2);
  EXPECT_TRUE(frame.IsPaused());
  const int before = page.ticks;
  hl::Advance(1000);
  EXPECT_EQ(page.ticks, before);
  hl::MouseDown(frame, 20, gallery::kTitleHeight / 2);
  hl::Advance(100);
  EXPECT_FALSE(frame.IsPaused());
  EXPECT_EQ(page.last, 300u) << "the programme goes on from where it was paused";

  hl::MouseDown(frame, 20, gallery::kTitleHeight + 20);  // the page itself: no pause
  EXPECT_FALSE(frame.IsPaused());

  frame.SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_FALSE(frame.IsTicking());
  const int minimised = page.ticks;
  hl::Advance(500);
  EXPECT_EQ(page.ticks, minimised);
  frame.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100 + gallery::kTitleHeight));
  EXPECT_TRUE(frame.IsTicking());
  frame.DestroyWindow();
}

}  // namespace
