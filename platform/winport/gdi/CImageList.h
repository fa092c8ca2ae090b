// The framework's image list object around an HIMAGELIST.
#pragma once
#include "winport/gdi/CBitmap.h"
#include "winport/gdi/CDC.h"
#include "winport/gdi/ImageList.h"

class CImageList {
 public:
  CImageList() = default;
  virtual ~CImageList() { DeleteImageList(); }
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;
  operator HIMAGELIST() const { return m_hImageList; }  // NOLINT(google-explicit-constructor)
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }

  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
  }
  // From a bitmap resource of the chain, cut into images cx wide; crMask is transparent.
  BOOL Create(LPCWSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask) {
    return Attach(ImageList_LoadBitmap(nullptr, lpszBitmapID, cx, nGrow, crMask));
  }
  BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    return Create(MAKEINTRESOURCEW(static_cast<WORD>(nBitmapID)), cx, nGrow, crMask);
  }
  BOOL Attach(HIMAGELIST h) {
    if (!h || m_hImageList) return FALSE;
    m_hImageList = h;
    return TRUE;
  }
  HIMAGELIST Detach() {
    HIMAGELIST h = m_hImageList;
    m_hImageList = nullptr;
    return h;
  }
  BOOL DeleteImageList() { return m_hImageList ? ImageList_Destroy(Detach()) : FALSE; }

  int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
  int Add(CBitmap* pbmImage, CBitmap* pbmMask) {
    return ImageList_Add(m_hImageList, pbmImage ? static_cast<HBITMAP>(*pbmImage) : nullptr,
                         pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
  }
  int Add(CBitmap* pbmImage, COLORREF crMask) {
    return ImageList_AddMasked(m_hImageList, pbmImage ? static_cast<HBITMAP>(*pbmImage) : nullptr, crMask);
  }
  COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
  COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
  BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    return ImageList_Draw(m_hImageList, nImage, pDC ? pDC->m_hDC : nullptr, pt.x, pt.y, nStyle);
  }
};
