// The pixel records that frames are made of. Every field is 8 bits; U and V hold 128 as their
// zero.
#pragma once
#include "winport/base/types.h"

// One pixel as bytes B, G, R, A in memory (the word 0xAARRGGBB). Alpha is never read.
struct SARGB {
  BYTE blue;
  BYTE green;
  BYTE red;
  BYTE alpha;
};

// A horizontal pixel pair in 4:2:2, memory order Y1 U Y2 V: the internal luma/chroma form.
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

static_assert(sizeof(SARGB) == 4 && sizeof(VYUY) == 4 && sizeof(YVYU) == 4);
