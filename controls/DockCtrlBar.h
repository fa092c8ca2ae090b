// CDockCtrlBar: the base of dockable panels in a host's frame. Its size is kept per docking
// orientation; while docked it draws an etched frame and a two-ridge gripper; it reports the
// content rectangle inside that decoration and leaves the content to OnDraw of a derived class.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

class PARVANEU_API CDockCtrlBar : public CControlBar {
 public:
  CDockCtrlBar();
  ~CDockCtrlBar() override;

  using CWnd::Create;
  // hbrBackground paints this bar's background (a copy is kept for solid brushes, so the
  // caller may delete its own; other brushes must outlive the bar).
  BOOL Create(CWnd* pParentWnd, UINT nID, LPCTSTR lpszWindowName, CSize size, DWORD dwStyle, HBRUSH hbrBackground);

  BOOL IsFloating() const;
  BOOL IsLeftDocked() const;
  BOOL IsTopDocked() const;
  BOOL IsRightDocked() const;
  BOOL IsBottomDocked() const;
  BOOL IsVertDocked() const;
  BOOL IsHorzDocked() const;

  void Set3DColor(COLORREF clrLight, COLORREF clrShadow);
  // The content rectangle (the client area less frame and gripper).
  void GetClientRect(RECT* pRect) const;

  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  virtual void OnDrawFrame(CDC* pDC);
  virtual void OnDraw(CDC* pDC);

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

  SIZE m_sizeVert{0, 0};
  SIZE m_sizeHorz{0, 0};
  SIZE m_sizeFloat{0, 0};
  COLORREF m_cr3DLight;
  COLORREF m_cr3DShadow;

 private:
  CBrush m_brBack;              // this bar's own copy of a solid background brush
  HBRUSH m_hbrBack = nullptr;   // what the background is painted with
};
