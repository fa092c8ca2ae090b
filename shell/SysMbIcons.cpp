#include "shell/SysMbIcons.h"

namespace {
constexpr COLORREF kStripKey = 0x808000;  // teal
constexpr int kSymbolSize = 32;

// The flag is compared as a whole: a flag with any other bit set draws the stop symbol.
int ImageOfFlag(int nIconFlag) {
  switch (nIconFlag) {
    case MB_ICONQUESTION: return 1;
    case MB_ICONEXCLAMATION: return 2;
    case MB_ICONINFORMATION: return 3;
    default: return 0;
  }
}

}  // namespace

CSysMbIcons::CSysMbIcons() { m_imgList.Create(L"IDB_MB_IMAGE", kSymbolSize, 0, kStripKey); }

CSysMbIcons::~CSysMbIcons() = default;

void CSysMbIcons::Draw(CDC* pDC, POINT pt, int nIconFlag, COLORREF crBack) {
  const int nImage = ImageOfFlag(nIconFlag);
  ::ImageList_SetBkColor(m_imgList, crBack);
  ::ImageList_Draw(m_imgList, nImage, pDC ? pDC->GetSafeHdc() : nullptr, pt.x, pt.y, ILD_TRANSPARENT);
}
