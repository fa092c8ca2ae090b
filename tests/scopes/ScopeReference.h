// Straightforward versions of the scope graph's algorithms, written for clarity only:
// one increment per sample and level, column by column, no tiles, tables or fused passes. The
// engine's results must equal these counter for counter and pixel for pixel.
#pragma once
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "scopes/ScopePixels.h"
#include "winport/base/geometry.h"

namespace ref {

using Counts256 = std::array<int32_t, 256>;
using Counts537 = std::array<int32_t, 537>;

// A frame in memory with its geometry.
struct Frame {
  std::vector<uint8_t> bytes;
  long width = 0, height = 0, pitch = 0, skip = 0;
  long Rows() const;  // sampled rows, at least 1
  void* Data() { return bytes.data(); }
};

// Random bytes for a frame of the given geometry (pitch raised to minRow when smaller).
Frame RandomFrame(std::mt19937& rng, long width, long height, long pitch, long skip, long minRow);

// Source formats to the packed VYUY form, pairs * 4 bytes per sampled row.
std::vector<uint8_t> ToVYUY(int fmt, const Frame& f);

// Luma/chroma side, from a packed VYUY buffer (rowStep bytes between sampled rows).
std::vector<Counts256> LumaCounts(const uint8_t* p, long width, long rows, long rowStep);
std::vector<int16_t> LumaMap(int rows);
std::vector<int16_t> YCMap(int rows);
std::vector<Counts537> YCCounts(const uint8_t* p, long width, long rows, long rowStep);
std::array<uint32_t, 256> LumaHisto(const uint8_t* p, long width, long rows, long rowStep);

// RGB side, from SARGB pixels.
struct RGBData {
  std::vector<Counts256> r, g, b;
  std::array<int32_t, 256> hr{}, hg{}, hb{};
};
RGBData RGBCounts(const uint8_t* p, long width, long rows, long rowStep);

// Drawing.
void DrawParadeElement(const GrayLevel* levels, long count, uint32_t* buf, int step, int rows, const RECT& rc,
                       double top, double bottom, int channel);
void DrawYParade(const GrayLevel* levels, int count, uint32_t* buf, int step, int rows, const RECT& rc, bool full,
                 bool mark);
void DrawYParade2(const YCLevel* levels, int count, uint32_t* buf, int step, int rows, const RECT& rc, bool full,
                  bool mark);

}  // namespace ref
