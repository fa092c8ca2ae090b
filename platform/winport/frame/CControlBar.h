// The framework's control bar: a child window that lives along a frame's edge in a dock bar or
// floats in a small frame of its own. Its bar style says where it is (CBRS_ALIGN_*, CBRS_FLOATING);
// the frame asks it for its size with CalcFixedLayout / CalcDynamicLayout and the layout modes
// (LM_*). A press on the bar starts dragging it to another side or out to float.
#pragma once
#include <memory>

#include "winport/frame/ControlBarDefs.h"
#include "winport/window/CWnd.h"

class CFrameWnd;
class CDockBar;
class CDockContext;

class CControlBar : public CWnd {
 public:
  CControlBar();
  ~CControlBar() override;

  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
  // The sides (CBRS_ALIGN_*) the bar may dock at; 0 keeps it where it is.
  void EnableDocking(DWORD dwDockStyle);
  CFrameWnd* GetDockingFrame() const { return m_pDockSite; }
  // In a floating frame's dock bar.
  BOOL IsFloating() const;

  // bStretch: fill the dock's length; bHorz: along a horizontal side.
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  // nLength <= 0: the size for the mode; else the size with that length (LM_LENGTHY: height).
  virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

  DWORD m_dwStyle = 0;
  DWORD m_dwDockStyle = 0;
  CFrameWnd* m_pDockSite = nullptr;
  CDockBar* m_pDockBar = nullptr;
  std::unique_ptr<CDockContext> m_pDockContext;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  DECLARE_MESSAGE_MAP()

  // Hands a tracking message to the dock context; TRUE when it took it.
  BOOL TrackMessage(UINT message, CPoint point);
};
