#include "controls/StaticPic.h"

BEGIN_MESSAGE_MAP(CStaticPic, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CStaticPic::CStaticPic() : m_crTrans(0x808000) {}

CStaticPic::~CStaticPic() = default;

void CStaticPic::OnPaint() {
  CPaintDC dc(this);
  HBITMAP hBitmap = reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (!hBitmap) return;
  CDC mem;
  if (!mem.CreateCompatibleDC(&dc)) return;
  CBitmap* pOld = mem.SelectObject(CBitmap::FromHandle(hBitmap));
  BITMAP bm{};
  if (::GetObjectW(hBitmap, sizeof(bm), &bm))
    dc.TransparentBlt(0, 0, bm.bmWidth, bm.bmHeight, &mem, 0, 0, bm.bmWidth, bm.bmHeight, m_crTrans);
  mem.SelectObject(pOld);
  mem.DeleteDC();
}
