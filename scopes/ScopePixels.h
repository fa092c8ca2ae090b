// Pixel records the scope graphs read and accumulate. Every field is 8 bits unless noted; U and V
// hold 128 as their zero.
#pragma once
#include "winport/base/types.h"

// One pixel as bytes B, G, R, A in memory (the word 0xAARRGGBB). Alpha is never read.
struct SARGB {
  BYTE blue;
  BYTE green;
  BYTE red;
  BYTE alpha;
};

// A horizontal pixel pair in 4:2:2, memory order Y1 U Y2 V: the graphs' internal form.
struct VYUY {
  BYTE y1;
  BYTE u;
  BYTE y2;
  BYTE v;
};

// The same pair in memory order U Y1 V Y2.
struct YVYU {
  BYTE u;
  BYTE y1;
  BYTE v;
  BYTE y2;
};

// Level counters of one pixel column, one per 8-bit level.
struct GrayLevel {
  LONG nLevel[256];
};

// Counters of one Y/C waveform column. Counter k stands for code level k - 125 (k = 141 is 16,
// k = 360 is 235); counter 0 is never counted.
struct YCLevel {
  LONG nLevel[537];
};

static_assert(sizeof(SARGB) == 4 && sizeof(VYUY) == 4 && sizeof(YVYU) == 4);
static_assert(sizeof(GrayLevel) == 1024 && sizeof(YCLevel) == 537 * 4);
