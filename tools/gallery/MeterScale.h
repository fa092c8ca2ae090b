// The dB scale beside a level meter: a strip that shares the meter's top and bottom (or left and
// right, for a horizontal meter) and draws the meter's own scale with its ends on the bar's ends.
#pragma once
#include <vector>

#include <winport/afx.h>

#include "foundation/AudioScale.h"
#include "audio/ExVUMeterLogic.h"

class CVUMeter;
class CExVUMeter;

namespace gallery {

// Where a meter's bar runs, in the meter's client coordinates along its length: the scale's
// loudest point at `full`, its quietest at `empty`.
struct SBarSpan {
  int full = 0, empty = 0;
};

// The segmented meter's bars for its client size and channel count.
SBarSpan BarSpanOf(int cx, int cy, int nChannels);
// The gradient meter's bar, `length` pixels along its direction (vertical bars fill upwards).
SBarSpan BarSpanOf(int length, bool bVertical);
// A scale that places each mark where the gradient meter's curve puts that level.
CAudioScale ScaleOf(const SExVUMParam& param, const std::vector<int>& marksDB);
// The pixel along the bar where the scale puts a value.
int PixelOf(const CAudioScale& scale, SBarSpan span, int value);
// The scale without points that would print closer than `minGap` pixels to the last one kept,
// for a bar `span.empty - span.full` pixels long. The loudest and the quietest points stay.
CAudioScale Thinned(const CAudioScale& scale, SBarSpan span, int minGap);

class CMeterScale : public CWnd {
 public:
  // Beside a segmented meter (its own scale, or the linear -100..0 dB one it uses without).
  static void Add(CWnd* pParent, const CVUMeter& meter, ASDSStyle side, int width);
  // Beside a vertical gradient meter, or above a horizontal one (`width` is then the height).
  static void Add(CWnd* pParent, CExVUMeter& meter, ASDSStyle side, int width);

 protected:
  afx_msg void OnPaint();
  void PostNcDestroy() override { delete this; }
  DECLARE_MESSAGE_MAP()

 private:
  CMeterScale(const CAudioScale& scale, SBarSpan span, ASDSStyle side, bool bHorizontal);
  static void Place(CMeterScale* strip, CWnd* pParent, const CRect& rc);
  void DrawAcross(CDC& dc, const CRect& rc);

  CAudioScale m_scale;
  SBarSpan m_span;
  ASDSStyle m_nSide;
  bool m_bHorizontal;
  CFont m_font;
};

}  // namespace gallery
