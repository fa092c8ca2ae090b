// A frame's dock bar along one side, or the one inside a floating frame: it holds the control
// bars docked there, one per row (or column), and lays them out at the sizes they ask for.
#pragma once
#include <vector>

#include "winport/frame/CControlBar.h"

class CDockBar : public CControlBar {
 public:
  explicit CDockBar(BOOL bFloating = FALSE);
  ~CDockBar() override;

  // A child of pParentWnd with bar style dwStyle (one CBRS_ALIGN_* bit) and the side's id.
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

  // Makes pBar its child at the position lpRect (screen) suggests, or after the others.
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  BOOL RemoveControlBar(CControlBar* pBar);
  int GetDockedCount() const { return static_cast<int>(m_arrBars.size()); }
  int GetDockedVisibleCount() const;

  // Size across the side: horizontal dock bars report their height in cy, vertical ones their
  // width in cx.
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  // Moves the docked bars to their places inside this dock bar.
  void LayoutBars();
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

  BOOL m_bFloating;
  std::vector<CControlBar*> m_arrBars;

 protected:
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  BOOL IsHorzDock() const;
  // The size each visible bar asks for, with the framework's mode for where it is.
  std::vector<SIZE> BarSizes(std::vector<CControlBar*>& visible);
};
