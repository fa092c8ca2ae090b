#include "spectrum/FreqMagnWnd.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "foundation/DrawHelpers.h"
#include "spectrum/FigMapping.h"
#include "spectrum/FreqAxisLabels.h"
#include "spectrum/NaturalSpline.h"

using namespace spectrum;

namespace {

constexpr COLORREF kChannelColors[8] = {0xFFC030, 0xA830FF, 0xFFC04E, 0x1C30FF,
                                        0xFF5C30, 0xA894FF, 0xFFC094, 0xA8949B};
constexpr COLORREF kOtherChannels = 0xFFFFFF;
constexpr COLORREF kLabelColor = 0xFFFFFF;
constexpr COLORREF kAxisColor = 0xB4B4B4;

// Grid frequencies of the warped axis: 100 Hz steps below 1 kHz, 1 kHz steps below 10 kHz, then
// 10 kHz steps.
long long NextGridFreq(long long f) { return f + (f < 1000 ? 100 : f < 10000 ? 1000 : 10000); }

}  // namespace

BEGIN_MESSAGE_MAP(CFreqMagnWnd, CFigWnd)
  ON_WM_SIZE()
END_MESSAGE_MAP()

CFreqMagnWnd::CFreqMagnWnd() {
  m_fontLabel.CreateFontW(12, 0, 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_SWISS, L"Tahoma");
}

CFreqMagnWnd::~CFreqMagnWnd() {
  if (GetSafeHwnd()) DestroyWindow();
}

int CFreqMagnWnd::Initial(const AFmt* pFmt, CFFT_RC_Calc* pCalc, FFTWndType nWndType, unsigned long nParam1,
                          unsigned long nParam2) {
  if (!pFmt) return 0;
  const auto hold = m_feed.Hold();
  m_strLabel = Make_AFmt_String(pFmt);
  m_nSampleRate = pFmt->nSampleRate;
  if (!m_FreqMagn.Initial(pFmt->nChannels, pCalc, nParam1, nWndType, nParam2, CWaveDataFreqMagn::SAMPLES_FLOAT_PLANAR))
    return 0;
  const int n = m_FreqMagn.GetChannels();
  m_arrChVisible.SetSize(n, -1);
  for (int i = 0; i < n; ++i) m_arrChVisible[i] = 1;
  OnFFTChanged();
  return 1;
}

void CFreqMagnWnd::SetWaveFormat(const AFmt* pFmt) {
  if (!pFmt) return;
  const auto hold = m_feed.Hold();
  m_nSampleRate = pFmt->nSampleRate;
  m_strLabel = Make_AFmt_String(pFmt);
  m_FreqMagn.SetChannels(pFmt->nChannels);
  if (m_buffers.Back().GetSafeHdc()) RebuildGrid();
}

void CFreqMagnWnd::FillData(float** ppData, long nParam1, unsigned long nParam2) {
  // The analyser keeps no lock of its own; a resize on the window thread queries it too.
  const auto hold = m_feed.Hold();
  m_FreqMagn.FillData(ppData, nParam1, nParam2);
}

void CFreqMagnWnd::RefreshFig(DWORD nPos, int nChannel) {
  const auto hold = m_feed.Hold();
  SMagnFreq smf{nullptr, 0};
  if (!m_FreqMagn.GetMagnFreqData(nPos, smf) || !m_pDBBuf || !smf.ppMagn) return;
  const unsigned long half = m_FreqMagn.GetFFTSize() / 2;
  if (half + 1 > m_nDBBufLen) return;
  const int n = std::min(m_FreqMagn.GetChannels(), static_cast<int>(smf.nChannels));
  Clear();
  float* levels = m_pDBBuf.get();
  for (int i = 0; i < n; ++i) {
    if (!IsChannelVisible(i) || (nChannel >= 0 && nChannel != i) || !smf.ppMagn[i]) continue;
    const float* magn = smf.ppMagn[i];
    for (unsigned long j = 0; j <= half; ++j)
      levels[j] = 20.0f * static_cast<float>(std::log10(static_cast<double>(magn[j])));
    DrawDBValue(levels, static_cast<int>(half), GetChannelColor(i));
  }
  m_nLastFigPos = nPos;
  m_feed.Invalidate(TRUE);
}

void CFreqMagnWnd::RestoreLastFig() {
  const auto hold = m_feed.Hold();
  if (m_nLastFigPos != NO_FIG_POS) RefreshFig(m_nLastFigPos, -1);
}

DWORD CFreqMagnWnd::GetLastUpdateFigPos() const {
  const auto hold = m_feed.Hold();  // written by RefreshFig on the host's audio thread
  return m_nLastFigPos;
}

void CFreqMagnWnd::Reset() {
  const auto hold = m_feed.Hold();
  m_FreqMagn.Reset();
  m_nLastFigPos = NO_FIG_POS;
}

int CFreqMagnWnd::GetFreqMagnData(DWORD nPos, SMagnFreq& smf) {
  const auto hold = m_feed.Hold();
  return m_FreqMagn.GetMagnFreqData(nPos, smf);
}

void CFreqMagnWnd::SetFFTSize(unsigned long nSize) {
  const auto hold = m_feed.Hold();
  m_FreqMagn.SetFFTSize(nSize);
  OnFFTChanged();
}

void CFreqMagnWnd::SetFFTWindow(FFTWndType nType) {
  const auto hold = m_feed.Hold();
  m_FreqMagn.SetFFTWindow(nType);
}

void CFreqMagnWnd::SetAgility(float fAgility) {
  const auto hold = m_feed.Hold();
  m_FreqMagn.SetAgility(fAgility);
}

void CFreqMagnWnd::SetBufLen(unsigned long nLen) {
  const auto hold = m_feed.Hold();
  m_FreqMagn.SetBufLen(nLen);
}

void CFreqMagnWnd::SetAxisLabels(BOOL bShow) {
  const auto hold = m_feed.Hold();
  m_bAxisLabels = bShow;
  if (!m_buffers.Back().GetSafeHdc()) return;
  RebuildGrid();
  RestoreLastFig();
}

void CFreqMagnWnd::SetLinear(unsigned char bLinear) {
  const auto hold = m_feed.Hold();
  m_bLinear = bLinear;
  if (!m_buffers.Back().GetSafeHdc()) return;
  RebuildGrid();
  Clear();
  Show();
}

void CFreqMagnWnd::SetSpanMax(BOOL bSpanMax) {
  const auto hold = m_feed.Hold();
  m_bSpanMax = bSpanMax ? TRUE : FALSE;
}

void CFreqMagnWnd::SetChannelVisible(int nChannel, int bVisible) {
  const auto hold = m_feed.Hold();
  const int n = std::max(m_arrChVisible.GetSize(), m_FreqMagn.GetChannels());
  if (nChannel < 0 || nChannel >= n) return;
  if (nChannel >= m_arrChVisible.GetSize()) {
    const int old = m_arrChVisible.GetSize();
    m_arrChVisible.SetSize(n, -1);
    for (int i = old; i < n; ++i) m_arrChVisible[i] = 1;
  }
  m_arrChVisible[nChannel] = bVisible;
}

int CFreqMagnWnd::IsChannelVisible(int nChannel) const {
  const auto hold = m_feed.Hold();
  if (nChannel < 0) return 0;
  if (nChannel < m_arrChVisible.GetSize()) return m_arrChVisible[nChannel] != 0 ? 1 : 0;
  return nChannel < m_FreqMagn.GetChannels() ? 1 : 0;
}

COLORREF CFreqMagnWnd::GetChannelColor(int nChannel) const {
  return nChannel >= 0 && nChannel < 8 ? kChannelColors[nChannel] : kOtherChannels;
}

void CFreqMagnWnd::OnFFTChanged() {
  const auto hold = m_feed.Hold();
  const DWORD len = static_cast<DWORD>(m_FreqMagn.GetFFTSize() / 2 + 1);
  m_pDBBuf.reset();
  m_nDBBufLen = 0;
  // Without the buffer RefreshFig draws nothing, as before Initial.
  m_pDBBuf.reset(new (std::nothrow) float[len]);
  if (m_pDBBuf) m_nDBBufLen = len;
  UpdateXScaleParam();
}

void CFreqMagnWnd::UpdateXScaleParam() {
  const auto hold = m_feed.Hold();
  m_nXScaleFreqDist = XScaleFreqDist(Nyquist(), GetWidth());
  SetXScaleCount(static_cast<int>(Nyquist() / m_nXScaleFreqDist));
  RestoreLastFig();
}

void CFreqMagnWnd::DrawWarpedLines(CDC* pDC) {
  const int W = GetWidth(), H = GetHeight();
  const long long nyq = Nyquist();
  for (long long f = 200; f < nyq;) {
    const int x = GetX(static_cast<int>(nyq), W, static_cast<int>(f));
    if (x >= W) break;  // the columns only rise from here
    foundation::FillLine(pDC, x, 0, 1, H, f == 1000 || f == 10000 ? m_crGridHi : m_crGrid);
    long long next = NextGridFreq(f);
    if (f >= 10000) {
      // Lines past 10 kHz share one colour: at a sample rate far above the audio ones, many
      // fall on one column, so go on at the first step that may reach the next column.
      const double fx = GetFrq(static_cast<int>(nyq), W, x + 1) - 1.0;
      if (fx > static_cast<double>(next)) next = static_cast<long long>(std::ceil(fx / 10000.0)) * 10000;
    }
    f = next;
  }
}

void CFreqMagnWnd::DrawLabel(CDC* pDC) {
  CFont* pOld = pDC->SelectObject(&m_fontLabel);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(kLabelColor);
  CRect rc(0, 3, GetWidth() - 3, GetHeight());
  pDC->DrawText(m_strLabel, &rc, DT_RIGHT | DT_SINGLELINE | DT_END_ELLIPSIS);
  pDC->SelectObject(pOld);
}

void CFreqMagnWnd::DrawGrid(CDC* pDC) {
  if (!pDC) return;
  pDC->SetBkColor(m_crGrid);
  DrawScaleLines(pDC);
  if (m_bLinear == 1)
    DrawXScaleLines(pDC);
  else
    DrawWarpedLines(pDC);
  DrawLabel(pDC);
  if (m_bAxisLabels) DrawAxisLabels(pDC);
}

void CFreqMagnWnd::DrawAxisLabels(CDC* pDC) {
  constexpr int kMinGap = 44;  // room for "1.5k" and a space, or a level and its line
  const int W = GetWidth(), H = GetHeight();
  const std::vector<spectrum::SAxisMark> freq =
      m_bLinear == 1 ? spectrum::LinearFreqMarks(m_nXScaleFreqDist, GetXScaleCount(), spectrum::XGridStep(W, GetXScaleCount()), kMinGap)
                     : spectrum::WarpedFreqMarks(static_cast<int>(Nyquist()), W, kMinGap);
  CFont* pOld = pDC->SelectObject(&m_fontLabel);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(kAxisColor);
  spectrum::DrawAxisLabels(pDC, freq, spectrum::LevelMarks(m_pScale, H, 24), W, H);
  pDC->SelectObject(pOld);
}

bool CFreqMagnWnd::EnsureKnotBufs(int nWidth) {
  const size_t n = static_cast<size_t>(nWidth);
  if (m_knots.size() == n) return true;
  try {
    m_knots.resize(n);
    m_knotX.resize(n);
    m_knotY.resize(n);
    m_splineWork.resize(2 * n);
  } catch (const std::bad_alloc&) {
    m_knots.clear();
    m_nKnotWidth = 0;
    return false;
  }
  m_nKnotWidth = 0;  // knots to choose again
  return true;
}

void CFreqMagnWnd::DrawWarpedData(CDC* pDC, const float* pValues, int nCount) {
  const int W = GetWidth();
  if (!EnsureColBuf(W) || !EnsureKnotBufs(W)) return;
  const SScaleMap map = SScaleMap::Make(m_pScale, GetHeight());
  // The knots depend only on the width, the bin count and the rate: chosen once for them.
  if (m_nKnotWidth != W || m_nKnotBins != nCount || m_nKnotRate != m_nSampleRate) {
    m_nKnots = SelectKnots(static_cast<int>(Nyquist()), W, nCount, m_nSampleRate, m_knots.data());
    m_nKnotWidth = W;
    m_nKnotBins = nCount;
    m_nKnotRate = m_nSampleRate;
  }
  const int k = m_nKnots;
  for (int j = 0; j < k; ++j) {
    const SKnot& knot = m_knots[j];
    float level = pValues[knot.nBin];
    if (m_bSpanMax)
      for (int b = knot.nBin + 1; b <= knot.nBinLast; ++b)
        if (pValues[b] > level) level = pValues[b];
    m_knotX[j] = knot.nColumn;
    m_knotY[j] = map.LevelToRow(level);
  }
  if (!NaturalSpline(m_knotX.data(), m_knotY.data(), k, m_splineWork.data(), m_pColBuf.get())) return;
  DrawPolyline(pDC, m_pColBuf.get(), W, W);
}

void CFreqMagnWnd::DrawData(CDC* pDC, float* const pValues, int nCount) {
  if (m_bLinear == 1) {
    CFigWnd::DrawData(pDC, pValues, nCount);
    return;
  }
  if (GetWidth() <= 0 || !pDC || !pValues || nCount <= 0) return;
  DrawWarpedData(pDC, pValues, nCount);
}

void CFreqMagnWnd::OnSize(UINT nType, int cx, int cy) {
  // The bitmaps are rebuilt here; a figure drawn from another thread must wait.
  const auto hold = m_feed.Hold();
  CFigWnd::OnSize(nType, cx, cy);
  if (m_FreqMagn.IsInitialed()) UpdateXScaleParam();
}
