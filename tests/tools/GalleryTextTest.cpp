// What the gallery writes for people: values that fit their caption cells.
#include <gtest/gtest.h>

#include <climits>

#include <winport/afx.h>
#include <winport/headless.h>

#include "tools/gallery/ValueText.h"

namespace {

using gallery::CompactNumber;

TEST(GalleryText, KnobValuesOverTheWholeIntRangeStayShort) {
  EXPECT_EQ(CompactNumber(0), L"0");
  EXPECT_EQ(CompactNumber(-99999), L"-99999");
  EXPECT_EQ(CompactNumber(100000), L"100 k");
  EXPECT_EQ(CompactNumber(-238609295), L"-239 M");
  EXPECT_EQ(CompactNumber(1500000), L"1.50 M");
  EXPECT_EQ(CompactNumber(INT_MIN), L"-2.15 G");
  EXPECT_EQ(CompactNumber(INT_MAX), L"2.15 G");
  EXPECT_EQ(CompactNumber(LLONG_MIN), L"-9223372037 G");  // far past what a knob holds, still no overflow
}

TEST(GalleryText, TheWidestKnobValueFitsItsCell) {
  winport::headless::Reset();
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
  CFont font;
  font.CreatePointFont(80, L"Tahoma");
  dc.SelectObject(&font);
  constexpr int kKnobCell = 94;  // the controls page's caption cell under each knob
  for (long long v : {static_cast<long long>(INT_MIN), -999999999LL, -99999LL, static_cast<long long>(INT_MAX)}) {
    const std::wstring text = CompactNumber(v);
    EXPECT_LT(dc.GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx, kKnobCell) << v;
  }
}

}  // namespace
