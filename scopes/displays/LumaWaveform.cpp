#include "scopes/displays/LumaWaveform.h"

#include <algorithm>
#include <cstring>

#include "scopes/ScopeGeometry.h"
#include "scopes/ScopeWndGeometry.h"

namespace scopes_detail {

bool LumaWaveform::Begin(long nWidth, int nRows, const CFastLog& log) {
  if (!SizeRecords(m_levels, nWidth)) return false;
  const auto width = static_cast<std::size_t>(m_levels.GetSize());
  if (m_bits.size() != 4 * width) m_bits.assign(4 * width, 0);
  if (m_map.GetSize() == nRows + 1) return true;
  m_map.SetSize(nRows + 1, -1);
  const float logRows = log.Calc(nRows);
  // With a single sampled row the only count, 1, equals the row count: full intensity, as any
  // count equal to the number of rows gets.
  const float s = logRows > 0.f ? 256.f / logRows : 0.f;
  m_map[0] = 0;
  for (int k = 1; k <= nRows; ++k) {
    const int v = logRows > 0.f ? static_cast<int>(log.Calc(k) * s) : 255;
    m_map[k] = static_cast<SHORT>(std::min(255, v));
  }
  return true;
}

void LumaWaveform::Accumulate(const RowSource& src, int p0, int p1, DWORD* histo, const RowSink& sink) {
  CountLumaColumns(src, p0, p1, m_map.GetData(), m_levels.GetData(), m_bits.data(), histo, sink);
}

void LumaWaveform::End(int nPairs) {
  WaveformRecords::End(nPairs);
  for (std::size_t c = 2 * static_cast<std::size_t>(nPairs); c < static_cast<std::size_t>(m_levels.GetSize()); ++c)
    std::memset(&m_bits[4 * c], 0, 4 * sizeof(uint64_t));
}

const int* LumaWaveform::RowTable(const DrawTarget& t, bool bFullRange) {
  const long long bottom = t.rc.bottom, h = t.rc.bottom - t.rc.top;
  return m_rows.For(t, bFullRange, 256, [&](int L) -> double {
    if (bFullRange) return static_cast<double>(bottom - (h * L) / 256);
    const long long v = (256LL * L) / 220 - 16;
    return static_cast<double>(bottom - (v * h) / 256);
  });
}

const uint64_t* LumaWaveform::LevelBits() const {
  return m_bits.size() == 4 * static_cast<std::size_t>(m_levels.GetSize()) ? m_bits.data() : nullptr;
}

// Records that land on the same buffer columns (a frame is usually wider than its drawing) are
// drawn together: each level once, with the largest value among them. Drawing them one by one
// leaves the same pixels, since the bands of two levels never share a pixel.
void LumaWaveform::Draw(const DrawTarget& t, bool bFullRange, bool bMarkOut) {
  const int count = m_levels.GetSize();
  if (count <= 0) return;
  const int* row = RowTable(t, bFullRange);
  if (!row) return;
  DWORD* pBuf = t.buf;
  const int nStep = t.step;
  const GrayLevel* rec = m_levels.GetData();
  const uint64_t* bits = LevelBits();
  const float cw = static_cast<float>(t.rc.right - t.rc.left) / count;
  float x = static_cast<float>(t.rc.left);
  for (int e = 0; e < count;) {
    const int xi = static_cast<int>(x);
    const int e0 = e;
    uint64_t levels[4] = {};
    do {
      for (int w = 0; w < 4; ++w)
        levels[w] |= bits ? bits[4 * static_cast<std::size_t>(e) + w] : NonZeroMask(rec[e].nLevel + 64 * w, 64);
      ++e;
      x += cw;
    } while (e < count && static_cast<int>(x) == xi);
    const auto value = [&](int L) {
      LONG v = rec[e0].nLevel[L];
      for (int k = e0 + 1; k < e; ++k) v = std::max(v, rec[k].nLevel[L]);
      return v;
    };
    if (bMarkOut) {
      int c0, c1;
      ColumnSpan(xi, cw, nStep, c0, c1);
      if (c0 >= c1) continue;
      ForEachSetBit(levels, 0, 255, [&](int L) {
        if (L < scopewnd::kLegalLumaLow || L > scopewnd::kLegalLumaHigh)
          MarkBand(pBuf, nStep, row[L + 1], row[L], c0, c1);
        else
          MaxBand(pBuf, nStep, row[L + 1], row[L], c0, c1, value(L));
      });
    } else {
      if (xi < 0 || xi >= nStep) continue;
      ForEachSetBit(levels, 0, 256, [&](int L) {
        DWORD& px = pBuf[row[L] + xi];
        const LONG v = value(L);
        if (v > static_cast<LONG>(px)) px = static_cast<DWORD>(v);
      });
    }
  }
  ColourIntensities(t);
}

}  // namespace scopes_detail
