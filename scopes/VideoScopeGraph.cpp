#include "scopes/VideoScopeGraph.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>

#include "scopes/FrameFormats.h"
#include "scopes/ScopeFrame.h"
#include "scopes/SlicePool.h"
#include "winport/base/CString.h"
#include "winport/base/debug.h"

namespace {

std::atomic<unsigned> g_nUpdateCalls{0};

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

// The slice threads of this frame, made by the first frame that wants them; none for one
// thread, or when no memory is to be had for them (the frame then runs on the calling thread).
scopes_detail::SlicePool* CVideoScopeGraph::Pool() {
  if (m_nThreads > 1 && !m_pPool) {
    try {
      m_pPool = std::make_unique<scopes_detail::SlicePool>(m_nThreads);
    } catch (...) {
    }
  }
  return m_pPool.get();
}

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
  if (other.FrameInOwnBuffer())
    m_YUVGraph.MoveFrame(reinterpret_cast<const BYTE*>(other.m_arrVYUY.GetData()),
                         reinterpret_cast<BYTE*>(m_arrVYUY.GetData()));
}

bool CVideoScopeGraph::FrameInOwnBuffer() const {
  return m_YUVGraph.FrameWithin(reinterpret_cast<const BYTE*>(m_arrVYUY.GetData()),
                                sizeof(DWORD) * static_cast<std::size_t>(m_arrVYUY.GetSize()));
}

bool CVideoScopeGraph::YUVWanted() const {
  return m_YUVGraph.IsVectorEnable() || m_YUVGraph.IsYParadeEnable() || m_YUVGraph.IsYHistoEnable();
}

// Reads the frame's first four bytes, when its rows have that many.
void CVideoScopeGraph::Trace(const scopes_detail::FrameFormat& format, const scopes_detail::FrameView& frame) const {
  if (frame.rowBytes < 4) return;
  const BYTE* b = frame.base;
  const int* order = format.traceOrder;
  CString s;
  s.Format(format.trace, b[order[0]], b[order[1]], b[order[2]], b[order[3]]);
  OutputDebugStringW(s);
}

void CVideoScopeGraph::UpdateGraph(void* pData, long nWidth, long nHeight, long nPitch, long nSkip, ColFmt fmt) {
  static_assert(sizeof(ColFmt) == sizeof(int));
  const bool bTrace = NextCallTraces();
  // Hosts cast any integer to the format: its bytes are read as an int, never as an enum
  // outside its range.
  int nFmt;
  std::memcpy(&nFmt, &fmt, sizeof nFmt);
  const scopes_detail::FrameFormat* format = scopes_detail::FindFrameFormat(nFmt);
  if (!format) return;
  const auto frame = scopes_detail::CheckFrame(pData, nWidth, nHeight, nPitch, nSkip, format->rowBytes);
  if (!frame) return;
  switch (format->layout) {
    case scopes_detail::FrameLayout::Pairs:
      AnalysePairs(frame);
      if (bTrace) Trace(*format, frame);
      return;
    case scopes_detail::FrameLayout::Pixels:
      AnalysePixels(*format, frame, bTrace);
      return;
    case scopes_detail::FrameLayout::SwappedPairs:
    case scopes_detail::FrameLayout::Converted:
      AnalyseConverted(*format, frame, bTrace);
      return;
  }
}

void CVideoScopeGraph::AnalysePairs(const scopes_detail::FrameView& frame) {
  if (YUVWanted()) m_YUVGraph.Accumulate(frame, false, nullptr, Pool());
  // Pixels are counted straight from the pairs: no converted frame is written and read back.
  if (m_bRGBAnalyse) m_ARGBGraph.Accumulate(frame, true, Pool());
}

// The RGB side reads the pixels; the luma/chroma side, when wanted, their VYUY form, and the
// trace shows the first converted pair.
void CVideoScopeGraph::AnalysePixels(const scopes_detail::FrameFormat& format, const scopes_detail::FrameView& frame,
                                     bool bTrace) {
  if (m_bRGBAnalyse) m_ARGBGraph.Accumulate(frame, false, Pool());
  if (!YUVWanted()) return;
  const scopes_detail::FrameView packed = PackedFrame(frame);
  if (!packed) return;
  ConvertRows(format, frame, packed);
  if (bTrace) Trace(format, packed);
  m_YUVGraph.Accumulate(packed, false, nullptr, Pool());
}

// The frame becomes packed VYUY rows in the graph's own buffer, then goes the way of a VYUY
// frame, as a call of its own that counts. A YVYU frame is converted by the luma/chroma side's
// first pass on the way when that side wants it.
void CVideoScopeGraph::AnalyseConverted(const scopes_detail::FrameFormat& format,
                                        const scopes_detail::FrameView& frame, bool bTrace) {
  const bool bYUV = YUVWanted();
  const scopes_detail::FrameView packed = PackedFrame(frame);
  if (!packed) return;
  if (bTrace) Trace(format, frame);
  const bool bFused = bYUV && format.layout == scopes_detail::FrameLayout::SwappedPairs;
  if (bFused)
    m_YUVGraph.Accumulate(frame, true, const_cast<BYTE*>(packed.base), Pool());
  else
    ConvertRows(format, frame, packed);
  if (NextCallTraces()) Trace(scopes_detail::VYUYFormat(), packed);
  if (bYUV && !bFused) m_YUVGraph.Accumulate(packed, false, nullptr, Pool());
  if (m_bRGBAnalyse) m_ARGBGraph.Accumulate(packed, true, Pool());
}

// A converted frame the luma/chroma side still points at is overwritten or moved now: that
// side lets it go. An empty view when the buffer cannot be had.
scopes_detail::FrameView CVideoScopeGraph::PackedFrame(const scopes_detail::FrameView& frame) {
  if (FrameInOwnBuffer()) m_YUVGraph.EndUpdateGraph();
  const long rowBytes = scopes_detail::PairRowBytes(frame.width);
  BYTE* dst = reinterpret_cast<BYTE*>(Grow(m_arrVYUY, static_cast<long long>(frame.width / 2) * frame.rows));
  if (!dst) return {};
  scopes_detail::FrameView packed = frame;
  packed.base = dst;
  packed.pitch = packed.rowStep = packed.rowBytes = rowBytes;
  packed.height = packed.rows;
  packed.skip = 0;
  return packed;
}

void CVideoScopeGraph::ConvertRows(const scopes_detail::FrameFormat& format, const scopes_detail::FrameView& frame,
                                   const scopes_detail::FrameView& packed) {
  BYTE* dst = const_cast<BYTE*>(packed.base);
  for (long r = 0; r < frame.rows; ++r) format.toVYUY(frame.Row(r), dst + r * packed.rowStep, frame.width);
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
