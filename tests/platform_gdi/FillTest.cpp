#include <gtest/gtest.h>

#include "support/Canvas.h"

using namespace testsupport;

TEST(GdiFill, RectanglesIncludeLeftTopAndExcludeRightBottom) {
  Canvas c(10, 10);
  c.dc.FillSolidRect(2, 3, 4, 5, kRed);
  EXPECT_EQ(c.At(2, 3), kRed);
  EXPECT_EQ(c.At(5, 7), kRed);
  EXPECT_EQ(c.At(6, 7), kWhite);
  EXPECT_EQ(c.At(5, 8), kWhite);
  EXPECT_EQ(c.At(1, 3), kWhite);
  EXPECT_EQ(c.Count(0, 0, 10, 10, kRed), 20);
  // The surface holds 0x00RRGGBB.
  EXPECT_EQ(c.surface->At(2, 3), 0x00FF0000u);

  CBrush blue(kBlue);
  CRect r(0, 0, 3, 2);
  c.dc.FillRect(&r, &blue);
  EXPECT_EQ(c.Count(0, 0, 10, 10, kBlue), 6);
}

TEST(GdiFill, OpaqueRectanglesOrderInvertedCornersButFillRectDoesNot) {
  Canvas c(10, 10);
  c.dc.FillSolidRect(6, 6, -3, -2, kRed);  // {6,6,3,4} -> {3,4,6,6}
  EXPECT_EQ(c.Count(3, 4, 6, 6, kRed), 6);
  EXPECT_EQ(c.Count(0, 0, 10, 10, kRed), 6);
  // FillSolidRect leaves the background colour set, as the framework does.
  EXPECT_EQ(c.dc.GetBkColor(), kRed);

  RECT inv{8, 8, 7, 9};
  c.dc.SetBkColor(kBlue);
  c.dc.ExtTextOut(0, 0, ETO_OPAQUE, &inv, nullptr, 0, nullptr);
  EXPECT_EQ(c.At(7, 8), kBlue);
  CBrush green(kGreen);
  RECT inv2{5, 1, 2, 2};
  c.dc.FillRect(&inv2, &green);
  EXPECT_EQ(c.Count(0, 0, 10, 10, kGreen), 0);
}

TEST(GdiFill, Draw3dRectPaintsItsFourSidesWithNegativeExtents) {
  Canvas c(12, 12);
  c.dc.Draw3dRect(2, 2, 6, 5, kRed, kBlue);
  // Top row and left column up to the corner, in the top-left colour.
  for (int x = 2; x <= 6; ++x) EXPECT_EQ(c.At(x, 2), kRed) << x;
  for (int y = 2; y <= 5; ++y) EXPECT_EQ(c.At(2, y), kRed) << y;
  // Right column x = 7 and bottom row y = 6 in the bottom-right colour.
  for (int y = 2; y <= 6; ++y) EXPECT_EQ(c.At(7, y), kBlue) << y;
  for (int x = 2; x <= 7; ++x) EXPECT_EQ(c.At(x, 6), kBlue) << x;
  EXPECT_EQ(c.At(8, 2), kWhite);
  EXPECT_EQ(c.At(2, 7), kWhite);
  EXPECT_EQ(c.Count(3, 3, 7, 6, kWhite), 12);  // inside untouched
}

TEST(GdiFill, DrawEdgeRingsAndAdjustment) {
  Canvas c(12, 12);
  CRect r(1, 1, 11, 11);
  EXPECT_TRUE(c.dc.DrawEdge(&r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
  EXPECT_EQ(r, CRect(3, 3, 9, 9));
  EXPECT_EQ(c.At(1, 1), RGB(160, 160, 160));   // outer top-left: shadow
  EXPECT_EQ(c.At(10, 10), RGB(255, 255, 255)); // outer bottom-right: highlight
  EXPECT_EQ(c.At(2, 2), RGB(105, 105, 105));   // inner top-left: dark shadow
  EXPECT_EQ(c.At(9, 9), RGB(227, 227, 227));   // inner bottom-right: light
  EXPECT_EQ(c.At(5, 5), kWhite);
}
