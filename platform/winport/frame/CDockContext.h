// Drag and resize tracking of one control bar: started by a press on the bar (or on its floating
// frame's caption or edge), fed the tracking window's mouse messages until the button comes up,
// then docks the bar where it was dropped, floats it, or commits the new floating size.
#pragma once
#include "winport/base/geometry.h"
#include "winport/window/WinDefs.h"

class CControlBar;
class CWnd;

class CDockContext {
 public:
  explicit CDockContext(CControlBar* pBar) : m_pBar(pBar) {}

  // pTracker is the window the press landed in; it takes the capture and must pass its mouse
  // messages to Track. ptScreen is the press in screen coordinates.
  void StartDrag(CWnd* pTracker, CPoint ptScreen);
  // nHitTest: HTRIGHT (width) or HTBOTTOM (height) of the floating frame.
  void StartResize(CWnd* pTracker, int nHitTest, CPoint ptScreen);
  // WM_MOUSEMOVE, WM_LBUTTONUP, WM_CAPTURECHANGED, WM_KEYDOWN (Esc cancels); TRUE when taken.
  BOOL Track(UINT message, CPoint ptScreen, WPARAM wParam = 0);
  BOOL IsTracking() const { return m_nMode != kIdle; }
  void Cancel();

  // Pixels beyond a dock bar's inner edge that still dock there.
  static constexpr int kDockZone = 24;

 private:
  enum Mode { kIdle, kDrag, kResize };
  void EndDrag(CPoint ptScreen, BOOL bForceFloat);
  void Stretch(CPoint ptScreen, DWORD dwExtra);
  void Stop();

  CControlBar* m_pBar;
  CWnd* m_pTracker = nullptr;
  Mode m_nMode = kIdle;
  int m_nHitTest = 0;
  BOOL m_bMoved = FALSE;
  CPoint m_ptStart;
  CPoint m_ptGrab;  // the press relative to the dragged window's top-left
  int m_nLength = 0;
};
