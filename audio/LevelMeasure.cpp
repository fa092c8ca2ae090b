#include "audio/LevelMeasure.h"

#include <ebur128.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <new>

using namespace levelmeasure;

namespace {

constexpr int kChunk = 1024;  // frames handed to the loudness at once
constexpr size_t kLine = CTruePeakFilter::HISTORY + kChunk;  // a channel's true-peak line

double ToDB(double linear) {
  return linear > 0 ? std::max(20.0 * std::log10(linear), CLevelMeasure::LEVEL_FLOOR_DB) : CLevelMeasure::LEVEL_FLOOR_DB;
}

// libebur128 reports -inf for "no block yet" and silence.
double LoudnessOrFloor(double v) { return std::isfinite(v) ? std::max(v, CLevelMeasure::LEVEL_FLOOR_DB) : CLevelMeasure::LEVEL_FLOOR_DB; }

Ballistic BallisticOf(LevelMeterMode mode) {
  switch (mode) {
    case LMM_VU: return Ballistic::VU;
    case LMM_PPM_TYPE_I: return Ballistic::PPMTypeI;
    case LMM_PPM_TYPE_II: return Ballistic::PPMTypeII;
    default: return Ballistic::DigitalPeak;
  }
}

// Planar and interleaved blocks read through the same loop.
struct SPlanarSource {
  const float* const* p;
  float At(int ch, int i) const { return p[ch][i]; }
};
struct SInterleavedSource {
  const float* p;
  int channels;
  float At(int ch, int i) const { return p[static_cast<size_t>(i) * channels + ch]; }
};

}  // namespace

// libebur128 sums its whole window each time momentary or short-term loudness is asked for: 3 s
// of every channel, ten times a second, would cost more than all the other readings together.
// It is asked instead for the K-weighted energy of each 100 ms piece as the piece completes; the
// 400 ms and 3 s windows are the means of the last 4 and 30 pieces, the same sums regrouped.
// Integrated loudness and range stay entirely the library's.
struct CLevelMeasure::SLoudness {
  static constexpr int kShortPieces = 30, kMomentaryPieces = 4;
  ebur128_state* p = nullptr;
  int nPieceFrames;  // the library's 100 ms window at this rate
  int nInPiece = 0;  // frames fed into the current piece
  int nHead = 0;     // where the next piece's energy goes
  std::array<double, kShortPieces> pieces{};  // energies, silence before the first
  SLoudness(unsigned channels, unsigned long rate)
      : p(ebur128_init(channels, rate, EBUR128_MODE_M | EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_HISTOGRAM)),
        nPieceFrames(static_cast<int>(rate / 10)) {}
  ~SLoudness() {
    if (p) ebur128_destroy(&p);
  }
  SLoudness(const SLoudness&) = delete;
  SLoudness& operator=(const SLoudness&) = delete;

  // Called as a piece completes: keeps its energy.
  void EndPiece() {
    double lufs = -HUGE_VAL;
    if (ebur128_loudness_window(p, 100, &lufs) != EBUR128_SUCCESS) lufs = -HUGE_VAL;
    pieces[static_cast<size_t>(nHead)] = std::isfinite(lufs) ? std::pow(10.0, (lufs + kOffset) / 10.0) : 0.0;
    nHead = (nHead + 1) % kShortPieces;
    nInPiece = 0;
  }
  // Loudness of the last n pieces, -inf for silence as the library gives it.
  double Window(int n) const {
    double sum = 0;
    for (int k = 1; k <= n; ++k) sum += pieces[static_cast<size_t>((nHead - k + kShortPieces) % kShortPieces)];
    return sum > 0 ? 10.0 * std::log10(sum / n) - kOffset : -HUGE_VAL;
  }
  static constexpr double kOffset = 0.691;  // BS.1770's -0.691 in the energy-to-LUFS step
};

// Audio-thread state of one channel.
struct CLevelMeasure::SChannel {
  SBallisticState ballistic;
  double fPeak = 0, fTruePeak = 0;
  double fHold = 0;
  int nHoldLeft = 0;
  double fSquareSum = 0;
};

// What readers see: written once per chunk by the audio thread.
struct CLevelMeasure::SPublished {
  std::atomic<float> peak{0}, truePeak{0}, rms{0}, level{0}, hold{0};
};

CLevelMeasure::CLevelMeasure() = default;

CLevelMeasure::~CLevelMeasure() = default;

BOOL CLevelMeasure::Initial(int nChannels, int nSampleRate, LevelMeterMode mode) {
  m_pLoudness.reset();
  m_nChannels = 0;
  if (nChannels < 1 || nChannels > MAX_CHANNELS || nSampleRate < 8000 || nSampleRate > 384000) return FALSE;
  if (mode < LMM_DIGITAL_PEAK || mode > LMM_PPM_TYPE_II) return FALSE;
  try {
    m_arrChannel.assign(nChannels, SChannel{});
    m_pPublished = std::make_unique<SPublished[]>(nChannels);
    m_arrScratch.assign(static_cast<size_t>(kChunk) * nChannels, 0.0f);
    m_arrLine.assign(kLine * nChannels, 0.0f);
    m_nRmsLen = std::max(1, static_cast<int>(std::lround(nSampleRate * (RMS_WINDOW_MS / 1000.0))));
    m_arrSquares.assign(static_cast<size_t>(m_nRmsLen) * nChannels, 0.0f);
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  m_nSampleRate = nSampleRate;
  m_Mode = mode;
  m_Coef = MakeCoef(BallisticOf(mode), nSampleRate);
  m_nChannels = nChannels;
  Reset();
  return m_nChannels ? TRUE : FALSE;
}

void CLevelMeasure::SetPeakHold(int nHoldMs) { m_nHoldMs.store(std::clamp(nHoldMs, 0, 60000)); }

void CLevelMeasure::Reset() {
  if (!m_nChannels) return;
  for (SChannel& c : m_arrChannel) c = SChannel{};
  std::fill(m_arrSquares.begin(), m_arrSquares.end(), 0.0f);
  std::fill(m_arrLine.begin(), m_arrLine.end(), 0.0f);
  m_nRmsPos = 0;
  // libebur128 has no reset of its history: a fresh state is the only way back to silence. The
  // histogram keeps the gated measures in fixed memory, so feeding it never allocates.
  m_pLoudness.reset();
  try {
    m_pLoudness = std::make_unique<SLoudness>(static_cast<unsigned>(m_nChannels), static_cast<unsigned long>(m_nSampleRate));
  } catch (const std::bad_alloc&) {
  }
  if (!m_pLoudness || !m_pLoudness->p) {
    m_pLoudness.reset();
    m_nChannels = 0;
    return;
  }
  m_nNonFinite = 0;
  m_nFrames = 0;
  PublishChannels();
  PublishLoudness();
}

BOOL CLevelMeasure::Feed(const float* const* pPlanar, int nFrames) {
  if (!m_nChannels || !pPlanar || nFrames < 0) return FALSE;
  for (int ch = 0; ch < m_nChannels; ++ch)
    if (!pPlanar[ch]) return FALSE;
  Process(SPlanarSource{pPlanar}, nFrames);
  return TRUE;
}

BOOL CLevelMeasure::Feed(const float* pInterleaved, int nFrames) {
  if (!m_nChannels || !pInterleaved || nFrames < 0) return FALSE;
  Process(SInterleavedSource{pInterleaved, m_nChannels}, nFrames);
  return TRUE;
}

template <class Source>
void CLevelMeasure::Process(Source src, int nFrames) {
  const int C = m_nChannels;
  m_nHoldSamples = static_cast<int>(static_cast<long long>(m_nHoldMs.load(std::memory_order_relaxed)) * m_nSampleRate / 1000);
  unsigned long long nonFinite = 0;
  SLoudness& loud = *m_pLoudness;
  for (int done = 0; done < nFrames;) {
    // Chunks end where a 100 ms piece does, so each piece's energy is taken as it completes.
    const int n = std::min({kChunk, nFrames - done, loud.nPieceFrames - loud.nInPiece});
    int rmsPos = m_nRmsPos;
    for (int ch = 0; ch < C; ++ch) {
      SChannel& c = m_arrChannel[ch];
      float* squares = &m_arrSquares[static_cast<size_t>(ch) * m_nRmsLen];
      float* line = &m_arrLine[static_cast<size_t>(ch) * kLine];
      rmsPos = m_nRmsPos;
      for (int i = 0; i < n; ++i) {
        float x = src.At(ch, done + i);
        if (!std::isfinite(x)) {
          x = 0;
          ++nonFinite;
        }
        m_arrScratch[static_cast<size_t>(i) * C + ch] = x;
        const double a = std::fabs(static_cast<double>(x));
        c.fPeak = std::max(c.fPeak, a);
        line[CTruePeakFilter::HISTORY + i] = x;
        const float sq = x * x;
        c.fSquareSum += static_cast<double>(sq) - squares[rmsPos];
        squares[rmsPos] = sq;
        if (++rmsPos == m_nRmsLen) {
          rmsPos = 0;
          // A full turn of the window: restart the running sum from the values, so rounding
          // never accumulates.
          double s = 0;
          for (int k = 0; k < m_nRmsLen; ++k) s += squares[k];
          c.fSquareSum = s;
        }
        Step(m_Coef, c.ballistic, x);
        if (c.ballistic.y >= c.fHold || m_nHoldSamples == 0) {
          c.fHold = c.ballistic.y;
          c.nHoldLeft = m_nHoldSamples;
        } else if (c.nHoldLeft > 0) {
          --c.nHoldLeft;
        } else {
          c.fHold = c.ballistic.y;
        }
      }
      const float tp = CTruePeakFilter::Block({line, static_cast<size_t>(CTruePeakFilter::HISTORY + n)});
      c.fTruePeak = std::max(c.fTruePeak, static_cast<double>(tp));
    }
    m_nRmsPos = rmsPos;
    ebur128_add_frames_float(loud.p, m_arrScratch.data(), static_cast<size_t>(n));
    done += n;
    m_nFrames.fetch_add(static_cast<unsigned long long>(n), std::memory_order_relaxed);
    loud.nInPiece += n;
    if (loud.nInPiece == loud.nPieceFrames) {  // the 10 Hz refresh of the loudness standards
      loud.EndPiece();
      PublishLoudness();
    }
  }
  if (nonFinite) m_nNonFinite.fetch_add(nonFinite, std::memory_order_relaxed);
  PublishChannels();
}

void CLevelMeasure::PublishChannels() {
  for (int ch = 0; ch < m_nChannels; ++ch) {
    const SChannel& c = m_arrChannel[ch];
    SPublished& p = m_pPublished[ch];
    p.peak.store(static_cast<float>(c.fPeak), std::memory_order_relaxed);
    p.truePeak.store(static_cast<float>(c.fTruePeak), std::memory_order_relaxed);
    p.rms.store(static_cast<float>(std::sqrt(std::max(c.fSquareSum, 0.0) / m_nRmsLen)), std::memory_order_relaxed);
    p.level.store(static_cast<float>(c.ballistic.y), std::memory_order_relaxed);
    p.hold.store(static_cast<float>(c.fHold), std::memory_order_relaxed);
  }
}

void CLevelMeasure::PublishLoudness() {
  m_fMomentary.store(LoudnessOrFloor(m_pLoudness->Window(SLoudness::kMomentaryPieces)));
  m_fShortTerm.store(LoudnessOrFloor(m_pLoudness->Window(SLoudness::kShortPieces)));
  double v = -HUGE_VAL;
  if (ebur128_loudness_global(m_pLoudness->p, &v) == EBUR128_SUCCESS) m_fIntegrated.store(LoudnessOrFloor(v));
  v = 0;
  if (ebur128_loudness_range(m_pLoudness->p, &v) == EBUR128_SUCCESS) m_fRange.store(std::isfinite(v) ? v : 0.0);
}

double CLevelMeasure::ChannelReading(int nChannel, std::atomic<float> SPublished::*field) const {
  if (nChannel < 0 || nChannel >= m_nChannels) return LEVEL_FLOOR_DB;
  return ToDB((m_pPublished[nChannel].*field).load(std::memory_order_relaxed));
}

double CLevelMeasure::GetSamplePeak(int ch) const { return ChannelReading(ch, &SPublished::peak); }
double CLevelMeasure::GetTruePeak(int ch) const { return ChannelReading(ch, &SPublished::truePeak); }
double CLevelMeasure::GetRMS(int ch) const { return ChannelReading(ch, &SPublished::rms); }
double CLevelMeasure::GetLevel(int ch) const { return ChannelReading(ch, &SPublished::level); }
double CLevelMeasure::GetHoldLevel(int ch) const { return ChannelReading(ch, &SPublished::hold); }
double CLevelMeasure::GetMomentary() const { return m_fMomentary.load(); }
double CLevelMeasure::GetShortTerm() const { return m_fShortTerm.load(); }
double CLevelMeasure::GetIntegrated() const { return m_fIntegrated.load(); }
double CLevelMeasure::GetLoudnessRange() const { return m_fRange.load(); }

double CLevelMeasure::GetMaxTruePeak() const {
  double best = LEVEL_FLOOR_DB;
  for (int ch = 0; ch < m_nChannels; ++ch) best = std::max(best, GetTruePeak(ch));
  return best;
}

int CLevelMeasure::GetLevels(float* pDB, int nCount, BOOL bHeld) const {
  if (!pDB || nCount <= 0) return 0;
  for (int i = 0; i < nCount; ++i) pDB[i] = static_cast<float>(bHeld ? GetHoldLevel(i) : GetLevel(i));
  return nCount;
}

int CLevelMeasure::GetLevels(double* pDB, int nCount, BOOL bHeld) const {
  if (!pDB || nCount <= 0) return 0;
  for (int i = 0; i < nCount; ++i) pDB[i] = bHeld ? GetHoldLevel(i) : GetLevel(i);
  return nCount;
}
