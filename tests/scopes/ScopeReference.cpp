#include "ScopeReference.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "companion/FastLog.h"
#include "scopes/ScopePalette.h"

namespace ref {

long Frame::Rows() const { return std::max(1L, height / (skip + 1)); }

Frame RandomFrame(std::mt19937& rng, long width, long height, long pitch, long skip, long minRow) {
  Frame f;
  f.width = width;
  f.height = height;
  f.pitch = std::max(pitch, minRow);
  f.skip = skip;
  f.bytes.resize(static_cast<size_t>(f.pitch) * height + 16);
  for (auto& b : f.bytes) b = static_cast<uint8_t>(rng());
  return f;
}

std::vector<uint8_t> ToVYUY(int fmt, const Frame& f) {
  const long pairs = f.width / 2, rows = f.Rows();
  std::vector<uint8_t> out(pairs * 4 * rows);
  for (long r = 0; r < rows; ++r) {
    const uint8_t* s = f.bytes.data() + r * (f.skip + 1) * f.pitch;
    uint8_t* d = out.data() + r * pairs * 4;
    for (long i = 0; i < pairs; ++i) {
      uint8_t* o = d + 4 * i;
      switch (fmt) {
        case 1:  // U Y1 V Y2
          o[0] = s[4 * i + 1], o[1] = s[4 * i], o[2] = s[4 * i + 3], o[3] = s[4 * i + 2];
          break;
        case 2: {  // pixels U Y V T
          const uint8_t* a = s + 8 * i;
          const uint8_t* b = a + 4;
          o[0] = a[1], o[1] = uint8_t((a[0] + b[0]) / 2), o[2] = b[1], o[3] = uint8_t((a[2] + b[2]) / 2);
          break;
        }
        case 3:
          std::memcpy(o, s + 4 * i, 4);
          break;
        case 4:  // each 160-byte block starts with 128 bytes of 8-bit samples
          for (int k = 0; k < 4; ++k) {
            const long byte = 4 * i + k;
            o[k] = s[(byte / 128) * 160 + byte % 128];
          }
          break;
      }
    }
  }
  return out;
}

std::vector<Counts256> LumaCounts(const uint8_t* p, long width, long rows, long rowStep) {
  std::vector<Counts256> c(width, Counts256{});
  for (long i = 0; i < width / 2; ++i)
    for (long r = 0; r < rows; ++r) {
      const uint8_t* u = p + r * rowStep + 4 * i;
      c[2 * i][u[0]]++;
      c[2 * i + 1][u[2]]++;
    }
  return c;
}

std::vector<int16_t> LumaMap(int rows) {
  CFastLog log;
  std::vector<int16_t> m(rows + 1);
  const float s = 256 / log.Calc(rows);
  for (int k = 1; k <= rows; ++k) m[k] = rows == 1 ? 255 : int16_t(std::min(255, int(log.Calc(k) * s)));
  return m;
}

std::vector<int16_t> YCMap(int rows) {
  CFastLog log;
  std::vector<int16_t> m(rows + 1);
  const float s = 256 / log.Calc(rows + 800);
  for (int k = 1; k <= rows; ++k) m[k] = int16_t(std::min(255, int(log.Calc(k) * s) + 1));
  return m;
}

std::vector<Counts537> YCCounts(const uint8_t* p, long width, long rows, long rowStep) {
  std::vector<Counts537> c(width, Counts537{});
  for (long i = 0; i < width / 2; ++i)
    for (long r = 0; r < rows; ++r) {
      const uint8_t* u = p + r * rowStep + 4 * i;
      const int a = std::abs(int((u[1] - 128) / 0.564 * 0.493));
      const int b = std::abs(int((u[3] - 128) / 0.713 * 0.877));
      const int m = int(std::sqrt(double(a * a + b * b)));
      const int ys[2] = {u[0], u[2]};
      for (int s = 0; s < 2; ++s)
        for (int j = ys[s] - m - 16; j <= ys[s] + m - 16; ++j)
          if (j + 140 >= 0 && j + 140 <= 535) c[2 * i + s][j + 141]++;
    }
  return c;
}

std::array<uint32_t, 256> LumaHisto(const uint8_t* p, long width, long rows, long rowStep) {
  std::array<uint32_t, 256> h{};
  for (long r = 0; r < rows; ++r)
    for (long i = 0; i < width / 2; ++i) {
      h[p[r * rowStep + 4 * i]]++;
      h[p[r * rowStep + 4 * i + 2]]++;
    }
  return h;
}

RGBData RGBCounts(const uint8_t* p, long width, long rows, long rowStep) {
  RGBData d;
  d.r.assign(width, Counts256{});
  d.g.assign(width, Counts256{});
  d.b.assign(width, Counts256{});
  for (long x = 0; x < width; ++x)
    for (long r = 0; r < rows; ++r) {
      const uint8_t* px = p + r * rowStep + 4 * x;
      d.b[x][px[0]]++, d.g[x][px[1]]++, d.r[x][px[2]]++;
      d.hb[px[0]]++, d.hg[px[1]]++, d.hr[px[2]]++;
    }
  return d;
}

void DrawParadeElement(const GrayLevel* levels, long count, uint32_t* buf, int step, int rows, const RECT& rc,
                       double top, double bottom, int channel) {
  const double ys = (rc.bottom - rc.top) / (top - bottom);
  const double xs = double(rc.right - rc.left) / count;
  for (long e = 0; e < count; ++e) {
    const long x0 = rc.left + std::lrint(e * xs);
    const long w = std::max(1L, rc.left + std::lrint((e + 1) * xs) - x0);
    for (int i = 0; i < 256; ++i) {
      const int n = levels[e].nLevel[i];
      if (n == 0) continue;
      const long yA = std::lrint((i - bottom) * ys), yB = std::lrint((i + 1 - bottom) * ys);
      const long hh = std::max(1L, yB - yA);
      const long y0 = rc.bottom - yA - hh / 2;
      for (long y = y0; y < y0 + hh; ++y)
        for (long x = x0; x < x0 + w; ++x) {
          if (y < 0 || y >= rows || x < 0 || x >= step) continue;
          uint8_t* b = reinterpret_cast<uint8_t*>(&buf[y * step + x]);
          if (i < 5 || i > 246)
            b[0] = b[1] = b[2] = 255;
          else
            b[2 - channel] = uint8_t(std::min(128 + 4 * n, 255));
        }
    }
  }
}

namespace {
void Finish(uint32_t* buf, int step, int rows) {
  for (long i = 0; i < long(step) * rows; ++i) {
    const int32_t v = int32_t(buf[i]);
    if (v < 0) buf[i] = 0xFF5050;
    else if (v > 0) buf[i] = ScopePalette[v];
  }
}
void Band(uint32_t* buf, int step, int rowTop, int rowBottom, float x, float cw, int32_t v, bool mark) {
  for (int y = rowTop; y < rowBottom; ++y)
    for (int k = 0; k < cw; ++k) {
      const long xx = long(x) + k;
      if (xx < 0 || xx >= step) continue;
      uint32_t& px = buf[y * step + xx];
      if (mark) px = 0x80000000u;
      else if (v > int32_t(px)) px = uint32_t(v);
    }
}
}  // namespace

void DrawYParade(const GrayLevel* levels, int count, uint32_t* buf, int step, int rows, const RECT& rc, bool full,
                 bool mark) {
  const int h = rc.bottom - rc.top;
  int row[256];
  for (int L = 0; L < 256; ++L) {
    int y = full ? rc.bottom - (h * L) / 256 : rc.bottom - (((256 * L) / 220 - 16) * h) / 256;
    row[L] = std::clamp(y, 0, rows - 1);
  }
  const float cw = float(rc.right - rc.left) / count;
  float x = float(rc.left);
  for (int e = 0; e < count; ++e, x += cw) {
    const LONG* V = levels[e].nLevel;
    if (mark) {
      for (int L = 0; L < 255; ++L)
        if (V[L] != 0) Band(buf, step, row[L + 1], row[L], x, cw, V[L], L <= 15 || L >= 236);
    } else {
      for (int L = 0; L < 256; ++L)
        if (V[L] != 0 && int(x) >= 0 && int(x) < step) {
          uint32_t& px = buf[row[L] * step + int(x)];
          if (V[L] > int32_t(px)) px = uint32_t(V[L]);
        }
    }
  }
  Finish(buf, step, rows);
}

void DrawYParade2(const YCLevel* levels, int count, uint32_t* buf, int step, int rows, const RECT& rc, bool full,
                  bool mark) {
  const int h = rc.bottom - rc.top;
  int row[537];
  for (int k = 0; k < 537; ++k) {
    const double y = full ? rc.bottom - (255.0 * (k - 141) / 219) * (h / 256.0) : rc.bottom - (k - 141) * h / 220.0;
    row[k] = int(std::clamp(std::trunc(y), 0.0, double(rows - 1)));
  }
  const float cw = float(rc.right - rc.left) / count;
  float x = float(rc.left);
  for (int e = 0; e < count; ++e, x += cw) {
    const LONG* V = levels[e].nLevel;
    for (int k = 0; k <= 529; ++k) {
      const bool markBand = mark && k >= 393;
      if (markBand ? V[k] != 0 : V[k] > 0) Band(buf, step, row[k + 1], row[k], x, cw, V[k], markBand);
    }
  }
  Finish(buf, step, rows);
}

}  // namespace ref
