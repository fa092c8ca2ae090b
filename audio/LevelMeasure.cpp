#include "audio/LevelMeasure.h"

#include <ebur128.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <new>
#include <thread>
#include <type_traits>

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

using namespace levelmeasure;

namespace {

constexpr int kChunk = 1024;  // frames handed to the loudness at once
constexpr int kRmsGroup = 64;  // RMS window positions per stored suffix sum
constexpr size_t kLine = CTruePeakFilter::HISTORY + kChunk;  // a channel's true-peak line

// Samples smaller than this are silence: -400 dBFS, far under the floor, and large enough that
// the products of the true-peak filter and the ballistics stay normal numbers.
constexpr float kTiny = 1e-20f;

// The dB of a linear reading. A reading that overflowed (the true-peak filter on samples near
// the top of the float range) reads the largest float's level instead of +inf.
double ToDB(double linear) {
  if (!(linear > 0)) return CLevelMeasure::LEVEL_FLOOR_DB;
  return std::max(20.0 * std::log10(std::min(linear, static_cast<double>(FLT_MAX))), CLevelMeasure::LEVEL_FLOOR_DB);
}

// Flush-to-zero and denormals-are-zero for the span of a block, then the caller's mode back: the
// filter and ballistic states that decay through the denormal range in long silences then cost
// nothing extra either.
class CFlushDenormals {
 public:
#if defined(__SSE__) || defined(__x86_64__)
  CFlushDenormals() : m_nSaved(_mm_getcsr()) { _mm_setcsr(m_nSaved | 0x8040u); }  // FTZ | DAZ
  ~CFlushDenormals() { _mm_setcsr(m_nSaved); }

 private:
  unsigned m_nSaved;
#else
  CFlushDenormals() = default;
#endif
 public:
  CFlushDenormals(const CFlushDenormals&) = delete;
  CFlushDenormals& operator=(const CFlushDenormals&) = delete;
};

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
  int channels;  // set under the feed's flag
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
  SLoudness* pNextRetired = nullptr;  // the owner's list of states to free
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
  // Sum of the squares written into the RMS window this turn (see RmsSum): only ever added to,
  // in double from the float samples. A float squared is exact in double, and the largest float
  // squared (1.2e77) times any window stays finite.
  double fNewSum = 0;
};

namespace {
// Reset's request when no fresh loudness state could be made: the channels go back to silence
// and the loudness reads the floor. Compared, never dereferenced.
alignas(8) char g_ResetWithoutLoudness;
}  // namespace
#define RESET_WITHOUT_LOUDNESS reinterpret_cast<CLevelMeasure::SLoudness*>(&g_ResetWithoutLoudness)

CLevelMeasure::CLevelMeasure() = default;

CLevelMeasure::~CLevelMeasure() {
  SLoudness* pending = m_pPendingReset.exchange(nullptr);
  if (pending != RESET_WITHOUT_LOUDNESS) delete pending;
  ReclaimRetired();
  delete m_pLoudness;
}

// A fresh loudness state with this layout, made on the owner's thread; null when memory runs out.
CLevelMeasure::SLoudness* CLevelMeasure::MakeLoudness() const {
  SLoudness* s = nullptr;
  try {
    s = new SLoudness(static_cast<unsigned>(m_nFeedChannels), static_cast<unsigned long>(m_nFeedRate));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (!s->p) {
    delete s;
    s = nullptr;
  }
  return s;
}

void CLevelMeasure::ReclaimRetired() {
  for (SLoudness* s = m_pRetired.exchange(nullptr, std::memory_order_acquire); s;) {
    SLoudness* next = s->pNextRetired;
    delete s;
    s = next;
  }
}

BOOL CLevelMeasure::Initial(int nChannels, int nSampleRate, LevelMeterMode mode) {
  std::lock_guard<std::mutex> owner(m_OwnerLock);
  // A Feed under way finishes first; Feeds that come meanwhile are refused until the end.
  while (m_bFeeding.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
  m_nChannels.store(0);
  m_nFeedChannels = 0;
  SLoudness* pending = m_pPendingReset.exchange(nullptr);
  if (pending != RESET_WITHOUT_LOUDNESS) delete pending;
  ReclaimRetired();
  delete m_pLoudness;
  m_pLoudness = nullptr;
  BOOL ok = nChannels >= 1 && nChannels <= MAX_CHANNELS && nSampleRate >= 8000 && nSampleRate <= 384000 &&
            IsValidMode(static_cast<int>(mode));
  if (ok) {
    try {
      m_arrChannel.assign(nChannels, SChannel{});
      m_arrScratch.assign(static_cast<size_t>(kChunk) * nChannels, 0.0f);
      m_arrLine.assign(kLine * nChannels, 0.0f);
      m_nRmsLen = std::max(1, static_cast<int>(std::lround(nSampleRate * (RMS_WINDOW_MS / 1000.0))));
      m_arrRmsLine.assign(static_cast<size_t>(m_nRmsLen) * nChannels, 0.0f);
      m_nRmsGroups = (m_nRmsLen + kRmsGroup - 1) / kRmsGroup;
      m_arrRmsSuffix.assign(static_cast<size_t>(m_nRmsGroups + 1) * nChannels, 0.0);
    } catch (const std::bad_alloc&) {
      ok = FALSE;
    }
  }
  if (ok) {
    m_nFeedChannels = nChannels;
    m_nFeedRate = nSampleRate;
    m_pLoudness = MakeLoudness();
    ok = m_pLoudness != nullptr;
  }
  if (ok) {
    m_Coef = MakeCoef(BallisticOf(mode), nSampleRate);
    m_nSampleRate.store(nSampleRate);
    m_nMode.store(static_cast<int>(mode));
    ClearChannels();
  } else {
    m_nFeedChannels = 0;
  }
  PublishSilence();
  m_nChannels.store(m_nFeedChannels);
  m_bFeeding.clear(std::memory_order_release);
  return ok;
}

void CLevelMeasure::SetPeakHold(int nHoldMs) { m_nHoldMs.store(std::clamp(nHoldMs, 0, 60000)); }

void CLevelMeasure::Reset() {
  std::lock_guard<std::mutex> owner(m_OwnerLock);
  if (!m_nFeedChannels) return;
  ReclaimRetired();
  // libebur128 has no reset of its history: a fresh state is the only way back to silence. It is
  // made here, so the feeding thread only swaps pointers.
  SLoudness* fresh = MakeLoudness();
  SLoudness* old = m_pPendingReset.exchange(fresh ? fresh : RESET_WITHOUT_LOUDNESS, std::memory_order_acq_rel);
  if (old != RESET_WITHOUT_LOUDNESS) delete old;  // an earlier request the feed never took
  PublishSilence();
}

// Feeding thread, at the start of a block: carries out a pending Reset.
void CLevelMeasure::TakeReset() {
  SLoudness* fresh = m_pPendingReset.exchange(nullptr, std::memory_order_acq_rel);
  if (!fresh) return;
  if (m_pLoudness) {  // to the owner's list: freeing is not for this thread
    m_pLoudness->pNextRetired = m_pRetired.load(std::memory_order_relaxed);
    while (!m_pRetired.compare_exchange_weak(m_pLoudness->pNextRetired, m_pLoudness, std::memory_order_release,
                                             std::memory_order_relaxed)) {
    }
  }
  m_pLoudness = fresh == RESET_WITHOUT_LOUDNESS ? nullptr : fresh;
  ClearChannels();
  PublishSilence();
}

// Feeding thread's state back to silence (no allocation).
void CLevelMeasure::ClearChannels() {
  for (SChannel& c : m_arrChannel) c = SChannel{};
  std::fill(m_arrRmsLine.begin(), m_arrRmsLine.end(), 0.0f);
  std::fill(m_arrRmsSuffix.begin(), m_arrRmsSuffix.end(), 0.0);
  std::fill(m_arrLine.begin(), m_arrLine.end(), 0.0f);
  m_nRmsPos = 0;
}

// Every reading to silence, the counters to zero.
void CLevelMeasure::PublishSilence() {
  for (SPublished& p : m_arrPublished) {
    p.peak.store(0, std::memory_order_relaxed);
    p.truePeak.store(0, std::memory_order_relaxed);
    p.rms.store(0, std::memory_order_relaxed);
    p.level.store(0, std::memory_order_relaxed);
    p.hold.store(0, std::memory_order_relaxed);
  }
  m_fMomentary.store(LEVEL_FLOOR_DB);
  m_fShortTerm.store(LEVEL_FLOOR_DB);
  m_fIntegrated.store(LEVEL_FLOOR_DB);
  m_fRange.store(0.0);
  m_nNonFinite.store(0);
  m_nFrames.store(0);
}

BOOL CLevelMeasure::Feed(const float* const* pPlanar, int nFrames) {
  if (!pPlanar || nFrames < 0) return FALSE;
  return FeedLocked(SPlanarSource{pPlanar}, nFrames);
}

BOOL CLevelMeasure::Feed(const float* pInterleaved, int nFrames) {
  if (!pInterleaved || nFrames < 0) return FALSE;
  return FeedLocked(SInterleavedSource{pInterleaved, 0}, nFrames);
}

template <class Source>
BOOL CLevelMeasure::FeedLocked(Source src, int nFrames) {
  // Tried, never waited for: held only by another Feed or by Initial.
  if (m_bFeeding.test_and_set(std::memory_order_acquire)) return FALSE;
  BOOL ok = m_nFeedChannels > 0;
  if constexpr (std::is_same_v<Source, SPlanarSource>) {
    for (int ch = 0; ok && ch < m_nFeedChannels; ++ch)
      if (!src.p[ch]) ok = FALSE;
  } else {
    src.channels = m_nFeedChannels;
  }
  if (ok) {
    TakeReset();
    Process(src, nFrames);
  }
  m_bFeeding.clear(std::memory_order_release);
  return ok;
}

template <class Source>
void CLevelMeasure::Process(Source src, int nFrames) {
  const CFlushDenormals flush;
  const int C = m_nFeedChannels;
  m_nHoldSamples = static_cast<int>(static_cast<long long>(m_nHoldMs.load(std::memory_order_relaxed)) * m_nFeedRate / 1000);
  unsigned long long nonFinite = 0;
  SLoudness* loud = m_pLoudness;
  for (int done = 0; done < nFrames;) {
    // Chunks end where a 100 ms piece does, so each piece's energy is taken as it completes.
    const int n = std::min({kChunk, nFrames - done, loud ? loud->nPieceFrames - loud->nInPiece : kChunk});
    int rmsPos = m_nRmsPos;
    for (int ch = 0; ch < C; ++ch) {
      SChannel& c = m_arrChannel[ch];
      float* rmsLine = &m_arrRmsLine[static_cast<size_t>(ch) * m_nRmsLen];
      float* line = &m_arrLine[static_cast<size_t>(ch) * kLine];
      rmsPos = m_nRmsPos;
      for (int i = 0; i < n; ++i) {
        float x = src.At(ch, done + i);
        const float a = std::fabs(x);
        if (!(a <= FLT_MAX)) {
          x = 0;
          ++nonFinite;
        } else if (a < kTiny) {
          x = 0;
        }
        m_arrScratch[static_cast<size_t>(i) * C + ch] = x;
        c.fPeak = std::max(c.fPeak, static_cast<double>(std::fabs(x)));
        line[CTruePeakFilter::HISTORY + i] = x;
        c.fNewSum += static_cast<double>(x) * x;
        rmsLine[rmsPos] = x;
        if (++rmsPos == m_nRmsLen) {
          rmsPos = 0;
          EndRmsTurn(ch);
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
    done += n;
    m_nFrames.fetch_add(static_cast<unsigned long long>(n), std::memory_order_relaxed);
    if (loud) {
      ebur128_add_frames_float(loud->p, m_arrScratch.data(), static_cast<size_t>(n));
      loud->nInPiece += n;
      if (loud->nInPiece == loud->nPieceFrames) {  // the 10 Hz refresh of the loudness standards
        loud->EndPiece();
        PublishLoudness();
      }
    }
  }
  if (nonFinite) m_nNonFinite.fetch_add(nonFinite, std::memory_order_relaxed);
  PublishChannels();
}

// The RMS window is a ring of the last m_nRmsLen samples, written at m_nRmsPos. Its sum of
// squares is never kept by adding the new square and subtracting the old one: after a sample
// near the top of the float range leaves, that difference would have lost everything else in
// the window. Instead: the squares written this turn (positions before m_nRmsPos) are summed as
// they come, and those still there from the last turn (m_nRmsPos onwards) are the suffix sums
// taken when that turn ended, one per group of kRmsGroup positions, plus the few values before
// the first whole group. Only non-negative numbers are ever added.
void CLevelMeasure::EndRmsTurn(int ch) {
  const float* rmsLine = &m_arrRmsLine[static_cast<size_t>(ch) * m_nRmsLen];
  double* suffix = &m_arrRmsSuffix[static_cast<size_t>(ch) * (m_nRmsGroups + 1)];
  double sum = 0;
  suffix[m_nRmsGroups] = 0;
  for (int g = m_nRmsGroups - 1; g >= 0; --g) {
    const int end = std::min(m_nRmsLen, (g + 1) * kRmsGroup);
    for (int k = g * kRmsGroup; k < end; ++k) sum += static_cast<double>(rmsLine[k]) * rmsLine[k];
    suffix[g] = sum;
  }
  m_arrChannel[static_cast<size_t>(ch)].fNewSum = 0;
}

double CLevelMeasure::RmsSum(int ch) const {
  const float* rmsLine = &m_arrRmsLine[static_cast<size_t>(ch) * m_nRmsLen];
  const double* suffix = &m_arrRmsSuffix[static_cast<size_t>(ch) * (m_nRmsGroups + 1)];
  const int g = (m_nRmsPos + kRmsGroup - 1) / kRmsGroup;
  double sum = m_arrChannel[static_cast<size_t>(ch)].fNewSum + suffix[g];
  const int end = std::min(m_nRmsLen, g * kRmsGroup);
  for (int k = m_nRmsPos; k < end; ++k) sum += static_cast<double>(rmsLine[k]) * rmsLine[k];
  return sum;
}

void CLevelMeasure::PublishChannels() {
  for (int ch = 0; ch < m_nFeedChannels; ++ch) {
    const SChannel& c = m_arrChannel[ch];
    SPublished& p = m_arrPublished[static_cast<size_t>(ch)];
    p.peak.store(static_cast<float>(c.fPeak), std::memory_order_relaxed);
    p.truePeak.store(static_cast<float>(c.fTruePeak), std::memory_order_relaxed);
    p.rms.store(static_cast<float>(std::sqrt(RmsSum(ch) / m_nRmsLen)), std::memory_order_relaxed);
    p.level.store(static_cast<float>(c.ballistic.y), std::memory_order_relaxed);
    p.hold.store(static_cast<float>(c.fHold), std::memory_order_relaxed);
  }
}

void CLevelMeasure::PublishLoudness() {
  if (!m_pLoudness) return;
  m_fMomentary.store(LoudnessOrFloor(m_pLoudness->Window(SLoudness::kMomentaryPieces)));
  m_fShortTerm.store(LoudnessOrFloor(m_pLoudness->Window(SLoudness::kShortPieces)));
  double v = -HUGE_VAL;
  if (ebur128_loudness_global(m_pLoudness->p, &v) == EBUR128_SUCCESS) m_fIntegrated.store(LoudnessOrFloor(v));
  v = 0;
  if (ebur128_loudness_range(m_pLoudness->p, &v) == EBUR128_SUCCESS) m_fRange.store(std::isfinite(v) ? v : 0.0);
}

double CLevelMeasure::ChannelReading(int nChannel, std::atomic<float> SPublished::*field) const {
  if (nChannel < 0 || nChannel >= m_nChannels.load(std::memory_order_relaxed)) return LEVEL_FLOOR_DB;
  return ToDB((m_arrPublished[static_cast<size_t>(nChannel)].*field).load(std::memory_order_relaxed));
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
  const int n = m_nChannels.load(std::memory_order_relaxed);
  for (int ch = 0; ch < n; ++ch) best = std::max(best, GetTruePeak(ch));
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
