// CExVUMeter: a level meter of continuous gradient bars, vertical or horizontal, with its own
// ballistics per SetValue call, a peak line and an over mark.
//
// Threads: SetValue may run on another thread than the window's. Two busy flags keep it apart
// from painting and the resets; it reaches the window only through the feed latch, so it is safe
// against DestroyWindow too, and leaves tooltip text from another thread to the next paint. The
// fields behind GetParam are the caller's to change between feeds; the object must outlive the
// feed.
#pragma once
#include <winport/afx.h>

#include <atomic>

#include "audio/ExVUMeterLogic.h"
#include "foundation/TArray.h"
#include "companion/MemBitDC.h"
#include "foundation/BufferedPaint.h"
#include "foundation/Export.h"
#include "foundation/FeedLatch.h"
#include "foundation/HoverTip.h"

class PARVANEU_API CExVUMeter : public CWnd {
 public:
  CExVUMeter();
  ~CExVUMeter() override;

  using CWnd::Create;
  BOOL Create(int nCount, BOOL bVertical, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd);

  void SetCount(int nCount);
  int GetCount() const { return m_arrValue.GetSize(); }
  void SetVertical(BOOL b);
  BOOL IsVertical() const { return m_bVertical; }
  void SetMeterDist(int n);
  int GetMeterDist() const { return m_nMeterDist; }
  int GetBarSize() const { return m_nBarSize; }
  int GetBarPos(int i) const { return exvumeter::BarPos(i, m_nBarSize, m_nMeterDist); }
  SExVUMParam& GetParam() { return m_Param; }
  SExVUMColor& GetColor() { return m_Color; }
  void ParamChanged();
  void ColorChanged();
  void Clear();
  // One step of every bar's ballistics. pValues holds a value (dB) per bar: GetCount() of them.
  void SetValue(const float* const pValues);
  // The same from values that may be fewer than the bars, for a feed on another thread while the
  // window's thread may change the bar count: reads pValues[0..nCount) and no further, the bars
  // beyond nCount step towards silence. FALSE, nothing taken, for null values, a negative count,
  // a meter without bars, or while a paint holds the bars.
  BOOL SetValue(const float* pValues, int nCount);
  void SetTipPostText(LPCWSTR psz);

  // Read-outs for hosts and tests; call them on the window's thread.
  float GetShownValue(int i) const { return i >= 0 && i < m_arrValue.GetSize() ? m_arrValue[i] : m_Param.fMinDB; }
  SExVUMPeak GetPeakRec(int i) const {
    return i >= 0 && i < m_arrPeakRec.GetSize() ? m_arrPeakRec[i] : SExVUMPeak{m_Param.fMinDB, 0, 0};
  }
  int GetTipMeter() const { return m_nTipMeter.load(); }

  virtual void DrawBack(CDC* pDC);
  virtual void DrawOneBar(CDC* pDC, int nPos, int nSize);
  virtual void DrawOneValue(CDC* pDC, int nPos, int nSize, float fValue);
  virtual void DrawValue(CDC* pDC);
  BOOL PreTranslateMessage(MSG* pMsg) override;

  static constexpr UINT_PTR TIP_ID = 100;

 protected:
  void GradientRect(CDC* pDC, const RECT& rect, COLORREF crFrom, COLORREF crTo);
  int ValueToLeng(float fDB);

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  BOOL m_bVertical = 1;
  CTArray<float> m_arrValue;
  CTArray<SExVUMPeak> m_arrPeakRec;
  SExVUMColor m_Color;
  SExVUMParam m_Param;
  CBufferedPaint m_buffers;  // the bars' gradients behind, the covers and marks composed over them
  CHoverTip m_ToolTip;
  std::atomic<int> m_nTipMeter{0};  // written by mouse moves, read by SetValue's thread
  CString m_strTipPostText;
  int m_nMeterDist = 1;
  int m_nBarSize = 4;
  int m_cx = 0;
  int m_cy = 0;
  std::atomic_flag m_bSetting;  // SetValue runs
  std::atomic_flag m_bDrawing;  // DrawValue runs

 private:
  int Length() const { return m_bVertical ? m_cy : m_cx; }
  int Usable() const { return Length() - 2; }
  void LockSetting();
  void TrackTipMeter(int x, int y);
  void RedrawImages();
  void ApplyPendingTip();

  CFeedLatch m_feed;
  CString m_strPendingTip;  // sent by the paint after the feed marks it on the latch
};
