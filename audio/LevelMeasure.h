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

// Where a channel plays, for the loudness weighting of ITU-R BS.1770-4 (10/2015). The weights
// G_i and their source:
// - BS.1770-4 Table 3 (the five-channel weights): L, R, C 1.0 (0 dB); Ls, Rs 1.41 (+1.5 dB).
// - BS.1770-4 Table 4 (position-dependent weights for other layouts): 1.41 (+1.5 dB) for a
//   loudspeaker at elevation below 30 degrees and azimuth 60 to 120 degrees either side
//   (M+-060, M+-090, M+-110); 1.0 for every other position, the rear surrounds at +-135 degrees,
//   the back centre and all raised and lower ones among them.
// - The LFE channel is not included in the measurement (BS.1770-4, 2.1); UNUSED channels neither.
// - DUAL_MONO: a mono programme meant for two loudspeakers, counted twice (2.0, +3.0 dB), as
//   EBU R128 s1 / libebur128 do; only for a one-channel measure.
// The names after each role are the loudspeaker labels of ITU-R BS.2051, whose angles the
// weights follow.
enum LevelChannelRole : int {
  LCR_UNUSED = 0,               // not measured
  LCR_LEFT = 1,                 // M+030
  LCR_RIGHT = 2,                // M-030
  LCR_CENTRE = 3,               // M+000 (also a mono programme's one channel)
  LCR_LFE = 4,                  // low-frequency effects: not measured
  LCR_LEFT_SURROUND = 5,        // M+110 (+1.5 dB)
  LCR_RIGHT_SURROUND = 6,       // M-110 (+1.5 dB)
  LCR_LEFT_REAR_SURROUND = 7,   // M+135
  LCR_RIGHT_REAR_SURROUND = 8,  // M-135
  LCR_BACK_CENTRE = 9,          // M+180
  LCR_LEFT_SIDE = 10,           // M+090 (+1.5 dB)
  LCR_RIGHT_SIDE = 11,          // M-090 (+1.5 dB)
  LCR_LEFT_WIDE = 12,           // M+060 (+1.5 dB)
  LCR_RIGHT_WIDE = 13,          // M-060 (+1.5 dB)
  LCR_LEFT_SCREEN = 14,         // M+SC, left screen edge
  LCR_RIGHT_SCREEN = 15,        // M-SC, right screen edge
  LCR_TOP_FRONT_CENTRE = 16,    // U+000
  LCR_TOP_FRONT_LEFT = 17,      // U+030
  LCR_TOP_FRONT_RIGHT = 18,     // U-030
  LCR_TOP_FRONT_LEFT_45 = 19,   // U+045
  LCR_TOP_FRONT_RIGHT_45 = 20,  // U-045
  LCR_TOP_SIDE_LEFT = 21,       // U+090
  LCR_TOP_SIDE_RIGHT = 22,      // U-090
  LCR_TOP_LEFT_SURROUND = 23,   // U+110
  LCR_TOP_RIGHT_SURROUND = 24,  // U-110
  LCR_TOP_LEFT_REAR = 25,       // U+135
  LCR_TOP_RIGHT_REAR = 26,      // U-135
  LCR_TOP_BACK_CENTRE = 27,     // U+180
  LCR_TOP_CENTRE = 28,          // T+000, overhead
  LCR_BOTTOM_FRONT_CENTRE = 29, // B+000
  LCR_BOTTOM_FRONT_LEFT = 30,   // B+045
  LCR_BOTTOM_FRONT_RIGHT = 31,  // B-045
  LCR_DUAL_MONO = 32,           // a mono channel counted twice (+3.0 dB)
  LCR_OTHER = 33,               // a channel of unknown position: measured at 1.0
  LCR_COUNT
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
  // The loudness weighting of each channel, by role (see LevelChannelRole). Initial sets the
  // default for its channel count (DefaultRole): 1: C; 2: L R; 3: L R C; 4: L R Ls Rs;
  // 5: L R C Ls Rs; 6: L R C LFE Ls Rs; 7: L R C LFE Ls Rs Cs (6.1, back centre); 8: L R C LFE Ls
  // Rs Lrs Rrs (7.1); more than 8: the 7.1 order, then LCR_OTHER (1.0) for channels 9 on, so
  // every channel but the LFE is measured. nCount must be the channel count; FALSE (layout kept)
  // for another count, a null array, a role outside the enum, or DUAL_MONO in a measure of more
  // than one channel. A new layout restarts the measure from silence, as Reset. Owner.
  BOOL SetChannelLayout(const LevelChannelRole* pRoles, int nCount);
  LevelChannelRole GetChannelRole(int nChannel) const;  // any thread; LCR_UNUSED out of range
  static LevelChannelRole DefaultRole(int nChannels, int nChannel);
  static double GetRoleWeight(LevelChannelRole role);  // G_i above: 0, 1.0, 1.41 or 2.0

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
  // Momentary and short-term loudness follow the feed every 10 ms of audio fed (counted from
  // Initial/Reset, whatever blocks the host feeds); integrated loudness and range ten times a
  // second of audio fed.
  double GetMomentary() const;               // 400 ms, LUFS
  double GetShortTerm() const;               // 3 s, LUFS
  double GetMaxMomentary() const;            // highest momentary reading since Initial/Reset, LUFS
  double GetMaxShortTerm() const;            // highest short-term reading since Initial/Reset, LUFS
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
  void PublishLoudness(bool bGated);
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
  std::atomic<double> m_fMaxMomentary{LEVEL_FLOOR_DB};
  std::atomic<double> m_fMaxShortTerm{LEVEL_FLOOR_DB};
  std::atomic<double> m_fIntegrated{LEVEL_FLOOR_DB};
  std::atomic<double> m_fRange{0.0};
  std::atomic<unsigned long long> m_nNonFinite{0};
  std::atomic<unsigned long long> m_nFrames{0};
  std::atomic<int> m_nHoldMs{0};
  std::array<std::atomic<int>, MAX_CHANNELS> m_arrRole{};  // LevelChannelRole per channel

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
