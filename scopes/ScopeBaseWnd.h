// CScopeBaseWnd: the window every video scope builds on. It keeps the graticule as pixels (drawn
// through a DC once per size or setting), draws the trace of the attached graph into a second
// buffer, blends the two and paints the result, with a hover readout on top.
//
// Threads: UpdateGraph may run on a worker while the window thread paints, resizes, changes
// settings or destroys the window. The buffers, the attached graph and every setting a trace
// reads are kept under the feed latch's lock; the worker reaches the window only through the
// latch, so an update during or after DestroyWindow composes into the buffers and shows nowhere.
// Derived scopes draw traces from the buffer's size (GraphRect), never from the window, and
// take the lock in the setters of what their DrawGraph reads. The object must outlive the feed.
#pragma once
#include <winport/afx.h>

#include "companion/Buf32Draw.h"
#include "foundation/Export.h"
#include "foundation/FeedLatch.h"

class CVideoScopeGraph;

class PARVANEU_API CScopeBaseWnd : public CWnd {
 public:
  CScopeBaseWnd();
  ~CScopeBaseWnd() override;
  CScopeBaseWnd(const CScopeBaseWnd&) = delete;
  CScopeBaseWnd& operator=(const CScopeBaseWnd&) = delete;

  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // Not owned; null detaches. Nothing is redrawn.
  void AttachVideoScopeGraph(CVideoScopeGraph* pGraph);
  // Rebuilds both buffers at the client size and redraws the graticule; the screen shows the
  // bare graticule until the next UpdateGraph.
  void UpdateBkGnd();
  // Draws the trace of the attached graph over the graticule and invalidates; any thread.
  void UpdateGraph();

 protected:
  virtual void DrawBkGnd(CDC* pDC) = 0;
  virtual void DrawGraph(CBuf32Draw* pDraw) = 0;
  virtual void DrawActive(CDC* pDC) = 0;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  // Width and height of the trace buffer: the area the readouts measure against.
  CSize GraphSize();
  // The trace buffer as a rectangle at (0, 0): the client rectangle the buffers were made for.
  CRect GraphRect() { return CRect(CPoint(0, 0), GraphSize()); }
  // DrawText's DT_CALCRECT of text from an empty rectangle at (x, y).
  static CRect MeasureText(CDC* pDC, const CString& text, int x, int y);

  CFeedLatch m_feed;
  CVideoScopeGraph* m_pGraph = nullptr;
  int m_bMouseIn = 0;
  CBuf32Draw m_bufBkGnd;
  CBuf32Draw m_bufGraph;

  static CFont ms_font;
  static int ms_nResRef;
  static CPoint ms_ptLastMouse;

 private:
  void ReleaseBuffers();
  bool BuffersReady() const;
};
