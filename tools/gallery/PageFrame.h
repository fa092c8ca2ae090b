// The top-level window a gallery page lives in: a title band naming the page above a body window
// that holds the page's controls. With a real clock it ticks the page itself, only while it can
// be seen and is not paused (a click on the title band or the space bar pauses and resumes).
#pragma once
#include <winport/afx.h>

#include "tools/gallery/Gallery.h"

namespace gallery {

constexpr unsigned kTickMs = 20;
constexpr int kTitleHeight = 22;

class CPageFrame : public CWnd {
 public:
  // The frame's outer size for a page of the given client size.
  static SIZE FrameSize(SIZE pageSize) { return {pageSize.cx, pageSize.cy + kTitleHeight}; }
  // bTicking: drive the page from a timer (windowed mode); otherwise the caller ticks.
  // ptAt: the top-left corner on the screen.
  BOOL CreatePage(Page* page, BOOL bTicking, POINT ptAt = {40, 40});
  // Stops or resumes the page's programme; its time stands still while paused.
  void Pause(bool bPause);
  bool IsPaused() const { return m_bPaused; }
  bool IsTicking() const { return m_bTimer; }

 protected:
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()

 private:
  // The timer runs exactly while the page ticks itself, is not paused and is not minimised.
  void UpdateTimer();
  unsigned ProgrammeTime() const;

  Page* m_pPage = nullptr;
  CWnd m_wndBody;
  CFont m_fntTitle;
  CString m_strTitle;
  bool m_bTicking = false, m_bPaused = false, m_bMinimised = false, m_bTimer = false;
  unsigned m_nStart = 0;     // clock at programme time 0
  unsigned m_nStopped = 0;   // clock when the timer stopped
  static int ms_nOpen;
};

}  // namespace gallery
