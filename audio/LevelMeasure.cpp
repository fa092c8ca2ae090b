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

// The loudness library's channel of a role: its weights are those of BS.1770-4 (1.41 for
// M+-060, M+-090, M+-110; 2.0 for dual mono; 1.0 for the others; unused channels left out).
int LibraryChannel(LevelChannelRole role) {
  switch (role) {
    case LCR_LEFT: return EBUR128_Mp030;
    case LCR_RIGHT: return EBUR128_Mm030;
    case LCR_CENTRE: return EBUR128_Mp000;
    case LCR_LEFT_SURROUND: return EBUR128_Mp110;
    case LCR_RIGHT_SURROUND: return EBUR128_Mm110;
    case LCR_LEFT_REAR_SURROUND: return EBUR128_Mp135;
    case LCR_RIGHT_REAR_SURROUND: return EBUR128_Mm135;
    case LCR_BACK_CENTRE: return EBUR128_Mp180;
    case LCR_LEFT_SIDE: return EBUR128_Mp090;
    case LCR_RIGHT_SIDE: return EBUR128_Mm090;
    case LCR_LEFT_WIDE: return EBUR128_Mp060;
    case LCR_RIGHT_WIDE: return EBUR128_Mm060;
    case LCR_LEFT_SCREEN: return EBUR128_MpSC;
    case LCR_RIGHT_SCREEN: return EBUR128_MmSC;
    case LCR_TOP_FRONT_CENTRE: return EBUR128_Up000;
    case LCR_TOP_FRONT_LEFT: return EBUR128_Up030;
    case LCR_TOP_FRONT_RIGHT: return EBUR128_Um030;
    case LCR_TOP_FRONT_LEFT_45: return EBUR128_Up045;
    case LCR_TOP_FRONT_RIGHT_45: return EBUR128_Um045;
    case LCR_TOP_SIDE_LEFT: return EBUR128_Up090;
    case LCR_TOP_SIDE_RIGHT: return EBUR128_Um090;
    case LCR_TOP_LEFT_SURROUND: return EBUR128_Up110;
    case LCR_TOP_RIGHT_SURROUND: return EBUR128_Um110;
    case LCR_TOP_LEFT_REAR: return EBUR128_Up135;
    case LCR_TOP_RIGHT_REAR: return EBUR128_Um135;
    case LCR_TOP_BACK_CENTRE: return EBUR128_Up180;
    case LCR_TOP_CENTRE: return EBUR128_Tp000;
    case LCR_BOTTOM_FRONT_CENTRE: return EBUR128_Bp000;
    case LCR_BOTTOM_FRONT_LEFT: return EBUR128_Bp045;
    case LCR_BOTTOM_FRONT_RIGHT: return EBUR128_Bm045;
    case LCR_DUAL_MONO: return EBUR128_DUAL_MONO;
    case LCR_OTHER: return EBUR128_Mp000;  // a weight of 1.0
    default: return EBUR128_UNUSED;  // LCR_UNUSED, LCR_LFE
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

// Loudness as ITU-R BS.1770-4 and EBU Tech 3341/3342 define it. libebur128 K-weights the
// channels, applies their weights and sums the energy of any recent window; everything else is
// computed here from that, because the library's own integrated and range measures sum their
// whole 400 ms and 3 s windows again at every block (each sample some eight times over):
// - Steps: the library is asked for the weighted energy of each 10 ms step as the step completes
//   (its 10 ms window is the step's frames exactly, rate / 100 of them).
// - Momentary and short-term: the means of the last 40 and 300 step energies, the same sums
//   regrouped. So they follow the feed every 10 ms of audio fed, counted from Initial/Reset,
//   whatever blocks the host feeds: a 400 ms burst that starts on any 10 ms boundary lies wholly
//   inside one momentary window, and one that starts between two boundaries reads at most
//   0.055 dB low (395 of its 400 ms).
// - Integrated (BS.1770-4): 400 ms gating blocks every 100 ms (75 % overlap), absolute gate
//   -70 LUFS, relative gate 10 LU below the mean of the blocks above it.
// - Loudness range (EBU Tech 3342): 3 s short-term values every 100 ms, absolute gate -70 LUFS,
//   relative gate 20 LU below their mean, then the 95th minus the 10th percentile of the rest.
// Both keep their blocks in fixed histograms of 0.1 LU bins from -70 LUFS up (the top bin takes
// everything louder than +30), with each bin's count and exact energy sum: the gates' means are
// exact, only the bin a gate falls in is taken or left whole, and percentiles read the mean of
// their bin. No allocation after the state is made.
struct CLevelMeasure::SLoudness {
  static constexpr int kShortSteps = 300, kMomentarySteps = 40, kStepsPerRefresh = 10;
  static constexpr double kOffset = 0.691;  // BS.1770's -0.691 in the energy-to-LUFS step

  // Blocks by loudness: count and energy sum per 0.1 LU bin from the absolute gate up.
  struct SHistogram {
    static constexpr int kBins = 1000;
    static constexpr double kGate = -70.0;  // LUFS
    std::array<unsigned long long, kBins> count{};
    std::array<double, kBins> energy{};
    static int Bin(double energy) {
      const double lufs = 10.0 * std::log10(energy) - kOffset;
      return std::clamp(static_cast<int>(std::floor((lufs - kGate) * 10.0)), 0, kBins - 1);
    }
    void Add(double e) {
      if (!(e >= GateEnergy(kGate))) return;
      const int b = Bin(e);
      ++count[static_cast<size_t>(b)];
      energy[static_cast<size_t>(b)] += e;
    }
    // Blocks from the relative gate (dB below the mean of all) up: their first bin, count and
    // energy sum.
    int Gated(double relativeDB, unsigned long long& n, double& sum) const {
      unsigned long long all = 0;
      double total = 0;
      for (int b = 0; b < kBins; ++b) all += count[static_cast<size_t>(b)], total += energy[static_cast<size_t>(b)];
      n = 0, sum = 0;
      if (!all) return kBins;
      const double gate = total / static_cast<double>(all) * std::pow(10.0, relativeDB / 10.0);
      const int first = gate >= GateEnergy(kGate) ? Bin(gate) : 0;
      for (int b = first; b < kBins; ++b) n += count[static_cast<size_t>(b)], sum += energy[static_cast<size_t>(b)];
      return first;
    }
    static double GateEnergy(double lufs) { return std::pow(10.0, (lufs + kOffset) / 10.0); }
  };

  ebur128_state* p = nullptr;
  SLoudness* pNextRetired = nullptr;  // the owner's list of states to free
  int nStepFrames;       // 10 ms: the frames of the library's 10 ms window at this rate
  int nInStep = 0;       // frames fed into the current step
  int nHead = 0;         // where the next step's energy goes
  long long nSteps = 0;  // steps completed
  double fMaxMomentary = -HUGE_VAL, fMaxShortTerm = -HUGE_VAL;
  std::array<double, kShortSteps> steps{};  // energies, silence before the first
  SHistogram gating, shortTerm;  // integrated's gating blocks, the range's short-term values

  SLoudness(unsigned channels, unsigned long rate)
      : p(ebur128_init(channels, rate, EBUR128_MODE_M)), nStepFrames(static_cast<int>(rate * 10 / 1000)) {}
  ~SLoudness() {
    if (p) ebur128_destroy(&p);
  }
  SLoudness(const SLoudness&) = delete;
  SLoudness& operator=(const SLoudness&) = delete;

  // Called as a step completes: keeps its energy, and every 100 ms (once the windows are full)
  // adds a gating block and a short-term value. TRUE at those 100 ms marks.
  bool EndStep() {
    double lufs = -HUGE_VAL;
    if (ebur128_loudness_window(p, 10, &lufs) != EBUR128_SUCCESS) lufs = -HUGE_VAL;
    steps[static_cast<size_t>(nHead)] = std::isfinite(lufs) ? std::pow(10.0, (lufs + kOffset) / 10.0) : 0.0;
    nHead = nHead + 1 == kShortSteps ? 0 : nHead + 1;
    nInStep = 0;
    if (++nSteps % kStepsPerRefresh) return false;
    if (nSteps >= kMomentarySteps) gating.Add(Energy(kMomentarySteps));
    if (nSteps >= kShortSteps) shortTerm.Add(Energy(kShortSteps));
    return true;
  }
  // Mean energy of the last n steps.
  double Energy(int n) const {
    double sum = 0;
    // The last n entries before nHead, newest first: down to 0, then down from the end.
    const int inFront = std::min(n, nHead);
    for (int k = nHead - 1; k >= nHead - inFront; --k) sum += steps[static_cast<size_t>(k)];
    for (int k = kShortSteps - 1; k >= kShortSteps - (n - inFront); --k) sum += steps[static_cast<size_t>(k)];
    return sum / n;
  }
  static double Loudness(double energy) { return energy > 0 ? 10.0 * std::log10(energy) - kOffset : -HUGE_VAL; }
  // Loudness of the last n steps, -inf for silence.
  double Window(int n) const { return Loudness(Energy(n)); }

  double Integrated() const {
    unsigned long long n;
    double sum;
    gating.Gated(-10.0, n, sum);
    return n ? Loudness(sum / static_cast<double>(n)) : -HUGE_VAL;
  }
  double Range() const {
    unsigned long long n;
    double sum;
    const int first = shortTerm.Gated(-20.0, n, sum);
    if (n < 2) return 0.0;
    // Nearest-rank 10th and 95th percentiles of the gated values, each read as its bin's mean.
    const auto lo = static_cast<unsigned long long>(static_cast<double>(n - 1) * 0.10 + 0.5);
    const auto hi = static_cast<unsigned long long>(static_cast<double>(n - 1) * 0.95 + 0.5);
    double lLo = 0, lHi = 0;
    unsigned long long seen = 0;
    for (int b = first; b < SHistogram::kBins; ++b) {
      const unsigned long long c = shortTerm.count[static_cast<size_t>(b)];
      if (!c) continue;
      const double mean = Loudness(shortTerm.energy[static_cast<size_t>(b)] / static_cast<double>(c));
      if (seen <= lo && lo < seen + c) lLo = mean;
      if (seen <= hi && hi < seen + c) {
        lHi = mean;
        break;
      }
      seen += c;
    }
    return std::max(lHi - lLo, 0.0);
  }
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
  for (int ch = 0; s && ch < m_nFeedChannels; ++ch) {
    const auto role = static_cast<LevelChannelRole>(m_arrRole[static_cast<size_t>(ch)].load());
    if (ebur128_set_channel(s->p, static_cast<unsigned>(ch), LibraryChannel(role)) != EBUR128_SUCCESS) {
      delete s;
      s = nullptr;
    }
  }
  return s;
}

LevelChannelRole CLevelMeasure::DefaultRole(int nChannels, int nChannel) {
  static constexpr LevelChannelRole k71[] = {LCR_LEFT, LCR_RIGHT, LCR_CENTRE, LCR_LFE, LCR_LEFT_SURROUND, LCR_RIGHT_SURROUND,
                                             LCR_LEFT_REAR_SURROUND, LCR_RIGHT_REAR_SURROUND};
  if (nChannel < 0 || nChannel >= nChannels || nChannels > MAX_CHANNELS) return LCR_UNUSED;
  switch (nChannels) {
    case 1: return LCR_CENTRE;
    case 2: return nChannel ? LCR_RIGHT : LCR_LEFT;
    case 3: return k71[nChannel];
    case 4: {
      static constexpr LevelChannelRole k[] = {LCR_LEFT, LCR_RIGHT, LCR_LEFT_SURROUND, LCR_RIGHT_SURROUND};
      return k[nChannel];
    }
    case 5: {
      static constexpr LevelChannelRole k[] = {LCR_LEFT, LCR_RIGHT, LCR_CENTRE, LCR_LEFT_SURROUND, LCR_RIGHT_SURROUND};
      return k[nChannel];
    }
    case 7: return nChannel == 6 ? LCR_BACK_CENTRE : k71[nChannel];
    default: return nChannel < 8 ? k71[nChannel] : LCR_OTHER;  // 6, 8 and more
  }
}

double CLevelMeasure::GetRoleWeight(LevelChannelRole role) {
  switch (role) {
    case LCR_UNUSED:
    case LCR_LFE: return 0.0;
    case LCR_LEFT_SURROUND:
    case LCR_RIGHT_SURROUND:
    case LCR_LEFT_SIDE:
    case LCR_RIGHT_SIDE:
    case LCR_LEFT_WIDE:
    case LCR_RIGHT_WIDE: return 1.41;
    case LCR_DUAL_MONO: return 2.0;
    default: return static_cast<int>(role) > LCR_UNUSED && static_cast<int>(role) < LCR_COUNT ? 1.0 : 0.0;
  }
}

BOOL CLevelMeasure::SetChannelLayout(const LevelChannelRole* pRoles, int nCount) {
  {
    std::lock_guard<std::mutex> owner(m_OwnerLock);
    if (!pRoles || !m_nFeedChannels || nCount != m_nFeedChannels) return FALSE;
    for (int ch = 0; ch < nCount; ++ch) {
      const int r = static_cast<int>(pRoles[ch]);
      if (r < LCR_UNUSED || r >= LCR_COUNT || (r == LCR_DUAL_MONO && nCount != 1)) return FALSE;
    }
    for (int ch = 0; ch < nCount; ++ch) m_arrRole[static_cast<size_t>(ch)].store(static_cast<int>(pRoles[ch]));
  }
  Reset();  // a fresh loudness state with the new weights
  return TRUE;
}

LevelChannelRole CLevelMeasure::GetChannelRole(int nChannel) const {
  if (nChannel < 0 || nChannel >= m_nChannels.load()) return LCR_UNUSED;
  return static_cast<LevelChannelRole>(m_arrRole[static_cast<size_t>(nChannel)].load());
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
    for (int ch = 0; ch < MAX_CHANNELS; ++ch) m_arrRole[static_cast<size_t>(ch)].store(DefaultRole(nChannels, ch));
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
  m_fMaxMomentary.store(LEVEL_FLOOR_DB);
  m_fMaxShortTerm.store(LEVEL_FLOOR_DB);
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
    // Chunks end where a 10 ms step does, so each step's energy is taken as it completes.
    const int n = std::min({kChunk, nFrames - done, loud ? loud->nStepFrames - loud->nInStep : kChunk});
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
      loud->nInStep += n;
      if (loud->nInStep == loud->nStepFrames) PublishLoudness(loud->EndStep());
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

// At every step: momentary, short-term and their maxima; at the 100 ms marks (the 10 Hz refresh
// of the loudness standards) integrated loudness and range too.
void CLevelMeasure::PublishLoudness(bool bGated) {
  SLoudness& loud = *m_pLoudness;
  const double momentary = loud.Window(SLoudness::kMomentarySteps), shortTerm = loud.Window(SLoudness::kShortSteps);
  loud.fMaxMomentary = std::max(loud.fMaxMomentary, momentary);
  loud.fMaxShortTerm = std::max(loud.fMaxShortTerm, shortTerm);
  m_fMomentary.store(LoudnessOrFloor(momentary));
  m_fShortTerm.store(LoudnessOrFloor(shortTerm));
  m_fMaxMomentary.store(LoudnessOrFloor(loud.fMaxMomentary));
  m_fMaxShortTerm.store(LoudnessOrFloor(loud.fMaxShortTerm));
  if (!bGated) return;
  m_fIntegrated.store(LoudnessOrFloor(loud.Integrated()));
  const double range = loud.Range();
  m_fRange.store(std::isfinite(range) ? range : 0.0);
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
double CLevelMeasure::GetMaxMomentary() const { return m_fMaxMomentary.load(); }
double CLevelMeasure::GetMaxShortTerm() const { return m_fMaxShortTerm.load(); }
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
