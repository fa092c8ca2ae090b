// The framework's frame window with docking: dock bars along its four sides (EnableDocking),
// control bars docked or floated by the host or dragged by the user, and RecalcLayout, which
// stacks the dock bars (top and bottom across the whole width, left and right between them)
// and gives what is left to the view, the child with id AFX_IDW_PANE_FIRST.
#pragma once
#include <array>
#include <memory>
#include <vector>

#include "winport/frame/CDockBar.h"
#include "winport/window/CWnd.h"

class CFrameWnd : public CWnd {
 public:
  CFrameWnd();
  ~CFrameWnd() override;

  static const CRect rectDefault;  // (0, 0, 640, 480)

  // Top-level unless dwStyle has WS_CHILD (a frame inside a host's window).
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
              DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  virtual BOOL IsFrameWnd() const { return TRUE; }

  // Dock bars for the sides in dwDockStyle (CBRS_ALIGN_*).
  void EnableDocking(DWORD dwDockStyle);
  // nDockBarID: AFX_IDW_DOCKBAR_*, or 0 for the first side the bar and the frame both allow
  // (top, bottom, left, right). lpRect (screen) places it among the bars already there.
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  // In a small frame of its own with its top-left at point (screen); dwStyle its orientation.
  void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
  virtual void RecalcLayout(BOOL bNotify = TRUE);

  // A control bar of this frame by id, dock bars included.
  CControlBar* GetControlBar(UINT nID);
  CDockBar* GetDockBar(UINT nDockBarID);
  void AddControlBar(CControlBar* pBar);
  void RemoveControlBar(CControlBar* pBar);

  DWORD m_dwDockStyle = 0;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  BOOL m_bInRecalcLayout = FALSE;

 private:
  CDockBar* DockBarFor(CControlBar* pBar, UINT nDockBarID);

  std::array<std::unique_ptr<CDockBar>, 4> m_dockBars;
  std::vector<CControlBar*> m_listControlBars;
};
