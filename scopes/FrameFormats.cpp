#include "scopes/FrameFormats.h"

#include <algorithm>
#include <cstring>

#include "companion/ColorConvert.h"
#include "companion/ColorMath.h"

namespace scopes_detail {

namespace {

// Bytes of a 10-bit row that hold the 8-bit samples of a row of pairs.
long M101RowBytes(long nWidth) {
  const long nBytes = PairRowBytes(nWidth);
  if (nBytes <= 0) return 0;
  const long last = (nBytes - 1) / kM101Samples;
  return last * kM101Block + (nBytes - last * kM101Samples);
}
// Two four-byte pixels per pair.
long TVYURowBytes(long nWidth) { return (nWidth / 2) * 8; }

void ARGBRow(const BYTE* src, BYTE* dst, long nWidth) { ARGB2VYUY(src, nWidth, 1, PixelRowBytes(nWidth), 0, dst); }

void YVYURow(const BYTE* src, BYTE* dst, long nWidth) { kestrune::SwapPairs(src, dst, nWidth / 2); }

// Two pixels (U, Y, V, T) make a pair; their chroma is averaged.
void TVYURow(const BYTE* s, BYTE* d, long nWidth) {
  for (long i = 0; i < nWidth / 2; ++i, s += 8, d += 4) {
    d[0] = s[1];
    d[1] = static_cast<BYTE>((s[0] + s[4]) / 2);
    d[2] = s[5];
    d[3] = static_cast<BYTE>((s[2] + s[6]) / 2);
  }
}

// The 8-bit samples that lead each block, in order.
void M101Row(const BYTE* s, BYTE* d, long nWidth) {
  const long rowBytes = PairRowBytes(nWidth);
  for (long off = 0, block = 0; off < rowBytes;
       off += kM101Samples, block += kM101Block)
    std::memcpy(d + off, s + block, std::min<long>(kM101Samples, rowBytes - off));
}

constexpr FrameFormat kFormats[] = {
    {kFormatARGB, PixelRowBytes, ARGBRow, FrameLayout::Pixels,
     L"CVideoScopeGraph::UpdateGraph ARGB Y1=%d Y2=%d U=%d V=%d", {0, 2, 1, 3}},
    {kFormatYVYU, PairRowBytes, YVYURow, FrameLayout::SwappedPairs,
     L"CVideoScopeGraph::UpdateGraph YVYU Y1=%d Y2=%d U=%d V=%d", {1, 3, 0, 2}},
    {kFormatTVYU, TVYURowBytes, TVYURow, FrameLayout::Converted,
     L"CVideoScopeGraph::UpdateGraph TVYU T=%d Y=%d U=%d V=%d", {3, 1, 0, 2}},
    {kFormatVYUY, PairRowBytes, nullptr, FrameLayout::Pairs,
     L"CVideoScopeGraph::UpdateGraph VYUY Y1=%d Y2=%d U=%d V=%d", {0, 2, 1, 3}},
    {kFormatM101, M101RowBytes, M101Row, FrameLayout::Converted,
     L"CVideoScopeGraph::UpdateGraph M101_10BIT Y1=%d Y2=%d U=%d V=%d", {0, 2, 1, 3}},
};

}  // namespace

const FrameFormat* FindFrameFormat(int id) {
  for (const FrameFormat& f : kFormats)
    if (f.id == id) return &f;
  return nullptr;
}

const FrameFormat& VYUYFormat() { return *FindFrameFormat(kFormatVYUY); }

}  // namespace scopes_detail
