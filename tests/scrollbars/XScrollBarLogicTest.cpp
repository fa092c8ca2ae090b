// The skinned bar's rules without a window: parts, thumb, hit test, position model, the hover
// capture decisions and the repeat schedule.
#include <gtest/gtest.h>

#include <climits>

#include "scrollbars/XScrollBarLogic.h"

using namespace xsb;

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct Bar {
  SModel m;
  SParts p;
  Directions2 dir;
  Bar(int w, int h, SIZE btn, Directions2 d, int size, int page, int pos = 0) : dir(d) {
    p = ComputeParts(w, h, btn, d);
    SetScrollSize(m, size, page, d == dirHorz ? w : h);
    m.nPos = ClampPos(m, pos);
  }
  RECT Thumb() const { return ThumbRect(m, p.rcMove, dir); }
};

TEST(XSBGeometry, WorkedExampleOfAHorizontalBar) {
  Bar b(200, 16, SIZE{16, 16}, dirHorz, 1000, 100, 450);
  EXPECT_TRUE(Same(b.p.rcPrevBtn, RECT{0, 0, 16, 16}));
  EXPECT_TRUE(Same(b.p.rcNextBtn, RECT{184, 0, 200, 16}));
  EXPECT_TRUE(Same(b.p.rcMove, RECT{16, 0, 184, 16}));
  int len;
  float upp;
  ThumbInfo(b.m, b.p.rcMove, dirHorz, len, upp);
  EXPECT_EQ(len, 16);
  EXPECT_FLOAT_EQ(upp, 5.952381f);
  EXPECT_TRUE(Same(b.Thumb(), RECT{91, 0, 108, 16}));
}

TEST(XSBGeometry, VerticalPartsAndButtonsTakingBothDimensions) {
  SParts p = ComputeParts(20, 100, SIZE{16, 12}, dirVert);
  EXPECT_TRUE(Same(p.rcPrevBtn, RECT{0, 0, 16, 12}));
  EXPECT_TRUE(Same(p.rcNextBtn, RECT{4, 88, 20, 100}));
  EXPECT_TRUE(Same(p.rcMove, RECT{0, 12, 20, 88}));
}

TEST(XSBGeometry, ButtonSizesAtTheIntLimitsGiveDrawableParts) {
  for (LONG btn : {INT_MIN, INT_MAX, 1 << 30})
    for (Directions2 d : {dirHorz, dirVert}) {
      const Bar b(200, 16, SIZE{btn, btn}, d, 1000, 100, 500);
      for (const RECT& r : {b.p.rcPrevBtn, b.p.rcNextBtn, b.p.rcMove, b.Thumb()})
        for (LONG v : {r.left, r.top, r.right, r.bottom}) {
          EXPECT_LE(v, winport::kCoordLimit) << btn;
          EXPECT_GE(v, -winport::kCoordLimit) << btn;
        }
      int len;
      float upp;
      ThumbInfo(b.m, b.p.rcMove, d, len, upp);
      EXPECT_GE(len, 0);
      (void)HitTest(b.p, b.m, d, POINT{100, 8}, nullptr);
    }
}

TEST(XSBGeometry, DegenerateThumbs) {
  // Size 0, or a track under 4 pixels: the thumb is the whole track and drags go nowhere.
  for (Bar b : {Bar(200, 16, SIZE{16, 16}, dirHorz, 0, 0), Bar(35, 16, SIZE{16, 16}, dirHorz, 1000, 10)}) {
    EXPECT_TRUE(Same(b.Thumb(), b.p.rcMove));
    for (int x = b.p.rcMove.left; x < b.p.rcMove.right; ++x)
      EXPECT_EQ(HitTest(b.p, b.m, dirHorz, POINT{x, 5}, nullptr), hitMoveBtn) << x;
    EXPECT_EQ(DragPos(b.m, b.p.rcMove, dirHorz, 0, 50), 0);
  }
  // Page at least the size: the thumb fills the track and the position stays 0.
  Bar full(200, 16, SIZE{16, 16}, dirHorz, 100, 300, 50);
  EXPECT_EQ(full.m.nPos, 0);
  EXPECT_EQ(full.Thumb().right - full.Thumb().left, 168 + 1);
  // A tiny page: 4 computed pixels, drawn 5 long.
  Bar tiny(200, 16, SIZE{16, 16}, dirHorz, 100000, 1);
  EXPECT_EQ(tiny.Thumb().right - tiny.Thumb().left, 5);
}

TEST(XSBGeometry, ThumbLengthOfLargeRangesDoesNotWrap) {
  // page x track = 1.5e9 x 1000 passes 32 bits.
  Bar b(1032, 16, SIZE{16, 16}, dirHorz, 2000000000, 1500000000);
  int len;
  float upp;
  ThumbInfo(b.m, b.p.rcMove, dirHorz, len, upp);
  EXPECT_EQ(len, 750);
  b.m.nPos = ClampPos(b.m, INT_MAX);
  EXPECT_EQ(b.Thumb().right, 16 + 250 + 750 + 1);
}

TEST(XSBHitTesting, PartsEdgesAndTheOutsideBorder) {
  Bar b(200, 16, SIZE{16, 16}, dirHorz, 1000, 100, 450);  // thumb 91..108
  XSBHitTest h{hitMoveBtn, RECT{1, 2, 3, 4}};
  EXPECT_EQ(HitTest(b.p, b.m, dirHorz, POINT{0, 5}, &h), hitNone);
  EXPECT_EQ(h.result, hitNone);
  EXPECT_TRUE(Same(h.rect, RECT{1, 2, 3, 4}));  // only the result is written
  EXPECT_EQ(HitTest(b.p, b.m, dirHorz, POINT{5, 0}, nullptr), hitNone);
  EXPECT_EQ(HitTest(b.p, b.m, dirHorz, POINT{200, 5}, nullptr), hitNone);
  EXPECT_EQ(HitTest(b.p, b.m, dirHorz, POINT{15, 5}, &h), hitPrevBtn);
  EXPECT_TRUE(Same(h.rect, b.p.rcPrevBtn));
  EXPECT_EQ(HitTest(b.p, b.m, dirHorz, POINT{184, 5}, &h), hitNextBtn);
  EXPECT_EQ(HitTest(b.p, b.m, dirHorz, POINT{91, 5}, &h), hitMoveBtn);
  EXPECT_TRUE(Same(h.rect, RECT{91, 0, 108, 16}));
  EXPECT_EQ(HitTest(b.p, b.m, dirHorz, POINT{90, 5}, &h), hitMovePrev);
  EXPECT_TRUE(Same(h.rect, b.p.rcMove));
  EXPECT_EQ(HitTest(b.p, b.m, dirHorz, POINT{108, 5}, &h), hitMoveNext);
  // A bar thicker than its buttons: points beside them classify by the thumb.
  Bar thick(200, 30, SIZE{16, 16}, dirHorz, 1000, 100, 450);
  EXPECT_EQ(HitTest(thick.p, thick.m, dirHorz, POINT{5, 20}, nullptr), hitMovePrev);
  EXPECT_EQ(HitTest(thick.p, thick.m, dirHorz, POINT{190, 10}, nullptr), hitMoveNext);
}

TEST(XSBPositionModel, SizesPagesAndClamping) {
  SModel m;
  SetScrollSize(m, -5, 0, 200);
  EXPECT_EQ(m.nScrollSize, 0);
  EXPECT_EQ(m.nPageSize, 0);
  EXPECT_EQ(m.nPos, 0);
  SetScrollSize(m, 1000, 0, 200);
  EXPECT_EQ(m.nPageSize, 200);
  EXPECT_EQ(ScrollPos(m, 5000), 800);
  EXPECT_EQ(ScrollPos(m, -30), -30);
  EXPECT_EQ(ScrollPos(m, INT_MIN), -770);
  m.nPos = 790;
  // A smaller size bounds the position by the size alone until the next clamp.
  SetScrollSize(m, 900, 300, 200);
  EXPECT_EQ(m.nPos, 790);
  EXPECT_EQ(ClampPos(m, m.nPos), 600);
  // Upper bound first, then 0: a page larger than the size gives 0.
  SModel odd{100, 0, 150, 5};
  EXPECT_EQ(ClampPos(odd, 50), 0);
  EXPECT_EQ(ClampPos(SModel{100, 0, 10, 5}, LLONG_MAX), 90);
}

TEST(XSBPositionModel, DragsMeasureFromThePressPosition) {
  Bar b(200, 16, SIZE{16, 16}, dirHorz, 1000, 100, 450);
  EXPECT_EQ(DragPos(b.m, b.p.rcMove, dirHorz, 450, 10), 450 + 59);  // 10 x 5.952381 truncated
  EXPECT_EQ(DragPos(b.m, b.p.rcMove, dirHorz, 450, -1), 450 - 5);
  EXPECT_EQ(DragPos(b.m, b.p.rcMove, dirHorz, 450, 0), 450);
  EXPECT_EQ(DragPos(b.m, b.p.rcMove, dirHorz, 450, 1000), 900);
  EXPECT_EQ(DragPos(b.m, b.p.rcMove, dirHorz, 450, INT_MIN), 0);
}

TEST(XSBStateMachine, CaptureFollowsTheHoveredPart) {
  EXPECT_EQ(HoverCapture(hitNone, hitPrevBtn, false), captureSet);
  EXPECT_EQ(HoverCapture(hitPrevBtn, hitMoveBtn, false), captureSet);
  EXPECT_EQ(HoverCapture(hitPrevBtn, hitPrevBtn, false), captureKeep);
  EXPECT_EQ(HoverCapture(hitPrevBtn, hitNone, false), captureRelease);
  EXPECT_EQ(HoverCapture(hitPrevBtn, hitNone, true), captureKeep);  // held: keep seeing moves
  SModel m{1000, 0, 100, 5};
  EXPECT_EQ(PushDelta(hitPrevBtn, m), -5);
  EXPECT_EQ(PushDelta(hitNextBtn, m), 5);
  EXPECT_EQ(PushDelta(hitMovePrev, m), -100);
  EXPECT_EQ(PushDelta(hitMoveNext, m), 100);
  EXPECT_EQ(PushDelta(hitMoveBtn, m), 0);
  EXPECT_EQ(PushDelta(hitPrevBtn, SModel{0, 0, 0, INT_MIN}), INT_MAX);
  EXPECT_EQ(PartState(hitNextBtn, hitNextBtn, true), btnPressed);
  EXPECT_EQ(PartState(hitNextBtn, hitNextBtn, false), btnHot);
  EXPECT_EQ(PartState(hitNextBtn, hitPrevBtn, true), btnNormal);
}

TEST(XSBStateMachine, RepeatScheduleSwitchesTimersOnce) {
  EXPECT_EQ(RepeatTimer(TIMER_FIRST), repeatSwitchAndStep);
  EXPECT_EQ(RepeatTimer(TIMER_REPEAT), repeatStep);
  EXPECT_EQ(RepeatTimer(1), repeatDrop);
  EXPECT_EQ(FIRST_DELAY_MS, 500u);
  EXPECT_EQ(REPEAT_MS, 50u);
  EXPECT_TRUE(RepeatSteps(hitNextBtn, hitNextBtn));
  EXPECT_FALSE(RepeatSteps(hitNone, hitNextBtn));
}

}  // namespace

namespace {

TEST(XSBScrollWindowRules, DefaultStepsBarNeedAndWheel) {
  SIZE page, line;
  DefaultSteps(SIZE{1000, 500}, SIZE{0, 0}, SIZE{0, 0}, page, line);
  EXPECT_EQ(page.cx, 100);
  EXPECT_EQ(page.cy, 50);
  EXPECT_EQ(line.cx, 10);
  EXPECT_EQ(line.cy, 5);
  DefaultSteps(SIZE{1000, 500}, SIZE{300, 0}, SIZE{0, 7}, page, line);
  EXPECT_EQ(line.cx, 30);
  EXPECT_EQ(line.cy, 7);
  // Bars inside the client: a vertical bar makes the horizontal one needed.
  SBarNeed n = BarNeed(SIZE{395, 1000}, SIZE{400, 300}, SIZE{17, 17}, POINT{50, 900}, true);
  EXPECT_TRUE(n.bNeedH && n.bNeedV);
  EXPECT_EQ(n.sizeRange.cx, 12);
  EXPECT_EQ(n.sizeRange.cy, 717);
  EXPECT_EQ(n.ptMove.x, 0);    // reset before the vertical bar made the horizontal one needed
  EXPECT_EQ(n.ptMove.y, 717);
  // Counted from the client alone, each axis stands on its own.
  n = BarNeed(SIZE{395, 1000}, SIZE{400, 300}, SIZE{17, 17}, POINT{50, 900}, false);
  EXPECT_FALSE(n.bNeedH);
  EXPECT_EQ(n.ptMove.x, 0);
  EXPECT_TRUE(n.bNeedV);
  EXPECT_EQ(WheelDelta(120, 10, 100), -30);
  EXPECT_EQ(WheelDelta(-120, 10, 100), 30);
  EXPECT_EQ(WheelDelta(40, 10, 100), -100);
  EXPECT_EQ(WheelDelta(-40, 10, 100), 10);
  EXPECT_EQ(WheelDelta(-1200, 10, 100), 100);
  EXPECT_EQ(WheelDelta(1200, 10, 100), -300);
  POINT p{INT_MAX - 1, 0};
  Shift(&p, 10, -10);
  EXPECT_EQ(p.x, INT_MAX);
  EXPECT_EQ(p.y, -10);
}

}  // namespace
