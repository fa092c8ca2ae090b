// A scroll bar drawn by an attached skin: arrows, track and thumb, hover and pressed looks, a
// held arrow or track that repeats, a thumb dragged from the press point. Every position change
// made by the user goes to the owner (else the parent) as WM_NOTIFY with an XSBNotify.
#pragma once
#include <winport/afx.h>

#include "foundation/BufferedPaint.h"
#include "foundation/Export.h"
#include "scrollbars/XScrollBarLogic.h"
#include "scrollbars/XScrollBarTypes.h"

class CXScrollBarSkin;

class PARVANEU_API CXScrollBar : public CWnd {
 public:
  CXScrollBar();
  ~CXScrollBar() override;

  BOOL Create(BOOL bShow, Directions2 dir, const RECT& rect, CWnd* pParent, UINT nID);
  BOOL Create(BOOL bShow, Directions2 dir, const RECT& rect, CWnd* pParent, CXScrollBarSkin* pSkin, UINT nID);

  void SetBarSkin(CXScrollBarSkin* pSkin) { m_pSkin = pSkin; }
  CXScrollBarSkin* GetBarSkin() const { return m_pSkin; }

  void SetScrollSize(int nScrollSize, int nPageSize);
  int GetScrollSize() const { return m_nScrollSize; }
  int GetPageSize() const { return m_nPageSize; }
  void SetScrollPos(int nPos);
  int GetScrollPos() const { return m_nPos; }
  int ScrollPos(int nDelta);
  void SetScrollLine(int nLineSize) { m_nLineSize = nLineSize; }
  int GetLineSize() const { return m_nLineSize; }
  void SetScrollBtnSize(const SIZE& size, BOOL bAutoSize);
  const SIZE& GetScrollBtnSize() const { return m_sizeBtn; }

  XSBHitResult HitTest(POINT pt, XSBHitTest* pHit);
  virtual void OnDraw(CDC* pDC);

 protected:
  void AutoSize();
  void UpdateStoreInfo();
  void GetScrollInfo(int& nThumbLen, float& fUnitsPerPixel);
  void GetPrevBtnRect(RECT* pRect);
  void GetNextBtnRect(RECT* pRect);
  void GetMoveRect(RECT* pRect);
  void GetMoveBtnRect(RECT* pRect);
  void OnDragMoveBar(CPoint pt);
  virtual void DoPushAjustBtn(int nDelta);

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  xsb::SModel Model() const;
  void StoreModel(const xsb::SModel& m);
  xsb::SParts Parts() const;
  void SendNotify(int nType, int nOldPos, int nNewPos);
  void PushStep(int nDelta, bool bAlways);

 protected:
  CXScrollBarSkin* m_pSkin = nullptr;
  SIZE m_sizeBtn;
  Directions2 m_nDirection = dirHorz;
  XSBHitTest m_hitHover{hitNone, RECT{}};
  XSBHitResult m_nDownHit = hitNone;
  CPoint m_ptDown;
  int m_nDownPos = 0;
  int m_nScrollSize = 0;
  int m_nPos = 0;
  int m_nPageSize = 10;
  int m_nLineSize = 5;
  int m_nWidth = 0;
  int m_nHeight = 0;
  RECT m_rcPrevBtn{}, m_rcNextBtn{}, m_rcMove{};
  CBufferedPaint m_buffers;  // the bar is drawn whole into the composition buffer
  BOOL m_bPressed = FALSE;
};
