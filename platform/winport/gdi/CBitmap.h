#pragma once
#include "winport/gdi/CGdiObject.h"

class CDC;

class WINPORT_API CBitmap : public CGdiObject {
 public:
  static CBitmap* FromHandle(HBITMAP h) { return winport::detail::WrapperAs<CBitmap>(h, OBJ_BITMAP); }
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }  // NOLINT(google-explicit-constructor)

  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
    return Attach(::CreateBitmap(width, height, planes, bitCount, bits));
  }
  BOOL CreateBitmapIndirect(const BITMAP* bm) {
    return bm ? CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits) : FALSE;
  }
  // From the resource chain (the module that has it).
  BOOL LoadBitmap(LPCWSTR name);
  BOOL LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEW(static_cast<WORD>(id))); }
  BOOL LoadBitmapW(LPCWSTR name) { return LoadBitmap(name); }
  BOOL LoadBitmapW(UINT id) { return LoadBitmap(id); }

  int GetBitmap(BITMAP* bm) const { return ::GetObjectW(m_hObject, sizeof(BITMAP), bm); }
  DWORD GetBitmapBits(DWORD bytes, LPVOID out) const {
    return static_cast<DWORD>(::GetBitmapBits(static_cast<HBITMAP>(m_hObject), static_cast<LONG>(bytes), out));
  }
  DWORD SetBitmapBits(DWORD bytes, const void* in) {
    return static_cast<DWORD>(::SetBitmapBits(static_cast<HBITMAP>(m_hObject), bytes, in));
  }
};
