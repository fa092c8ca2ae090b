// The top-level window a gallery page lives in: a title band naming the page above a body window
// that holds the page's controls. With a real clock it ticks the page itself.
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
  // bTicking: drive the page from a 20 ms timer (windowed mode); otherwise the caller ticks.
  // ptAt: the top-left corner on the screen.
  BOOL CreatePage(Page* page, BOOL bTicking, POINT ptAt = {40, 40});

 protected:
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()

 private:
  Page* m_pPage = nullptr;
  CWnd m_wndBody;
  CFont m_fntTitle;
  CString m_strTitle;
  unsigned m_nStart = 0;
  static int ms_nOpen;
};

}  // namespace gallery
