#include "scopes/VideoScopeGraph.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>

#include "companion/ColorConvert.h"
#include "companion/ColorMath.h"
#include "scopes/ScopeFrame.h"
#include "scopes/SlicePool.h"
#include "winport/base/CString.h"
#include "winport/base/debug.h"

namespace {

std::atomic<unsigned> g_nUpdateCalls{0};

// Bytes of a 10-bit row that hold the 8-bit samples of a row of pairs.
long M101RowBytes(long nWidth) {
  const long nBytes = (nWidth / 2) * 4;
  if (nBytes <= 0) return 0;
  const long last = (nBytes - 1) / CVideoScopeGraph::M101_SAMPLES;
  return last * CVideoScopeGraph::M101_BLOCK + (nBytes - last * CVideoScopeGraph::M101_SAMPLES);
}
// Two four-byte pixels per pair.
long TVYURowBytes(long nWidth) { return (nWidth / 2) * 8; }

scopes_detail::RowBytesFn RowBytesOf(int fmt) {
  switch (fmt) {
    case CVideoScopeGraph::ARGB: return scopes_detail::PixelRowBytes;
    case CVideoScopeGraph::YVYU:
    case CVideoScopeGraph::VYUY: return scopes_detail::PairRowBytes;
    case CVideoScopeGraph::TVYU: return TVYURowBytes;
    case CVideoScopeGraph::M101_10BIT: return M101RowBytes;
  }
  return nullptr;
}

// Counts every UpdateGraph call of the process; every 75th traces the frame's first unit.
bool NextCallTraces() { return (g_nUpdateCalls.fetch_add(1, std::memory_order_relaxed) + 1) % 75 == 0; }

// Grows a conversion buffer, never shrinks it; at least one unit so it always has storage.
DWORD* Grow(CTArray<DWORD>& arr, long long nUnits) {
  const int need = static_cast<int>(std::max<long long>(1, nUnits));
  if (arr.GetSize() < need) arr.SetSize(need, -1);
  return arr.GetData();
}

}  // namespace

CVideoScopeGraph::CVideoScopeGraph() = default;
CVideoScopeGraph::~CVideoScopeGraph() = default;

void CVideoScopeGraph::SetThreadCount(int nThreads) {
  if (nThreads == 0) nThreads = static_cast<int>(std::thread::hardware_concurrency());
  nThreads = std::clamp(nThreads, 1, scopes_detail::kMaxSliceThreads);
  if (nThreads == m_nThreads) return;
  m_nThreads = nThreads;
  m_pPool.reset();
}

// Lends the graph's slice threads to both sides for one frame; a copy of a side never holds them.
class CVideoScopeGraph::LendPool {
 public:
  explicit LendPool(CVideoScopeGraph& g) : m_g(g) {
    if (g.m_nThreads > 1 && !g.m_pPool) {
      try {
        g.m_pPool = std::make_unique<scopes_detail::SlicePool>(g.m_nThreads);
      } catch (...) {  // no memory for the pool: this frame runs on the calling thread
      }
    }
    g.m_YUVGraph.m_pPool = g.m_ARGBGraph.m_pPool = g.m_pPool.get();
  }
  ~LendPool() { m_g.m_YUVGraph.m_pPool = m_g.m_ARGBGraph.m_pPool = nullptr; }
  LendPool(const LendPool&) = delete;
  LendPool& operator=(const LendPool&) = delete;

 private:
  CVideoScopeGraph& m_g;
};

CVideoScopeGraph::CVideoScopeGraph(const CVideoScopeGraph& other)
    : m_bRGBAnalyse(other.m_bRGBAnalyse),
      m_nThreads(other.m_nThreads),
      m_arrVYUY(other.m_arrVYUY),
      m_ARGBGraph(other.m_ARGBGraph),
      m_YUVGraph(other.m_YUVGraph) {
  RebaseFrame(other);
}

CVideoScopeGraph& CVideoScopeGraph::operator=(const CVideoScopeGraph& other) {
  if (this != &other) {
    m_bRGBAnalyse = other.m_bRGBAnalyse;
    SetThreadCount(other.m_nThreads);
    m_arrVYUY = other.m_arrVYUY;
    m_ARGBGraph = other.m_ARGBGraph;
    m_YUVGraph = other.m_YUVGraph;
    RebaseFrame(other);
  }
  return *this;
}

// A frame converted into the source's own buffer would dangle once the source goes: the copy
// reads its own copy of that buffer instead. A host's frame is shared as it is.
void CVideoScopeGraph::RebaseFrame(const CVideoScopeGraph& other) {
  if (other.FrameInOwnBuffer()) {
    const auto offset = reinterpret_cast<const BYTE*>(other.m_YUVGraph.m_pFrame) -
                        reinterpret_cast<const BYTE*>(other.m_arrVYUY.GetData());
    m_YUVGraph.m_pFrame = reinterpret_cast<::VYUY*>(reinterpret_cast<BYTE*>(m_arrVYUY.GetData()) + offset);
  }
}

bool CVideoScopeGraph::FrameInOwnBuffer() const {
  const BYTE* frame = reinterpret_cast<const BYTE*>(m_YUVGraph.m_pFrame);
  const BYTE* base = reinterpret_cast<const BYTE*>(m_arrVYUY.GetData());
  const std::size_t bytes = sizeof(DWORD) * static_cast<std::size_t>(m_arrVYUY.GetSize());
  return frame && base && std::less_equal<const BYTE*>()(base, frame) && std::less<const BYTE*>()(frame, base + bytes);
}

bool CVideoScopeGraph::YUVWanted() const {
  return m_YUVGraph.IsVectorEnable() || m_YUVGraph.IsYParadeEnable() || m_YUVGraph.IsYHistoEnable();
}

// Reads the frame's first four bytes, when its rows have that many.
void CVideoScopeGraph::Trace(const wchar_t* fmt, const scopes_detail::FrameView& frame, const int order[4]) const {
  if (frame.rowBytes < 4) return;
  const BYTE* b = frame.base;
  CString s;
  s.Format(fmt, b[order[0]], b[order[1]], b[order[2]], b[order[3]]);
  OutputDebugStringW(s);
}

void CVideoScopeGraph::UpdateGraph(void* pData, long nWidth, long nHeight, long nPitch, long nSkip, ColFmt fmt) {
  static_assert(sizeof(ColFmt) == sizeof(int));
  const bool bTrace = NextCallTraces();
  // Hosts cast any integer to the format: its bytes are read as an int, never as an enum
  // outside its range.
  int nFmt;
  std::memcpy(&nFmt, &fmt, sizeof nFmt);
  const scopes_detail::RowBytesFn rowBytesOf = RowBytesOf(nFmt);
  if (!rowBytesOf) return;
  fmt = static_cast<ColFmt>(nFmt);
  const auto frame = scopes_detail::CheckFrame(pData, nWidth, nHeight, nPitch, nSkip, rowBytesOf);
  if (!frame) return;
  const bool bYUV = YUVWanted();
  static constexpr int kY1Y2UV[4] = {0, 2, 1, 3};
  const LendPool lend(*this);

  if (fmt == VYUY) {
    if (bYUV) m_YUVGraph.Accumulate(frame, false, nullptr);
    // Pixels are counted straight from the pairs: no converted frame is written and read back.
    if (m_bRGBAnalyse) m_ARGBGraph.AccumulatePairs(frame);
    if (bTrace) Trace(L"CVideoScopeGraph::UpdateGraph VYUY Y1=%d Y2=%d U=%d V=%d", frame, kY1Y2UV);
    return;
  }
  if (fmt == ARGB) {
    if (m_bRGBAnalyse) m_ARGBGraph.AccumulatePixels(frame);
    if (!bYUV) return;
  }

  // Every other format becomes packed VYUY rows in the graph's own buffer. A converted frame the
  // luma/chroma side still points at is overwritten or moved now: that side lets it go.
  if (FrameInOwnBuffer()) m_YUVGraph.EndUpdateGraph();
  const long pairs = frame.width / 2;
  const long rowBytes = pairs * 4;
  BYTE* dst = reinterpret_cast<BYTE*>(Grow(m_arrVYUY, static_cast<long long>(pairs) * frame.rows));
  if (!dst) return;
  scopes_detail::FrameView packed = frame;
  packed.base = dst;
  packed.pitch = packed.rowStep = packed.rowBytes = rowBytes;
  packed.height = packed.rows;
  packed.skip = 0;
  if (fmt == ARGB) {
    ARGB2VYUY(pData, nWidth, nHeight, frame.pitch, frame.skip, dst);
    if (bTrace) Trace(L"CVideoScopeGraph::UpdateGraph ARGB Y1=%d Y2=%d U=%d V=%d", packed, kY1Y2UV);
  } else if (fmt == YVYU) {
    static constexpr int kOrder[4] = {1, 3, 0, 2};
    if (bTrace) Trace(L"CVideoScopeGraph::UpdateGraph YVYU Y1=%d Y2=%d U=%d V=%d", frame, kOrder);
    if (bYUV) {  // the luma/chroma side reads the frame in place and converts it on the way
      m_YUVGraph.Accumulate(frame, true, dst);
    } else {
      for (long r = 0; r < frame.rows; ++r) kestrune::SwapPairs(frame.Row(r), dst + r * rowBytes, pairs);
    }
  } else if (fmt == TVYU) {
    static constexpr int kOrder[4] = {3, 1, 0, 2};
    if (bTrace) Trace(L"CVideoScopeGraph::UpdateGraph TVYU T=%d Y=%d U=%d V=%d", frame, kOrder);
    for (long r = 0; r < frame.rows; ++r) {
      const BYTE* s = frame.Row(r);
      BYTE* d = dst + r * rowBytes;
      for (long i = 0; i < pairs; ++i, s += 8, d += 4) {
        d[0] = s[1];
        d[1] = static_cast<BYTE>((s[0] + s[4]) / 2);
        d[2] = s[5];
        d[3] = static_cast<BYTE>((s[2] + s[6]) / 2);
      }
    }
  } else {
    if (bTrace) Trace(L"CVideoScopeGraph::UpdateGraph M101_10BIT Y1=%d Y2=%d U=%d V=%d", frame, kY1Y2UV);
    for (long r = 0; r < frame.rows; ++r) {
      const BYTE* s = frame.Row(r);
      BYTE* d = dst + r * rowBytes;
      for (long off = 0, block = 0; off < rowBytes; off += M101_SAMPLES, block += M101_BLOCK)
        std::memcpy(d + off, s + block, std::min<long>(M101_SAMPLES, rowBytes - off));
    }
  }
  if (fmt == ARGB) {
    m_YUVGraph.Accumulate(packed, false, nullptr);
    return;
  }
  // The converted frame then goes the way of a VYUY frame, as a call of its own that counts.
  if (NextCallTraces()) Trace(L"CVideoScopeGraph::UpdateGraph VYUY Y1=%d Y2=%d U=%d V=%d", packed, kY1Y2UV);
  if (bYUV && fmt != YVYU) m_YUVGraph.Accumulate(packed, false, nullptr);
  if (m_bRGBAnalyse) m_ARGBGraph.AccumulatePairs(packed);
}

void CVideoScopeGraph::DrawHistoL(CBuf32Draw* pDraw, const CRect& rc) {
  if (pDraw) m_YUVGraph.DrawHistoL(pDraw->Buf(), pDraw->Width(), pDraw->Height(), rc);
}
void CVideoScopeGraph::DrawHistoR(CBuf32Draw* pDraw, const CRect& rc) {
  if (m_bRGBAnalyse) m_ARGBGraph.DrawHistoR(pDraw, rc);
}
void CVideoScopeGraph::DrawHistoG(CBuf32Draw* pDraw, const CRect& rc) {
  if (m_bRGBAnalyse) m_ARGBGraph.DrawHistoG(pDraw, rc);
}
void CVideoScopeGraph::DrawHistoB(CBuf32Draw* pDraw, const CRect& rc) {
  if (m_bRGBAnalyse) m_ARGBGraph.DrawHistoB(pDraw, rc);
}
void CVideoScopeGraph::DrawVector(DWORD* pBuf, int nWidth, int nHeight, float fGain) {
  m_YUVGraph.DrawVector(pBuf, nWidth, nHeight, fGain);
}
void CVideoScopeGraph::DrawLightning(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bMarkOut) {
  m_YUVGraph.DrawLightning(pBuf, nStep, nRows, rc, bMarkOut);
}
void CVideoScopeGraph::DrawParadeL(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bFullRange, int bMarkOut,
                                   int bLuma) {
  if (bLuma)
    m_YUVGraph.DrawYParade(pBuf, nStep, nRows, rc, bFullRange, bMarkOut);
  else
    m_YUVGraph.DrawYParade2(pBuf, nStep, nRows, rc, bFullRange, bMarkOut);
}
void CVideoScopeGraph::DrawParadeR(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom) {
  if (m_bRGBAnalyse) m_ARGBGraph.DrawParadeR(pBuf, nStep, nRows, rc, dTop, dBottom);
}
void CVideoScopeGraph::DrawParadeG(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom) {
  if (m_bRGBAnalyse) m_ARGBGraph.DrawParadeG(pBuf, nStep, nRows, rc, dTop, dBottom);
}
void CVideoScopeGraph::DrawParadeB(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom) {
  if (m_bRGBAnalyse) m_ARGBGraph.DrawParadeB(pBuf, nStep, nRows, rc, dTop, dBottom);
}
