// CLevelMeasure: the standard level readings of a multichannel stream, computed from the samples
// a host feeds on its audio thread and read from any other thread: sample peak, true peak, RMS
// and a meter ballistic per channel, and the programme loudness (momentary, short-term,
// integrated, loudness range) with its maximum true peak. Levels are dB relative to full scale
// (1.0); loudness is LUFS, the range LU. Readings never fall below LEVEL_FLOOR_DB (silence).
#pragma once
#include <winport/afx.h>

#include <atomic>
#include <memory>
#include <vector>

#include "audio/LevelBallistics.h"
#include "audio/TruePeak.h"
#include "foundation/Export.h"

// int underneath: a host may hand over any int, and Initial refuses the unknown ones.
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

  // Sets up every reading for this layout and starts from silence. FALSE (and nothing usable)
  // for 0 or more than MAX_CHANNELS channels, a rate outside 8000..384000 Hz, an unknown mode, or
  // when memory runs out. Not to be called while another thread feeds.
  BOOL Initial(int nChannels, int nSampleRate, LevelMeterMode mode);
  // Holds each channel's highest ballistic reading for nHoldMs before it follows again; 0 turns
  // the hold off. Applies from the next sample fed.
  void SetPeakHold(int nHoldMs);
  // Back to silence with the same layout: peaks, ballistics, loudness and counters.
  void Reset();

  // Audio thread: one planar block (pPlanar[channel][frame]) or one interleaved block. No lock,
  // no allocation. FALSE, nothing taken, before Initial, for a null pointer (or a null channel)
  // or a negative count. Non-finite samples are taken as silence and counted.
  BOOL Feed(const float* const* pPlanar, int nFrames);
  BOOL Feed(const float* pInterleaved, int nFrames);

  // Any thread. Out-of-range channels read LEVEL_FLOOR_DB.
  int GetChannels() const { return m_nChannels; }
  int GetSampleRate() const { return m_nSampleRate; }
  LevelMeterMode GetMode() const { return m_Mode; }
  double GetSamplePeak(int nChannel) const;  // highest |sample| since Initial or Reset
  double GetTruePeak(int nChannel) const;    // highest 4x-oversampled |value| since then
  double GetRMS(int nChannel) const;         // over the last RMS_WINDOW_MS
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
  struct SPublished;
  template <class Source>
  void Process(Source src, int nFrames);
  void PublishChannels();
  void PublishLoudness();
  double ChannelReading(int nChannel, std::atomic<float> SPublished::*field) const;

  int m_nChannels = 0;
  int m_nSampleRate = 0;
  LevelMeterMode m_Mode = LMM_DIGITAL_PEAK;
  int m_nHoldSamples = 0;
  std::atomic<int> m_nHoldMs{0};
  levelmeasure::SBallisticCoef m_Coef;
  std::vector<SChannel> m_arrChannel;
  std::unique_ptr<SPublished[]> m_pPublished;
  std::vector<float> m_arrScratch;  // interleaved, finite copy of a chunk for the loudness
  std::vector<float> m_arrLine;     // per channel: true-peak history, then the chunk
  std::vector<float> m_arrSquares;  // RMS window per channel, back to back
  int m_nRmsLen = 0;
  int m_nRmsPos = 0;
  struct SLoudness;  // the loudness library's state, kept out of this header
  std::unique_ptr<SLoudness> m_pLoudness;
  std::atomic<double> m_fMomentary{LEVEL_FLOOR_DB};
  std::atomic<double> m_fShortTerm{LEVEL_FLOOR_DB};
  std::atomic<double> m_fIntegrated{LEVEL_FLOOR_DB};
  std::atomic<double> m_fRange{0.0};
  std::atomic<unsigned long long> m_nNonFinite{0};
  std::atomic<unsigned long long> m_nFrames{0};
};
