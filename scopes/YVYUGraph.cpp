#include "scopes/YVYUGraph.h"

#include <cmath>
#include <cstring>
#include <functional>

#include "scopes/ScopeFrame.h"
#include "scopes/SlicePool.h"
#include "scopes/YVYUAccumulate.h"

using scopes_detail::RowSink;
using scopes_detail::RowSource;
using scopes_detail::Split;

namespace {

template <class F>
void RunSlices(scopes_detail::SlicePool* pPool, F f) {
  if (pPool)
    pPool->Run(f);
  else
    f(0);
}

}  // namespace

CYVYUGraph::CYVYUGraph() { scopes_detail::ChromaSpanTable(); }
CYVYUGraph::CYVYUGraph(const CYVYUGraph& other) = default;
CYVYUGraph& CYVYUGraph::operator=(const CYVYUGraph& other) = default;
CYVYUGraph::~CYVYUGraph() = default;

long CYVYUGraph::GetHistoLValue(int nLevel) const { return m_histo.Value(nLevel); }

// ---- accumulation -------------------------------------------------------------------------

void CYVYUGraph::UpdateGraph(void* pData, long nWidth, long nRows, long nPitch, long nSkip) {
  // A row holds width / 2 whole pairs; an odd last pixel has no pair and is not read.
  const auto frame = scopes_detail::CheckFrame(pData, nWidth, nRows, nPitch, nSkip, scopes_detail::PairRowBytes);
  if (frame) Accumulate(frame, false, nullptr, nullptr);
}

// The passes over one frame. Column passes (the waveforms) read the frame as it is, YVYU
// included; row passes read it in VYUY form. The luma waveform's pass, else the first row pass,
// over a YVYU frame writes that form into pConvert on the way; without either a pass of its own
// converts.
// Slices: the column passes split the columns (each slice writes its own records), the row
// passes split the rows; histograms and chroma counts are counted per slice and summed once.
void CYVYUGraph::Accumulate(const scopes_detail::FrameView& frame, bool bYVYU, BYTE* pConvert,
                            scopes_detail::SlicePool* pPool) {
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

  const int nSlices = pPool ? pPool->Count() : 1;
  scopes_detail::LumaHistogram::SliceCounts histo[scopes_detail::kMaxSliceThreads];
  std::memset(histo, 0, sizeof(histo[0]) * nSlices);
  const auto sliceHisto = [&](int s) -> DWORD* { return m_bYHisto ? histo[s] : nullptr; };
  bool bHistoDone = false;
  if (m_bYParade && m_byYorYC == 0) {
    m_yc.Reset();
    if (m_luma.Begin(frame.width, rows, m_FastLog)) {
      const Split cols{pairs, nSlices, scopes_detail::kLumaTilePairs};
      RunSlices(pPool, [&](int s) { m_luma.Accumulate(src, cols.Begin(s), cols.Begin(s + 1), sliceHisto(s), sink); });
      m_luma.End(pairs);
      bConverted = true;
      bHistoDone = m_bYHisto != 0;
    }
  } else if (m_bYParade && m_byYorYC == 1) {
    m_luma.Reset();
    if (m_yc.Begin(frame.width, rows, m_FastLog)) {
      const Split cols{pairs, nSlices, scopes_detail::kYCTilePairs};
      RunSlices(pPool, [&](int s) { m_yc.Accumulate(src, cols.Begin(s), cols.Begin(s + 1), sliceHisto(s)); });
      m_yc.End(pairs);
      bHistoDone = m_bYHisto != 0;
    }
  }
  const Split rowSplit{rows, nSlices, 1};
  if (m_bYHisto && !bHistoDone) {
    const RowSource& from = bConverted ? converted : src;
    RunSlices(pPool, [&](int s) {
      scopes_detail::LumaHistogram::Accumulate(from, rowSplit.Begin(s), rowSplit.Begin(s + 1), histo[s], sink);
    });
    bConverted = true;
  }
  if (m_bYHisto) m_histo.Collect(histo, nSlices);

  // Both chroma displays read the frame's chroma; counting it once while the frame is
  // accumulated saves each drawing a pass over the frame. A display switched on later counts
  // at drawing time.
  m_chroma.Reset();
  if ((m_bVector || m_bLighting) && m_chroma.Begin(nSlices, m_bVector != 0, m_bLighting != 0)) {
    const RowSource& from = bConverted ? converted : src;
    RunSlices(pPool, [&](int s) { m_chroma.Accumulate(from, rowSplit.Begin(s), rowSplit.Begin(s + 1), s, sink); });
    RunSlices(pPool, [&](int s) { m_chroma.Collect(s, nSlices); });
    m_chroma.End();
    bConverted = true;
  }
  if (!bConverted)
    RunSlices(pPool, [&](int s) { scopes_detail::ConvertRows(src, rowSplit.Begin(s), rowSplit.Begin(s + 1), sink); });
}

RowSource CYVYUGraph::FrameSource() const {
  return {reinterpret_cast<const BYTE*>(m_pFrame), m_nRowStep, m_nPairs, m_nRows, false};
}

bool CYVYUGraph::FrameWithin(const BYTE* base, std::size_t nBytes) const {
  const BYTE* frame = reinterpret_cast<const BYTE*>(m_pFrame);
  return frame && base && std::less_equal<const BYTE*>()(base, frame) && std::less<const BYTE*>()(frame, base + nBytes);
}

void CYVYUGraph::MoveFrame(const BYTE* oldBase, BYTE* newBase) {
  m_pFrame = reinterpret_cast<const VYUY*>(newBase + (reinterpret_cast<const BYTE*>(m_pFrame) - oldBase));
}

// ---- drawing: each display checks nothing of the target, which is checked here ------------

void CYVYUGraph::DrawYParade(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bFullRange, int bMarkOut) {
  if (!m_bYParade) return;
  if (const auto t = scopes_detail::CheckTarget(pBuf, nStep, nRows, rc)) m_luma.Draw(*t, bFullRange != 0, bMarkOut != 0);
}

void CYVYUGraph::DrawYParade2(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bFullRange, int bMarkOut) {
  if (!m_bYParade) return;
  if (const auto t = scopes_detail::CheckTarget(pBuf, nStep, nRows, rc)) m_yc.Draw(*t, bFullRange != 0, bMarkOut != 0);
}

void CYVYUGraph::DrawVector(DWORD* pBuf, int nWidth, int nHeight, float fGain) {
  if (!m_bVector || !m_pFrame || !std::isfinite(fGain)) return;
  if (const auto t = scopes_detail::CheckTarget(pBuf, nWidth, nHeight))
    m_chroma.DrawVector(*t, FrameSource(), FramePairs(), fGain, m_FastLog);
}

void CYVYUGraph::DrawLightning(DWORD* pBuf, int nStep, int nRows, const CRect& rc, int bMarkOut) {
  if (!m_bLighting || !m_pFrame) return;
  if (const auto t = scopes_detail::CheckTarget(pBuf, nStep, nRows, rc))
    m_chroma.DrawLightning(*t, FrameSource(), FramePairs(), bMarkOut != 0, m_FastLog);
}

void CYVYUGraph::DrawHistoL(DWORD* pBuf, int nStep, int nRows, const CRect& rc) {
  if (!m_histo.HasCounts() || m_nPairs == 0 || m_nRows == 0 || !m_bYHisto) return;
  if (const auto t = scopes_detail::CheckTarget(pBuf, nStep, nRows, rc))
    m_histo.Draw(*t, GetHistoLPixelCount(), m_FastLog);
}
