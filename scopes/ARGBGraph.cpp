#include "scopes/ARGBGraph.h"

#include <algorithm>
#include <cstring>

#include "scopes/ScopeFrame.h"
#include "scopes/SlicePool.h"

CARGBGraph::CARGBGraph() {
  m_nBrightness[0] = 0;
  for (int n = 1; n < 5120; ++n) m_nBrightness[n] = std::min(128 + n, 255);
}
CARGBGraph::CARGBGraph(const CARGBGraph& other) = default;
CARGBGraph& CARGBGraph::operator=(const CARGBGraph& other) = default;
CARGBGraph::~CARGBGraph() = default;

long CARGBGraph::GetHistoValueR(int nLevel) const { return m_histo.Value(0, nLevel); }
long CARGBGraph::GetHistoValueG(int nLevel) const { return m_histo.Value(1, nLevel); }
long CARGBGraph::GetHistoValueB(int nLevel) const { return m_histo.Value(2, nLevel); }

void CARGBGraph::UpdateGraph(void* pData, long nWidth, long nHeight, long nPitch, long nSkip) {
  const auto frame = scopes_detail::CheckFrame(pData, nWidth, nHeight, nPitch, nSkip, scopes_detail::PixelRowBytes);
  if (frame) Accumulate(frame, false, nullptr);
}

void CARGBGraph::UpdateGraphVYUY(void* pData, long nWidth, long nHeight, long nPitch, long nSkip) {
  const auto frame = scopes_detail::CheckFrame(pData, nWidth, nHeight, nPitch, nSkip, scopes_detail::PairRowBytes);
  if (frame) Accumulate(frame, true, nullptr);
}

// One walk over column tiles fills the parades and the histograms. Slices take whole tiles of
// columns; each sums its own histogram counts, added up once at the end.
void CARGBGraph::Accumulate(const scopes_detail::FrameView& frame, bool bPairs, scopes_detail::SlicePool* pPool) {
  if (!m_parade.Begin(frame.width)) return;
  const int nSlices = pPool ? pPool->Count() : 1;
  scopes_detail::RGBParade::SliceCounts histo[scopes_detail::kMaxSliceThreads];
  std::memset(histo, 0, sizeof(histo[0]) * nSlices);
  const scopes_detail::Split cols{static_cast<int>(frame.width), nSlices, scopes_detail::RGBParade::kTileColumns};
  auto slice = [&](int s) { m_parade.Accumulate(frame, bPairs, cols.Begin(s), cols.Begin(s + 1), histo[s]); };
  if (pPool)
    pPool->Run(slice);
  else
    slice(0);
  m_histo.Collect(histo, nSlices, frame.width * frame.rows);
}

void CARGBGraph::DrawHistoR(CBuf32Draw* pDraw, const CRect& rc) {
  const auto& counts = m_histo.Counts(0);
  DrawHistoElement(pDraw, counts.GetData(), counts.GetSize(), rc, 0xF9826C);
}
void CARGBGraph::DrawHistoG(CBuf32Draw* pDraw, const CRect& rc) {
  const auto& counts = m_histo.Counts(1);
  DrawHistoElement(pDraw, counts.GetData(), counts.GetSize(), rc, 0x8CF96C);
}
void CARGBGraph::DrawHistoB(CBuf32Draw* pDraw, const CRect& rc) {
  const auto& counts = m_histo.Counts(2);
  DrawHistoElement(pDraw, counts.GetData(), counts.GetSize(), rc, 0x8C82D9);
}

void CARGBGraph::DrawHistoElement(CBuf32Draw* pDraw, const LONG* pValues, long nCount, const CRect& rc,
                                  DWORD colour) {
  if (!pDraw) return;
  if (const auto t = scopes_detail::CheckTarget(pDraw->Buf(), pDraw->Width(), pDraw->Height(), rc))
    scopes_detail::RGBHistogram::Draw(*t, pValues, nCount, colour, m_histo.PixelCount(), m_FastLog);
}

void CARGBGraph::DrawParadeR(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom) {
  const auto& levels = m_parade.Levels(0);
  DrawParadeElement(levels.GetData(), levels.GetSize(), pBuf, nStep, nRows, rc, dTop, dBottom, 0, m_parade.Bits(0));
}
void CARGBGraph::DrawParadeG(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom) {
  const auto& levels = m_parade.Levels(1);
  DrawParadeElement(levels.GetData(), levels.GetSize(), pBuf, nStep, nRows, rc, dTop, dBottom, 1, m_parade.Bits(1));
}
void CARGBGraph::DrawParadeB(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom) {
  const auto& levels = m_parade.Levels(2);
  DrawParadeElement(levels.GetData(), levels.GetSize(), pBuf, nStep, nRows, rc, dTop, dBottom, 2, m_parade.Bits(2));
}

void CARGBGraph::DrawParadeElement(const GrayLevel* pLevels, long nCount, DWORD* pBuf, int nStep, int nRows,
                                   const CRect& rc, double dTop, double dBottom, unsigned char nChannel,
                                   const uint64_t* pNonZero) {
  if (const auto t = scopes_detail::CheckTarget(pBuf, nStep, nRows, rc))
    scopes_detail::RGBParade::Draw(*t, pLevels, nCount, dTop, dBottom, nChannel, pNonZero);
}
