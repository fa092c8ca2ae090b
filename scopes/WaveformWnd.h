// CWaveformWnd: the luma (or Y/C) waveform of the attached frame over a horizontal-line
// graticule in code values, percent or millivolts, with legal-limit lines and a level readout
// at the cursor row.
#pragma once
#include "scopes/ScopeBaseWnd.h"

class PARVANEU_API CWaveformWnd : public CScopeBaseWnd {
 public:
  CWaveformWnd();
  ~CWaveformWnd() override;

  int GetNormalRange() const { return m_bNormalRange; }
  void SetNormalRange(int b);
  int GetMarkOutRange() const { return m_bMarkOutRange; }
  void SetMarkOutRange(int b);
  int GetShowAsY() const { return m_bShowAsY; }
  void SetShowAsY(int b);
  unsigned char GetScaleType() const { return static_cast<unsigned char>(m_nScaleType); }
  // Stored as the getter reports it (the low byte), so what is drawn is what is read back.
  void SetScaleType(int nType);

 protected:
  double Value2WndPos(double v) const;
  double WndPos2Value(double y) const;
  void DrawLabel(CDC* pDC, const wchar_t* text, int y);

  void DrawBkGnd(CDC* pDC) override;
  void DrawGraph(CBuf32Draw* pDraw) override;
  void DrawActive(CDC* pDC) override;

  int m_bNormalRange = 1;
  int m_bMarkOutRange = 1;
  int m_bShowAsY = 1;
  int m_nScaleType = 0;
};
