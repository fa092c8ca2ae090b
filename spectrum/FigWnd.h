// CFigWnd: a child window plotting curves of levels in dB over a grid. The grid bitmap holds the
// background and grid lines (horizontal at the scale's points, vertical at equal intervals); the
// figure bitmap is the grid plus the curves and is what the window shows. Mouse events go to
// the parent as WM_NOTIFY with an NMFIGWND record.
//
// Threads: Clear, DrawDBValue and Show may run on another thread than the window's. They,
// SetXScaleCount, resizing and painting hold the feed latch, and the worker reaches the window
// only through it, so a figure drawn on a worker (as CFreqMagnWnd does) is safe against every
// other call, DestroyWindow included. The read-outs, the public colours and the scale belong to
// the window thread.
#pragma once
#include <winport/afx.h>

#include <memory>

#include "companion/MemBitDC.h"
#include "foundation/BufferedPaint.h"
#include "foundation/Export.h"
#include "foundation/FeedLatch.h"

class CAudioScale;

enum FIGWNDNote {
  FWN_MOUSEMOVE = 0,    // client coordinates
  FWN_LBUTTONDOWN = 1,  // client coordinates
  FWN_CONTEXTMENU = 2,  // screen coordinates, as WM_CONTEXTMENU gives them
};

struct NMFIGWND {
  NMHDR hdr;  // code 0
  FIGWNDNote note;
  int x;
  int y;
};

class PARVANEU_API CFigWnd : public CWnd {
 public:
  CFigWnd();
  ~CFigWnd() override;

  using CWnd::Create;
  // pScale stays the caller's and must outlive the window.
  BOOL Create(DWORD dwStyle, const RECT& rect, const CAudioScale* pScale, CWnd* pParentWnd, UINT nID);

  int GetWidth() const { return m_buffers.GetWidth(); }
  int GetHeight() const { return m_buffers.GetHeight(); }
  int GetXScaleCount() const { return m_nXScaleCount; }
  // Rebuilds the grid (the curves are erased) and repaints.
  void SetXScaleCount(int n);

  // Grid over figure: erases every curve; no repaint.
  void Clear();
  // One curve of nCount levels in dB, in colour crColor (ignored before the first size).
  void DrawDBValue(float* const pValues, int nCount, COLORREF crColor);
  // Repaints without erasing; any thread.
  void Show();

  COLORREF m_crBack = 0;
  COLORREF m_crGrid = 0x606060;
  COLORREF m_crGridHi = 0xB4B4B4;

 protected:
  virtual void DrawGrid(CDC* pDC);
  virtual void DrawData(CDC* pDC, float* const pValues, int nCount);
  virtual void OnShow(CDC* pDC);

  void RebuildGrid();
  void NoteOut(FIGWNDNote note, int x, int y);
  // Horizontal lines at the scale's points, in the DC's background colour.
  void DrawScaleLines(CDC* pDC);
  // Vertical lines at m_nXScaleCount equal intervals, in the DC's background colour.
  void DrawXScaleLines(CDC* pDC);
  // Column buffer of W floats; false (buffer unchanged) when it cannot be had.
  bool EnsureColBuf(int nWidth);
  // Polyline through point i at (trunc(i x W / nCount), trunc(row i)), i = 0 .. nCount - 1:
  // the pixels of MoveTo to the first point and LineTo each next, drawn in one call.
  void DrawPolyline(CDC* pDC, const float* pRows, int nCount, int nWidth);

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
  DECLARE_MESSAGE_MAP()

  // Guards the bitmaps and what is drawn into them; derived classes put their own figure state
  // under the same lock.
  CFeedLatch m_feed;
  CBufferedPaint m_buffers;  // the grid behind, the figure: the grid plus the curves drawn since Clear
  const CAudioScale* m_pScale = nullptr;
  int m_nXScaleCount = 10;
  std::unique_ptr<float[]> m_pColBuf;
  int m_nColBufLen = 0;
  std::unique_ptr<POINT[]> m_pPoints;  // the polyline, one point per column
  int m_nPointsLen = 0;
};
