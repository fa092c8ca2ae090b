// The small frame a floating control bar lives in: a popup owned by the docking frame with a
// thin border and a caption strip it paints itself, and one floating dock bar holding the bar.
// Dragging the caption moves it (and docks the bar when dropped on a side); dragging the right
// or bottom border resizes the bar. It deletes itself when its window goes.
#pragma once
#include "winport/frame/CFrameWnd.h"

class CMiniDockFrameWnd : public CFrameWnd {
 public:
  CMiniDockFrameWnd();
  ~CMiniDockFrameWnd() override;

  BOOL Create(CFrameWnd* pDockSite, DWORD dwBarStyle);
  // Fits the window around the bar at the size it asks for while floating.
  void RecalcLayout(BOOL bNotify = TRUE) override;
  // HTCAPTION, HTRIGHT, HTBOTTOM or HTCLIENT for a point in client coordinates.
  int HitTest(CPoint point) const;
  CControlBar* GetBar() const;

  static constexpr int kBorder = 3;
  static constexpr int kCaption = 14;

  CDockBar m_wndDockBar;

 protected:
  void PostNcDestroy() override;
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL Track(UINT message, CPoint point, WPARAM wParam = 0);
};
