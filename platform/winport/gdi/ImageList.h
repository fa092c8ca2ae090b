// Image lists: equally sized images side by side, each with its transparency, drawn by index.
// Images are kept with premultiplied per-pixel alpha; a masked list makes every pixel of its
// mask colour fully transparent as images are added.
#pragma once
#include "winport/gdi/GdiTypes.h"

constexpr UINT ILC_MASK = 0x00000001;
constexpr UINT ILC_COLOR = 0x00000000;
constexpr UINT ILC_COLOR4 = 0x00000004;
constexpr UINT ILC_COLOR8 = 0x00000008;
constexpr UINT ILC_COLOR24 = 0x00000018;
constexpr UINT ILC_COLOR32 = 0x00000020;
constexpr UINT ILD_NORMAL = 0x00000000;
constexpr UINT ILD_TRANSPARENT = 0x00000001;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;
// Images wider or taller than this, or more of them, are refused.
constexpr int kImageListMaxSide = 1024;
constexpr int kImageListMaxCount = 65535;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// Splits the bitmap into images of the list's width; returns the first new index or -1. With a
// mask bitmap, its white pixels are transparent; without one the images are opaque.
int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
// Pixels of crMask become transparent (for a list created with ILC_MASK).
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask);
// A bitmap resource split into images cx wide, masked with crMask unless it is CLR_NONE.
HIMAGELIST ImageList_LoadImageW(HINSTANCE hi, LPCWSTR name, int cx, int cGrow, COLORREF crMask, UINT uType,
                                UINT uFlags);
#define ImageList_LoadBitmap(hi, name, cx, cGrow, crMask) \
  ImageList_LoadImageW(hi, name, cx, cGrow, crMask, IMAGE_BITMAP, 0)
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);
// ILD_TRANSPARENT draws through the transparency; ILD_NORMAL first fills the image's box with
// the background colour unless that is CLR_NONE.
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
