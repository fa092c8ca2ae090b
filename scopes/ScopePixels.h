// Records the scope graphs accumulate into; the pixel records they read come from the companion.
#pragma once
#include "companion/PixelRecords.h"
#include "winport/base/types.h"

// Level counters of one pixel column, one per 8-bit level.
struct GrayLevel {
  LONG nLevel[256];
};

// Counters of one Y/C waveform column. Counter k stands for code level k - 125 (k = 141 is 16,
// k = 360 is 235); counter 0 is never counted.
struct YCLevel {
  LONG nLevel[537];
};

static_assert(sizeof(GrayLevel) == 1024 && sizeof(YCLevel) == 537 * 4);
