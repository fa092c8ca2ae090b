// RGB side of the video scopes: per-column red, green and blue level counts (the RGB parade) and
// the three colour histograms, accumulated from 32-bit pixels.
#pragma once
#include <cstdint>

#include "companion/Buf32Draw.h"
#include "companion/FastLog.h"
#include "foundation/Export.h"
#include "foundation/TArray.h"
#include "scopes/ScopePixels.h"
#include "scopes/displays/RGBHistogram.h"
#include "scopes/displays/RGBParade.h"
#include "winport/base/geometry.h"

namespace scopes_detail {
struct FrameView;
class SlicePool;
}  // namespace scopes_detail

class PARVANEU_API CARGBGraph {
 public:
  CARGBGraph();
  CARGBGraph(const CARGBGraph& other);
  CARGBGraph& operator=(const CARGBGraph& other);
  ~CARGBGraph();

  // pData: SARGB pixels, nPitch bytes from one row to the next, nSkip rows left out after each
  // sampled row.
  void UpdateGraph(void* pData, long nWidth, long nHeight, long nPitch, long nSkip);
  // The same from a frame of VYUY pairs: the counts of its pixels as VYUY2ARGB converts them.
  void UpdateGraphVYUY(void* pData, long nWidth, long nHeight, long nPitch, long nSkip);
  long GetPixelCount() const { return m_histo.PixelCount(); }
  long GetHistoValueR(int nLevel) const;
  long GetHistoValueG(int nLevel) const;
  long GetHistoValueB(int nLevel) const;

  void DrawHistoR(CBuf32Draw* pDraw, const CRect& rc);
  void DrawHistoG(CBuf32Draw* pDraw, const CRect& rc);
  void DrawHistoB(CBuf32Draw* pDraw, const CRect& rc);
  void DrawParadeR(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom);
  void DrawParadeG(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom);
  void DrawParadeB(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom);

  // Read access to the accumulated data.
  const CTArray<GrayLevel>& GetParadeR() const { return m_parade.Levels(0); }
  const CTArray<GrayLevel>& GetParadeG() const { return m_parade.Levels(1); }
  const CTArray<GrayLevel>& GetParadeB() const { return m_parade.Levels(2); }
  int GetBrightness(int nCount) const { return nCount >= 0 && nCount < 5120 ? m_nBrightness[nCount] : 255; }

 protected:
  void DrawHistoElement(CBuf32Draw* pDraw, const LONG* pValues, long nCount, const CRect& rc, DWORD colour);
  // pNonZero, when given: four words per record whose bits mark its non-zero levels.
  void DrawParadeElement(const GrayLevel* pLevels, long nCount, DWORD* pBuf, int nStep, int nRows, const CRect& rc,
                         double dTop, double dBottom, unsigned char nChannel, const uint64_t* pNonZero = nullptr);

 private:
  friend class CVideoScopeGraph;  // hands down frames it has already checked, with its slice threads
  // With bPairs the frame holds VYUY pairs. pPool: the slice threads, none for one.
  void Accumulate(const scopes_detail::FrameView& frame, bool bPairs, scopes_detail::SlicePool* pPool);

  CFastLog m_FastLog;
  LONG m_nBrightness[5120];
  scopes_detail::RGBParade m_parade;
  scopes_detail::RGBHistogram m_histo;
};
