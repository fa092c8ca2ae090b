// CVectorScopeWnd: the chroma of the attached frame, as a vector plot over circles, axes and the
// six colour targets (with an angle and percentage readout under the cursor), or as the
// lightning plot of luma against U and V inside a legal-range box. Beside it, counters of
// out-of-range samples in 4:2:2 pair data.
#pragma once
#include "scopes/ScopeBaseWnd.h"
#include "scopes/ScopePixels.h"

class PARVANEU_API CVectorScopeWnd : public CScopeBaseWnd {
 public:
  CVectorScopeWnd();
  ~CVectorScopeWnd() override;

  // Stored only: the host calls UpdateBkGnd and UpdateGraph to show the other mode.
  void ShowAsVector(int bVector);
  int IsShowAsVector() const { return m_bShowAsVector; }

 protected:
  void DrawBkGnd(CDC* pDC) override;
  void DrawGraph(CBuf32Draw* pDraw) override;
  void DrawActive(CDC* pDC) override;

  void DrawScaleCircle(CDC* pDC, int nRadius);
  void DrawScaleText(CDC* pDC, int nRadius, const wchar_t* text);
  void DrawColorLabel(CDC* pDC, SARGB col, const wchar_t* text);
  void DrawVectorBkGnd(CDC* pDC);
  void DrawVectorActive(CDC* pDC);
  void DrawLightingBkGnd(CDC* pDC);
  void DrawLightingActive(CDC* pDC);

  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  int m_bShowAsVector = 1;
  int m_nCenterX = 0;
  int m_nCenterY = 0;
  int m_nRadius = 0;
};

// Out-of-range counts over n pair records: both counts are reset, then every Y (two per
// record), U or V below lo adds to nLow and above hi to nHigh. U and V counts are doubled, so all
// three count pixels. A null p counts nothing.
PARVANEU_API void CheckY(YVYU* p, unsigned long n, unsigned char lo, unsigned char hi, long& nLow, long& nHigh);
PARVANEU_API void CheckU(YVYU* p, unsigned long n, unsigned char lo, unsigned char hi, long& nLow, long& nHigh);
PARVANEU_API void CheckV(YVYU* p, unsigned long n, unsigned char lo, unsigned char hi, long& nLow, long& nHigh);
