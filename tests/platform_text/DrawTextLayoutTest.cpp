// DrawText layout: alignment, calculated rectangles, ellipsis, prefixes, wrapping, bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "winport/text/DrawTextLayout.h"

using winport::Font;
using winport::LayoutDrawText;

namespace {

std::shared_ptr<const Font> Label() {
  LOGFONTW lf{};
  lf.lfHeight = -11;
  lf.lfWeight = FW_NORMAL;
  std::wcscpy(lf.lfFaceName, L"Tahoma");
  return Font::Create(lf);
}

}  // namespace

TEST(DrawTextLayout, SingleLineAlignment) {
  auto f = Label();
  const int th = f->Metrics().tmHeight;
  const int w = f->Measure(L"-48").cx;
  const RECT r{10, 20, 110, 60};

  auto left = LayoutDrawText(*f, L"-48", r, DT_SINGLELINE | DT_LEFT);
  ASSERT_EQ(left.lines.size(), 1u);
  EXPECT_EQ(left.lines[0].text, L"-48");
  EXPECT_EQ(left.lines[0].x, 10);
  EXPECT_EQ(left.lines[0].y, 20);
  EXPECT_EQ(left.height, th);
  EXPECT_TRUE(left.clip);

  auto right = LayoutDrawText(*f, L"-48", r, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
  EXPECT_EQ(right.lines[0].x, 110 - w);
  EXPECT_EQ(right.lines[0].y, 20 + 40 / 2 - th / 2);
  // Vertically centred text reports the offset of its bottom from the top.
  EXPECT_EQ(right.height, 40 / 2 - th / 2 + th);
  // A label box exactly one text height tall (the audio scale's) puts the text at its top.
  EXPECT_EQ(LayoutDrawText(*f, L"-6", RECT{0, 50, 30, 50 + th}, DT_SINGLELINE | DT_VCENTER).lines[0].y, 50);

  auto center = LayoutDrawText(*f, L"-48", r, DT_SINGLELINE | DT_CENTER | DT_BOTTOM);
  EXPECT_EQ(center.lines[0].x, 10 + (100 - w) / 2);
  EXPECT_EQ(center.lines[0].y, 60 - th);
  EXPECT_EQ(center.height, 40);

  // Vertical alignment needs DT_SINGLELINE, as on the desktop.
  auto multi = LayoutDrawText(*f, L"-48", r, DT_VCENTER | DT_BOTTOM);
  EXPECT_EQ(multi.lines[0].y, 20);

  EXPECT_FALSE(LayoutDrawText(*f, L"x", r, DT_NOCLIP).clip);
}

TEST(DrawTextLayout, MultiLineAndCalcRect) {
  auto f = Label();
  const int th = f->Metrics().tmHeight;
  const RECT r{0, 0, 200, 100};

  auto lines = LayoutDrawText(*f, L"one\ntwo three\r\nfour\n", r, DT_CENTER);
  ASSERT_EQ(lines.lines.size(), 3u);
  EXPECT_EQ(lines.lines[1].text, L"two three");
  EXPECT_EQ(lines.lines[2].y, 2 * th);
  EXPECT_EQ(lines.lines[1].x, (200 - f->Measure(L"two three").cx) / 2);
  EXPECT_EQ(lines.height, 3 * th);

  // The calculated rectangle keeps left/top and fits the widest line.
  auto calc = LayoutDrawText(*f, L"one\ntwo three", RECT{5, 7, 300, 300}, DT_CALCRECT | DT_RIGHT);
  EXPECT_EQ(calc.calcRect.left, 5);
  EXPECT_EQ(calc.calcRect.top, 7);
  EXPECT_EQ(calc.calcRect.right, 5 + f->Measure(L"two three").cx);
  EXPECT_EQ(calc.calcRect.bottom, 7 + 2 * th);
  auto single = LayoutDrawText(*f, L"a\nb", RECT{0, 0, 0, 0}, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
  EXPECT_EQ(single.calcRect.bottom, th);
  EXPECT_EQ(single.calcRect.right, f->Measure(L"a\nb").cx);

  // Word breaking keeps words whole and drops the blanks at a break.
  const int limit = std::max(f->Measure(L"alpha beta").cx, f->Measure(L"gamma delta").cx) + 2;
  ASSERT_GT(f->Measure(L"alpha beta gamma").cx, limit);
  auto wrapped = LayoutDrawText(*f, L"alpha beta gamma delta", RECT{0, 0, limit, 100}, DT_WORDBREAK);
  ASSERT_EQ(wrapped.lines.size(), 2u);
  EXPECT_EQ(wrapped.lines[0].text, L"alpha beta");
  EXPECT_EQ(wrapped.lines[1].text, L"gamma delta");
  // A word wider than the rectangle gets a line of its own; the calculated width grows to it.
  auto wide = LayoutDrawText(*f, L"a verylongwordindeed b", RECT{0, 0, 20, 0}, DT_WORDBREAK | DT_CALCRECT);
  ASSERT_EQ(wide.lines.size(), 3u);
  EXPECT_EQ(wide.calcRect.right, f->Measure(L"verylongwordindeed").cx);
  EXPECT_EQ(wide.calcRect.bottom, 3 * th);

  // Tabs expand to stops of eight average characters.
  const int stop = 8 * f->Metrics().tmAveCharWidth;
  auto tabs = LayoutDrawText(*f, L"a\tb", r, DT_EXPANDTABS | DT_SINGLELINE);
  ASSERT_EQ(tabs.lines.size(), 2u);
  EXPECT_EQ(tabs.lines[1].text, L"b");
  EXPECT_EQ(tabs.lines[1].x, stop);
  EXPECT_EQ(LayoutDrawText(*f, L"a\tb", r, DT_EXPANDTABS | DT_CALCRECT).calcRect.right, stop + f->Advance(L'b'));
}

TEST(DrawTextLayout, EndEllipsis) {
  auto f = Label();
  const std::wstring text = L"A rather long label for a narrow box";
  for (int width : {30, 60, 90}) {
    auto res = LayoutDrawText(*f, text, RECT{0, 0, width, 20}, DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(res.lines.size(), 1u);
    const std::wstring& shown = res.lines[0].text;
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), L"...");
    EXPECT_LE(f->Measure(shown).cx, width);
    // As much text as fits: one more character would not.
    const std::wstring longer = text.substr(0, shown.size() - 2) + L"...";
    EXPECT_GT(f->Measure(longer).cx, width);
  }
  // Text that fits is left alone; right alignment uses the shortened width.
  EXPECT_EQ(LayoutDrawText(*f, L"ok", RECT{0, 0, 90, 20}, DT_END_ELLIPSIS).lines[0].text, L"ok");
  auto right = LayoutDrawText(*f, text, RECT{0, 0, 60, 20}, DT_SINGLELINE | DT_RIGHT | DT_END_ELLIPSIS);
  EXPECT_EQ(right.lines[0].x, 60 - f->Measure(right.lines[0].text).cx);
  // Narrower than the ellipsis itself: only the ellipsis, no crash.
  EXPECT_EQ(LayoutDrawText(*f, text, RECT{0, 0, 2, 20}, DT_END_ELLIPSIS).lines[0].text, L"...");
}

TEST(DrawTextLayout, Prefixes) {
  auto f = Label();
  const RECT r{0, 0, 100, 20};
  EXPECT_EQ(LayoutDrawText(*f, L"&File", r, DT_SINGLELINE).lines[0].text, L"File");
  EXPECT_EQ(LayoutDrawText(*f, L"Save && Exit", r, DT_SINGLELINE).lines[0].text, L"Save & Exit");
  EXPECT_EQ(LayoutDrawText(*f, L"a&&&b&", r, DT_SINGLELINE).lines[0].text, L"a&b");
  EXPECT_EQ(LayoutDrawText(*f, L"&File && more", r, DT_SINGLELINE | DT_NOPREFIX).lines[0].text, L"&File && more");
  // The calculated width is that of what is shown.
  EXPECT_EQ(LayoutDrawText(*f, L"&File", r, DT_SINGLELINE | DT_CALCRECT).calcRect.right, f->Measure(L"File").cx);
}

TEST(DrawTextLayout, EmptyAndInvertedRectangles) {
  auto f = Label();
  const int th = f->Metrics().tmHeight;
  auto empty = LayoutDrawText(*f, L"", RECT{3, 4, 50, 50}, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_TRUE(empty.lines.empty());
  EXPECT_EQ(empty.calcRect.right, 3);
  EXPECT_EQ(empty.calcRect.bottom, 4 + th);

  // Inverted and empty rectangles lay out without failing; alignment follows the numbers.
  auto inverted = LayoutDrawText(*f, L"abc", RECT{50, 50, 10, 10}, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
  ASSERT_EQ(inverted.lines.size(), 1u);
  EXPECT_EQ(inverted.lines[0].x, 10 - f->Measure(L"abc").cx);
  auto zero = LayoutDrawText(*f, L"some words here", RECT{0, 0, 0, 0}, DT_WORDBREAK | DT_END_ELLIPSIS);
  EXPECT_EQ(zero.lines.size(), 3u);
  auto huge = LayoutDrawText(*f, L"x y", RECT{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
                             DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(huge.lines.size(), 1u);
  EXPECT_EQ(LayoutDrawText(*f, L"\n\n", RECT{0, 0, 10, 10}, 0).lines.size(), 2u);
  // Coordinates at the ends of the range saturate.
  auto edge = LayoutDrawText(*f, L"a\tb", RECT{INT32_MAX - 5, INT32_MAX - 5, INT32_MAX, INT32_MAX},
                             DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(edge.calcRect.right, INT32_MAX);
  EXPECT_EQ(edge.calcRect.bottom, INT32_MAX);
  auto low = LayoutDrawText(*f, L"abc", RECT{INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN},
                            DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
  EXPECT_EQ(low.lines[0].x, INT32_MIN);
  EXPECT_EQ(low.lines[0].y, INT32_MIN);
}
