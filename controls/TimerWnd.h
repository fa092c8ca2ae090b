// CTimerWnd: a small child window showing a time as HH:MM:SS, built from a bitmap strip of eleven
// equal glyphs (0-9 and a colon). It has no timer: the host calls SetTime whenever the time to
// show changes. The window sizes itself to the glyphs.
#pragma once
#include <winport/afx.h>

#include "foundation/BufferedPaint.h"
#include "foundation/Export.h"

class CMemBitDC;

class PARVANEU_API CTimerWnd : public CWnd {
 public:
  CTimerWnd();
  ~CTimerWnd() override;

  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const POINT& pt, CWnd* pParentWnd, UINT nID);

  // A failed load changes nothing: strip, glyph size, time and colours stay as they were.
  BOOL SetNumBitmap(LPCWSTR lpszBitmap, COLORREF crTransparent, COLORREF crBack);
  BOOL SetNumBitmap(LPCWSTR lpszBitmap, COLORREF crBack);
  BOOL SetNumBitmap(UINT nID, COLORREF crTransparent, COLORREF crBack);
  BOOL SetNumBitmap(UINT nID, COLORREF crBack);

  void SetTime(DWORD dwSeconds);
  void SetTime(int nHour, int nMinute, int nSecond);
  void GetFitSize(SIZE& size) const;
  void SetFrameWidth(int n);
  void ShowBorder(BOOL b);

 protected:
  void FitImage();

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  int m_nNumWidth = 0;
  int m_nNumHeight = 0;
  CMemBitDC* m_pNumDC = nullptr;
  CBufferedPaint m_buffers;  // the window image: border and digits, drawn as the time changes
  COLORREF m_crBack = 0;
  int m_nFrameWidth = 0;
  int m_bBorder = 0;
  DWORD m_dwTime = 0xFFFFFFFF;

 private:
  void TakeStrip(CMemBitDC* pStrip, COLORREF crBack);
  void DrawBorder(int cx, int cy);
};
