#include <gtest/gtest.h>

#include "support/Canvas.h"

using namespace testsupport;

namespace {

// Bounding box of every pixel that is not the background colour; empty when none.
CRect InkBox(const Canvas& c, COLORREF background) {
  CRect box(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
  for (int y = 0; y < c.surface->Height(); ++y)
    for (int x = 0; x < c.surface->Width(); ++x)
      if (c.At(x, y) != background) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box.left == INT32_MAX ? CRect() : box;
}

bool Inside(const CRect& inner, const CRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

struct TextCanvas : Canvas {
  TextCanvas(int w, int h) : Canvas(w, h) {
    font.CreatePointFont(100, L"Sans");
    old = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kBlack);
  }
  ~TextCanvas() { dc.SelectObject(old); }
  CFont font;
  CFont* old = nullptr;
};

}  // namespace

TEST(GdiText, TextOutPutsInkInsideTheCellBoxForEachAlignment) {
  TextCanvas c(200, 80);
  const CSize ext = c.dc.GetTextExtent(CString(L"Hello"));
  TEXTMETRICW tm{};
  ASSERT_TRUE(c.dc.GetTextMetrics(&tm));
  EXPECT_GT(ext.cx, 10);
  EXPECT_EQ(ext.cy, tm.tmHeight);

  c.dc.TextOut(20, 10, CString(L"Hello"));
  CRect ink = InkBox(c, kWhite);
  ASSERT_FALSE(ink.IsRectEmpty());
  EXPECT_TRUE(Inside(ink, CRect(20, 10, 20 + ext.cx, 10 + tm.tmHeight))) << ink.left << "," << ink.top;
  // Anti-aliased: some ink is grey, between the text and background colours.
  int grey = 0;
  for (int y = ink.top; y < ink.bottom; ++y)
    for (int x = ink.left; x < ink.right; ++x) grey += c.At(x, y) != kBlack && c.At(x, y) != kWhite;
  EXPECT_GT(grey, 0);

  struct Case { UINT align; CRect cell; };
  const Case cases[] = {
      {TA_RIGHT | TA_TOP, CRect(100 - ext.cx, 40, 100, 40 + tm.tmHeight)},
      {TA_CENTER | TA_BOTTOM, CRect(100 - ext.cx / 2 - 1, 40 - tm.tmHeight, 100 + ext.cx / 2 + 1, 40)},
      {TA_LEFT | TA_BASELINE, CRect(100, 40 - tm.tmAscent, 100 + ext.cx, 40 + tm.tmDescent)},
  };
  for (const Case& k : cases) {
    TextCanvas t(200, 80);
    t.dc.SetTextAlign(k.align);
    t.dc.TextOut(100, 40, CString(L"Hello"));
    const CRect box = InkBox(t, kWhite);
    ASSERT_FALSE(box.IsRectEmpty()) << k.align;
    EXPECT_TRUE(Inside(box, k.cell)) << "align " << k.align << " ink " << box.left << "," << box.top << ","
                                     << box.right << "," << box.bottom;
  }
}

TEST(GdiText, BackgroundModesAndOpaqueClippedRectangles) {
  TextCanvas c(200, 60);
  c.dc.SetBkMode(OPAQUE);
  c.dc.SetBkColor(kBlue);
  c.dc.TextOut(10, 10, CString(L"Wide"));
  const CSize ext = c.dc.GetTextExtent(CString(L"Wide"));
  // The whole cell gets the background colour where there is no ink.
  EXPECT_EQ(c.At(10, 10), kBlue);
  EXPECT_EQ(c.At(10 + ext.cx - 1, 10 + ext.cy - 1), kBlue);
  EXPECT_EQ(c.At(10 + ext.cx, 10), kWhite);
  EXPECT_EQ(c.At(9, 10), kWhite);

  // ETO_OPAQUE fills the rectangle; ETO_CLIPPED keeps the ink inside it.
  TextCanvas d(200, 60);
  d.dc.SetBkColor(kGreen);
  const CRect r(30, 5, 45, 40);
  d.dc.ExtTextOut(30, 10, ETO_OPAQUE | ETO_CLIPPED, &r, CString(L"WWWWWWWW"), nullptr);
  EXPECT_EQ(d.At(30, 5), kGreen);
  EXPECT_EQ(d.At(44, 39), kGreen);
  EXPECT_EQ(d.CountNot(45, 0, 200, 60, kWhite), 0);
  EXPECT_GT(d.CountNot(30, 5, 45, 40, kGreen), 0);  // some ink
}

TEST(GdiText, DrawTextAlignsAndClipsToItsRectangle) {
  const CRect rect(10, 10, 190, 60);
  struct Case { UINT format; bool right, bottom, centerX, centerY; };
  const Case cases[] = {
      {DT_LEFT | DT_TOP | DT_SINGLELINE, false, false, false, false},
      {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, true, true, false, false},
      {DT_CENTER | DT_VCENTER | DT_SINGLELINE, false, false, true, true},
  };
  for (const Case& k : cases) {
    TextCanvas c(200, 70);
    CRect r = rect;
    const int h = c.dc.DrawText(CString(L"Level"), &r, k.format);
    EXPECT_GT(h, 0);
    const CRect ink = InkBox(c, kWhite);
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_TRUE(Inside(ink, rect));
    const int midX = (ink.left + ink.right) / 2, midY = (ink.top + ink.bottom) / 2;
    if (k.right) EXPECT_GT(ink.left, 120);
    else if (k.centerX) EXPECT_NEAR(midX, 100, 6);
    else EXPECT_LT(ink.right, 80);
    if (k.bottom) EXPECT_GT(ink.top, 30);
    else if (k.centerY) EXPECT_NEAR(midY, 35, 6);
    else EXPECT_LT(ink.bottom, 40);
  }

  // DT_CALCRECT measures without drawing.
  TextCanvas m(200, 70);
  CRect calc(10, 10, 10, 10);
  m.dc.DrawText(CString(L"Level"), &calc, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(calc.Width(), 10);
  EXPECT_EQ(m.CountNot(0, 0, 200, 70, kWhite), 0);

  // Clipped to a small rectangle unless DT_NOCLIP.
  TextCanvas clipped(200, 70);
  CRect small(10, 10, 16, 60);
  clipped.dc.DrawText(CString(L"Level meter"), &small, DT_LEFT | DT_SINGLELINE);
  EXPECT_EQ(clipped.CountNot(16, 0, 200, 70, kWhite), 0);
  TextCanvas open(200, 70);
  CRect small2(10, 10, 16, 60);
  open.dc.DrawText(CString(L"Level meter"), &small2, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(open.CountNot(16, 0, 200, 70, kWhite), 0);
}

TEST(GdiText, UpdateCpAndCharacterSpacing) {
  TextCanvas c(200, 40);
  c.dc.SetTextAlign(TA_UPDATECP);
  c.dc.MoveTo(5, 5);
  c.dc.TextOut(100, 100, CString(L"ab"));  // the point is ignored, the position is used
  const CSize ext = c.dc.GetTextExtent(CString(L"ab"));
  EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(5 + ext.cx, 5));
  EXPECT_TRUE(Inside(InkBox(c, kWhite), CRect(5, 5, 5 + ext.cx, 5 + ext.cy)));

  // Explicit advances spread the characters.
  TextCanvas d(200, 40);
  INT dx[3] = {40, 40, 40};
  d.dc.ExtTextOut(0, 0, 0, nullptr, L"iii", 3, dx);
  EXPECT_GT(d.CountNot(0, 0, 20, 40, kWhite), 0);
  EXPECT_GT(d.CountNot(40, 0, 60, 40, kWhite), 0);
  EXPECT_GT(d.CountNot(80, 0, 100, 40, kWhite), 0);
  EXPECT_EQ(d.CountNot(20, 0, 40, 40, kWhite), 0);
}

TEST(GdiText, DefaultFontAndTextColour) {
  Canvas c(120, 40);
  c.dc.SetBkMode(TRANSPARENT);
  c.dc.SetTextColor(kRed);
  c.dc.TextOut(2, 2, CString(L"Ok"));
  EXPECT_GT(c.Count(0, 0, 120, 40, kRed), 0);  // fully covered pixels take the text colour
  TEXTMETRICW tm{};
  EXPECT_TRUE(c.dc.GetTextMetrics(&tm));
  EXPECT_GT(tm.tmHeight, 0);
  EXPECT_EQ(c.dc.GetTextExtent(L"", 0).cx, 0);
}
