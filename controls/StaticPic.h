// CStaticPic: a static picture control (SS_BITMAP) whose bitmap is drawn with one colour left
// out, so a picture on a keyed background sits on whatever the dialog paints behind it.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

class PARVANEU_API CStaticPic : public CStatic {
 public:
  CStaticPic();
  ~CStaticPic() override;

  // Takes effect at the next paint.
  void SetTransColor(COLORREF cr) { m_crTrans = cr; }

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  COLORREF m_crTrans;
};
