#include "scopes/YVYUGraph.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "scopes/ScopeGeometry.h"
#include "scopes/ScopePalette.h"
#include "scopes/SlicePool.h"
#include "scopes/YVYUAccumulate.h"

using scopes_detail::RectOk;
using scopes_detail::TargetOk;
using scopes_detail::RowSink;
using scopes_detail::RowSource;

namespace {

// Zeroed 256 x 256 count tables, four per thread, reused from call to call.
DWORD* ChromaTable(int n) {
  static thread_local std::unique_ptr<DWORD[]> tables[4];
  if (!tables[n]) tables[n] = std::make_unique<DWORD[]>(65536);
  std::memset(tables[n].get(), 0, sizeof(DWORD) * 65536);
  return tables[n].get();
}

inline bool IsMark(DWORD px) { return static_cast<LONG>(px) < 0; }

// The shared last pass of the waveforms: counts/intensities to palette colours, marks to red.
void ColourIntensities(DWORD* pBuf, long long nPixels) {
  static const auto colours = [] {  // 0 stays 0
    std::array<DWORD, 256> c{};
    std::copy(ScopePalette + 1, ScopePalette + 256, c.begin() + 1);
    return c;
  }();
  const auto colour = [&](DWORD v) -> DWORD {
    return v <= 255 ? colours[v] : static_cast<LONG>(v) < 0 ? SCOPE_MARK_COLOR : ScopePalette[255];
  };
  long long i = 0;
#if defined(__SSE2__)
  // Most of a waveform is background, and 0 stays 0: runs of eight are skipped in one test.
  for (; i + 8 <= nPixels; i += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pBuf + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pBuf + i + 4));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_or_si128(a, b), _mm_setzero_si128())) == 0xFFFF) continue;
    for (int k = 0; k < 8; ++k) pBuf[i + k] = colour(pBuf[i + k]);
  }
#endif
  for (; i < nPixels; ++i) pBuf[i] = colour(pBuf[i]);
}

// Band of rows [top, bottom) (as buffer offsets) in columns [c0, c1).
void MarkBand(DWORD* pBuf, int nStep, int top, int bottom, int c0, int c1) {
  for (int off = top; off < bottom; off += nStep)
    for (int c = c0; c < c1; ++c) pBuf[off + c] = SCOPE_MARK_VALUE;
}
void MaxBand(DWORD* pBuf, int nStep, int top, int bottom, int c0, int c1, LONG v) {
  for (int off = top; off < bottom; off += nStep)
    for (int c = c0; c < c1; ++c)
      if (v > static_cast<LONG>(pBuf[off + c])) pBuf[off + c] = static_cast<DWORD>(v);
}

// One record per frame column. Records that cannot be had leave the waveform empty, since the
// counting passes write a whole row of them.
template <class T>
bool SizeRecords(CTArray<T>& arr, long nWidth) {
  if (arr.GetSize() != nWidth) arr.SetSize(static_cast<int>(nWidth), -1);
  if (arr.GetSize() == nWidth) return true;
  arr.SetSize(0, -1);
  return false;
}

// Columns xi + k for the integers 0 <= k < cw, clipped to the buffer.
void ColumnSpan(int xi, float cw, int nStep, int& c0, int& c1) {
  const int n = static_cast<int>(std::ceil(cw));
  c0 = std::max(xi, 0);
  c1 = static_cast<int>(std::min<long long>(static_cast<long long>(xi) + n, nStep));
}

}  // namespace

CYVYUGraph::CYVYUGraph() { scopes_detail::ChromaSpanTable(); }

CYVYUGraph::CYVYUGraph(const CYVYUGraph& other) {
  scopes_detail::ChromaSpanTable();
  CopyFrom(other);
}

CYVYUGraph& CYVYUGraph::operator=(const CYVYUGraph& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

CYVYUGraph::~CYVYUGraph() { m_pFrame = nullptr; }

void CYVYUGraph::CopyFrom(const CYVYUGraph& o) {
  m_pFrame = o.m_pFrame;
  m_nPairs = o.m_nPairs;
  m_nRows = o.m_nRows;
  m_nPitch = o.m_nPitch;
  m_nRowStep = o.m_nRowStep;
  m_bYParade = o.m_bYParade;
  m_byYorYC = o.m_byYorYC;
  m_arrYLevels = o.m_arrYLevels;
  m_arrYBits = o.m_arrYBits;
  m_arrYMap = o.m_arrYMap;
  m_arrYRowPos = o.m_arrYRowPos;
  m_nYRowBottom = o.m_nYRowBottom;
  m_nYRowHeight = o.m_nYRowHeight;
  m_nYRowStep = o.m_nYRowStep;
  m_nYRowFull = o.m_nYRowFull;
  m_nYRowRows = o.m_nYRowRows;
  m_arrYCLevels = o.m_arrYCLevels;
  m_arrYCMap = o.m_arrYCMap;
  m_arrYCRowPos = o.m_arrYCRowPos;
  m_nYCRowBottom = o.m_nYCRowBottom;
  m_nYCRowHeight = o.m_nYCRowHeight;
  m_nYCRowStep = o.m_nYCRowStep;
  m_nYCRowFull = o.m_nYCRowFull;
  m_nYCRowRows = o.m_nYCRowRows;
  m_arrLightX = o.m_arrLightX;
  m_arrLightY = o.m_arrLightY;
  m_nLightLeft = o.m_nLightLeft;
  m_nLightWidth = o.m_nLightWidth;
  m_nLightHeight = o.m_nLightHeight;
  m_nLightStep = o.m_nLightStep;
  m_bVector = o.m_bVector;
  m_arrVectorX = o.m_arrVectorX;
  m_arrVectorY = o.m_arrVectorY;
  m_nVectorWidth = o.m_nVectorWidth;
  m_nVectorHeight = o.m_nVectorHeight;
  m_fVectorGain = o.m_fVectorGain;
  m_pRowOffset.reset();
  if (o.m_pRowOffset && o.m_nVectorHeight > 0) {
    m_pRowOffset = std::make_unique<int[]>(o.m_nVectorHeight);
    std::memcpy(m_pRowOffset.get(), o.m_pRowOffset.get(), sizeof(int) * o.m_nVectorHeight);
  }
  m_bYHisto = o.m_bYHisto;
  m_arrYHisto = o.m_arrYHisto;
  m_arrYHistoScaled = o.m_arrYHistoScaled;
  m_bLighting = o.m_bLighting;
  m_bUVCounted = m_bYUVCounted = false;  // a copy counts again from the frame when it draws
}

long CYVYUGraph::GetHistoLValue(int nLevel) const {
  if (nLevel < 0 || nLevel > 255 || m_arrYHisto.GetSize() != 256) return 0;
  return static_cast<long>(m_arrYHisto[nLevel]);
}


// ---- accumulation -------------------------------------------------------------------------

template <class F>
void CYVYUGraph::RunSlices(F f) {
  if (m_pPool)
    m_pPool->Run(f);
  else
    f(0);
}

void CYVYUGraph::UpdateGraph(void* pData, long nWidth, long nRows, long nPitch, long nSkip) {
  // A row holds width / 2 whole pairs; an odd last pixel has no pair and is not read.
  const auto frame = scopes_detail::CheckFrame(pData, nWidth, nRows, nPitch, nSkip, scopes_detail::PairRowBytes);
  if (frame) Accumulate(frame, false, nullptr);
}

// The passes over one frame. Column passes (the waveforms) read the frame as it is, YVYU
// included; row passes read it in VYUY form. The luma waveform's pass, else the first row pass,
// over a YVYU frame writes that form into pConvert on the way; without either a pass of its own
// converts.
void CYVYUGraph::Accumulate(const scopes_detail::FrameView& frame, bool bYVYU, BYTE* pConvert) {
  const int pairs = static_cast<int>(frame.width / 2);
  const int rows = static_cast<int>(frame.rows);
  const RowSource src{frame.base, frame.rowStep, pairs, rows, bYVYU};
  const RowSink sink{pConvert, static_cast<std::ptrdiff_t>(pairs) * 4};
  const RowSource converted = bYVYU ? RowSource{pConvert, sink.step, pairs, rows, false} : src;
  bool bConverted = !bYVYU;
  m_pFrame = reinterpret_cast<const VYUY*>(bYVYU ? pConvert : frame.base);
  m_nPairs = pairs;
  m_nRows = rows;
  m_nRowStep = static_cast<int>(converted.step);
  m_nPitch = static_cast<int>(bYVYU ? sink.step : frame.pitch);

  // Slices: the column passes split the columns (each slice writes its own records), the row
  // passes split the rows; histograms and chroma counts are counted per slice and summed once.
  const int nSlices = m_pPool ? m_pPool->Count() : 1;
  DWORD histo[scopes_detail::kMaxSliceThreads][256];
  std::memset(histo, 0, sizeof(histo[0]) * nSlices);
  bool bHistoDone = false;
  if (m_bYParade && m_byYorYC == 0) {
    m_arrYCLevels.SetSize(0, -1);
    m_nYCRowBottom = 0;
    m_nYCRowRows = -1;
    if (SizeRecords(m_arrYLevels, frame.width)) {
      BuildYMap();
      const auto width = static_cast<std::size_t>(m_arrYLevels.GetSize());
      if (m_arrYBits.size() != 4 * width) m_arrYBits.assign(4 * width, 0);
      GrayLevel* rec = m_arrYLevels.GetData();
      uint64_t* bits = m_arrYBits.data();
      const SHORT* map = m_arrYMap.GetData();
      const scopes_detail::Split cols{pairs, nSlices, scopes_detail::kLumaTilePairs};
      RunSlices([&](int s) {
        scopes_detail::CountLumaColumns(src, cols.Begin(s), cols.Begin(s + 1), map, rec, bits,
                                        m_bYHisto ? histo[s] : nullptr, sink);
      });
      bConverted = true;
      for (std::size_t c = 2 * static_cast<std::size_t>(pairs); c < width; ++c) {
        std::memset(&rec[c], 0, sizeof(GrayLevel));
        std::memset(&bits[4 * c], 0, 4 * sizeof(uint64_t));
      }
      bHistoDone = m_bYHisto != 0;
    }
  } else if (m_bYParade && m_byYorYC == 1) {
    m_arrYLevels.SetSize(0, -1);
    m_nYRowBottom = 0;
    m_nYRowRows = -1;
    if (SizeRecords(m_arrYCLevels, frame.width)) {
      BuildYCMap();
      YCLevel* rec = m_arrYCLevels.GetData();
      const SHORT* map = m_arrYCMap.GetData();
      const scopes_detail::Split cols{pairs, nSlices, scopes_detail::kYCTilePairs};
      RunSlices([&](int s) {
        scopes_detail::CountYCColumns(src, cols.Begin(s), cols.Begin(s + 1), map, rec, m_bYHisto ? histo[s] : nullptr);
      });
      for (int c = 2 * pairs; c < m_arrYCLevels.GetSize(); ++c) std::memset(&rec[c], 0, sizeof(YCLevel));
      bHistoDone = m_bYHisto != 0;
    }
  }
  const scopes_detail::Split rowSplit{rows, nSlices, 1};
  if (m_bYHisto && !bHistoDone) {
    const RowSource& from = bConverted ? converted : src;
    RunSlices([&](int s) { scopes_detail::CountLumaRows(from, rowSplit.Begin(s), rowSplit.Begin(s + 1), histo[s], sink); });
    bConverted = true;
  }
  if (m_bYHisto) {
    if (m_arrYHisto.GetSize() != 256) m_arrYHisto.SetSize(256, -1);
    DWORD* h = m_arrYHisto.GetData();
    for (int L = 0; L < 256; ++L) {
      DWORD sum = 0;
      for (int s = 0; s < nSlices; ++s) sum += histo[s][L];
      h[L] = sum;
    }
  }

  // Both chroma displays read the frame's chroma; counting it once while the frame is
  // accumulated saves each drawing a pass over the frame. A display switched on later counts
  // at drawing time.
  m_bUVCounted = m_bYUVCounted = false;
  if (m_bVector || m_bLighting) {
    const RowSource& from = bConverted ? converted : src;
    CountChromaSlices(from, rowSplit, sink);
    bConverted = true;
    m_bUVCounted = m_bVector != 0;
    m_bYUVCounted = m_bLighting != 0;
  }
  if (!bConverted) RunSlices([&](int s) { scopes_detail::ConvertRows(src, rowSplit.Begin(s), rowSplit.Begin(s + 1), sink); });
}

// Slice 0 counts into the graph's own tables, every other slice into tables of its own that are
// then added in, each slice adding one share of the entries.
void CYVYUGraph::CountChromaSlices(const scopes_detail::RowSource& src, const scopes_detail::Split& rows,
                                   const scopes_detail::RowSink& sink) {
  const int nSlices = rows.count;
  const int nTables = m_bLighting ? 3 : 1;
  const std::size_t tableWords = 3 * 65536;
  if (!m_pChromaCounts) m_pChromaCounts = std::make_unique<DWORD[]>(tableWords);
  if (nSlices > 1 && m_nSliceTables < nSlices - 1) {
    m_pSliceChroma = std::make_unique<DWORD[]>(tableWords * (nSlices - 1));
    m_nSliceTables = nSlices - 1;
  }
  RunSlices([&](int s) {
    DWORD* t = s == 0 ? m_pChromaCounts.get() : m_pSliceChroma.get() + tableWords * (s - 1);
    std::memset(t, 0, sizeof(DWORD) * nTables * 65536);
    scopes_detail::CountChromaRows(src, rows.Begin(s), rows.Begin(s + 1), m_bVector ? t : nullptr,
                                   m_bLighting ? t + 65536 : nullptr, m_bLighting ? t + 2 * 65536 : nullptr, sink);
  });
  if (nSlices == 1) return;
  const scopes_detail::Split words{nTables * 65536, nSlices, 64};
  RunSlices([&](int s) {
    DWORD* t = m_pChromaCounts.get();
    for (int k = 1; k < nSlices; ++k) {
      const DWORD* o = m_pSliceChroma.get() + tableWords * (k - 1);
      for (int i = words.Begin(s); i < words.Begin(s + 1); ++i) t[i] += o[i];
    }
  });
}

scopes_detail::RowSource CYVYUGraph::FrameSource() const {
  return {reinterpret_cast<const BYTE*>(m_pFrame), m_nRowStep, m_nPairs, m_nRows, false};
}

void CYVYUGraph::BuildYMap() {
  if (m_arrYMap.GetSize() == m_nRows + 1) return;
  m_arrYMap.SetSize(m_nRows + 1, -1);
  const float logRows = m_FastLog.Calc(m_nRows);
  // With a single sampled row the only count, 1, equals the row count: full intensity, as any
  // count equal to the number of rows gets.
  const float s = logRows > 0.f ? 256.f / logRows : 0.f;
  m_arrYMap[0] = 0;
  for (int k = 1; k <= m_nRows; ++k) {
    const int v = logRows > 0.f ? static_cast<int>(m_FastLog.Calc(k) * s) : 255;
    m_arrYMap[k] = static_cast<SHORT>(std::min(255, v));
  }
}

void CYVYUGraph::BuildYCMap() {
  if (m_arrYCMap.GetSize() == m_nRows + 1) return;
  m_arrYCMap.SetSize(m_nRows + 1, -1);
  const float s = 256.f / m_FastLog.Calc(m_nRows + scopes_detail::kYCMapHeadroom);
  m_arrYCMap[0] = 0;
  for (int k = 1; k <= m_nRows; ++k)
    m_arrYCMap[k] = static_cast<SHORT>(std::min(255, static_cast<int>(m_FastLog.Calc(k) * s) + 1));
}

// ---- drawing ------------------------------------------------------------------------------

bool CYVYUGraph::PrepareYRowTable(int nStep, int nRows, const CRect& rc, int bFullRange) {
  const int h = rc.bottom - rc.top;
  const int full = bFullRange ? 1 : 0;
  if (m_arrYRowPos.GetSize() == 256 && m_nYRowBottom == rc.bottom && m_nYRowHeight == h && m_nYRowStep == nStep &&
      m_nYRowFull == full && m_nYRowRows == nRows)
    return false;
  m_arrYRowPos.SetSize(256, -1);
  for (int L = 0; L < 256; ++L) {
    long long row;
    if (full) {
      row = rc.bottom - (static_cast<long long>(h) * L) / 256;
    } else {
      const long long v = (256LL * L) / 220 - 16;
      row = rc.bottom - (v * h) / 256;
    }
    m_arrYRowPos[L] = static_cast<int>(std::clamp<long long>(row, 0, nRows - 1)) * nStep;
  }
  m_nYRowBottom = rc.bottom;
  m_nYRowHeight = h;
  m_nYRowStep = nStep;
  m_nYRowFull = full;
  m_nYRowRows = nRows;
  return true;
}

bool CYVYUGraph::PrepareYCRowTable(int nStep, int nRows, const CRect& rc, int bFullRange) {
  const int h = rc.bottom - rc.top;
  const int full = bFullRange ? 1 : 0;
  if (m_arrYCRowPos.GetSize() == scopes_detail::kYCCounters && m_nYCRowBottom == rc.bottom && m_nYCRowHeight == h &&
      m_nYCRowStep == nStep && m_nYCRowFull == full && m_nYCRowRows == nRows)
    return false;
  // Code level 16 (counter 141) lies on rc.bottom.
  constexpr int k16 = 16 + scopes_detail::kYCOffset;
  m_arrYCRowPos.SetSize(scopes_detail::kYCCounters, -1);
  for (int k = 0; k < scopes_detail::kYCCounters; ++k) {
    const double row = full ? rc.bottom - (255.0 * (k - k16) / 219.0) * (h / 256.0)
                            : rc.bottom - double(k - k16) * h / 220.0;
    m_arrYCRowPos[k] = static_cast<int>(std::clamp<double>(std::trunc(row), 0, nRows - 1)) * nStep;
  }
  m_nYCRowBottom = rc.bottom;
  m_nYCRowHeight = h;
  m_nYCRowStep = nStep;
  m_nYCRowFull = full;
  m_nYCRowRows = nRows;
  return true;
}

const uint64_t* CYVYUGraph::YLevelBits() const {
  return m_arrYBits.size() == 4 * static_cast<std::size_t>(m_arrYLevels.GetSize()) ? m_arrYBits.data() : nullptr;
}

// Records that land on the same buffer columns (a frame is usually wider than its drawing) are
// drawn together: each level once, with the largest value among them. Drawing them one by one
// leaves the same pixels, since the bands of two levels never share a pixel.
void CYVYUGraph::DrawYParade(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bFullRange, int bMarkOut) {
  const int count = m_arrYLevels.GetSize();
  if (!m_bYParade || count <= 0 || !TargetOk(pBuf, nStep, nRows) || !RectOk(rc)) return;
  PrepareYRowTable(nStep, nRows, rc, bFullRange);
  const int* row = m_arrYRowPos.GetData();
  const GrayLevel* rec = m_arrYLevels.GetData();
  const uint64_t* bits = YLevelBits();
  const float cw = static_cast<float>(rc.right - rc.left) / count;
  float x = static_cast<float>(rc.left);
  for (int e = 0; e < count;) {
    const int xi = static_cast<int>(x);
    const int e0 = e;
    uint64_t levels[4] = {};
    do {
      for (int w = 0; w < 4; ++w)
        levels[w] |= bits ? bits[4 * static_cast<std::size_t>(e) + w] : scopes_detail::NonZeroMask(rec[e].nLevel + 64 * w, 64);
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
      scopes_detail::ForEachSetBit(levels, 0, 255, [&](int L) {
        if (L <= 15 || L >= 236)
          MarkBand(pBuf, nStep, row[L + 1], row[L], c0, c1);
        else
          MaxBand(pBuf, nStep, row[L + 1], row[L], c0, c1, value(L));
      });
    } else {
      if (xi < 0 || xi >= nStep) continue;
      scopes_detail::ForEachSetBit(levels, 0, 256, [&](int L) {
        DWORD& px = pBuf[row[L] + xi];
        const LONG v = value(L);
        if (v > static_cast<LONG>(px)) px = static_cast<DWORD>(v);
      });
    }
  }
  ColourIntensities(pBuf, static_cast<long long>(nStep) * nRows);
}

void CYVYUGraph::DrawYParade2(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bFullRange, int bMarkOut) {
  const int count = m_arrYCLevels.GetSize();
  if (!m_bYParade || count <= 0 || !TargetOk(pBuf, nStep, nRows) || !RectOk(rc)) return;
  PrepareYCRowTable(nStep, nRows, rc, bFullRange);
  const int* row = m_arrYCRowPos.GetData();
  const float cw = static_cast<float>(rc.right - rc.left) / count;
  float x = static_cast<float>(rc.left);
  for (int e = 0; e < count; ++e, x += cw) {
    const LONG* V = m_arrYCLevels[e].nLevel;
    int c0, c1;
    ColumnSpan(static_cast<int>(x), cw, nStep, c0, c1);
    if (c0 >= c1) continue;
    const int lastPlain = bMarkOut ? scopes_detail::kYCLastPlain : scopes_detail::kYCLastDrawn;
    scopes_detail::ForEachNonZero(V, 0, lastPlain + 1, [&](int k) {
      if (V[k] > 0) MaxBand(pBuf, nStep, row[k + 1], row[k], c0, c1, V[k]);
    });
    if (bMarkOut)
      scopes_detail::ForEachNonZero(V, scopes_detail::kYCFirstMark, scopes_detail::kYCLastDrawn + 1, [&](int k) { MarkBand(pBuf, nStep, row[k + 1], row[k], c0, c1); });
  }
  ColourIntensities(pBuf, static_cast<long long>(nStep) * nRows);
}

void CYVYUGraph::PrepareVectorTables(int nWidth, int nHeight, float fGain) {
  if (m_arrVectorX.GetSize() == 256 && m_nVectorWidth == nWidth && m_nVectorHeight == nHeight &&
      !(std::fabs(m_fVectorGain - fGain) > 0.001f) && m_pRowOffset)
    return;
  const int cx = nWidth / 2, cy = nHeight / 2;
  const float s = std::min(nWidth, nHeight) * fGain / 256;
  const float sy = static_cast<float>(static_cast<double>(s) * static_cast<double>(1.41f));
  auto to16 = [](double v) { return static_cast<SHORT>(std::clamp(v, -32768.0, 32767.0)); };
  m_arrVectorX.SetSize(256, -1);
  m_arrVectorY.SetSize(256, -1);
  for (int i = 0; i < 256; ++i) {
    const int d = i - 128;
    m_arrVectorX[i] = to16(cx + std::trunc(static_cast<double>(d * s)));
    m_arrVectorY[i] = to16(cy - std::trunc(static_cast<double>(d * sy)));
  }
  m_fVectorGain = fGain;
  m_nVectorWidth = nWidth;
  m_nVectorHeight = nHeight;
  m_pRowOffset = std::make_unique<int[]>(nHeight);
  for (int r = 0; r < nHeight; ++r) m_pRowOffset[r] = r * nWidth;
}

float CYVYUGraph::LogRatio(int nTotal, float fScale) const {
  const float f = m_FastLog.Calc(nTotal);
  return f > 0.f ? fScale / f : 0.f;
}

void CYVYUGraph::DrawVector(DWORD* pBuf, int nWidth, int nHeight, float fGain) {
  if (!m_bVector || !m_pFrame || !TargetOk(pBuf, nWidth, nHeight) || !std::isfinite(fGain)) return;
  if (nWidth > 32767 || nHeight > 32767) return;  // positions are 16-bit
  // Past this gain every point but zero chroma lies off any target; clamping keeps the scale
  // finite, so zero chroma times the scale stays zero.
  constexpr float kMaxGain = 65536.f;
  fGain = std::clamp(fGain, -kMaxGain, kMaxGain);
  PrepareVectorTables(nWidth, nHeight, fGain);
  const SHORT* X = m_arrVectorX.GetData();
  const SHORT* Y = m_arrVectorY.GetData();
  const int* ro = m_pRowOffset.get();
  // Counts per (U, V) first: the 256 x 256 table stays cached where the target may not; then
  // each chroma pair's count lands on its point.
  const DWORD* uv = m_bUVCounted ? m_pChromaCounts.get() : nullptr;
  if (!uv) {
    DWORD* t = ChromaTable(0);
    scopes_detail::CountChromaRows(FrameSource(), 0, m_nRows, t, nullptr, nullptr, {});
    uv = t;
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
  const long long total = static_cast<long long>(m_nPairs) * m_nRows;
  const float inv = LogRatio(static_cast<int>(std::min<long long>(total, INT_MAX)), 1.f);
  for (int y = 0; y < nHeight; ++y) {
    for (int x = 0; x < nWidth; ++x) {
      DWORD* p = pBuf + ro[y] + x;
      const int n = static_cast<int>(*p & 0xFFFFFF);
      if (n == 0) continue;
      const int v = inv > 0.f ? std::min(255, 1 + static_cast<int>(400 * m_FastLog.Calc(n) * inv)) : 255;
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
  const long long n = static_cast<long long>(nWidth) * nHeight;
  for (long long i = 0; i < n; ++i) {
    DWORD q = pBuf[i] & 0xFF;
    if (q == 0) q = pBuf[i] >> 24;
    if (q != 0) pBuf[i] = ScopePalette[q];
  }
}

void CYVYUGraph::PrepareLightTables(int nStep, const CRect& rc) {
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (m_arrLightX.GetSize() != 256 || m_nLightLeft != rc.left || m_nLightWidth != w) {
    m_arrLightX.SetSize(256, -1);
    for (int L = 0; L < 256; ++L) m_arrLightX[L] = rc.left + (L * w) / 256;
    m_nLightLeft = rc.left;
    m_nLightWidth = w;
  }
  if (m_arrLightY.GetSize() != 256 || m_nLightHeight != h || m_nLightStep != nStep) {
    m_arrLightY.SetSize(256, -1);
    for (int L = 0; L < 256; ++L) m_arrLightY[L] = nStep * ((std::abs(L - 128) * h) / 256);
    m_nLightHeight = h;
    m_nLightStep = nStep;
  }
}

void CYVYUGraph::DrawLightning(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bMarkOut) {
  if (!m_bLighting || !m_pFrame || !TargetOk(pBuf, nStep, nRows) || !RectOk(rc)) return;
  if (static_cast<long long>(nStep) * std::max(std::abs(rc.top), std::abs(rc.bottom)) > INT_MAX / 2) return;
  PrepareLightTables(nStep, rc);
  const int* LX = m_arrLightX.GetData();
  const int* LY = m_arrLightY.GetData();
  const int h = rc.bottom - rc.top;
  const int ctrRow = (rc.bottom + rc.top) / 2;
  const int ctr = nStep * ctrRow;
  // Counts per (Y, U) for the upper points and per (Y, V) for the lower ones, then each table
  // entry lands on its point. Marks only need to be known per point: a marked pixel stays
  // negative whatever is added to it, so the order of marks and counts does not matter.
  const DWORD* yu = m_bYUVCounted ? m_pChromaCounts.get() + 65536 : nullptr;
  const DWORD* yv = yu ? yu + 65536 : nullptr;
  if (!yu) {
    DWORD* tu = ChromaTable(0);
    DWORD* tv = ChromaTable(1);
    scopes_detail::CountChromaRows(FrameSource(), 0, m_nRows, nullptr, tu, tv, {});
    yu = tu, yv = tv;
  }
  int dy[256];
  for (int L = 0; L < 256; ++L) dy[L] = (std::abs(L - 128) * h) / 256;
  for (int sign = -1; sign <= 1; sign += 2) {
    const DWORD* table = sign < 0 ? yu : yv;
    for (int Y = 0; Y < 256; ++Y) {
      const int x = LX[Y];
      if (x < 0 || x >= nStep) continue;
      const bool badY = Y < 16 || Y > 235;
      const DWORD* n = table + 256 * Y;
      for (int C = 0; C < 256; ++C) {
        if (n[C] == 0) continue;
        const int y = ctrRow + sign * dy[C];
        if (y < 0 || y >= nRows) continue;
        DWORD& px = pBuf[ctr + sign * LY[C] + x];
        if (bMarkOut && (badY || C < 16 || C > 240))
          px = SCOPE_MARK_VALUE;
        else
          px += n[C];
      }
    }
  }

  const long long total = static_cast<long long>(m_nPairs) * m_nRows * 2;
  const float s = LogRatio(static_cast<int>(std::min<long long>(total, INT_MAX)), 400.f);
  const long long n = static_cast<long long>(nStep) * nRows;
  for (long long i = 0; i < n; ++i) {
    const DWORD px = pBuf[i];
    if (px == 0) continue;
    if (bMarkOut && IsMark(px)) {
      pBuf[i] = SCOPE_MARK_COLOR;
      continue;
    }
    const int cnt = static_cast<int>(std::min<DWORD>(px, INT_MAX));
    const int v = s > 0.f ? std::min(255, static_cast<int>(s * m_FastLog.Calc(cnt)) + 1) : 255;
    pBuf[i] = ScopePalette[v];
  }
}

void CYVYUGraph::DrawHistoL(DWORD* pBuf, int nStep, int nRows, const CRect& rc) {
  if (m_arrYHisto.GetSize() != 256 || m_nPairs == 0 || m_nRows == 0 || !m_bYHisto) return;
  if (!TargetOk(pBuf, nStep, nRows) || !RectOk(rc)) return;
  const float f = m_FastLog.Calc(static_cast<int>(std::min<long long>(GetHistoLPixelCount(), INT_MAX)));
  const int limit = std::min<int>(rc.bottom, nRows - 1);
  const int n = rc.right - rc.left;
  if (n <= 0 || n > scopes_detail::kMaxCoord) return;
  const DWORD* src = m_arrYHisto.GetData();
  const DWORD* bins = src;
  if (n != 256) {
    m_arrYHistoScaled.SetSize(n, -1);
    DWORD* dst = m_arrYHistoScaled.GetData();
    std::memset(dst, 0, sizeof(DWORD) * static_cast<unsigned>(n));
    if (n < 256) {
      float p = 0.000001f;
      const float step = static_cast<float>(n) / 256;
      int last = -1;
      for (int j = 0; j < 256; ++j, p += step) {
        const int t = std::min(static_cast<int>(p), n - 1);
        if (t != last) {
          dst[t] = src[j];
          last = t;
        } else {
          dst[t] = std::max(dst[t], src[j]);
        }
      }
    } else {
      float p = 0.f;
      const float step = 255.f / n;
      for (int i = 0; i < n; ++i, p += step) {
        const int t = std::min(static_cast<int>(p), 255);
        if (t + 1 >= 256) {
          dst[i] = src[t];
        } else {
          const float a = static_cast<float>(src[t]);
          const float d = static_cast<float>(static_cast<long long>(src[t + 1]) - static_cast<long long>(src[t]));
          dst[i] = static_cast<DWORD>(a + d * (p - static_cast<float>(t)));
        }
      }
    }
    bins = dst;
  }
  // A frame of a single pixel has a zero logarithm; its one count then fills the height.
  const float scale = f > 0.f ? static_cast<float>(rc.bottom - rc.top) / f : 0.f;
  for (int i = 0; i < n; ++i) {
    const DWORD v = bins[i];
    const long long x = static_cast<long long>(rc.left) + i;
    if (v == 0 || x < 0 || x >= nStep) continue;
    const int hh = f > 0.f ? static_cast<int>(scale * m_FastLog.Calc(static_cast<int>(std::min<DWORD>(v, INT_MAX))))
                           : rc.bottom - rc.top;
    const int y = rc.bottom - hh;
    for (int yy = std::max(y, 0); yy <= limit; ++yy) pBuf[static_cast<long long>(yy) * nStep + x] = 0xFFFFFFFF;
  }
}
