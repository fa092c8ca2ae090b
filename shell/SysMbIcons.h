// The four message-box symbols (stop, question, warning, information) from the library's own
// picture strip, keyed by the MessageBox icon flags.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

class PARVANEU_API CSysMbIcons {
 public:
  CSysMbIcons();
  virtual ~CSysMbIcons();
  CSysMbIcons(const CSysMbIcons&) = delete;
  CSysMbIcons& operator=(const CSysMbIcons&) = delete;

  // The symbol of nIconFlag (MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONINFORMATION; any other
  // value draws the stop symbol) with its top-left corner at pt; the strip's key colour is
  // transparent.
  void Draw(CDC* pDC, POINT pt, int nIconFlag, COLORREF crBack);

 protected:
  CImageList m_imgList;
};
