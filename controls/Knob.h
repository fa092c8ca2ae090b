// CKnob: a rotary control turned through three quarters of a turn by dragging horizontally. It
// shows a background bitmap (or black) and an indicator, an anti-aliased line from the centre or
// a small alpha-blended bitmap at the line's tip, and reports changes to its parent as
// WM_COMMAND with EN_CHANGE and EN_UPDATE, the way an edit control does.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

#ifndef EN_CHANGE
#define EN_CHANGE 0x0300
#endif
#ifndef EN_UPDATE
#define EN_UPDATE 0x0400
#endif

class PARVANEU_API CKnob : public CWnd {
 public:
  CKnob();
  ~CKnob() override;

  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetRange(int nMin, int nMax);
  void SetPos(int nPos, BOOL bNotify);
  int GetPos() const;
  void SetRadius(int nRadius) { m_nRadius = nRadius; }
  int GetRadius() const { return m_nRadius; }
  void SetDeftPos(int nPos) { m_nDeftPos = nPos; }
  BOOL IsDraging() const { return m_bDraging; }

  // Resource bitmaps are owned by the knob; bitmaps given by pointer stay the caller's and must
  // outlive it.
  void LoadBackBitmap(LPCWSTR lpszName, BOOL bFit);
  void LoadBackBitmap(UINT nID, BOOL bFit);
  void SetBackBitmap(CBitmap* pBitmap, BOOL bFit);
  void SetIndicatorBitmap(CBitmap* pBitmap);

 protected:
  void SetAngle(double dAngle, BOOL bNotify);
  void FitWindowToBackBitmap();

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  double m_dAngle = 0.0;
  int m_nRadius = 8;
  int m_nMin = 0;
  int m_nMax = 100;
  int m_nDeftPos = 0;
  CBitmap m_bmpBack;
  CBitmap* m_pBackBitmap = nullptr;
  CBitmap* m_pIndicator = nullptr;
  int m_bDraging = 0;
  int m_nIndWidth = 0;
  int m_nIndHeight = 0;
  POINT m_ptDragStart{0, 0};
  double m_dDragAngle = 0.0;

 private:
  CBitmap* BackBitmap();
  void Notify(UINT nCode);
};
