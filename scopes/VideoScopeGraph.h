// The scope graph a host feeds with frames: converts each frame into the 4:2:2 pair form and
// 32-bit RGB as needed and accumulates both sides; the scope windows draw from it.
#pragma once
#include "foundation/TArray.h"
#include "companion/Buf32Draw.h"
#include "foundation/Export.h"
#include "scopes/ARGBGraph.h"
#include "scopes/ScopePixels.h"
#include "scopes/YVYUGraph.h"
#include <memory>

#include "scopes/FrameFormats.h"
#include "scopes/ScopeFrame.h"
#include "winport/base/geometry.h"

namespace scopes_detail {
class SlicePool;
}

class PARVANEU_API CVideoScopeGraph {
 public:
  // Values are part of the interface (0 to 4 in this order); the format table holds them.
  enum ColFmt {
    ARGB = scopes_detail::kFormatARGB,
    YVYU = scopes_detail::kFormatYVYU,
    TVYU = scopes_detail::kFormatTVYU,
    VYUY = scopes_detail::kFormatVYUY,
    M101_10BIT = scopes_detail::kFormatM101
  };

  // Bytes of 8-bit samples at the start of each 160-byte block of the 10-bit format.
  static constexpr int M101_BLOCK = scopes_detail::kM101Block;
  static constexpr int M101_SAMPLES = scopes_detail::kM101Samples;

  CVideoScopeGraph();
  CVideoScopeGraph(const CVideoScopeGraph& other);
  CVideoScopeGraph& operator=(const CVideoScopeGraph& other);
  virtual ~CVideoScopeGraph();

  // Slice threads for UpdateGraph: 1 (the default) analyses on the calling thread alone and
  // starts no thread; n > 1 splits each frame among n threads (the caller's and n - 1 of a pool
  // the graph starts on first use and joins when it goes); 0 takes as many as the machine has.
  // At most 16. Every count gives the same counters and pixels.
  void SetThreadCount(int nThreads);
  int GetThreadCount() const { return m_nThreads; }

  // With VYUY the frame is read in place and must stay valid until EndUpdateGraph.
  void UpdateGraph(void* pData, long nWidth, long nHeight, long nPitch, long nSkip, ColFmt fmt);
  void EndUpdateGraph() { m_YUVGraph.EndUpdateGraph(); }

  void EnableVector(int b) { m_YUVGraph.EnableVector(b); }
  int IsVectorEnable() const { return m_YUVGraph.IsVectorEnable(); }
  void EnableLighting(int b) { m_YUVGraph.EnableLighting(b); }
  int IsLightingEnable() const { return m_YUVGraph.IsLightingEnable(); }
  void EnableYParade(int b) { m_YUVGraph.EnableYParade(b); }
  int IsYParadeEnable() const { return m_YUVGraph.IsYParadeEnable(); }
  void EnableYHisto(int b) { m_YUVGraph.EnableYHisto(b); }
  int IsYHistoEnable() const { return m_YUVGraph.IsYHistoEnable(); }
  void SetYorYCFlag(unsigned char by) { m_YUVGraph.SetYorYCFlag(by); }
  unsigned char GetYorYCFlag() const { return m_YUVGraph.GetYorYCFlag(); }
  void EnableRGBAnalyse(int b) { m_bRGBAnalyse = b; }
  int IsRGBAnalyseEnable() const { return m_bRGBAnalyse; }

  long GetHistoPixelCount() const { return m_ARGBGraph.GetPixelCount(); }
  long GetHistoLPixelCount() const { return m_YUVGraph.GetHistoLPixelCount(); }
  long GetHistoValueR(int nLevel) const { return m_ARGBGraph.GetHistoValueR(nLevel); }
  long GetHistoValueG(int nLevel) const { return m_ARGBGraph.GetHistoValueG(nLevel); }
  long GetHistoValueB(int nLevel) const { return m_ARGBGraph.GetHistoValueB(nLevel); }
  long GetHistoValueL(int nLevel) const { return m_YUVGraph.GetHistoLValue(nLevel); }

  void DrawHistoL(CBuf32Draw* pDraw, const CRect& rc);
  void DrawHistoR(CBuf32Draw* pDraw, const CRect& rc);
  void DrawHistoG(CBuf32Draw* pDraw, const CRect& rc);
  void DrawHistoB(CBuf32Draw* pDraw, const CRect& rc);
  void DrawVector(DWORD* pBuf, int nWidth, int nHeight, float fGain);
  void DrawLightning(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bMarkOut);
  void DrawParadeL(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bFullRange, int bMarkOut, int bLuma);
  void DrawParadeR(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom);
  void DrawParadeG(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom);
  void DrawParadeB(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom);

  // The two sides, for hosts that read their data directly.
  const CYVYUGraph& GetYUVGraph() const { return m_YUVGraph; }
  const CARGBGraph& GetARGBGraph() const { return m_ARGBGraph; }
  const CTArray<DWORD>& GetVYUYBuffer() const { return m_arrVYUY; }

 private:
  scopes_detail::SlicePool* Pool();
  bool YUVWanted() const;
  void RebaseFrame(const CVideoScopeGraph& other);
  bool FrameInOwnBuffer() const;
  void Trace(const scopes_detail::FrameFormat& format, const scopes_detail::FrameView& frame) const;
  void AnalysePairs(const scopes_detail::FrameView& frame);
  void AnalysePixels(const scopes_detail::FrameFormat& format, const scopes_detail::FrameView& frame, bool bTrace);
  void AnalyseConverted(const scopes_detail::FrameFormat& format, const scopes_detail::FrameView& frame, bool bTrace);
  scopes_detail::FrameView PackedFrame(const scopes_detail::FrameView& frame);
  static void ConvertRows(const scopes_detail::FrameFormat& format, const scopes_detail::FrameView& frame,
                          const scopes_detail::FrameView& packed);

  int m_bRGBAnalyse = 1;
  int m_nThreads = 1;
  std::unique_ptr<scopes_detail::SlicePool> m_pPool;  // made by the first frame that needs it
  CTArray<DWORD> m_arrVYUY;
  CARGBGraph m_ARGBGraph;
  CYVYUGraph m_YUVGraph;
};
