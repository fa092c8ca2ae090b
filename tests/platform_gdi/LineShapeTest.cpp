#include <gtest/gtest.h>

#include "support/Canvas.h"

using namespace testsupport;

namespace {

// Draws one line with a 1-pixel red pen and returns the canvas.
void DrawLine(Canvas& c, int x0, int y0, int x1, int y1) {
  CPen pen(PS_SOLID, 1, kRed);
  CPen* old = c.dc.SelectObject(&pen);
  c.dc.MoveTo(x0, y0);
  c.dc.LineTo(x1, y1);
  c.dc.SelectObject(old);
}

}  // namespace

TEST(GdiLines, LineToLeavesOutTheEndPoint) {
  {
    Canvas c(20, 20);
    DrawLine(c, 2, 5, 10, 5);  // horizontal
    EXPECT_EQ(c.Count(0, 5, 20, 6, kRed), 8);
    EXPECT_EQ(c.At(2, 5), kRed);
    EXPECT_EQ(c.At(9, 5), kRed);
    EXPECT_EQ(c.At(10, 5), kWhite);
    EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(10, 5));
  }
  {
    Canvas c(20, 20);
    DrawLine(c, 4, 12, 4, 3);  // vertical, upwards
    EXPECT_EQ(c.Count(0, 0, 20, 20, kRed), 9);
    EXPECT_EQ(c.At(4, 12), kRed);
    EXPECT_EQ(c.At(4, 4), kRed);
    EXPECT_EQ(c.At(4, 3), kWhite);
  }
  {
    Canvas c(20, 20);
    DrawLine(c, 1, 1, 7, 7);  // diagonal
    EXPECT_EQ(c.Count(0, 0, 20, 20, kRed), 6);
    for (int i = 1; i < 7; ++i) EXPECT_EQ(c.At(i, i), kRed) << i;
    EXPECT_EQ(c.At(7, 7), kWhite);
  }
  {
    Canvas c(20, 20);
    DrawLine(c, 3, 2, 6, 14);  // steep: one pixel per row
    EXPECT_EQ(c.Count(0, 0, 20, 20, kRed), 12);
    for (int y = 2; y < 14; ++y) EXPECT_EQ(c.CountNot(0, y, 20, y + 1, kWhite), 1) << y;
    EXPECT_EQ(c.CountNot(0, 14, 20, 15, kWhite), 0);
  }
  {
    Canvas c(20, 20);
    DrawLine(c, 5, 5, 5, 5);  // nothing
    EXPECT_EQ(c.Count(0, 0, 20, 20, kRed), 0);
  }
}

TEST(GdiLines, PenStylesAndPolylines) {
  Canvas c(40, 10);
  CPen null(PS_NULL, 1, kRed);
  CPen* old = c.dc.SelectObject(&null);
  c.dc.MoveTo(0, 1);
  c.dc.LineTo(30, 1);
  EXPECT_EQ(c.Count(0, 0, 40, 10, kRed), 0);
  EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(30, 1));

  CPen dot(PS_DOT, 1, kRed);
  c.dc.SelectObject(&dot);
  c.dc.SetBkMode(TRANSPARENT);
  c.dc.MoveTo(0, 3);
  c.dc.LineTo(30, 3);
  const int dots = c.Count(0, 3, 40, 4, kRed);
  EXPECT_GT(dots, 5);
  EXPECT_LT(dots, 30);
  EXPECT_EQ(c.Count(0, 3, 40, 4, kWhite), 40 - dots);  // transparent gaps

  CPen solid(PS_SOLID, 1, kBlue);
  c.dc.SelectObject(&solid);
  const POINT pts[] = {{0, 6}, {5, 6}, {5, 9}};
  c.dc.Polyline(pts, 3);
  EXPECT_EQ(c.Count(0, 0, 40, 10, kBlue), 8);  // 5 + 3, last point left out
  EXPECT_EQ(c.At(5, 6), kBlue);
  EXPECT_EQ(c.At(5, 9), kWhite);

  CPen wide(PS_SOLID, 3, kGreen);
  c.dc.SelectObject(&wide);
  c.dc.MoveTo(20, 7);
  c.dc.LineTo(30, 7);
  EXPECT_EQ(c.At(25, 6), kGreen);
  EXPECT_EQ(c.At(25, 8), kGreen);
  EXPECT_EQ(c.At(25, 5), kWhite);
  EXPECT_EQ(c.At(25, 9), kWhite);
  // Round pen: a wide dot is a disc, its bounding box corners stay empty.
  CPen round(PS_SOLID, 5, kGreen);
  c.dc.SelectObject(&round);
  c.dc.MoveTo(35, 4);
  c.dc.LineTo(36, 4);
  EXPECT_EQ(c.At(35, 2), kGreen);
  EXPECT_EQ(c.At(37, 4), kGreen);
  EXPECT_EQ(c.At(33, 2), kWhite);
  EXPECT_EQ(c.At(37, 6), kWhite);
  c.dc.SelectObject(old);
}

TEST(GdiShapes, ArcWithEqualEndsIsTheWholeEllipseInItsBox) {
  Canvas c(30, 30);
  CPen pen(PS_SOLID, 1, kRed);
  c.dc.SelectObject(&pen);
  c.dc.Arc(5, 6, 21, 17, 10, 6, 10, 6);
  // Touches every side of the box, right/bottom exclusive.
  EXPECT_GT(c.Count(5, 6, 21, 7, kRed), 0);     // top row
  EXPECT_GT(c.Count(5, 16, 21, 17, kRed), 0);   // bottom row (bottom - 1)
  EXPECT_GT(c.Count(5, 6, 6, 17, kRed), 0);     // left column
  EXPECT_GT(c.Count(20, 6, 21, 17, kRed), 0);   // right column (right - 1)
  EXPECT_EQ(c.Count(0, 0, 30, 6, kRed), 0);
  EXPECT_EQ(c.Count(0, 17, 30, 30, kRed), 0);
  EXPECT_EQ(c.Count(21, 0, 30, 30, kRed), 0);
  EXPECT_EQ(c.Count(0, 0, 5, 30, kRed), 0);
  // A ring, not a disc, and symmetric.
  EXPECT_EQ(c.At(12, 11), kWhite);
  EXPECT_EQ(c.Count(5, 6, 13, 17, kRed), c.Count(13, 6, 21, 17, kRed));
  // Every row of the box has ink: the outline is closed.
  for (int y = 6; y < 17; ++y) EXPECT_GE(c.Count(5, y, 21, y + 1, kRed), 2) << y;

  // A quarter arc (counter-clockwise from east to north) stays in its quadrant.
  Canvas q(30, 30);
  q.dc.SelectObject(&pen);
  q.dc.Arc(0, 0, 21, 21, 20, 10, 10, 0);
  EXPECT_GT(q.Count(10, 0, 21, 11, kRed), 0);
  EXPECT_EQ(q.Count(0, 12, 30, 30, kRed), 0);
  EXPECT_EQ(q.Count(0, 0, 9, 30, kRed), 0);
  c.dc.SelectStockObject(BLACK_PEN);
  q.dc.SelectStockObject(BLACK_PEN);
}

TEST(GdiShapes, RectangleAndEllipseUsePenAndBrush) {
  Canvas c(30, 30);
  CPen pen(PS_SOLID, 1, kRed);
  CBrush brush(kBlue);
  c.dc.SelectObject(&pen);
  c.dc.SelectObject(&brush);
  c.dc.Rectangle(2, 2, 8, 6);
  EXPECT_EQ(c.At(2, 2), kRed);
  EXPECT_EQ(c.At(7, 5), kRed);
  EXPECT_EQ(c.At(8, 5), kWhite);
  EXPECT_EQ(c.At(7, 6), kWhite);
  EXPECT_EQ(c.Count(3, 3, 7, 5, kBlue), 8);

  c.dc.Ellipse(10, 10, 20, 20);
  EXPECT_EQ(c.At(15, 15), kBlue);
  EXPECT_EQ(c.At(10, 10), kWhite);  // corner outside the ellipse
  EXPECT_EQ(c.At(10, 14), kRed);    // left edge
  EXPECT_EQ(c.Count(20, 0, 30, 30, kRed), 0);

  c.dc.SelectStockObject(NULL_PEN);
  c.dc.Rectangle(22, 22, 26, 26);  // no pen: one pixel smaller
  EXPECT_EQ(c.Count(20, 20, 30, 30, kBlue), 9);
  c.dc.SelectStockObject(NULL_BRUSH);
  c.dc.SelectObject(&pen);
  c.dc.Rectangle(22, 2, 26, 6);  // hollow
  EXPECT_EQ(c.At(23, 3), kWhite);
  EXPECT_EQ(c.Count(22, 2, 26, 6, kRed), 12);
  c.dc.SelectStockObject(BLACK_PEN);
  c.dc.SelectStockObject(WHITE_BRUSH);
}
