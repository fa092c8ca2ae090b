// The one rule of the coordinate family: NaN is 0 and everything else saturates at the limit.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/Coord.h"

TEST(Coord, NaNIsZeroAndTheRestSaturates) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (int limit : {1 << 20, 1 << 24, coord::kLimit}) {
    EXPECT_EQ(coord::Trunc(nan, limit), 0);
    EXPECT_EQ(coord::Nearest(nan, limit), 0);
    EXPECT_EQ(coord::Trunc(inf, limit), limit);
    EXPECT_EQ(coord::Nearest(-inf, limit), -limit);
    EXPECT_EQ(coord::Trunc(-1e300, limit), -limit);
  }
  EXPECT_EQ(coord::Trunc(-2.7), -2);
  EXPECT_EQ(coord::Nearest(2.5), 2) << "halves to even";
  EXPECT_EQ(coord::Nearest(-3.5), -4);
}
