// Luma/chroma side of the video scopes: accumulates waveform, Y/C waveform and luma histogram
// from frames in the VYUY pair form, and draws those plus the vector and lightning displays.
#pragma once
#include <cstddef>

#include "companion/FastLog.h"
#include "foundation/Export.h"
#include "foundation/TArray.h"
#include "scopes/ScopePixels.h"
#include "scopes/displays/ChromaDisplays.h"
#include "scopes/displays/LumaHistogram.h"
#include "scopes/displays/LumaWaveform.h"
#include "scopes/displays/YCWaveform.h"
#include "winport/base/geometry.h"

namespace scopes_detail {
struct FrameView;
class SlicePool;
}  // namespace scopes_detail

class PARVANEU_API CYVYUGraph {
 public:
  CYVYUGraph();
  CYVYUGraph(const CYVYUGraph& other);
  CYVYUGraph& operator=(const CYVYUGraph& other);
  ~CYVYUGraph();

  // pData: VYUY pairs; nRows is the frame height before row skipping. The frame must stay valid
  // until EndUpdateGraph: the vector and lightning displays read it while drawing.
  void UpdateGraph(void* pData, long nWidth, long nRows, long nPitch, long nSkip);
  void EndUpdateGraph() {
    m_pFrame = nullptr;
    m_chroma.Reset();
  }

  void EnableYParade(int bEnable) { m_bYParade = bEnable; }
  int IsYParadeEnable() const { return m_bYParade; }
  void SetYorYCFlag(unsigned char byFlag) { m_byYorYC = byFlag; }
  unsigned char GetYorYCFlag() const { return m_byYorYC; }
  void EnableYHisto(int bEnable) { m_bYHisto = bEnable; }
  int IsYHistoEnable() const { return m_bYHisto; }
  void EnableLighting(int bEnable) { m_bLighting = bEnable; }
  int IsLightingEnable() const { return m_bLighting; }
  void EnableVector(int bEnable) { m_bVector = bEnable; }
  int IsVectorEnable() const { return m_bVector; }

  long GetHistoLPixelCount() const { return long(m_nPairs) * m_nRows * 2; }
  long GetHistoLValue(int nLevel) const;

  void DrawYParade(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bFullRange, int bMarkOut);
  void DrawYParade2(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bFullRange, int bMarkOut);
  void DrawVector(DWORD* pBuf, int nWidth, int nHeight, float fGain);
  void DrawLightning(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bMarkOut);
  void DrawHistoL(DWORD* pBuf, int nStep, int nRows, const CRect& rc);

  // Read access to the accumulated data, for hosts and checks.
  const VYUY* GetFrame() const { return m_pFrame; }
  int GetPairs() const { return m_nPairs; }
  int GetRows() const { return m_nRows; }
  int GetPitch() const { return m_nPitch; }
  int GetRowStep() const { return m_nRowStep; }
  const CTArray<GrayLevel>& GetYLevels() const { return m_luma.Levels(); }
  const CTArray<YCLevel>& GetYCLevels() const { return m_yc.Levels(); }
  const CTArray<SHORT>& GetYMap() const { return m_luma.Map(); }
  const CTArray<SHORT>& GetYCMap() const { return m_yc.Map(); }
  const CTArray<DWORD>& GetYHisto() const { return m_histo.Counts(); }

 private:
  // Hands down the frames it has checked, with its slice threads, and moves a copied frame
  // into the copy's own conversion buffer.
  friend class CVideoScopeGraph;

  // UpdateGraph of a checked frame. With bYVYU the frame holds YVYU pairs, read in place, and
  // its VYUY form is written to pConvert (packed rows) on the way. pPool: the slice threads,
  // none for one.
  void Accumulate(const scopes_detail::FrameView& frame, bool bYVYU, BYTE* pConvert, scopes_detail::SlicePool* pPool);
  // The current frame, when it lies within [base, base + nBytes).
  bool FrameWithin(const BYTE* base, std::size_t nBytes) const;
  // The frame that lay at oldBase lies at newBase from now on.
  void MoveFrame(const BYTE* oldBase, BYTE* newBase);
  scopes_detail::RowSource FrameSource() const;
  long long FramePairs() const { return static_cast<long long>(m_nPairs) * m_nRows; }

  CFastLog m_FastLog;
  const VYUY* m_pFrame = nullptr;
  int m_nPairs = 0;
  int m_nRows = 0;
  int m_nPitch = 0;
  int m_nRowStep = 0;
  int m_bYParade = 1;
  unsigned char m_byYorYC = 0;  // luma waveform until the host chooses
  int m_bVector = 1;
  int m_bYHisto = 1;
  int m_bLighting = 1;
  scopes_detail::LumaWaveform m_luma;
  scopes_detail::YCWaveform m_yc;
  scopes_detail::ChromaDisplays m_chroma;
  scopes_detail::LumaHistogram m_histo;
};
