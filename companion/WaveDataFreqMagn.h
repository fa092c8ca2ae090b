// CWaveDataFreqMagn: a spectrum analyser for multichannel audio.
//
// The host hands in blocks of per-channel float samples with the stream position of their
// first frame; the analyser keeps the latest GetBufLen() frames per channel in a ring. A query
// for position P transforms, per channel, the FFT-size frames ending at P (positions
// P - N .. P - 1), windowed, and returns N / 2 + 1 linear magnitudes per channel.
//
// Scaling: magnitudes are divided by the window's coherent gain, so a sine of amplitude A
// centred on bin k reads A in bin k with every window (a full-scale sine reads 1.0, 0 dB); a
// DC level A reads A in bin 0.
//
// Averaging (agility a, 0..1): every query's result is a*previous + (1-a)*current per bin; the
// first query after Initial, Reset, a size, window or channel change starts from the current
// spectrum. a = 0 shows each spectrum as it is, a = 1 freezes the first one.
//
// Positions: a block whose first position is not where the previous block ended starts the
// buffer afresh (the stream jumped). Positions wrap around at the top of unsigned long as a
// host's counter does; only distances back from the latest frame matter.
//
// Magnitudes are finite: a spectrum whose bins pass the float range (finite samples near
// FLT_MAX can overflow the transform) reads FLT_MAX there, and the average restarts after it
// rather than carry infinities for good.
//
// Not thread-safe: fill and query from one thread at a time. Queries allocate nothing once the
// calculator holds the FFT size (Initial and SetFFTSize prepare it).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "companion/FFTCalc.h"
#include "companion/KestruneExport.h"
#include "winport/base/types.h"

// int underneath: a host may hand over any int, and Initial refuses the unknown ones.
enum FFTWndType : int {
  FFTWND_RECTANGLE = 0,
  FFTWND_HANN = 1,
  FFTWND_HAMMING = 2,
  FFTWND_BLACKMAN = 3,
  FFTWND_BLACKMAN_HARRIS = 4,  // 4-term, -92 dB side lobes
};

// Result of GetMagnFreqData: ppMagn[c] points to N / 2 + 1 magnitudes of channel c, owned by
// the analyser and valid until its next query or setting change; nChannels is the count.
struct SMagnFreq {
  float** ppMagn;
  DWORD nChannels;
};

class KESTRUNE_API CWaveDataFreqMagn {
 public:
  static constexpr unsigned long MIN_FFT_SIZE = 64;
  static constexpr unsigned long MAX_FFT_SIZE = 32768;
  static constexpr int MAX_CHANNELS = 64;
  static constexpr unsigned long MAX_BUF_LEN = 1UL << 22;
  // Sample layout of FillData, the last argument of Initial: planar 32-bit float.
  static constexpr int SAMPLES_FLOAT_PLANAR = 1;

  CWaveDataFreqMagn();
  ~CWaveDataFreqMagn();
  CWaveDataFreqMagn(const CWaveDataFreqMagn&) = delete;
  CWaveDataFreqMagn& operator=(const CWaveDataFreqMagn&) = delete;

  // nChannels 1..MAX_CHANNELS; pCalc may be null (the analyser then uses its own) and must
  // outlive the analyser otherwise; nFFTSize a power of two 64..32768; nBufLen in frames,
  // raised to the FFT size (0 = four FFT sizes); nSampleType SAMPLES_FLOAT_PLANAR.
  // Returns 0 and leaves the analyser as it was for any other value.
  int Initial(int nChannels, CFFT_RC_Calc* pCalc, unsigned long nFFTSize, FFTWndType nWndType,
              unsigned long nBufLen, int nSampleType);
  int IsInitialed() const { return m_bInit ? 1 : 0; }
  // Forgets the samples and the running average; settings stay.
  void Reset();

  // Channel count change: the buffer restarts. Ignored outside 1..MAX_CHANNELS.
  void SetChannels(int nChannels);
  int GetChannels() const { return m_nChannels; }

  // ppData[c][0 .. nFrames-1] for each channel c; nPos is the stream position of frame 0.
  // Ignored before Initial, for null arrays or nFrames <= 0.
  void FillData(float** ppData, long nFrames, unsigned long nPos);
  // Non-zero with smf filled when the N frames ending at nPos are in the buffer; otherwise 0
  // and smf untouched.
  int GetMagnFreqData(unsigned long nPos, SMagnFreq& smf);

  // Powers of two 64..32768; others are refused (FALSE). Samples in the buffer are kept.
  BOOL SetFFTSize(unsigned long nSize);
  unsigned long GetFFTSize() const { return m_nFFTSize; }
  // Unknown window types are refused (FALSE).
  BOOL SetFFTWindow(FFTWndType nType);
  FFTWndType GetWndType() const { return m_nWndType; }
  // Clamped to 0..1; NaN is ignored.
  void SetAgility(float fAgility);
  float GetAgility() const { return m_fAgility; }
  // Frames kept per channel, raised to the FFT size and capped at MAX_BUF_LEN; the latest
  // frames are kept across the change.
  void SetBufLen(unsigned long nFrames);
  unsigned long GetBufLen() const { return m_nBufLen; }

  // The window of a type and size, unscaled (periodic form); empty for unknown types.
  static std::vector<float> MakeWindow(FFTWndType nType, unsigned long nSize);

 private:
  static bool ValidSize(unsigned long n);
  static bool ValidWindow(FFTWndType t);
  void Rebuild();  // window, scratch and outputs for the current size, window and channels
  void ResizeRing(unsigned long nNewLen, bool bKeep);
  CFFT_RC_Calc& Calc() { return m_pCalc ? *m_pCalc : *m_pOwnCalc; }

  bool m_bInit = false;
  int m_nChannels = 0;
  unsigned long m_nFFTSize = 4096;
  unsigned long m_nBufLen = 0;
  FFTWndType m_nWndType = FFTWND_HANN;
  float m_fAgility = 0.0f;

  CFFT_RC_Calc* m_pCalc = nullptr;
  std::unique_ptr<CFFT_RC_Calc> m_pOwnCalc;

  std::vector<float> m_ring;  // channel c at [c * m_nBufLen, (c+1) * m_nBufLen)
  unsigned long m_nEnd = 0;   // stream position just after the latest frame
  unsigned long m_nHeld = 0;  // frames held, the latest at ring index m_nHead - 1
  unsigned long m_nHead = 0;  // ring index of the next frame

  std::vector<float> m_window;   // window times the magnitude scale
  std::vector<float> m_frame;    // one windowed channel
  std::vector<float> m_current;  // one channel's fresh magnitudes
  std::vector<float> m_magn;     // channel c at [c * bins, (c+1) * bins)
  std::vector<float*> m_ptrs;
  bool m_bHaveAverage = false;
};
