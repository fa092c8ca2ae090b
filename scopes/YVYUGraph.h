// Luma/chroma side of the video scopes: accumulates waveform, Y/C waveform and luma histogram
// from frames in the VYUY pair form, and draws those plus the vector and lightning displays.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/TArray.h"
#include "companion/FastLog.h"
#include "foundation/Export.h"
#include "scopes/ScopePixels.h"
#include "winport/base/geometry.h"

namespace scopes_detail {
struct FrameView;
struct RowSource;
struct RowSink;
struct Split;
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
    m_bUVCounted = m_bYUVCounted = false;
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
  const CTArray<GrayLevel>& GetYLevels() const { return m_arrYLevels; }
  const CTArray<YCLevel>& GetYCLevels() const { return m_arrYCLevels; }
  const CTArray<SHORT>& GetYMap() const { return m_arrYMap; }
  const CTArray<SHORT>& GetYCMap() const { return m_arrYCMap; }
  const CTArray<DWORD>& GetYHisto() const { return m_arrYHisto; }

 private:
  // Hands down checked frames; re-points a copied frame at the copy's own conversion buffer.
  friend class CVideoScopeGraph;

  // UpdateGraph of a checked frame. With bYVYU the frame holds YVYU pairs, read in place, and
  // its VYUY form is written to pConvert (packed rows) on the way.
  void Accumulate(const scopes_detail::FrameView& frame, bool bYVYU, BYTE* pConvert);
  scopes_detail::RowSource FrameSource() const;
  void CountChromaSlices(const scopes_detail::RowSource& src, const scopes_detail::Split& rows,
                         const scopes_detail::RowSink& sink);
  template <class F>
  void RunSlices(F f);

  void CopyFrom(const CYVYUGraph& other);
  // The non-zero level bits of the luma records when they match them, null otherwise.
  const uint64_t* YLevelBits() const;
  void BuildYMap();
  void BuildYCMap();
  bool PrepareYRowTable(int nStep, int nRows, const CRect& rc, int bFullRange);
  bool PrepareYCRowTable(int nStep, int nRows, const CRect& rc, int bFullRange);
  void PrepareVectorTables(int nWidth, int nHeight, float fGain);
  void PrepareLightTables(int nStep, const CRect& rc);
  float LogRatio(int nTotal, float fScale) const;

  CFastLog m_FastLog;
  const VYUY* m_pFrame = nullptr;
  int m_nPairs = 0;
  int m_nRows = 0;
  int m_nPitch = 0;
  int m_nRowStep = 0;
  int m_bYParade = 1;
  unsigned char m_byYorYC = 0;  // luma waveform until the host chooses
  CTArray<GrayLevel> m_arrYLevels;
  std::vector<uint64_t> m_arrYBits;  // non-zero levels of each record, four words a column
  CTArray<SHORT> m_arrYMap;
  CTArray<int> m_arrYRowPos;
  int m_nYRowBottom = 0, m_nYRowHeight = 0, m_nYRowStep = 0;
  int m_nYRowFull = -1, m_nYRowRows = -1;  // the range and row clamp the table was made for
  CTArray<YCLevel> m_arrYCLevels;
  CTArray<SHORT> m_arrYCMap;
  CTArray<int> m_arrYCRowPos;
  int m_nYCRowBottom = 0, m_nYCRowHeight = 0, m_nYCRowStep = 0;
  int m_nYCRowFull = -1, m_nYCRowRows = -1;
  CTArray<int> m_arrLightX, m_arrLightY;
  int m_nLightLeft = 0, m_nLightWidth = 0, m_nLightHeight = 0;
  int m_nLightStep = 0;  // the row length LightY was scaled by
  int m_bVector = 1;
  CTArray<SHORT> m_arrVectorX, m_arrVectorY;
  int m_nVectorWidth = 0, m_nVectorHeight = 0;
  float m_fVectorGain = 1.0f;
  std::unique_ptr<int[]> m_pRowOffset;
  int m_bYHisto = 1;
  CTArray<DWORD> m_arrYHisto;
  CTArray<DWORD> m_arrYHistoScaled;
  int m_bLighting = 1;
  // Chroma counts of the current frame for the vector and lightning displays (3 x 65536).
  std::unique_ptr<DWORD[]> m_pChromaCounts;
  bool m_bUVCounted = false, m_bYUVCounted = false;
  // Slice threads lent by the owning CVideoScopeGraph (none: one thread), and the chroma tables
  // of slices 1 .. n - 1, kept from frame to frame.
  scopes_detail::SlicePool* m_pPool = nullptr;
  std::unique_ptr<DWORD[]> m_pSliceChroma;
  int m_nSliceTables = 0;
};
