#include "companion/WaveDataFreqMagn.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>

CWaveDataFreqMagn::CWaveDataFreqMagn() = default;
CWaveDataFreqMagn::~CWaveDataFreqMagn() = default;

bool CWaveDataFreqMagn::ValidSize(unsigned long n) {
  return n >= MIN_FFT_SIZE && n <= MAX_FFT_SIZE && std::has_single_bit(n);
}

bool CWaveDataFreqMagn::ValidWindow(FFTWndType t) {
  return t == FFTWND_RECTANGLE || t == FFTWND_HANN || t == FFTWND_HAMMING || t == FFTWND_BLACKMAN ||
         t == FFTWND_BLACKMAN_HARRIS;
}

std::vector<float> CWaveDataFreqMagn::MakeWindow(FFTWndType nType, unsigned long nSize) {
  // Cosine sums a0 - a1 cos x + a2 cos 2x - a3 cos 3x over one period (the DFT-even form, whose
  // transform is exactly zero beyond its main lobe).
  double a[4] = {1, 0, 0, 0};
  switch (nType) {
    case FFTWND_RECTANGLE: break;
    case FFTWND_HANN: a[0] = 0.5, a[1] = 0.5; break;
    case FFTWND_HAMMING: a[0] = 0.54, a[1] = 0.46; break;
    case FFTWND_BLACKMAN: a[0] = 0.42, a[1] = 0.5, a[2] = 0.08; break;
    case FFTWND_BLACKMAN_HARRIS: a[0] = 0.35875, a[1] = 0.48829, a[2] = 0.14128, a[3] = 0.01168; break;
    default: return {};
  }
  std::vector<float> w(nSize);
  for (unsigned long n = 0; n < nSize; ++n) {
    const double x = 2.0 * std::numbers::pi * static_cast<double>(n) / static_cast<double>(nSize);
    w[n] = static_cast<float>(a[0] - a[1] * std::cos(x) + a[2] * std::cos(2 * x) - a[3] * std::cos(3 * x));
  }
  return w;
}

int CWaveDataFreqMagn::Initial(int nChannels, CFFT_RC_Calc* pCalc, unsigned long nFFTSize,
                               FFTWndType nWndType, unsigned long nBufLen, int nSampleType) {
  if (nChannels < 1 || nChannels > MAX_CHANNELS || !ValidSize(nFFTSize) || !ValidWindow(nWndType) ||
      nSampleType != SAMPLES_FLOAT_PLANAR)
    return 0;
  if (!pCalc && !m_pOwnCalc) m_pOwnCalc = std::make_unique<CFFT_RC_Calc>();
  CFFT_RC_Calc& calc = pCalc ? *pCalc : *m_pOwnCalc;
  if (!calc.Prepare(static_cast<int>(nFFTSize))) return 0;

  m_pCalc = pCalc;
  m_nChannels = nChannels;
  m_nFFTSize = nFFTSize;
  m_nWndType = nWndType;
  if (nBufLen == 0) nBufLen = 4 * nFFTSize;
  m_bInit = true;
  ResizeRing(std::clamp(nBufLen, nFFTSize, MAX_BUF_LEN), false);
  Rebuild();
  return 1;
}

void CWaveDataFreqMagn::Reset() {
  m_nEnd = m_nHeld = m_nHead = 0;
  m_bHaveAverage = false;
  std::fill(m_magn.begin(), m_magn.end(), 0.0f);
}

void CWaveDataFreqMagn::SetChannels(int nChannels) {
  if (nChannels < 1 || nChannels > MAX_CHANNELS || nChannels == m_nChannels) return;
  m_nChannels = nChannels;
  if (!m_bInit) return;
  ResizeRing(m_nBufLen, false);
  Rebuild();
}

BOOL CWaveDataFreqMagn::SetFFTSize(unsigned long nSize) {
  if (!ValidSize(nSize)) return FALSE;
  if (m_bInit && !Calc().Prepare(static_cast<int>(nSize))) return FALSE;
  m_nFFTSize = nSize;
  if (!m_bInit) return TRUE;
  if (m_nBufLen < nSize) ResizeRing(nSize, true);
  Rebuild();
  return TRUE;
}

BOOL CWaveDataFreqMagn::SetFFTWindow(FFTWndType nType) {
  if (!ValidWindow(nType)) return FALSE;
  if (nType == m_nWndType) return TRUE;
  m_nWndType = nType;
  if (m_bInit) Rebuild();
  return TRUE;
}

void CWaveDataFreqMagn::SetAgility(float fAgility) {
  if (!std::isnan(fAgility)) m_fAgility = std::clamp(fAgility, 0.0f, 1.0f);
}

void CWaveDataFreqMagn::SetBufLen(unsigned long nFrames) {
  const unsigned long len = std::clamp(nFrames, m_nFFTSize, MAX_BUF_LEN);
  if (!m_bInit) {
    m_nBufLen = len;
    return;
  }
  if (len != m_nBufLen) ResizeRing(len, true);
}

void CWaveDataFreqMagn::ResizeRing(unsigned long nNewLen, bool bKeep) {
  std::vector<float> ring(static_cast<std::size_t>(m_nChannels) * nNewLen, 0.0f);
  unsigned long kept = 0;
  if (bKeep && m_nHeld > 0 && m_nBufLen > 0 && m_ring.size() == static_cast<std::size_t>(m_nChannels) * m_nBufLen) {
    kept = std::min(m_nHeld, nNewLen);
    const unsigned long from = (m_nHead + m_nBufLen - kept) % m_nBufLen;  // oldest frame kept
    for (int c = 0; c < m_nChannels; ++c) {
      const float* src = m_ring.data() + static_cast<std::size_t>(c) * m_nBufLen;
      float* dst = ring.data() + static_cast<std::size_t>(c) * nNewLen;
      for (unsigned long i = 0; i < kept; ++i) dst[i] = src[(from + i) % m_nBufLen];
    }
  } else {
    m_nEnd = 0;
  }
  m_nHeld = kept;
  m_nHead = kept % nNewLen;
  m_ring = std::move(ring);
  m_nBufLen = nNewLen;
}

void CWaveDataFreqMagn::Rebuild() {
  const std::size_t n = m_nFFTSize, bins = n / 2 + 1;
  m_window = MakeWindow(m_nWndType, m_nFFTSize);
  // Two halves of a real sine's energy meet in one bin: 2 / (N * coherent gain) reads its
  // amplitude. DC and Nyquist have no mirror and take half of that (see GetMagnFreqData).
  const double gain = std::accumulate(m_window.begin(), m_window.end(), 0.0) / static_cast<double>(n);
  const float scale = static_cast<float>(2.0 / (static_cast<double>(n) * gain));
  for (float& w : m_window) w *= scale;
  m_frame.assign(n, 0.0f);
  m_current.assign(bins, 0.0f);
  m_magn.assign(bins * static_cast<std::size_t>(m_nChannels), 0.0f);
  m_ptrs.resize(static_cast<std::size_t>(m_nChannels));
  for (int c = 0; c < m_nChannels; ++c) m_ptrs[c] = m_magn.data() + bins * static_cast<std::size_t>(c);
  m_bHaveAverage = false;
}

void CWaveDataFreqMagn::FillData(float** ppData, long nFrames, unsigned long nPos) {
  if (!m_bInit || !ppData || nFrames <= 0) return;
  for (int c = 0; c < m_nChannels; ++c)
    if (!ppData[c]) return;
  if (nPos != m_nEnd || m_nHeld == 0) m_nHeld = m_nHead = 0;  // the stream jumped
  unsigned long frames = static_cast<unsigned long>(nFrames);
  std::size_t offset = 0;
  if (frames > m_nBufLen) {  // only the block's tail fits
    offset = static_cast<std::size_t>(frames - m_nBufLen);
    frames = m_nBufLen;
  }
  const std::size_t at = m_nHead;
  const std::size_t first = std::min<std::size_t>(frames, m_nBufLen - at);
  for (int c = 0; c < m_nChannels; ++c) {
    const float* src = ppData[c] + offset;
    float* ring = m_ring.data() + static_cast<std::size_t>(c) * m_nBufLen;
    // Non-finite samples would poison the running average for good; they count as silence.
    const auto clean = [](float v) { return std::isfinite(v) ? v : 0.0f; };
    std::transform(src, src + first, ring + at, clean);
    std::transform(src + first, src + frames, ring, clean);
  }
  m_nHead = static_cast<unsigned long>((at + frames) % m_nBufLen);
  m_nHeld = std::min(m_nBufLen, m_nHeld + frames);
  m_nEnd = nPos + static_cast<unsigned long>(nFrames);  // wraps as the host's counter does
}

int CWaveDataFreqMagn::GetMagnFreqData(unsigned long nPos, SMagnFreq& smf) {
  const unsigned long n = m_nFFTSize;
  const unsigned long back = m_nEnd - nPos;  // frames after the query's end; huge when it lies ahead
  if (!m_bInit || m_nHeld < n || back > m_nHeld - n) return 0;
  const std::size_t bins = m_nFFTSize / 2 + 1;
  const std::size_t at = (m_nHead + m_nBufLen - back - n) % m_nBufLen;
  const std::size_t first = std::min<std::size_t>(m_nFFTSize, m_nBufLen - at);
  const double keep = m_bHaveAverage ? m_fAgility : 0.0, take = 1.0 - keep;
  constexpr float kMax = std::numeric_limits<float>::max();
  bool restart = false;  // an overflowed spectrum is shown but kept out of the average
  for (int c = 0; c < m_nChannels; ++c) {
    const float* ring = m_ring.data() + static_cast<std::size_t>(c) * m_nBufLen;
    for (std::size_t i = 0; i < first; ++i) m_frame[i] = ring[at + i] * m_window[i];
    for (std::size_t i = first; i < m_nFFTSize; ++i) m_frame[i] = ring[i - first] * m_window[i];
    if (!Calc().Magnitudes(static_cast<int>(m_nFFTSize), m_frame.data(), m_current.data())) return 0;
    m_current[0] *= 0.5f;
    m_current[bins - 1] *= 0.5f;
    bool overflowed = false;
    for (float& m : m_current)
      if (!(m <= kMax)) m = kMax, overflowed = true;  // inf, or NaN from inf - inf
    restart = restart || overflowed;
    float* out = m_ptrs[c];
    if (keep == 0.0 || overflowed)
      std::copy(m_current.begin(), m_current.end(), out);
    else
      for (std::size_t k = 0; k < bins; ++k)
        out[k] = static_cast<float>(keep * out[k] + take * m_current[k]);
  }
  m_bHaveAverage = !restart;
  smf.ppMagn = m_ptrs.data();
  smf.nChannels = static_cast<DWORD>(m_nChannels);
  return 1;
}
