// The stock skins' pixels (arrow triangles, frames, checkerboard parity, the glass thumb) and the
// stock instances' lifetime.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

#include "scrollbars/XSBSkinBlueGlass.h"
#include "scrollbars/XSBSkinFlat.h"
#include "scrollbars/XSBSkinNormal.h"
#include "scrollbars/XSBStockSkinAutoRelease.h"
#include "scrollbars/XScrollBarLogic.h"
#include "support/Canvas.h"

using testsupport::Canvas;
using testsupport::kBlack;
using testsupport::kRed;

namespace {

const COLORREF kScroll = GetSysColor(COLOR_SCROLLBAR);
const COLORREF kShadow = GetSysColor(COLOR_BTNSHADOW);
const COLORREF kDkShadow = GetSysColor(COLOR_3DDKSHADOW);
const COLORREF kLight = GetSysColor(COLOR_BTNHIGHLIGHT);
const COLORREF kWin = GetSysColor(COLOR_WINDOW);

std::vector<uint32_t> Px(const Canvas& c) { return {c.surface->Pixels().begin(), c.surface->Pixels().end()}; }

// Pixels of colour c in column x (or row y) of a box.
int InColumn(const Canvas& c, int x, int t, int b, COLORREF col) { return c.Count(x, t, x + 1, b, col); }

TEST(SkinArrows, TrianglesOfOnePixelLinesInEachDirection) {
  CXSBSkinNormal skin;
  const RECT rc{0, 0, 16, 16};
  Canvas left(16, 16, kRed);
  skin.DrawDirectionMark(&left.dc, &rc, btnNormal, dirLeft);
  // n = 4: columns 5..8 with 1, 3, 5, 7 pixels, rows cy-1-i .. cy+i-1 around cy = 8.
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(InColumn(left, 5 + i, 0, 16, kBlack), 2 * i + 1) << i;
    EXPECT_EQ(left.At(5 + i, 7 - i), kBlack);
    EXPECT_EQ(left.At(5 + i, 8 + i), kRed);
  }
  EXPECT_EQ(left.CountNot(0, 0, 16, 16, kRed), 16);
  Canvas right(16, 16, kRed);
  skin.DrawDirectionMark(&right.dc, &rc, btnNormal, dirRight);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(InColumn(right, 10 - i, 0, 16, kBlack), 2 * i + 1) << i;
  Canvas up(16, 16, kRed), down(16, 16, kRed);
  skin.DrawDirectionMark(&up.dc, &rc, btnNormal, dirUp);
  skin.DrawDirectionMark(&down.dc, &rc, btnNormal, dirDown);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(up.Count(0, 5 + i, 16, 6 + i, kBlack), 2 * i + 1) << i;
    EXPECT_EQ(down.Count(0, 10 - i, 16, 11 - i, kBlack), 2 * i + 1) << i;
  }
  // Under 4 pixels wide: nothing.
  Canvas narrow(16, 16, kRed);
  const RECT thin{0, 0, 3, 16};
  skin.DrawDirectionMark(&narrow.dc, &thin, btnNormal, dirLeft);
  EXPECT_EQ(narrow.CountNot(0, 0, 16, 16, kRed), 0);
}

TEST(SkinArrows, AHugeButtonDrawsItsVisibleLinesExactlyAndNoOthers) {
  CXSBSkinNormal skin;
  // A 2^30 button (n = 2^28 lines) whose left-pointing tip falls on column 10, middle row 32.
  const LONG side = 1 << 30, n = side / 4;
  const RECT rc{10 - n - 1, 32 - side / 2, 10 - n - 1 + side, 32 + side / 2};
  Canvas c(64, 64, kRed);
  const auto t0 = std::chrono::steady_clock::now();
  skin.DrawDirectionMark(&c.dc, &rc, btnNormal, dirLeft);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2)) << "work beyond the clip";
  for (int i = 0; i < 54; ++i)
    EXPECT_EQ(InColumn(c, 10 + i, 0, 64, kBlack), std::min(32 + i, 64) - std::max(31 - i, 0)) << i;
  EXPECT_EQ(c.CountNot(0, 0, 10, 64, kRed), 0);
  EXPECT_EQ(xsb::ArrowMarkLines(rc, dirLeft, RECT{0, 0, 64, 64}).size(), 54u);
}

TEST(SkinArrows, PenPerStateAndSkin) {
  const RECT rc{0, 0, 16, 16};
  CXSBSkinNormal normal;
  CXSBSkinFlat flat;
  CXSBSkinBlueGlass glass;
  struct Case {
    CXScrollBarSkin* skin;
    BtnStates state;
    COLORREF want;
  } cases[] = {{&normal, btnDisabled, kShadow}, {&normal, btnHot, kBlack},  {&normal, btnPressed, kBlack},
               {&flat, btnHot, kWin},           {&flat, btnPressed, kWin},  {&flat, btnDisabled, kShadow},
               {&flat, btnNormal, kBlack},      {&glass, btnHot, kWin},     {&glass, btnNormal, kBlack}};
  for (const Case& c : cases) {
    Canvas cv(16, 16, kRed);
    c.skin->DrawDirectionMark(&cv.dc, &rc, c.state, dirLeft);
    EXPECT_EQ(cv.At(8, 7), c.want) << c.state;
  }
}

TEST(SkinFrames, NormalButtonRaisedOrSunk) {
  CXSBSkinNormal skin;
  const RECT rc{2, 2, 18, 18};
  Canvas cv(20, 20, kRed);
  skin.DrawButton(&cv.dc, &rc, btnNormal, dirHorz);
  EXPECT_EQ(cv.At(2, 10), kScroll);     // outer left/top in the face pen
  EXPECT_EQ(cv.At(10, 2), kScroll);
  EXPECT_EQ(cv.At(17, 10), kDkShadow);  // outer right/bottom dark
  EXPECT_EQ(cv.At(10, 17), kDkShadow);
  EXPECT_EQ(cv.At(3, 10), kLight);      // inner left/top light
  EXPECT_EQ(cv.At(10, 3), kLight);
  EXPECT_EQ(cv.At(16, 10), kShadow);    // inner right/bottom shadow
  EXPECT_EQ(cv.At(10, 16), kShadow);
  EXPECT_EQ(cv.At(10, 10), kScroll);
  EXPECT_EQ(cv.At(1, 1), kRed);
  // Hot and disabled look like rest; pressed is a flat shadow frame.
  for (BtnStates s : {btnHot, btnDisabled}) {
    Canvas other(20, 20, kRed);
    skin.DrawButton(&other.dc, &rc, s, dirHorz);
    EXPECT_EQ(Px(other), Px(cv)) << s;
  }
  Canvas pressed(20, 20, kRed);
  skin.DrawButton(&pressed.dc, &rc, btnPressed, dirHorz);
  EXPECT_EQ(pressed.At(2, 10), kShadow);
  EXPECT_EQ(pressed.At(17, 10), kShadow);
  EXPECT_EQ(pressed.At(3, 10), kScroll);
  // The thumb never looks pressed.
  Canvas thumb(20, 20, kRed);
  skin.DrawDragBar(&thumb.dc, &rc, btnPressed, dirHorz);
  EXPECT_EQ(Px(thumb), Px(cv));
}

TEST(SkinFrames, FlatButtonsFillByStateInsideAShadowFrame) {
  CXSBSkinFlat flat;
  CXSBSkinBlueGlass glass;
  const RECT rc{0, 0, 16, 16};
  struct Case {
    CXScrollBarSkin* skin;
    BtnStates state;
    COLORREF fill;
  } cases[] = {{&flat, btnNormal, kScroll}, {&flat, btnHot, kShadow}, {&flat, btnPressed, kBlack},
               {&glass, btnNormal, RGB(255, 255, 255)}, {&glass, btnPressed, kBlack}};
  for (const Case& c : cases) {
    Canvas cv(16, 16, kRed);
    c.skin->DrawButton(&cv.dc, &rc, c.state, dirVert);
    EXPECT_EQ(cv.At(8, 8), c.fill) << c.state;
    EXPECT_EQ(cv.Count(0, 0, 16, 1, kShadow), 16);
    EXPECT_EQ(cv.Count(0, 15, 16, 16, kShadow), 16);
    EXPECT_EQ(cv.Count(15, 0, 16, 16, kShadow), 16);
  }
  // The flat thumb looks hot when pressed.
  Canvas thumb(16, 16, kRed);
  flat.DrawDragBar(&thumb.dc, &rc, btnPressed, dirHorz);
  EXPECT_EQ(thumb.At(8, 8), kShadow);
}

TEST(SkinTracks, CheckerboardParityAndPressedBlack) {
  CXSBSkinNormal normal;
  CXSBSkinFlat flat;
  for (CXScrollBarSkin* skin : {static_cast<CXScrollBarSkin*>(&normal), static_cast<CXScrollBarSkin*>(&flat)}) {
    for (BtnStates s : {btnNormal, btnHot, btnDisabled}) {
      Canvas cv(40, 40, kRed);
      const RECT rc{3, 5, 21, 30};
      skin->DrawScrollMoveRect(&cv.dc, &rc, s, dirVert);
      for (int y = 5; y < 30; ++y)
        for (int x = 3; x < 21; ++x) ASSERT_EQ(cv.At(x, y), (x + y) % 2 ? kWin : kScroll) << x << "," << y;
      EXPECT_EQ(cv.At(2, 5), kRed);
    }
    Canvas pressed(40, 40, kRed);
    const RECT rc{3, 5, 21, 30};
    skin->DrawScrollMoveRect(&pressed.dc, &rc, btnPressed, dirVert);
    EXPECT_EQ(pressed.Count(3, 5, 21, 30, kBlack), 18 * 25);
  }
}

TEST(SkinTracks, GlassGrooveAndPressedInset) {
  CXSBSkinBlueGlass glass;
  const RECT rc{0, 0, 30, 16};
  Canvas cv(30, 16, kRed);
  glass.DrawScrollMoveRect(&cv.dc, &rc, btnNormal, dirHorz);
  const COLORREF grey = RGB(135, 135, 135), white = RGB(255, 255, 255);
  EXPECT_EQ(cv.At(0, 8), kBlack);   // outer left
  EXPECT_EQ(cv.At(1, 8), white);    // inner left
  EXPECT_EQ(cv.At(29, 8), white);   // outer right
  EXPECT_EQ(cv.At(28, 8), kBlack);  // inner right
  EXPECT_EQ(cv.At(15, 0), white);   // the inner top line overwrote the outer one
  EXPECT_EQ(cv.At(15, 15), kBlack); // and the inner bottom line the outer white one
  EXPECT_EQ(cv.At(15, 8), grey);
  // Hot draws nothing; pressed blackens the rectangle inset by 2.
  Canvas hot(30, 16, kRed);
  glass.DrawScrollMoveRect(&hot.dc, &rc, btnHot, dirHorz);
  EXPECT_EQ(hot.CountNot(0, 0, 30, 16, kRed), 0);
  Canvas pressed(30, 16, kRed);
  glass.DrawScrollMoveRect(&pressed.dc, &rc, btnPressed, dirHorz);
  EXPECT_EQ(pressed.Count(2, 2, 28, 14, kBlack), 26 * 12);
  EXPECT_EQ(pressed.CountNot(0, 0, 30, 16, kRed), 26 * 12);
}

TEST(SkinThumbs, GlassThumbIsTheSameInEveryStateWithItsEdgeLines) {
  CXSBSkinBlueGlass glass;
  const RECT rc{10, 0, 40, 16};
  Canvas first(50, 16, kRed);
  glass.DrawDragBar(&first.dc, &rc, btnNormal, dirHorz);
  // Deflated to (11, 2, 39, 14): fill, light left line, dark line one past the fill.
  EXPECT_EQ(first.At(20, 8), RGB(150, 150, 200));
  EXPECT_EQ(first.At(11, 8), RGB(200, 200, 255));
  EXPECT_EQ(first.At(39, 8), RGB(0, 0, 100));
  EXPECT_EQ(first.At(20, 1), kRed);
  EXPECT_EQ(first.At(39, 14), kRed);  // lines stop before the bottom
  for (BtnStates s : {btnHot, btnPressed, btnDisabled}) {
    Canvas other(50, 16, kRed);
    glass.DrawDragBar(&other.dc, &rc, s, dirHorz);
    EXPECT_EQ(Px(other), Px(first)) << s;
  }
  Canvas vert(16, 50, kRed);
  const RECT rv{0, 10, 16, 40};
  glass.DrawDragBar(&vert.dc, &rv, btnNormal, dirVert);
  EXPECT_EQ(vert.At(8, 11), RGB(200, 200, 255));
  EXPECT_EQ(vert.At(8, 39), RGB(0, 0, 100));
  EXPECT_EQ(vert.At(1, 20), kRed);
}

TEST(StockSkins, OneSharedInstancePerClassEvenFromRacingThreads) {
  std::vector<std::thread> threads;
  std::vector<CXScrollBarSkin*> seen(8);
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&seen, i] {
      seen[i] = i % 2 ? static_cast<CXScrollBarSkin*>(CXSBSkinFlat::GetTheSkin())
                      : static_cast<CXScrollBarSkin*>(CXSBSkinBlueGlass::GetTheSkin());
    });
  for (auto& t : threads) t.join();
  for (int i = 2; i < 8; ++i) EXPECT_EQ(seen[i], seen[i % 2]);
  EXPECT_NE(seen[0], seen[1]);
  EXPECT_EQ(CXSBSkinFlat::GetTheSkin(), seen[1]);
  EXPECT_NE(static_cast<CXScrollBarSkin*>(CXSBSkinNormal::GetTheSkin()), seen[1]);
}

TEST(StockSkins, ReleaseClearsTheStockPointers) {
  CXSBSkinNormal* before = CXSBSkinNormal::GetTheSkin();
  ASSERT_NE(before, nullptr);
  CXSBStockSkinAutoRelease::ReleaseStockSkins();
  // A use after the release makes a fresh skin instead of handing out the deleted one.
  CXSBSkinNormal* after = CXSBSkinNormal::GetTheSkin();
  ASSERT_NE(after, nullptr);
  Canvas cv(16, 16, kRed);
  const RECT rc{0, 0, 16, 16};
  after->DrawButton(&cv.dc, &rc, btnNormal, dirHorz);
  EXPECT_EQ(cv.At(8, 8), kScroll);
}

}  // namespace
