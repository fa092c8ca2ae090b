// CVUMeter: a segmented level meter, one vertical bar per channel, with three colour zones, a
// peak line that holds and falls back, flashing level markers and a tooltip with the level
// under the mouse.
#pragma once
#include <winport/afx.h>

#include <algorithm>

#include "foundation/TArray.h"
#include "audio/VUMeterLogic.h"
#include "companion/MemBitDC.h"
#include "foundation/BufferedPaint.h"
#include "foundation/Export.h"
#include "foundation/HoverTip.h"

class CAudioScale;

struct SVUMeterInitParam {
  int nVUCount = 2;              // bars (channels)
  CAudioScale* pScale = nullptr;  // not owned; null selects the linear mapping
  int nLowDB = -12;              // lower zone boundary
  int nHighDB = -6;              // upper zone boundary
  COLORREF crBack = 0xFFFFFF;
  COLORREF crFrame = 0;
  COLORREF crOff = 0x5C5D51;
  COLORREF crLow = 0xB0E1B0;
  COLORREF crMid = 0x92D2FA;
  COLORREF crHigh = 0x2C60FB;
  COLORREF crPeak = 0x00FF00;
  COLORREF crReserved = 0;
};

class PARVANEU_API CVUMeter : public CWnd {
 public:
  struct CVUMarker {
    COLORREF crMarker;
    int nDB;
    CTArray<int> arrFlashTime;  // per channel, remaining flash time in ms
  };

  CVUMeter();
  ~CVUMeter() override;

  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, const SVUMeterInitParam& param);
  const SVUMeterInitParam& GetInitParam() const { return m_InitParam; }

  void SetVUCount(int n);
  void ReInitial();
  void SetDBValue(double* const pDB);
  void SetDBValue(float* const pDB);
  void SetDBValue(int* const pDB);
  void AddVUMarker(int nDB, COLORREF cr);
  void DeleteVUMarker(int nDB);
  void SetMarkerDuration(int nMS) { m_nMarkerDuration = nMS; }
  void SetTipPostText(LPCWSTR psz) { m_strTipPostText = psz ? psz : L""; }
  int GetGridCount() const { return m_nGridCount; }
  int GetGridHeigh() const { return m_nCellHeight + 1; }
  int GetAllGridHeigh() const { return (m_nCellHeight + 1) * m_nGridCount; }

  virtual void OnDraw(CDC* pDC);
  BOOL PreTranslateMessage(MSG* pMsg) override;

  static constexpr UINT_PTR PEAK_TIMER = 1000;
  static constexpr UINT_PTR MARKER_TIMER = 1001;
  static constexpr UINT MARKER_PERIOD = 1001;
  static constexpr UINT_PTR TIP_ID = 100;

 protected:
  int DB2Index(double dB) const;
  void DrawOneMeterFrame(CDC* pDC, POINT pt, int nGrid);
  void DrawOneMeterFlash(CDC* pDC, POINT pt, int nLevel, int nPeak, int nIndex);

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  SVUMeterInitParam m_InitParam;
  CBufferedPaint m_buffers;  // the bar frames behind, the lit cells composed over them
  int m_bPeakTimer = 0;
  int m_nPeakTick = 0;
  CHoverTip m_ToolTip;
  int m_nTipMeter = 0;
  CString m_strTipPostText;
  POINT m_ptOrigin{0, 4};
  int m_nBarWidth = 12;
  int m_nCellHeight = 2;
  int m_nGridCount = 0;
  CArray<int> m_arrLevel;
  CArray<int> m_arrPeak;
  int m_nHighIndex = 0;
  int m_nLowIndex = 0;
  int m_nValueRange = 0;
  float m_fValueScale = 1.0f;
  int m_nMinValue = 0;
  CArray<CVUMarker*> m_arrMarker;
  int m_nMarkerDuration = 3000;

 private:
  int ChannelCount() const;
  vumeter::SCellMap CellMap() const;
  void DeleteMarkers();
  void OnPeakTimer();
  void OnMarkerTimer();
  void DrawFrames();
  void TrackTipMeter(int x);
};
