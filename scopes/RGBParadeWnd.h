// CRGBParadeWnd: the red, green and blue waveforms of the attached frame side by side, over a
// scale of code values or millivolts, with a level readout at the cursor row.
#pragma once
#include "scopes/ScopeBaseWnd.h"

class PARVANEU_API CRGBParadeWnd : public CScopeBaseWnd {
 public:
  CRGBParadeWnd();
  ~CRGBParadeWnd() override;

  // Stored as the getter reports it (the low byte): 0 code values, 2 millivolts, else no scale.
  void SetScaleType(int nType);
  unsigned char GetScaleType() const { return static_cast<unsigned char>(m_nScaleType); }

 protected:
  void DrawBkGnd(CDC* pDC) override;
  void DrawGraph(CBuf32Draw* pDraw) override;
  void DrawActive(CDC* pDC) override;

  int m_nScaleType = 0;

 private:
  void DrawScaleLine(CDC* pDC, int y, int W, COLORREF cr, int nLabel);
};
