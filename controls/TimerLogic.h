// Pure logic of the digit-strip time display: which glyph each of the eight HH:MM:SS cells
// shows, the seconds a (h, m, s) triple stands for, and the window sizes.
#pragma once
#include <array>

#include "foundation/Export.h"
#include "winport/base/types.h"

namespace timerwnd {

constexpr int kGlyphCount = 11;  // digits 0-9, then the colon
constexpr int kColon = 10;
constexpr int kCellCount = 8;    // HH:MM:SS
constexpr DWORD kNoTime = 0xFFFFFFFF;

// Glyph index of each cell, left to right. Hours above 23 lose 24 once (so 25 h shows 01 and
// 48 h shows 24); what is then 100 or more wraps modulo 100, keeping the tens digit a digit.
PARVANEU_API std::array<int, kCellCount> Cells(DWORD dwSeconds);

// nSecond + 60 nMinute + 3600 nHour summed in 64 bits and clamped to 0 .. kNoTime - 1: negative
// totals show 00:00:00 and none can be mistaken for "no time".
PARVANEU_API DWORD TotalSeconds(int nHour, int nMinute, int nSecond);

// 8 glyph widths plus the frame on both sides, by the glyph height plus the frame. False when
// either side is not positive or does not fit an int.
PARVANEU_API bool FitSize(int nNumWidth, int nNumHeight, int nFrameWidth, SIZE& size);

// The window's rectangle before a strip sizes it: pt .. (10, 10), never inverted (an empty side
// where pt lies beyond 10).
PARVANEU_API RECT InitialRect(POINT pt);

}  // namespace timerwnd
