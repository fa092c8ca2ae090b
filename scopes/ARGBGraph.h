// RGB side of the video scopes: per-column red, green and blue level counts (the RGB parade) and
// the three colour histograms, accumulated from 32-bit pixels.
#pragma once
#include <cstdint>
#include <vector>

#include "foundation/TArray.h"
#include "companion/Buf32Draw.h"
#include "companion/FastLog.h"
#include "foundation/Export.h"
#include "scopes/ScopePixels.h"
#include "winport/base/geometry.h"

namespace scopes_detail {
struct FrameView;
class SlicePool;
}  // namespace scopes_detail

class PARVANEU_API CARGBGraph {
 public:
  CARGBGraph();
  CARGBGraph(const CARGBGraph& other) = default;
  CARGBGraph& operator=(const CARGBGraph& other) = default;
  ~CARGBGraph() = default;

  // pData: SARGB pixels, nPitch bytes from one row to the next, nSkip rows left out after each
  // sampled row.
  void UpdateGraph(void* pData, long nWidth, long nHeight, long nPitch, long nSkip);
  // The same from a frame of VYUY pairs: the counts of its pixels as VYUY2ARGB converts them.
  void UpdateGraphVYUY(void* pData, long nWidth, long nHeight, long nPitch, long nSkip);
  long GetPixelCount() const { return m_nPixelCount; }
  long GetHistoValueR(int nLevel) const { return HistoValue(m_arrHistoR, nLevel); }
  long GetHistoValueG(int nLevel) const { return HistoValue(m_arrHistoG, nLevel); }
  long GetHistoValueB(int nLevel) const { return HistoValue(m_arrHistoB, nLevel); }

  void DrawHistoR(CBuf32Draw* pDraw, const CRect& rc);
  void DrawHistoG(CBuf32Draw* pDraw, const CRect& rc);
  void DrawHistoB(CBuf32Draw* pDraw, const CRect& rc);
  void DrawParadeR(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom);
  void DrawParadeG(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom);
  void DrawParadeB(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom);

  // Read access to the accumulated data.
  const CTArray<GrayLevel>& GetParadeR() const { return m_arrParadeR; }
  const CTArray<GrayLevel>& GetParadeG() const { return m_arrParadeG; }
  const CTArray<GrayLevel>& GetParadeB() const { return m_arrParadeB; }
  int GetBrightness(int nCount) const { return nCount >= 0 && nCount < 5120 ? m_nBrightness[nCount] : 255; }

 protected:
  void DrawHistoElement(CBuf32Draw* pDraw, const LONG* pValues, long nCount, const CRect& rc, DWORD colour);
  // pNonZero, when given: four words per record whose bits mark its non-zero levels.
  void DrawParadeElement(const GrayLevel* pLevels, long nCount, DWORD* pBuf, int nStep, int nRows, const CRect& rc,
                         double dTop, double dBottom, unsigned char nChannel, const uint64_t* pNonZero = nullptr);

 private:
  friend class CVideoScopeGraph;  // hands down frames it has already checked, with its slice threads
  // pPool: the slice threads, none for one.
  void AccumulatePixels(const scopes_detail::FrameView& frame, scopes_detail::SlicePool* pPool);
  void AccumulatePairs(const scopes_detail::FrameView& frame, scopes_detail::SlicePool* pPool);

  // Columns per accumulation tile: each sampled row contributes whole 64-byte lines of a pair
  // frame (half lines cost a second trip to memory per line), while three channels of 16-bit
  // counters (54 KiB) stay close to the first-level cache. Columns are padded to 576 bytes so
  // that the same level in different columns never lies a multiple of 4 KiB apart, where a load
  // would wait for an unrelated store.
  static constexpr int kTileColumns = 32;
  static constexpr int kLevelStride = 288;
  template <class CountRow>
  void Accumulate(long nWidth, long nRows, scopes_detail::SlicePool* pPool, CountRow count);

  // The non-zero level bits of a channel's parade (0 blue, 1 green, 2 red) when they match it.
  const uint64_t* ParadeBits(int nChannel, const CTArray<GrayLevel>& arr) const {
    const std::vector<uint64_t>& v = m_arrParadeBits[nChannel];
    return v.size() == 4 * static_cast<std::size_t>(arr.GetSize()) ? v.data() : nullptr;
  }

  static long HistoValue(const CTArray<LONG>& arr, int nLevel) {
    return nLevel >= 0 && nLevel < 256 && arr.GetSize() == 256 ? arr[nLevel] : 0;
  }

  CFastLog m_FastLog;
  LONG m_nBrightness[5120];
  CTArray<GrayLevel> m_arrParadeR, m_arrParadeG, m_arrParadeB;
  std::vector<uint64_t> m_arrParadeBits[3];  // blue, green, red: kept beside the records
  CTArray<LONG> m_arrHistoR, m_arrHistoG, m_arrHistoB;
  long m_nPixelCount = 0;
};
