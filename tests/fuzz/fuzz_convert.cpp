// The companion's colour conversions with any geometry: each source holds exactly the bytes the
// call reads and each destination exactly the bytes it writes, so any access past them is the
// library's fault. Geometries past the documented limits are handed in over one-byte blocks:
// they must be refused.
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "companion/ColorConvert.h"

namespace {

using Input = FuzzInput;

long Size(Input& in, long small) {
  static const long extremes[] = {0, -1, LONG_MIN, LONG_MAX, (1L << 62) + 2, 1L << 62, 1L << 40, 1L << 28, (1L << 28) + 1};
  const uint8_t sel = in.Take<uint8_t>();
  if (sel < 224) return sel % (small + 1);
  return extremes[sel % (sizeof extremes / sizeof extremes[0])];
}

// Source bytes of a frame (bytesPerRow read from each sampled row) or -1 when the geometry is
// refused by the library's documented rules (outBytesPerPixel: bytes written per pixel).
long long Extent(long w, long h, long pitch, long skip, long long bytesPerRow, long long outBytesPerPixel) {
  if (w <= 0 || h <= 0 || w > kMaxConvertWidth || pitch < bytesPerRow) return -1;
  const long long every = skip < 0 ? 1 : skip >= h ? h : skip + 1;
  const long long rows = h / every > 0 ? h / every : 1;
  long long step, span, extent;
  if (__builtin_mul_overflow(every, static_cast<long long>(pitch), &step) || __builtin_mul_overflow(rows - 1, step, &span) ||
      __builtin_add_overflow(span, bytesPerRow, &extent) || extent > kMaxConvertFrameBytes)
    return -1;
  long long out;
  if (__builtin_mul_overflow(rows, w * outBytesPerPixel, &out) || out > kMaxConvertFrameBytes) return -1;
  return extent;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  const uint8_t op = in.Take<uint8_t>();
  const long w = Size(in, 200), h = Size(in, 40), skip = Size(in, 5), pitchExtra = Size(in, 40);
  const bool toPairs = (op & 1) == 0;
  const long long perRow = w > 0 && w <= kMaxConvertWidth ? (toPairs ? w * 4LL : (w / 2) * 4LL) : 0;
  long pitch = pitchExtra;
  if (!(op & 2) && __builtin_add_overflow(static_cast<long>(perRow), pitchExtra, &pitch)) pitch = pitchExtra;
  const long long extent = Extent(w, h, pitch, skip, perRow, toPairs ? 2 : 4);
  uint8_t oneSrc = 0, oneDst = 0;
  std::vector<uint8_t> src, dst;
  void* ps = &oneSrc;
  void* pd = &oneDst;
  if (extent >= 0) {
    if (extent > (8 << 20)) return 0;
    const long long every = skip < 0 ? 1 : skip >= h ? h : skip + 1;
    const long long rows = h / every > 0 ? h / every : 1;
    const long long out = rows * (toPairs ? (w / 2) * 4 : w * 4LL);  // checked by Extent
    if (out > (16 << 20)) return 0;
    src.resize(static_cast<size_t>(extent));
    for (size_t i = 0; i < src.size(); ++i) src[i] = in.n ? in.p[i % in.n] : static_cast<uint8_t>(i);
    dst.resize(static_cast<size_t>(out));
    ps = src.empty() ? nullptr : src.data();
    pd = dst.empty() ? nullptr : dst.data();
  }
  if (toPairs)
    ARGB2VYUY(ps, w, h, pitch, skip, pd);
  else
    VYUY2ARGB(ps, w, h, pitch, skip, pd);

  // One row to YVYU, and the HSV pair.
  const int count = static_cast<int>(Size(in, 64));
  if (count > 0 && count <= 4096) {
    std::vector<uint8_t> row(static_cast<size_t>(count) * 4, 0x5A), pairs(static_cast<size_t>(count / 2) * 4);
    ARGB2YVYU(row.data(), count, pairs.empty() ? nullptr : pairs.data());
  }
  float hh, s, v;
  RGB2HSV(in.Take<COLORREF>(), hh, s, v);
  int r, g, b;
  HSV2RGB(in.Take<float>(), in.Take<float>(), in.Take<float>(), r, g, b);
  return 0;
}
