// CLevelMeasure: the standard level readings of a multichannel stream, computed from the samples
// a host feeds on its audio thread and read from any other thread: sample peak, true peak, RMS
// and a meter ballistic per channel, and the programme loudness (momentary, short-term,
// integrated, loudness range) with its maximum true peak. Levels are dB relative to full scale
// (1.0); loudness is LUFS, the range LU. Readings never fall below LEVEL_FLOOR_DB (silence) and
// are always finite.
//
// Threads. Three roles, each of which may be any thread:
// - the feeding (audio) thread calls Feed. One feeding thread at a time: a Feed that overlaps
//   another Feed, or Initial, takes nothing and returns FALSE. Feed never waits, never locks and
//   never allocates.
// - the owner calls Initial, SetChannelLayout, Reset and SetPeakHold. These are serialised among
//   themselves, and each is safe while another thread feeds and while others read:
//   * Initial waits for a Feed under way to finish and refuses Feeds until it is done (a host
//     that changes format mid-stream loses those blocks, nothing else);
//   * Reset does not stop the feed: it is a request that the feeding thread carries out at the
//     start of its next block, with a fresh loudness state made on the owner's thread (so the
//     audio thread neither allocates nor frees). Readers see silence at once; a block that was
//     under way when Reset was called may still publish its readings once before the reset
//     block. Without a feeding thread, Reset is carried out by the next Feed.
// - readers call the getters, GetLevels and GetChannels. They read atomics only, in storage that
//   lives as long as the object (sized for MAX_CHANNELS), so no call of the other roles can free
//   what a reader holds; a reader racing Initial may see a mix of the old and the new layout's
//   readings, each of them a reading.
// Only destruction needs every other thread to have stopped using the object.
#pragma once
#include <winport/afx.h>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/LevelBallistics.h"
#include "audio/TruePeak.h"
#include "foundation/Export.h"

// A fixed underlying type: a mode read as an integer (from a file, a host) converts to this enum
// without undefined behaviour whatever its value, and Initial refuses the values that name no mode.
enum LevelMeterMode : int {
  LMM_DIGITAL_PEAK = 0,  // IEC 60268-18 digital peak meter
  LMM_VU = 1,            // IEC 60268-17 VU meter
  LMM_PPM_TYPE_I = 2,    // IEC 60268-10 type I peak programme meter
  LMM_PPM_TYPE_II = 3,   // IEC 60268-10 type II peak programme meter
};

class PARVANEU_API CLevelMeasure {
 public:
  static constexpr double LEVEL_FLOOR_DB = -200.0;
  static constexpr int MAX_CHANNELS = 64;
  static constexpr int RMS_WINDOW_MS = 300;

  CLevelMeasure();
  ~CLevelMeasure();
  CLevelMeasure(const CLevelMeasure&) = delete;
  CLevelMeasure& operator=(const CLevelMeasure&) = delete;

  // Whether an integer names a mode (Initial refuses the others).
  static BOOL IsValidMode(int nMode) { return nMode >= LMM_DIGITAL_PEAK && nMode <= LMM_PPM_TYPE_II; }

  // Sets up every reading for this layout and starts from silence. FALSE (and nothing usable:
  // GetChannels() reads 0, Feed refuses) for 0 or more than MAX_CHANNELS channels, a rate outside
  // 8000..384000 Hz, an unknown mode, or when memory runs out. Owner (see Threads above).
  BOOL Initial(int nChannels, int nSampleRate, LevelMeterMode mode);
  // Holds each channel's highest ballistic reading for nHoldMs before it follows again; 0 turns
  // the hold off. Applies from the next sample fed.
  void SetPeakHold(int nHoldMs);
  // Back to silence with the same layout: peaks, ballistics, loudness and counters. Owner; a
  // request carried out by the feeding thread at its next block (see Threads above).
  void Reset();

  // Audio thread: one planar block (pPlanar[channel][frame]) or one interleaved block. No lock,
  // no allocation, no wait. FALSE, nothing taken, before Initial, for a null pointer (or a null
  // channel), a negative count, or while Initial or another Feed runs. Non-finite samples are
  // taken as silence and counted; samples below 1e-20 in magnitude (far under LEVEL_FLOOR_DB,
  // denormals among them) as silence too, so a tail ringing out costs no more than audio does.
  BOOL Feed(const float* const* pPlanar, int nFrames);
  BOOL Feed(const float* pInterleaved, int nFrames);

  // Any thread. Out-of-range channels read LEVEL_FLOOR_DB.
  int GetChannels() const { return m_nChannels.load(); }
  int GetSampleRate() const { return m_nSampleRate.load(); }
  LevelMeterMode GetMode() const { return static_cast<LevelMeterMode>(m_nMode.load()); }
  double GetSamplePeak(int nChannel) const;  // highest |sample| since Initial or Reset
  double GetTruePeak(int nChannel) const;    // highest 4x-oversampled |value| since then
  double GetRMS(int nChannel) const;         // over the last RMS_WINDOW_MS (no finite input overflows it)
  double GetLevel(int nChannel) const;       // the mode's ballistic reading now
  double GetHoldLevel(int nChannel) const;   // the held reading (the reading itself without hold)
  // Loudness readings follow the feed ten times a second of audio fed.
  double GetMomentary() const;               // 400 ms, LUFS
  double GetShortTerm() const;               // 3 s, LUFS
  double GetIntegrated() const;              // gated, LUFS
  double GetLoudnessRange() const;           // LU
  double GetMaxTruePeak() const;             // over all channels, dBTP
  unsigned long long GetNonFiniteCount() const { return m_nNonFinite.load(std::memory_order_relaxed); }
  unsigned long long GetFramesFed() const { return m_nFrames.load(std::memory_order_relaxed); }

  // The meters' feed: the held (or plain) ballistic level of the first nCount channels in dB,
  // channels the measure lacks as LEVEL_FLOOR_DB. Returns the count written.
  int GetLevels(float* pDB, int nCount, BOOL bHeld = TRUE) const;
  int GetLevels(double* pDB, int nCount, BOOL bHeld = TRUE) const;

 private:
  struct SChannel;
  struct SPublished {
    std::atomic<float> peak{0}, truePeak{0}, rms{0}, level{0}, hold{0};
  };
  struct SLoudness;  // the loudness library's state, kept out of this header
  template <class Source>
  void Process(Source src, int nFrames);
  template <class Source>
  BOOL FeedLocked(Source src, int nFrames);
  void TakeReset();
  void ClearChannels();
  void EndRmsTurn(int nChannel);
  double RmsSum(int nChannel) const;
  void PublishChannels();
  void PublishLoudness();
  void PublishSilence();
  void ReclaimRetired();
  SLoudness* MakeLoudness() const;
  double ChannelReading(int nChannel, std::atomic<float> SPublished::*field) const;

  // Readers' view: atomics in storage that lives as long as the object.
  std::atomic<int> m_nChannels{0};
  std::atomic<int> m_nSampleRate{0};
  std::atomic<int> m_nMode{LMM_DIGITAL_PEAK};
  std::array<SPublished, MAX_CHANNELS> m_arrPublished;
  std::atomic<double> m_fMomentary{LEVEL_FLOOR_DB};
  std::atomic<double> m_fShortTerm{LEVEL_FLOOR_DB};
  std::atomic<double> m_fIntegrated{LEVEL_FLOOR_DB};
  std::atomic<double> m_fRange{0.0};
  std::atomic<unsigned long long> m_nNonFinite{0};
  std::atomic<unsigned long long> m_nFrames{0};
  std::atomic<int> m_nHoldMs{0};

  // The owner's calls, one at a time (never taken by Feed or the readers).
  std::mutex m_OwnerLock;
  // Held by Feed for its block and by Initial while it rebuilds: Feed only tries it.
  std::atomic_flag m_bFeeding;
  // Reset's request: a fresh loudness state (or ResetWithoutLoudness()) for the next block.
  std::atomic<SLoudness*> m_pPendingReset{nullptr};
  // Loudness states the feeding thread has let go of, for the owner to free.
  std::atomic<SLoudness*> m_pRetired{nullptr};

  // The feeding thread's state: changed by Initial only while it holds m_bFeeding.
  int m_nFeedChannels = 0;
  int m_nFeedRate = 0;
  int m_nHoldSamples = 0;
  levelmeasure::SBallisticCoef m_Coef;
  std::vector<SChannel> m_arrChannel;
  std::vector<float> m_arrScratch;  // interleaved, finite copy of a chunk for the loudness
  std::vector<float> m_arrLine;     // per channel: true-peak history, then the chunk
  std::vector<float> m_arrRmsLine;  // RMS window per channel, back to back: the samples themselves
  std::vector<double> m_arrRmsSuffix;  // per channel: sums of the last turn's squares from each group on
  int m_nRmsLen = 0;
  int m_nRmsGroups = 0;
  int m_nRmsPos = 0;
  SLoudness* m_pLoudness = nullptr;  // null when memory ran out: loudness reads the floor
};
