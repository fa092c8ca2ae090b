// The scope graph from a host's point of view: one frame of any format and geometry, then every
// drawing into targets of any size. Each buffer is exactly as large as its call claims, so any
// read or write past it is the library's fault. Frames whose extent passes the library's
// documented limit (2^31 bytes) are handed in over a one-byte block: they must be refused.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "companion/Buf32Draw.h"
#include "scopes/VideoScopeGraph.h"

namespace {

using Input = FuzzInput;

// Bytes one row of the format reads (the library's own rule, restated).
long long RowBytes(int fmt, long long w) {
  const long long pairs = w / 2;
  switch (fmt) {
    case CVideoScopeGraph::ARGB: return w * 4;
    case CVideoScopeGraph::TVYU: return pairs * 8;
    case CVideoScopeGraph::M101_10BIT: {
      if (pairs == 0) return 0;
      const long long last = (pairs * 4 - 1) / 128;
      return last * 160 + pairs * 4 - last * 128;
    }
    default: return pairs * 4;
  }
}

// A size: mostly small, sometimes one of the extremes hosts get wrong.
long Size(Input& in, long small) {
  static const long extremes[] = {0, -1, 1, LONG_MIN, LONG_MAX, (1L << 62) + 2, 1L << 31, 1L << 15, (1L << 15) + 1, 65535};
  const uint8_t sel = in.Take<uint8_t>();
  if (sel < 224) return sel % (small + 1);
  return extremes[sel % (sizeof extremes / sizeof extremes[0])];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  const int fmt = in.Take<uint8_t>() % 6;  // 5 is no format
  const long w = Size(in, 300), h = Size(in, 48), skip = Size(in, 6);
  const long pitchExtra = Size(in, 64);
  const uint8_t flags = in.Take<uint8_t>();
  const long long minRow = w > 0 && w <= (1L << 20) ? RowBytes(fmt, w) : 0;
  long pitch = pitchExtra;
  if (!(flags & 0x80) && __builtin_add_overflow(static_cast<long>(minRow), pitchExtra, &pitch)) pitch = pitchExtra;

  CVideoScopeGraph g;
  g.EnableVector(flags & 1);
  g.EnableYParade(flags & 2);
  g.EnableYHisto(flags & 4);
  g.EnableLighting(flags & 8);
  g.EnableRGBAnalyse(flags & 16);
  g.SetYorYCFlag(static_cast<unsigned char>((flags >> 5) & 3));

  // Exactly the bytes the call claims: every sampled row's pitch but the last, whose row only.
  long long extent = -1;
  if (w > 0 && h > 0 && w <= (1L << 20) && h <= (1L << 20)) {
    const long long eff = pitch > minRow ? pitch : minRow;
    if (eff < (1LL << 40)) extent = eff * (h - 1) + minRow;
  }
  std::vector<uint8_t> frame;
  uint8_t one = 0;
  void* pData = &one;
  if (extent >= 0 && extent <= (1 << 20)) {
    frame.resize(static_cast<size_t>(extent));
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = in.n ? in.p[i % in.n] : static_cast<uint8_t>(i * 31);
    pData = frame.empty() ? nullptr : frame.data();
  } else if (extent >= 0 && extent < (1LL << 31)) {
    return 0;  // a real frame too large to fuzz quickly
  }
  g.UpdateGraph(pData, w, h, pitch, skip, CVideoScopeGraph::ColFmt(fmt));

  const int bw = static_cast<int>(Size(in, 200)), bh = static_cast<int>(Size(in, 200));
  const long long pixels = bw > 0 && bh > 0 ? static_cast<long long>(bw) * bh : 0;
  if (pixels > (1 << 18)) return 0;
  std::vector<DWORD> buf(static_cast<size_t>(pixels));
  DWORD* p = buf.empty() ? nullptr : buf.data();
  const int l = in.Take<int16_t>(), t = in.Take<int16_t>(), r = in.Take<int16_t>(), b = in.Take<int16_t>();
  const CRect rc(l, t, r, b);
  const uint8_t mode = in.Take<uint8_t>();
  const float gain = in.Take<float>();
  const double top = in.Take<double>(), bottom = in.Take<double>();
  g.DrawParadeL(p, bw, bh, rc, mode & 1, mode & 2, mode & 4);
  g.DrawVector(p, bw, bh, gain);
  g.DrawLightning(p, bw, bh, rc, mode & 2);
  g.DrawParadeR(p, bw, bh, rc, top, bottom);
  g.DrawParadeG(p, bw, bh, rc, 255, 0);
  g.DrawParadeB(p, bw, bh, rc, bottom, top);
  CBuf32Draw d;
  if (bw > 0 && bh > 0) d.Create(bw, bh);
  g.DrawHistoL(&d, rc);
  g.DrawHistoR(&d, rc);
  g.DrawHistoG(&d, rc);
  g.DrawHistoB(&d, rc);
  // A copy draws the same way, and nothing is drawn from a frame that has ended.
  CVideoScopeGraph copy(g);
  g.EndUpdateGraph();
  copy.DrawVector(p, bw, bh, gain);
  g.DrawLightning(p, bw, bh, rc, mode & 2);
  return 0;
}
