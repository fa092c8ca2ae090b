// The drawing functions of the window API (GDI32 and the image library's blends), by their
// desktop names and signatures. Bad handles and bad rectangles make them fail quietly.
#pragma once
#include "winport/gdi/GdiTypes.h"

// Objects.
WINPORT_API HGDIOBJ GetStockObject(int id);
WINPORT_API BOOL DeleteObject(HGDIOBJ h);
WINPORT_API int GetObjectW(HGDIOBJ h, int size, LPVOID out);
inline int GetObject(HGDIOBJ h, int size, LPVOID out) { return GetObjectW(h, size, out); }
WINPORT_API DWORD GetObjectType(HGDIOBJ h);
WINPORT_API HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
WINPORT_API HGDIOBJ GetCurrentObject(HDC hdc, UINT type);

WINPORT_API HPEN CreatePen(int style, int width, COLORREF color);
WINPORT_API HPEN CreatePenIndirect(const LOGPEN* lp);
WINPORT_API HBRUSH CreateSolidBrush(COLORREF color);
WINPORT_API HBRUSH CreatePatternBrush(HBITMAP bitmap);
WINPORT_API HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);
WINPORT_API HFONT CreateFontIndirectW(const LOGFONTW* lf);
inline HFONT CreateFontIndirect(const LOGFONTW* lf) { return CreateFontIndirectW(lf); }
WINPORT_API HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR face);
inline HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                        DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                        DWORD quality, DWORD pitchAndFamily, LPCWSTR face) {
  return CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                     outPrecision, clipPrecision, quality, pitchAndFamily, face);
}

// Bitmaps: always 32 bits per pixel, 0x00RRGGBB.
WINPORT_API HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
WINPORT_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
WINPORT_API HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section, DWORD offset);
WINPORT_API LONG GetBitmapBits(HBITMAP bitmap, LONG bytes, LPVOID out);
WINPORT_API LONG SetBitmapBits(HBITMAP bitmap, DWORD bytes, const void* in);
WINPORT_API HBITMAP LoadBitmapW(HINSTANCE module, LPCWSTR name);
inline HBITMAP LoadBitmap(HINSTANCE module, LPCWSTR name) { return LoadBitmapW(module, name); }
WINPORT_API HANDLE LoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags);
inline HANDLE LoadImage(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
  return LoadImageW(module, name, type, cx, cy, flags);
}
WINPORT_API HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags);

// Regions.
WINPORT_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
WINPORT_API HRGN CreateRectRgnIndirect(const RECT* rect);
WINPORT_API BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
WINPORT_API int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
WINPORT_API int OffsetRgn(HRGN rgn, int dx, int dy);
WINPORT_API BOOL PtInRegion(HRGN rgn, int x, int y);
WINPORT_API BOOL RectInRegion(HRGN rgn, const RECT* rect);
WINPORT_API BOOL EqualRgn(HRGN a, HRGN b);
WINPORT_API int GetRgnBox(HRGN rgn, LPRECT box);

// DCs and their state.
WINPORT_API HDC CreateCompatibleDC(HDC hdc);
WINPORT_API BOOL DeleteDC(HDC hdc);
WINPORT_API int SaveDC(HDC hdc);
WINPORT_API BOOL RestoreDC(HDC hdc, int saved);
WINPORT_API COLORREF SetBkColor(HDC hdc, COLORREF color);
WINPORT_API COLORREF GetBkColor(HDC hdc);
WINPORT_API int SetBkMode(HDC hdc, int mode);
WINPORT_API int GetBkMode(HDC hdc);
WINPORT_API COLORREF SetTextColor(HDC hdc, COLORREF color);
WINPORT_API COLORREF GetTextColor(HDC hdc);
WINPORT_API UINT SetTextAlign(HDC hdc, UINT align);
WINPORT_API UINT GetTextAlign(HDC hdc);
WINPORT_API BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old);
WINPORT_API BOOL GetViewportOrgEx(HDC hdc, LPPOINT org);
WINPORT_API BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
WINPORT_API BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old);
WINPORT_API BOOL GetWindowOrgEx(HDC hdc, LPPOINT org);
WINPORT_API BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old);
WINPORT_API BOOL GetBrushOrgEx(HDC hdc, LPPOINT org);
WINPORT_API int SetStretchBltMode(HDC hdc, int mode);
WINPORT_API int GetDeviceCaps(HDC hdc, int index);

// Clipping.
WINPORT_API int SelectClipRgn(HDC hdc, HRGN rgn);
WINPORT_API int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode);
WINPORT_API int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
WINPORT_API int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
WINPORT_API int GetClipBox(HDC hdc, LPRECT rect);
WINPORT_API int GetClipRgn(HDC hdc, HRGN rgn);
WINPORT_API BOOL PtVisible(HDC hdc, int x, int y);
WINPORT_API BOOL RectVisible(HDC hdc, const RECT* rect);

// Lines and shapes.
WINPORT_API BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old);
WINPORT_API BOOL LineTo(HDC hdc, int x, int y);
WINPORT_API BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pos);
WINPORT_API BOOL Polyline(HDC hdc, const POINT* pts, int count);
WINPORT_API BOOL Polygon(HDC hdc, const POINT* pts, int count);
WINPORT_API BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
WINPORT_API BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
WINPORT_API BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
WINPORT_API int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
WINPORT_API int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
WINPORT_API BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush);
WINPORT_API BOOL PaintRgn(HDC hdc, HRGN rgn);
WINPORT_API BOOL InvertRect(HDC hdc, const RECT* rect);
WINPORT_API BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags);
WINPORT_API COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
WINPORT_API BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);
WINPORT_API COLORREF GetPixel(HDC hdc, int x, int y);

// Blits.
WINPORT_API BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop);
WINPORT_API BOOL BitBlt(HDC hdc, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop);
WINPORT_API BOOL StretchBlt(HDC hdc, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop);
WINPORT_API BOOL TransparentBlt(HDC hdc, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                    UINT transparent);
WINPORT_API BOOL AlphaBlend(HDC hdc, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                BLENDFUNCTION blend);
WINPORT_API BOOL GradientFill(HDC hdc, TRIVERTEX* vertices, ULONG nVertices, PVOID mesh, ULONG nMesh, ULONG mode);
WINPORT_API int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage);
WINPORT_API int StretchDIBits(HDC hdc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop);

// Text.
WINPORT_API BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT* dx);
inline BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                       const INT* dx) {
  return ExtTextOutW(hdc, x, y, options, rect, text, count, dx);
}
WINPORT_API BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count);
inline BOOL TextOut(HDC hdc, int x, int y, LPCWSTR text, int count) { return TextOutW(hdc, x, y, text, count); }
WINPORT_API int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format);
inline int DrawText(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  return DrawTextW(hdc, text, count, rect, format);
}
WINPORT_API BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* tm);
inline BOOL GetTextMetrics(HDC hdc, TEXTMETRICW* tm) { return GetTextMetricsW(hdc, tm); }
WINPORT_API BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size);
inline BOOL GetTextExtentPoint32(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
  return GetTextExtentPoint32W(hdc, text, count, size);
}
