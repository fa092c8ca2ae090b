#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <set>

#include "foundation/AudioScale.h"

namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kTick = RGB(255, 0, 0);
constexpr COLORREF kInk = RGB(0, 0, 0);

// A memory DC over a white surface, with the scale's colours and an 8-point font selected.
struct ScaleCanvas {
  ScaleCanvas(int w, int h) : surface(std::make_shared<winport::Surface>(w, h, winport::ToPixel(kPaper))) {
    bitmap = winport::CreateBitmapFromSurface(surface);
    dc.CreateCompatibleDC(nullptr);
    oldBitmap = ::SelectObject(dc, bitmap);
    font.CreatePointFont(80, L"Tahoma");
    oldFont = dc.SelectObject(&font);
    dc.SetBkColor(kTick);
    dc.SetTextColor(kInk);
    dc.SetBkMode(TRANSPARENT);
  }
  ~ScaleCanvas() {
    dc.SelectObject(oldFont);
    ::SelectObject(dc, oldBitmap);
    dc.DeleteDC();
    ::DeleteObject(bitmap);
  }
  COLORREF At(int x, int y) const { return winport::ToColorref(surface->At(x, y) & 0xFFFFFF); }
  std::set<int> TickRows(int x) const {
    std::set<int> rows;
    for (int y = 0; y < surface->Height(); ++y)
      if (At(x, y) == kTick) rows.insert(y);
    return rows;
  }
  // Rows in [top, bottom) with text ink between columns l and r.
  bool InkIn(int l, int t, int r, int b) const {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x)
        if (At(x, y) != kPaper && At(x, y) != kTick) return true;
    return false;
  }

  std::shared_ptr<winport::Surface> surface;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  CFont font;
  CFont* oldFont = nullptr;
  CDC dc;
};

// Default scale over 200 pixels: two pixels per value unit, bottom at 210.
const std::set<int> kAllRows = {10, 34, 50, 66, 88, 120, 146, 174, 198, 210};

TEST(AudioScaleDraw, TextLeftPutsTicksOnTheRightAndLabelsBesideThem) {
  CAudioScale scale(1);
  ScaleCanvas c(60, 230);
  const RECT rc{0, 10, 60, 210};
  scale.Draw(&c.dc, rc, -60, ASDS_TEXTLEFT, 0, 0, 6);
  EXPECT_EQ(c.TickRows(57), kAllRows);
  EXPECT_TRUE(c.TickRows(53).empty()) << "ticks are 6 pixels long";
  TEXTMETRICW tm{};
  c.dc.GetTextMetrics(&tm);
  for (int y : kAllRows) {
    // Each label is centred on its tick and right-aligned in the box ending 2 pixels before it.
    EXPECT_TRUE(c.InkIn(30, y - tm.tmHeight / 2, 52, y - tm.tmHeight / 2 + tm.tmHeight)) << "label at " << y;
    EXPECT_FALSE(c.InkIn(52, y - 3, 54, y + 3)) << "label crosses into the gap at " << y;
  }
}

TEST(AudioScaleDraw, TextRightMirrorsTheLayout) {
  CAudioScale scale(1);
  ScaleCanvas c(60, 230);
  scale.Draw(&c.dc, RECT{0, 10, 60, 210}, -60, ASDS_TEXTRIGHT, 0, 0, 4);
  EXPECT_EQ(c.TickRows(2), kAllRows);
  EXPECT_TRUE(c.TickRows(5).empty());
  EXPECT_TRUE(c.InkIn(6, 44, 20, 56)) << "0 dB label starts right of the tick";
  EXPECT_FALSE(c.InkIn(4, 0, 6, 230)) << "2-pixel gap between ticks and labels";
}

TEST(AudioScaleDraw, DbWindowSkipsAboveAndStopsBelow) {
  CAudioScale scale(1);
  ScaleCanvas c(60, 230);
  scale.Draw(&c.dc, RECT{0, 10, 60, 210}, -60, ASDS_TEXTLEFT, 0, -48, 6);
  EXPECT_EQ(c.TickRows(57), (std::set<int>{50, 66, 88, 120, 146, 174}));
  EXPECT_FALSE(c.InkIn(0, 0, 52, 40)) << "+12 and +6 are outside the window";
  EXPECT_FALSE(c.InkIn(0, 192, 52, 230)) << "-60 ends the drawing";
}

TEST(AudioScaleDraw, InfinityLabelEndsTheScale) {
  CAudioScale scale(1);
  ScaleCanvas c(60, 230);
  scale.Draw(&c.dc, RECT{0, 10, 60, 210}, -40, ASDS_TEXTLEFT, 0, -48, 6);
  // -48 keeps its tick and gets the infinity label; nothing follows it.
  EXPECT_EQ(c.TickRows(57), (std::set<int>{50, 66, 88, 120, 146, 174}));
  EXPECT_TRUE(c.InkIn(20, 166, 52, 182));
}

TEST(AudioScaleDraw, DrawsNothingWhenThereIsNothingToDraw) {
  ScaleCanvas c(60, 230);
  CAudioScale scale(1);
  scale.Draw(&c.dc, RECT{0, 10, 60, 210}, -60, ASDS_NONE, 0, 0, 6);
  scale.Draw(&c.dc, RECT{0, 10, 60, 210}, -60, static_cast<ASDSStyle>(7), 0, 0, 6);
  scale.Draw(nullptr, RECT{0, 10, 60, 210}, -60, ASDS_TEXTLEFT, 0, 0, 6);
  ScaleItem flat[] = {{0, 50}, {-20, 50}};
  CAudioScale same;
  same.SetScale(flat, 2);
  same.Draw(&c.dc, RECT{0, 10, 60, 210}, -60, ASDS_TEXTLEFT, 0, 0, 6);
  CAudioScale().Draw(&c.dc, RECT{0, 10, 60, 210}, -60, ASDS_TEXTLEFT, 0, 0, 6);
  // Inverted and empty rectangles draw without harm.
  scale.Draw(&c.dc, RECT{60, 210, 0, 10}, -60, ASDS_TEXTLEFT, 0, 0, 6);
  scale.Draw(&c.dc, RECT{0, 0, 0, 0}, -60, ASDS_TEXTLEFT, 0, 0, 6);
  EXPECT_TRUE(c.TickRows(57).empty());
  EXPECT_FALSE(c.InkIn(0, 0, 52, 10));
}

// Points and rectangles at the int limits: ranges saturate, ticks land far off the DC instead of
// wrapping back onto it (UBSan checks the arithmetic).
TEST(AudioScaleDraw, PointsAndRectsAtTheIntLimits) {
  ScaleItem items[] = {{INT_MAX, INT_MAX}, {0, 0}, {INT_MIN, INT_MIN}};
  CAudioScale scale;
  scale.SetScale(items, 3);
  EXPECT_EQ(scale.GetValueRange(), INT_MAX);
  EXPECT_EQ(scale.GetDBRange(), INT_MAX);
  ScaleCanvas c(60, 220);
  scale.Draw(&c.dc, CRect(0, 10, 60, 210), -1000, ASDS_TEXTLEFT, 0, 0, 6);
  EXPECT_EQ(c.TickRows(57), (std::set<int>{10, 110, 210}));  // the full int span over 200 rows
  RECT wide{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  scale.Draw(&c.dc, wide, INT_MIN, ASDS_TEXTRIGHT, 0, 0, INT_MAX);
  scale.Draw(&c.dc, wide, INT_MIN, ASDS_TEXTLEFT, 0, 0, INT_MIN);
}

}  // namespace
