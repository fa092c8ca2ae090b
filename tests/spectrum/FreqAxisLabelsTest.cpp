// Which grid lines of the spectrum display carry a label, and what it says.
#include <gtest/gtest.h>

#include "foundation/AudioScale.h"
#include "spectrum/FreqAxis.h"
#include "spectrum/FreqAxisLabels.h"

namespace {

using spectrum::SAxisMark;

void ExpectApart(const std::vector<SAxisMark>& marks, int gap) {
  for (size_t i = 1; i < marks.size(); ++i) EXPECT_GE(marks[i].nPos - marks[i - 1].nPos, gap) << "mark " << i;
}

TEST(FreqAxisLabels, WarpedAxisLabelsRoundFrequenciesOnTheirGridLines) {
  const auto wide = spectrum::WarpedFreqMarks(24000, 800, 44);
  ASSERT_GE(wide.size(), 5u);
  for (const SAxisMark& m : wide) {
    EXPECT_EQ(m.nPos, spectrum::WarpedX(24000, 800, static_cast<int>(m.nValue))) << m.nValue;
    EXPECT_GE(m.nValue, 200);  // the grid's first line
    EXPECT_LT(m.nPos, 800);
  }
  ExpectApart(wide, 44);
  // A narrow axis keeps the decades and gives up the lines between them.
  const auto narrow = spectrum::WarpedFreqMarks(24000, 120, 44);
  std::vector<long long> values;
  for (const SAxisMark& m : narrow) values.push_back(m.nValue);
  EXPECT_EQ(values, (std::vector<long long>{1000, 10000}));
  EXPECT_TRUE(spectrum::WarpedFreqMarks(0, 800, 44).empty());
}

TEST(FreqAxisLabels, LinearAxisLabelsEveryLineThatHasRoom) {
  const auto roomy = spectrum::LinearFreqMarks(2000, 12, 66, 44);
  ASSERT_EQ(roomy.size(), 13u);
  EXPECT_EQ(roomy[12].nPos, 792);
  EXPECT_EQ(roomy[12].nValue, 24000);
  const auto tight = spectrum::LinearFreqMarks(1000, 24, 20, 44);  // every third line
  ASSERT_EQ(tight.size(), 9u);
  EXPECT_EQ(tight[1].nValue, 3000);
  ExpectApart(tight, 44);
}

TEST(FreqAxisLabels, LevelLabelsFollowTheScaleFromTheTop) {
  const CAudioScale scale(TRUE);
  const auto marks = spectrum::LevelMarks(&scale, 190, 24);
  ASSERT_GE(marks.size(), 4u);
  EXPECT_EQ(marks[0].nPos, 0);
  EXPECT_EQ(marks[0].nValue, 12);
  ExpectApart(marks, 24);
  EXPECT_TRUE(spectrum::LevelMarks(nullptr, 190, 24).empty());
}

TEST(FreqAxisLabels, FrequenciesReadAsPeopleWriteThem) {
  EXPECT_EQ(spectrum::FreqText(0), L"0");
  EXPECT_EQ(spectrum::FreqText(200), L"200");
  EXPECT_EQ(spectrum::FreqText(1000), L"1k");
  EXPECT_EQ(spectrum::FreqText(1500), L"1.5k");
  EXPECT_EQ(spectrum::FreqText(22000), L"22k");
  EXPECT_EQ(spectrum::FreqText(22050), L"22050");
}

}  // namespace
