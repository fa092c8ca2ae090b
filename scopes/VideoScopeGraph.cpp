#include "scopes/VideoScopeGraph.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

#include "companion/ColorConvert.h"
#include "companion/ColorMath.h"
#include "scopes/ScopeGeometry.h"
#include "winport/base/CString.h"
#include "winport/base/debug.h"

namespace {

// Counts every UpdateGraph call of the process; every 75th traces the frame's first unit.
std::atomic<unsigned> g_nUpdateCalls{0};

// Bytes of a 10-bit row that hold the 8-bit samples of nBytes destination bytes.
long M101SourceRow(long nBytes) {
  if (nBytes <= 0) return 0;
  const long last = (nBytes - 1) / CVideoScopeGraph::M101_SAMPLES;
  return last * CVideoScopeGraph::M101_BLOCK + (nBytes - last * CVideoScopeGraph::M101_SAMPLES);
}

// Grows a conversion buffer, never shrinks it; at least one unit so it always has storage.
DWORD* Grow(CTArray<DWORD>& arr, long long nUnits) {
  const int need = static_cast<int>(std::max<long long>(1, nUnits));
  if (arr.GetSize() < need) arr.SetSize(need, -1);
  return arr.GetData();
}

}  // namespace

CVideoScopeGraph::CVideoScopeGraph(const CVideoScopeGraph& other)
    : m_bRGBAnalyse(other.m_bRGBAnalyse),
      m_arrVYUY(other.m_arrVYUY),
      m_ARGBGraph(other.m_ARGBGraph),
      m_YUVGraph(other.m_YUVGraph) {
  RebaseFrame(other);
}

CVideoScopeGraph& CVideoScopeGraph::operator=(const CVideoScopeGraph& other) {
  if (this != &other) {
    m_bRGBAnalyse = other.m_bRGBAnalyse;
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
  const BYTE* frame = reinterpret_cast<const BYTE*>(other.m_YUVGraph.m_pFrame);
  const BYTE* base = reinterpret_cast<const BYTE*>(other.m_arrVYUY.GetData());
  const std::size_t bytes = sizeof(DWORD) * static_cast<std::size_t>(other.m_arrVYUY.GetSize());
  if (frame && base && std::less_equal<const BYTE*>()(base, frame) && std::less<const BYTE*>()(frame, base + bytes))
    m_YUVGraph.m_pFrame = reinterpret_cast<::VYUY*>(reinterpret_cast<BYTE*>(m_arrVYUY.GetData()) + (frame - base));
}

bool CVideoScopeGraph::YUVWanted() const {
  return m_YUVGraph.IsVectorEnable() || m_YUVGraph.IsYParadeEnable() || m_YUVGraph.IsYHistoEnable();
}

void CVideoScopeGraph::Trace(const wchar_t* fmt, const void* pUnit, const int order[4]) const {
  const BYTE* b = static_cast<const BYTE*>(pUnit);
  CString s;
  s.Format(fmt, b[order[0]], b[order[1]], b[order[2]], b[order[3]]);
  OutputDebugStringW(s);
}

void CVideoScopeGraph::UpdateGraph(void* pData, long nWidth, long nHeight, long nPitch, long nSkip, ColFmt fmt) {
  const bool bYUV = YUVWanted();
  const bool bTrace = (g_nUpdateCalls.fetch_add(1, std::memory_order_relaxed) + 1) % 75 == 0;
  const long pairs = nWidth > 0 ? nWidth / 2 : 0;
  const BYTE* src = static_cast<const BYTE*>(pData);
  static constexpr int kY1Y2UV[4] = {0, 2, 1, 3};

  switch (fmt) {
    case ARGB: {
      if (m_bRGBAnalyse) m_ARGBGraph.UpdateGraph(pData, nWidth, nHeight, nPitch, nSkip);
      if (!bYUV) return;
      const auto walk = scopes_detail::WalkFrame(pData, nWidth, nHeight, nPitch, nSkip, nWidth * 4);
      if (!walk.ok) return;
      DWORD* vyuy = Grow(m_arrVYUY, static_cast<long long>(pairs) * walk.rows);
      ARGB2VYUY(pData, nWidth, nHeight, walk.pitch, walk.skip, vyuy);
      if (bTrace) Trace(L"CVideoScopeGraph::UpdateGraph ARGB Y1=%d Y2=%d U=%d V=%d", vyuy, kY1Y2UV);
      // Converted rows hold whole pairs only: an odd width's row is shorter than width * 2.
      m_YUVGraph.UpdateGraph(vyuy, nWidth, walk.rows, pairs * 4, 0);
      return;
    }
    case VYUY: {
      if (bYUV && !m_bYUVDone) m_YUVGraph.UpdateGraph(pData, nWidth, nHeight, nPitch, nSkip);
      m_bYUVDone = false;
      const auto walk = scopes_detail::WalkFrame(pData, nWidth, nHeight, nPitch, nSkip, pairs * 4);
      if (!walk.ok) return;
      // Pixels are counted straight from the pairs: no converted frame is written and read back.
      if (m_bRGBAnalyse) m_ARGBGraph.UpdateGraphVYUY(pData, nWidth, nHeight, walk.pitch, walk.skip);
      if (bTrace && pairs > 0) Trace(L"CVideoScopeGraph::UpdateGraph VYUY Y1=%d Y2=%d U=%d V=%d", src, kY1Y2UV);
      return;
    }
    case YVYU:
    case TVYU:
    case M101_10BIT:
      break;
    default:
      return;
  }

  const long minPitch = fmt == YVYU ? pairs * 4 : fmt == TVYU ? pairs * 8 : M101SourceRow(pairs * 4);
  const auto walk = scopes_detail::WalkFrame(pData, nWidth, nHeight, nPitch, nSkip, minPitch);
  if (!walk.ok) return;
  BYTE* dst = reinterpret_cast<BYTE*>(Grow(m_arrVYUY, static_cast<long long>(pairs) * walk.rows));
  const long rowBytes = pairs * 4;
  if (fmt == YVYU) {
    static constexpr int kOrder[4] = {1, 3, 0, 2};
    if (bTrace && pairs > 0) Trace(L"CVideoScopeGraph::UpdateGraph YVYU Y1=%d Y2=%d U=%d V=%d", src, kOrder);
    if (bYUV) {  // the luma/chroma side's first pass converts the frame as it reads it
      m_YUVGraph.UpdateGraphYVYU(src, walk.rowStep, dst, nWidth, walk.rows);
      m_bYUVDone = true;
    }
    for (long r = 0; r < walk.rows && !bYUV; ++r) kestrune::SwapPairs(src + r * walk.rowStep, dst + r * rowBytes, pairs);
  } else if (fmt == TVYU) {
    static constexpr int kOrder[4] = {3, 1, 0, 2};
    if (bTrace) Trace(L"CVideoScopeGraph::UpdateGraph TVYU T=%d Y=%d U=%d V=%d", src, kOrder);
    for (long r = 0; r < walk.rows; ++r) {
      const BYTE* s = src + r * walk.rowStep;
      BYTE* d = dst + r * rowBytes;
      for (long i = 0; i < pairs; ++i, s += 8, d += 4) {
        d[0] = s[1];
        d[1] = static_cast<BYTE>((s[0] + s[4]) / 2);
        d[2] = s[5];
        d[3] = static_cast<BYTE>((s[2] + s[6]) / 2);
      }
    }
  } else {
    if (bTrace && pairs > 0) Trace(L"CVideoScopeGraph::UpdateGraph M101_10BIT Y1=%d Y2=%d U=%d V=%d", src, kY1Y2UV);
    for (long r = 0; r < walk.rows; ++r) {
      const BYTE* s = src + r * walk.rowStep;
      BYTE* d = dst + r * rowBytes;
      for (long off = 0, block = 0; off < rowBytes; off += M101_SAMPLES, block += M101_BLOCK)
        std::memcpy(d + off, s + block, std::min<long>(M101_SAMPLES, rowBytes - off));
    }
  }
  UpdateGraph(dst, nWidth, walk.rows, rowBytes, 0, VYUY);
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
