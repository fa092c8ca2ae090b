// A window for scrollable content with the platform's own window bars (WS_HSCROLL and
// WS_VSCROLL): shows, hides and ranges them for the content size, scrolls on their messages and
// on the wheel, and converts between device and logical coordinates.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

struct CPrintInfo;

class PARVANEU_API CScrollWnd : public CWnd {
 public:
  CScrollWnd();
  ~CScrollWnd() override;
  // A default instance, for hosts that create windows by class.
  static CScrollWnd* CreateObject();

  virtual void SetScrollSizes(const SIZE& sizeTotal, const SIZE& sizePage, const SIZE& sizeLine);
  virtual BOOL ScrollTo(int x, int y);
  virtual void ScrollToClientCenter(int x, int y);
  virtual BOOL ScrollBy(int dx, int dy);
  virtual void CenterViewPort();
  virtual void OnDraw(CDC* pDC);

  void SetVerifyScrollBar(BOOL bVerify) { m_bVerifyScrollBar = bVerify; }
  BOOL IsVerifyScrollBar() const { return m_bVerifyScrollBar; }
  void GetScrollSize(SIZE& size) const { size = m_sizeTotal; }
  int GetHScrollPos() const { return GetScrollPos(SB_HORZ); }
  int GetVScrollPos() const { return GetScrollPos(SB_VERT); }
  void GetDeviceScrollPosition(CPoint* pPt) const;
  void GetDeviceScrollPosition(POINT* pPt) const;
  void DPtoLP(POINT* pPt) const;
  void DPtoLP(RECT* pRect) const;
  void LPtoDP(POINT* pPt) const;
  void LPtoDP(RECT* pRect) const;
  void PrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

  // 1: scroll the client area on a position change; 2: invalidate it all; other: neither.
  int m_nScrollMode = 1;

 protected:
  void GetScrollBarSizes(CSize& sizeSb) const;
  BOOL GetTrueClientSize(CSize& size, CSize& sizeSb) const;
  void GetScrollBarState(CSize sizeClient, CSize& needSb, CSize& sizeRange, CPoint& ptMove,
                         BOOL bInsideClient) const;
  void UpdateBars();
  BOOL BarUsable(int nBar) const;

  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  static int CX_BORDER, CY_BORDER, CX_VSCROLL, CY_HSCROLL;

  CSize m_sizeTotal{0, 0};
  CSize m_sizePage{0, 0};
  CSize m_sizeLine{0, 0};
  bool m_bInsideUpdate = false;
  BOOL m_bVerifyScrollBar = TRUE;
};
