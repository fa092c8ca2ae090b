#include "scopes/displays/ChromaDisplays.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "scopes/ScopePalette.h"
#include "scopes/SlicePool.h"
#include "scopes/ScopeWndGeometry.h"

namespace scopes_detail {

namespace {

constexpr std::size_t kTableWords = 3 * static_cast<std::size_t>(kChromaTableEntries);

// Zeroed count tables for drawing without the frame's counts, two per thread, reused from call
// to call.
DWORD* ScratchTable(int n) {
  static thread_local std::unique_ptr<DWORD[]> tables[2];
  if (!tables[n]) tables[n] = std::make_unique<DWORD[]>(kChromaTableEntries);
  std::memset(tables[n].get(), 0, sizeof(DWORD) * kChromaTableEntries);
  return tables[n].get();
}

inline bool IsMark(DWORD px) { return static_cast<LONG>(px) < 0; }

float LogRatio(const CFastLog& log, long long nTotal, float fScale) {
  const float f = log.Calc(static_cast<int>(std::min<long long>(nTotal, INT_MAX)));
  return f > 0.f ? fScale / f : 0.f;
}

}  // namespace

bool ChromaDisplays::Counts::Allocate(int nSlices) {
  try {
    if (!m_frame) m_frame = std::make_unique<DWORD[]>(kTableWords);
    if (nSlices > 1 && m_nSlices < nSlices - 1) {
      m_slices = std::make_unique<DWORD[]>(kTableWords * (nSlices - 1));
      m_nSlices = nSlices - 1;
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

DWORD* ChromaDisplays::Counts::Slice(int s) const {
  return s == 0 ? m_frame.get() : m_slices.get() + kTableWords * (s - 1);
}

bool ChromaDisplays::VectorKey::operator==(const VectorKey& o) const {
  return width == o.width && height == o.height && !(std::fabs(gain - o.gain) > 0.001f);
}

bool ChromaDisplays::Begin(int nSlices, bool bVector, bool bLightning) {
  m_counts.Forget();
  m_counts.bVector = bVector;
  m_counts.bLightning = bLightning;
  return m_counts.Allocate(nSlices);
}

// Each slice counts into tables of its own; slice 0's are the frame's.
void ChromaDisplays::Accumulate(const RowSource& src, int r0, int r1, int s, const RowSink& sink) {
  DWORD* t = m_counts.Slice(s);
  const int nTables = m_counts.bLightning ? 3 : 1;
  std::memset(t, 0, sizeof(DWORD) * nTables * kChromaTableEntries);
  CountChromaRows(src, r0, r1, m_counts.bVector ? t : nullptr, m_counts.bLightning ? t + kChromaTableEntries : nullptr,
                  m_counts.bLightning ? t + 2 * kChromaTableEntries : nullptr, sink);
}

void ChromaDisplays::Collect(int s, int nSlices) {
  if (nSlices == 1) return;
  const int nTables = m_counts.bLightning ? 3 : 1;
  const Split words{nTables * kChromaTableEntries, nSlices, 64};
  DWORD* t = m_counts.Slice(0);
  for (int k = 1; k < nSlices; ++k) {
    const DWORD* o = m_counts.Slice(k);
    for (int i = words.Begin(s); i < words.Begin(s + 1); ++i) t[i] += o[i];
  }
}

void ChromaDisplays::End() {
  m_counts.bUV = m_counts.bVector;
  m_counts.bYUV = m_counts.bLightning;
}

void ChromaDisplays::DrawVector(const DrawTarget& t, const RowSource& frame, long long nPairs, float fGain,
                                const CFastLog& log) {
  const int nWidth = t.step, nHeight = t.rows;
  if (nWidth > 32767 || nHeight > 32767) return;  // positions are 16-bit
  // Past this gain every point but zero chroma lies off any target; clamping keeps the scale
  // finite, so zero chroma times the scale stays zero.
  constexpr float kMaxGain = 65536.f;
  fGain = std::clamp(fGain, -kMaxGain, kMaxGain);
  const SHORT* XY = m_vectorXY.For({nWidth, nHeight, fGain}, 512, [&](SHORT* xy) {
    const int cx = nWidth / 2, cy = nHeight / 2;
    const float s = std::min(nWidth, nHeight) * fGain / 256;
    const float sy = static_cast<float>(static_cast<double>(s) * static_cast<double>(scopewnd::kVectorStretch));
    auto to16 = [](double v) { return static_cast<SHORT>(std::clamp(v, -32768.0, 32767.0)); };
    for (int i = 0; i < 256; ++i) {
      const int d = i - 128;
      xy[i] = to16(cx + std::trunc(static_cast<double>(d * s)));
      xy[256 + i] = to16(cy - std::trunc(static_cast<double>(d * sy)));
    }
  });
  const int* ro = m_vectorRows.For({nWidth, nHeight}, nHeight, [&](int* rows) {
    for (int r = 0; r < nHeight; ++r) rows[r] = r * nWidth;
  });
  if (!XY || !ro) return;
  const SHORT* X = XY;
  const SHORT* Y = XY + 256;
  DWORD* pBuf = t.buf;
  // Counts per (U, V) first: the 256 x 256 table stays cached where the target may not; then
  // each chroma pair's count lands on its point.
  const DWORD* uv = m_counts.bUV ? m_counts.Slice(0) : nullptr;
  if (!uv) {
    DWORD* s = ScratchTable(0);
    CountChromaRows(frame, 0, frame.rows, s, nullptr, nullptr, {});
    uv = s;
  }
  for (int U = 0; U < 256; ++U) {
    const int x = X[U];
    if (x < 1 || x >= nWidth - 1) continue;
    const DWORD* n = uv + 256 * U;
    for (int V = 0; V < 256; ++V) {
      const int y = Y[V];
      if (n[V] != 0 && y >= 1 && y < nHeight - 1) pBuf[ro[y] + x] += n[V];
    }
  }

  // When there is a single sample, its one count is the whole picture: full intensity.
  const float inv = LogRatio(log, nPairs, 1.f);
  for (int y = 0; y < nHeight; ++y) {
    for (int x = 0; x < nWidth; ++x) {
      DWORD* p = pBuf + ro[y] + x;
      const int n = static_cast<int>(*p & 0xFFFFFF);
      if (n == 0) continue;
      const int v = inv > 0.f ? std::min(255, 1 + static_cast<int>(400 * log.Calc(n) * inv)) : 255;
      *p = static_cast<DWORD>(v);
      const DWORD glow = static_cast<DWORD>((v / 2 + 1) & 0xFF) << 24;
      auto lit = [&](int gx, int gy) {
        if (gx < 0 || gx >= nWidth || gy < 0 || gy >= nHeight) return;
        DWORD& q = pBuf[ro[gy] + gx];
        if (q == 0) q = glow;
      };
      // A neighbour that is already lit passes the glow on to its sides instead.
      const int nx[4] = {x - 1, x + 1, x, x};
      const int ny[4] = {y, y, y - 1, y + 1};
      for (int k = 0; k < 4; ++k) {
        if (nx[k] < 0 || nx[k] >= nWidth || ny[k] < 0 || ny[k] >= nHeight) continue;
        DWORD& q = pBuf[ro[ny[k]] + nx[k]];
        if (q == 0) {
          q = glow;
        } else if (k < 2) {
          lit(nx[k], ny[k] - 1);
          lit(nx[k], ny[k] + 1);
        } else {
          lit(nx[k] - 1, ny[k]);
          lit(nx[k] + 1, ny[k]);
        }
      }
    }
  }
  const long long n = t.Pixels();
  for (long long i = 0; i < n; ++i) {
    DWORD q = pBuf[i] & 0xFF;
    if (q == 0) q = pBuf[i] >> 24;
    if (q != 0) pBuf[i] = ScopePalette[q];
  }
}

void ChromaDisplays::DrawLightning(const DrawTarget& t, const RowSource& frame, long long nPairs, bool bMarkOut,
                                   const CFastLog& log) {
  const CRect& rc = t.rc;
  const int nStep = t.step, nRows = t.rows;
  if (static_cast<long long>(nStep) * std::max(std::abs(rc.top), std::abs(rc.bottom)) > INT_MAX / 2) return;
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const int* LX = m_lightX.For({rc.left, w}, 256, [&](int* lx) {
    for (int L = 0; L < 256; ++L) lx[L] = rc.left + (L * w) / 256;
  });
  const int* LY = m_lightY.For({h, nStep}, 256, [&](int* ly) {
    for (int L = 0; L < 256; ++L) ly[L] = nStep * ((std::abs(L - 128) * h) / 256);
  });
  if (!LX || !LY) return;
  DWORD* pBuf = t.buf;
  const int ctrRow = (rc.bottom + rc.top) / 2;
  const int ctr = nStep * ctrRow;
  // Counts per (Y, U) for the upper points and per (Y, V) for the lower ones, then each table
  // entry lands on its point. Marks only need to be known per point: a marked pixel stays
  // negative whatever is added to it, so the order of marks and counts does not matter.
  const DWORD* yu = m_counts.bYUV ? m_counts.Slice(0) + kChromaTableEntries : nullptr;
  const DWORD* yv = yu ? yu + kChromaTableEntries : nullptr;
  if (!yu) {
    DWORD* tu = ScratchTable(0);
    DWORD* tv = ScratchTable(1);
    CountChromaRows(frame, 0, frame.rows, nullptr, tu, tv, {});
    yu = tu, yv = tv;
  }
  int dy[256];
  for (int L = 0; L < 256; ++L) dy[L] = (std::abs(L - 128) * h) / 256;
  for (int sign = -1; sign <= 1; sign += 2) {
    const DWORD* table = sign < 0 ? yu : yv;
    for (int Y = 0; Y < 256; ++Y) {
      const int x = LX[Y];
      if (x < 0 || x >= nStep) continue;
      const bool badY = Y < scopewnd::kLegalLumaLow || Y > scopewnd::kLegalLumaHigh;
      const DWORD* n = table + 256 * Y;
      for (int C = 0; C < 256; ++C) {
        if (n[C] == 0) continue;
        const int y = ctrRow + sign * dy[C];
        if (y < 0 || y >= nRows) continue;
        DWORD& px = pBuf[ctr + sign * LY[C] + x];
        if (bMarkOut && (badY || C < scopewnd::kLegalChromaLow || C > scopewnd::kLegalChromaHigh))
          px = SCOPE_MARK_VALUE;
        else
          px += n[C];
      }
    }
  }

  const float s = LogRatio(log, 2 * nPairs, 400.f);
  const long long n = t.Pixels();
  for (long long i = 0; i < n; ++i) {
    const DWORD px = pBuf[i];
    if (px == 0) continue;
    if (bMarkOut && IsMark(px)) {
      pBuf[i] = SCOPE_MARK_COLOR;
      continue;
    }
    const int cnt = static_cast<int>(std::min<DWORD>(px, INT_MAX));
    const int v = s > 0.f ? std::min(255, static_cast<int>(s * log.Calc(cnt)) + 1) : 255;
    pBuf[i] = ScopePalette[v];
  }
}

}  // namespace scopes_detail
