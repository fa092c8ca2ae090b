// A window for scrollable content with two skinned bars. The bars are children of this window's
// parent, flush against the outside of its bottom and right edges, and report to this window
// as their owner. Derived classes paint in OnDraw with logical coordinates.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"
#include "scrollbars/XScrollBar.h"

struct CPrintInfo;

class PARVANEU_API CXSBScrollWnd : public CWnd {
 public:
  CXSBScrollWnd();
  ~CXSBScrollWnd() override;
  // A default instance, for hosts that create windows by class.
  static CXSBScrollWnd* CreateObject();

  static constexpr UINT IDC_VBAR = 100;
  static constexpr UINT IDC_HBAR = 101;

  virtual void SetScrollSizes(const SIZE& sizeTotal, const SIZE& sizePage, const SIZE& sizeLine);
  virtual BOOL ScrollTo(int x, int y, BOOL bUpdate);
  // Scrolls the content and, with bUpdate, the bars; the picture moves by the change the bars
  // actually make. FALSE when nothing moved.
  virtual BOOL ScrollBy(int dx, int dy, BOOL bUpdate);
  virtual void OnDraw(CDC* pDC);

  void GetScrollSize(SIZE& size) const { size = m_sizeTotal; }
  int GetHScrollPos() const { return m_wndHBar.GetScrollPos(); }
  int GetVScrollPos() const { return m_wndVBar.GetScrollPos(); }
  void GetDeviceScrollPosition(CPoint* pPt) const;
  void GetDeviceScrollPosition(POINT* pPt) const;
  void DPtoLP(POINT* pPt) const;
  void DPtoLP(RECT* pRect) const;
  void LPtoDP(POINT* pPt) const;
  void LPtoDP(RECT* pRect) const;
  void SetScrollBarSkin(CXScrollBarSkin* pSkin);
  void SetScrollBtnSize(const SIZE& size);
  void SetWindowSize(int cx, int cy);
  void UpdateBars();
  void PrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

 protected:
  BOOL IsHBarEnabled() const { return ::IsWindow(m_wndHBar.m_hWnd); }
  BOOL IsVBarEnabled() const { return ::IsWindow(m_wndVBar.m_hWnd); }
  void GetScrollBarSizes(CSize& sizeSb) const;
  // The client size and the bar sizes; FALSE when the client area is empty. The bars sit
  // outside the window, so they are not added to the client size.
  BOOL GetTrueClientSize(CSize& size, CSize& sizeSb) const;
  void GetScrollBarState(CSize sizeClient, CSize& needSb, CSize& sizeRange, CPoint& ptMove,
                         BOOL bInsideClient) const;
  void EnableScrollBarCtrl(int nBar, BOOL bEnable);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  CXScrollBar m_wndVBar;
  CXScrollBar m_wndHBar;
  bool m_bInsideUpdate = false;
  CSize m_sizeTotal{0, 0};
  CSize m_sizePage{0, 0};
  CSize m_sizeLine{0, 0};
};
