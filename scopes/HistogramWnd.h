// CHistogramWnd: the luma, red, green and blue level histograms of the attached frame, one over
// the whole plot or all four in stacked bands, with the level and its share under the cursor.
#pragma once
#include "scopes/ScopeBaseWnd.h"

class PARVANEU_API CHistogramWnd : public CScopeBaseWnd {
 public:
  // Values are part of the interface.
  enum DrawCategory { Luminance = 0, Red = 1, Green = 2, Blue = 3, All = 4 };

  CHistogramWnd();
  ~CHistogramWnd() override;

  DrawCategory GetDrawCategory() const { return m_nDrawCategory; }
  // Stored only; the next UpdateGraph shows it.
  void SetDrawCategory(DrawCategory nCategory);

 protected:
  void DrawLuminance(CBuf32Draw* pDraw);
  void DrawRed(CBuf32Draw* pDraw);
  void DrawGreen(CBuf32Draw* pDraw);
  void DrawBlue(CBuf32Draw* pDraw);
  void DrawAll(CBuf32Draw* pDraw);

  void DrawBkGnd(CDC* pDC) override;
  void DrawGraph(CBuf32Draw* pDraw) override;
  void DrawActive(CDC* pDC) override;

  DrawCategory m_nDrawCategory = All;

 private:
  CRect ClientRect() const;
  CString ShareText(int nLevel) const;
};
