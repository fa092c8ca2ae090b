// The top-level window a gallery page lives in. With a real clock it ticks the page itself.
#pragma once
#include <winport/afx.h>

#include <vector>

#include "tools/gallery/Gallery.h"

namespace gallery {

constexpr unsigned kTickMs = 20;

// A page's dark ground with one title line per control, in the gallery's label font.
struct Title {
  CRect rc;
  const wchar_t* text;
};
void PaintTitles(CDC* pDC, const RECT& rcClient, const std::vector<Title>& titles);

class CPageFrame : public CWnd {
 public:
  // bTicking: drive the page from a 20 ms timer (windowed mode); otherwise the caller ticks.
  BOOL CreatePage(Page* page, BOOL bTicking);

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()

 private:
  Page* m_pPage = nullptr;
  unsigned m_nStart = 0;
  static int ms_nOpen;
};

}  // namespace gallery
