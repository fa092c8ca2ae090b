#include "scopes/ChromaMagnitude.h"

#include <cmath>
#include <mutex>

int ChromaMagnitude[256][256];

void FillChromaMagnitude() {
  // The values never change, so refilling on every graph construction would only race with
  // readers in other threads.
  static std::once_flag once;
  std::call_once(once, [] {
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; ++b) ChromaMagnitude[a][b] = static_cast<int>(std::sqrt(double(a * a + b * b)));
  });
}
