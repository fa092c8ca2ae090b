// The dB scale beside a meter says what the meter shows: each mark on the level's pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "audio/ExVUMeterLogic.h"
#include "tools/gallery/MeterScale.h"

namespace {

using gallery::SBarSpan;

TEST(GalleryMeterScale, MarksSitWhereTheGradientMeterDrawsThatLevel) {
  const SExVUMParam param;  // the meter's default curve, bent at -16.8 and -7.5 dB
  for (int length : {120, 264, 340}) {
    const int usable = length - 2;
    const std::vector<int> marks = {0, -3, -6, -10, -20, -40, -60, -80};
    const CAudioScale scale = gallery::ScaleOf(param, marks);
    for (bool vertical : {true, false}) {
      const SBarSpan span = gallery::BarSpanOf(length, vertical);
      for (int dB : marks) {
        const int lit = exvumeter::ValueToLeng(param, usable, static_cast<float>(dB));
        // The bar's lit end: from the bottom upwards, or from the left.
        const int edge = vertical ? 1 + usable - lit : 1 + lit;
        const int at = gallery::PixelOf(scale, span, static_cast<int>(std::lround(scale.DB2Value(dB))));
        EXPECT_LE(std::abs(at - edge), 1) << dB << " dB on a bar of " << length << (vertical ? " upright" : " across");
      }
    }
  }
}

TEST(GalleryMeterScale, CrowdedLabelsAreThinnedKeepingBothEnds) {
  const CAudioScale full(TRUE);  // 12 dB down to -110 dB in ten points
  const SBarSpan shortBar{4, 124};
  const CAudioScale thin = gallery::Thinned(full, shortBar, 12);
  ASSERT_GE(thin.m_arrScale.GetSize(), 3);
  EXPECT_LT(thin.m_arrScale.GetSize(), full.m_arrScale.GetSize());
  EXPECT_EQ(thin.GetMaxDB(), full.GetMaxDB());
  EXPECT_EQ(thin.GetMinDB(), full.GetMinDB());
  for (int i = 1; i < thin.m_arrScale.GetSize(); ++i) {
    const int a = gallery::PixelOf(thin, shortBar, thin.m_arrScale[i - 1].nValue);
    const int b = gallery::PixelOf(thin, shortBar, thin.m_arrScale[i].nValue);
    EXPECT_GE(std::abs(a - b), 12) << "labels " << i - 1 << " and " << i;
  }
  // A long bar keeps every point.
  EXPECT_EQ(gallery::Thinned(full, SBarSpan{0, 1000}, 12).m_arrScale.GetSize(), full.m_arrScale.GetSize());
}

}  // namespace
