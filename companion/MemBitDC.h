// CMemBitDC: a memory device context that owns its bitmap (32-bit). Empty (no DC, size 0) until
// SetSize or LoadBitmapW succeeds; the destructor frees DC and bitmap.
#pragma once
#include <memory>

#include <winport/afx.h>

#include "companion/KestruneExport.h"

class KESTRUNE_API CMemBitDC : public CDC {
 public:
  CMemBitDC() = default;
  ~CMemBitDC() override;

  // A DC compatible with pRef (or the screen) holding a new cx x cy bitmap, black. Keeps the
  // current bitmap (and its image) when the size is unchanged. FALSE, nothing changed, for
  // non-positive or oversized requests. Ends an AttachBitmap.
  BOOL SetSize(int cx, int cy, CDC* pRef = nullptr);
  int GetWidth() const { return m_cx; }
  int GetHeight() const { return m_cy; }

  // pSrc's image copied to (0, 0); of different sizes, the overlap.
  BOOL Copy(CMemBitDC* pSrc);

  // A bitmap from the resource chain replaces the image; the DC takes its size.
  BOOL LoadBitmapW(LPCWSTR lpszName);
  BOOL LoadBitmapW(UINT nID) { return LoadBitmapW(MAKEINTRESOURCEW(static_cast<WORD>(nID))); }

  // Selects a caller's bitmap for blitting (sizes report it) until DetachBitmap, which gives it
  // back untouched and reselects the DC's own image. FALSE for a null or empty bitmap.
  BOOL AttachBitmap(CBitmap* pBitmap);
  CBitmap* DetachBitmap();
  // The bitmap selected now: the attached one, else the DC's own (null while empty).
  CBitmap* GetBitmap();

 private:
  BOOL EnsureDC(CDC* pRef);
  void Select(CBitmap* pBitmap);
  void TakeBitmap(std::unique_ptr<CBitmap> bitmap, int cx, int cy);

  std::unique_ptr<CBitmap> m_pBitmap;
  CBitmap* m_pAttached = nullptr;
  HGDIOBJ m_hFirstBitmap = nullptr;  // what the fresh DC held, reselected before freeing
  int m_cx = 0, m_cy = 0;
  int m_ownCx = 0, m_ownCy = 0;
};
