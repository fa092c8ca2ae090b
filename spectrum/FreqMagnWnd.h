// CFreqMagnWnd: a spectrum display. A figure window whose curves are the magnitude spectra of
// the channels of an audio stream, in dB over frequency, from the analyser it owns. The host
// hands in sample blocks (FillData) and asks for the figure of a position (RefreshFig), both
// possibly from its audio thread; the frequency axis is linear or warped (nearly linear below
// 150 Hz, logarithmic above), and the audio format is written in the top right corner.
//
// Threads: FillData and RefreshFig may run on another thread than the window's. Every public
// call that touches the analyser, the figure bitmaps or the settings a figure reads, the figure
// calls inherited from CFigWnd, resizing and painting hold the feed latch's one recursive lock,
// so a paint never shows a half-drawn figure and the analyser never sees a fill and a query at
// once; a figure drawn while or after the window is destroyed stays in the bitmaps and reaches
// no window. The object must outlive the feed.
#pragma once
#include <winport/afx.h>

#include <memory>
#include <vector>

#include "companion/AudioFormat.h"
#include "companion/WaveDataFreqMagn.h"
#include "foundation/TArray.h"
#include "spectrum/FigWnd.h"
#include "spectrum/FreqAxis.h"

class PARVANEU_API CFreqMagnWnd : public CFigWnd {
 public:
  static constexpr DWORD NO_FIG_POS = 0xFFFFFFFF;

  CFreqMagnWnd();
  ~CFreqMagnWnd() override;

  // nParam1 is the FFT size, nParam2 the analyser's buffer length in frames (0: four FFT sizes).
  int Initial(const AFmt* pFmt, CFFT_RC_Calc* pCalc, FFTWndType nWndType, unsigned long nParam1,
              unsigned long nParam2);
  void SetWaveFormat(const AFmt* pFmt);
  // ppData[c][0 .. nParam1 - 1] per channel, nParam2 the stream position of the first frame.
  void FillData(float** ppData, long nParam1, unsigned long nParam2);
  // Draws the spectra of the FFT-size frames ending at nPos: every visible channel when
  // nChannel < 0, else that one only. Leaves the figure as it was when no data exist there.
  void RefreshFig(DWORD nPos, int nChannel);
  void RestoreLastFig();
  void Reset();
  int GetFreqMagnData(DWORD nPos, SMagnFreq& smf);

  void SetFFTSize(unsigned long nSize);
  unsigned long GetFFTSize() const { return m_FreqMagn.GetFFTSize(); }
  void SetFFTWindow(FFTWndType nType);
  FFTWndType GetFFTWindow() const { return m_FreqMagn.GetWndType(); }
  void SetAgility(float fAgility);
  void SetBufLen(unsigned long nLen);
  unsigned long GetBufLen() const { return m_FreqMagn.GetBufLen(); }
  int GetChannels() const { return m_FreqMagn.GetChannels(); }
  int IsInitialed() const { return m_FreqMagn.IsInitialed(); }
  DWORD GetSampleRate() const { return m_nSampleRate; }

  // 1: linear frequency axis; anything else: warped. Redraws the grid; curves return with the
  // next RefreshFig.
  void SetLinear(unsigned char bLinear);
  unsigned char GetLinear() const { return m_bLinear; }
  // Warped axis: a column spanning several bins shows the loudest of them (off: the first bin
  // only), so a tone between two columns' bins does not vanish. Takes effect at the next figure.
  void SetSpanMax(BOOL bSpanMax);
  BOOL GetSpanMax() const { return m_bSpanMax; }
  // Frequencies (Hz, kHz) at the grid lines along the bottom and levels (dB) at the left, drawn
  // into the grid. Off by default: the host may label the axes outside the window instead.
  void SetAxisLabels(BOOL bShow);
  BOOL GetAxisLabels() const { return m_bAxisLabels; }

  // Channels beyond the flags set by Initial (after SetWaveFormat raised the count) are
  // visible; indexes outside the analyser's channels are ignored (and read as hidden).
  void SetChannelVisible(int nChannel, int bVisible);
  int IsChannelVisible(int nChannel) const;
  // The channel's curve colour: the palette for 0 .. 7, white for any other index.
  COLORREF GetChannelColor(int nChannel) const;

  DWORD GetLastUpdateFigPos() const;
  DWORD GetXScaleFreqDist() const { return m_nXScaleFreqDist; }

  static int GetX(int nNyquist, int nWidth, int nFreq) { return spectrum::WarpedX(nNyquist, nWidth, nFreq); }
  static double GetFrq(int nNyquist, int nWidth, int nX) { return spectrum::WarpedFrq(nNyquist, nWidth, nX); }

 protected:
  void DrawGrid(CDC* pDC) override;
  void DrawData(CDC* pDC, float* const pValues, int nCount) override;

  void OnFFTChanged();
  void UpdateXScaleParam();
  DWORD Nyquist() const { return m_nSampleRate >> 1; }
  void DrawWarpedLines(CDC* pDC);
  void DrawLabel(CDC* pDC);
  void DrawAxisLabels(CDC* pDC);
  void DrawWarpedData(CDC* pDC, const float* pValues, int nCount);
  bool EnsureKnotBufs(int nWidth);

  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  CWaveDataFreqMagn m_FreqMagn;
  CFont m_fontLabel;
  CTArray<int> m_arrChVisible;
  std::unique_ptr<float[]> m_pDBBuf;
  DWORD m_nDBBufLen = 0;
  DWORD m_nLastFigPos = NO_FIG_POS;
  DWORD m_nXScaleFreqDist = 0;
  CString m_strLabel;
  DWORD m_nSampleRate = 44100;
  unsigned char m_bLinear = 0;
  BOOL m_bSpanMax = FALSE;
  BOOL m_bAxisLabels = FALSE;

  // Knots of the warped curve, reused from figure to figure.
  std::vector<spectrum::SKnot> m_knots;
  std::vector<int> m_knotX;
  std::vector<float> m_knotY;
  std::vector<double> m_splineWork;
  int m_nKnots = 0;
  int m_nKnotWidth = 0;  // what m_knots were chosen for
  int m_nKnotBins = 0;
  DWORD m_nKnotRate = 0;
};
