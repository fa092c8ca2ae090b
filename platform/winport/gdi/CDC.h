// The framework's device context: a thin owner of an HDC whose members forward to the drawing
// functions. Objects selected in come back as the attached object or a temporary wrapper.
#pragma once
#include "winport/base/CString.h"
#include "winport/base/geometry.h"
#include "winport/gdi/CBitmap.h"
#include "winport/gdi/CBrush.h"
#include "winport/gdi/CFont.h"
#include "winport/gdi/CGdiObject.h"
#include "winport/gdi/CPen.h"
#include "winport/gdi/CRgn.h"

class WINPORT_API CDC {
 public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;

  operator HDC() const { return m_hDC; }  // NOLINT(google-explicit-constructor)
  HDC GetSafeHdc() const { return m_hDC; }
  static CDC* FromHandle(HDC hdc);
  BOOL Attach(HDC hdc);
  HDC Detach();
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();
  int SaveDC() { return ::SaveDC(m_hDC); }
  BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
  int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

  // Objects.
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  int SelectObject(CRgn* rgn);
  CGdiObject* SelectObject(CGdiObject* object);
  HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
  CGdiObject* SelectStockObject(int index);
  CPen* GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }
  CBrush* GetCurrentBrush() const {
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
  }
  CFont* GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT))); }
  CBitmap* GetCurrentBitmap() const {
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
  }

  // State.
  COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
  COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
  int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
  int GetBkMode() const { return ::GetBkMode(m_hDC); }
  COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
  COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
  UINT SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
  UINT GetTextAlign() const { return ::GetTextAlign(m_hDC); }
  int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
  int SetMapMode(int mode) { return m_hDC && mode == MM_TEXT ? MM_TEXT : 0; }
  int GetMapMode() const { return m_hDC ? MM_TEXT : 0; }
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
  CPoint OffsetViewportOrg(int dx, int dy);
  CPoint GetViewportOrg() const;
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
  CPoint GetWindowOrg() const;
  CPoint SetBrushOrg(int x, int y);
  CPoint SetBrushOrg(POINT p) { return SetBrushOrg(p.x, p.y); }
  CPoint GetBrushOrg() const;
  void LPtoDP(LPPOINT pts, int count = 1) const;
  void LPtoDP(LPRECT rect) const { LPtoDP(reinterpret_cast<LPPOINT>(rect), 2); }
  void DPtoLP(LPPOINT pts, int count = 1) const;
  void DPtoLP(LPRECT rect) const { DPtoLP(reinterpret_cast<LPPOINT>(rect), 2); }

  // Clipping.
  int SelectClipRgn(CRgn* rgn) { return ::SelectClipRgn(m_hDC, rgn ? static_cast<HRGN>(rgn->m_hObject) : nullptr); }
  int SelectClipRgn(CRgn* rgn, int mode) {
    return ::ExtSelectClipRgn(m_hDC, rgn ? static_cast<HRGN>(rgn->m_hObject) : nullptr, mode);
  }
  int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
  int IntersectClipRect(LPCRECT rc) { return rc ? IntersectClipRect(rc->left, rc->top, rc->right, rc->bottom) : ERROR; }
  int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }
  int ExcludeClipRect(LPCRECT rc) { return rc ? ExcludeClipRect(rc->left, rc->top, rc->right, rc->bottom) : ERROR; }
  int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
  BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
  BOOL PtVisible(POINT p) const { return PtVisible(p.x, p.y); }
  BOOL RectVisible(LPCRECT rect) const { return ::RectVisible(m_hDC, rect); }

  // Lines and shapes.
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  CPoint GetCurrentPosition() const;
  BOOL Polyline(const POINT* pts, int count) { return ::Polyline(m_hDC, pts, count); }
  BOOL Polygon(const POINT* pts, int count) { return ::Polygon(m_hDC, pts, count); }
  BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
  BOOL Rectangle(LPCRECT rc) { return rc ? Rectangle(rc->left, rc->top, rc->right, rc->bottom) : FALSE; }
  BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
  BOOL Ellipse(LPCRECT rc) { return rc ? Ellipse(rc->left, rc->top, rc->right, rc->bottom) : FALSE; }
  BOOL Arc(int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
    return ::Arc(m_hDC, l, t, r, b, x1, y1, x2, y2);
  }
  BOOL Arc(LPCRECT rc, POINT start, POINT end) {
    return rc ? Arc(rc->left, rc->top, rc->right, rc->bottom, start.x, start.y, end.x, end.y) : FALSE;
  }
  void FillRect(LPCRECT rect, CBrush* brush) {
    ::FillRect(m_hDC, rect, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr);
  }
  void FrameRect(LPCRECT rect, CBrush* brush) {
    ::FrameRect(m_hDC, rect, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr);
  }
  BOOL FillRgn(CRgn* rgn, CBrush* brush) {
    return rgn && brush ? ::FillRgn(m_hDC, static_cast<HRGN>(rgn->m_hObject), static_cast<HBRUSH>(brush->m_hObject))
                        : FALSE;
  }
  BOOL PaintRgn(CRgn* rgn) { return rgn ? ::PaintRgn(m_hDC, static_cast<HRGN>(rgn->m_hObject)) : FALSE; }
  // Sets the background colour (and leaves it set) and fills an ordered opaque rectangle.
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
  BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
  void InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }
  COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
  COLORREF SetPixel(POINT p, COLORREF c) { return SetPixel(p.x, p.y, c); }
  BOOL SetPixelV(int x, int y, COLORREF c) { return ::SetPixelV(m_hDC, x, y, c); }
  BOOL SetPixelV(POINT p, COLORREF c) { return SetPixelV(p.x, p.y, c); }
  COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
  COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }

  // Blits.
  BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
  BOOL BitBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xSrc, ySrc, rop);
  }
  BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop) {
    return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xSrc, ySrc, wSrc, hSrc, rop);
  }
  BOOL TransparentBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, int wSrc, int hSrc, UINT key) {
    return ::TransparentBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xSrc, ySrc, wSrc, hSrc, key);
  }
  BOOL AlphaBlend(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, int wSrc, int hSrc, BLENDFUNCTION blend) {
    return ::AlphaBlend(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xSrc, ySrc, wSrc, hSrc, blend);
  }
  BOOL GradientFill(TRIVERTEX* vertices, ULONG nVertices, void* mesh, ULONG nMesh, DWORD mode) {
    return ::GradientFill(m_hDC, vertices, nVertices, mesh, nMesh, mode);
  }
  int SetDIBitsToDevice(int x, int y, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan, UINT lines,
                        const void* bits, const BITMAPINFO* bmi, UINT usage) {
    return ::SetDIBitsToDevice(m_hDC, x, y, w, h, xSrc, ySrc, startScan, lines, bits, bmi, usage);
  }
  int StretchDIBits(int x, int y, int w, int h, int xSrc, int ySrc, int wSrc, int hSrc, const void* bits,
                    const BITMAPINFO* bmi, UINT usage, DWORD rop) {
    return ::StretchDIBits(m_hDC, x, y, w, h, xSrc, ySrc, wSrc, hSrc, bits, bmi, usage, rop);
  }

  // Text.
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCWSTR text, UINT count, LPINT dx) {
    return ::ExtTextOutW(m_hDC, x, y, options, rect, text, count, dx);
  }
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, LPINT dx) {
    return ExtTextOut(x, y, options, rect, text.GetString(), static_cast<UINT>(text.GetLength()), dx);
  }
  BOOL ExtTextOutW(int x, int y, UINT options, LPCRECT rect, LPCWSTR text, UINT count, LPINT dx) {
    return ExtTextOut(x, y, options, rect, text, count, dx);
  }
  BOOL TextOut(int x, int y, LPCWSTR text, int count) { return ::TextOutW(m_hDC, x, y, text, count); }
  BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text.GetString(), text.GetLength()); }
  BOOL TextOutW(int x, int y, LPCWSTR text, int count) { return TextOut(x, y, text, count); }
  int DrawText(LPCWSTR text, int count, LPRECT rect, UINT format) {
    return ::DrawTextW(m_hDC, text, count, rect, format);
  }
  int DrawText(const CString& text, LPRECT rect, UINT format) {
    return DrawText(text.GetString(), text.GetLength(), rect, format);
  }
  int DrawTextW(LPCWSTR text, int count, LPRECT rect, UINT format) { return DrawText(text, count, rect, format); }
  CSize GetTextExtent(LPCWSTR text, int count) const;
  CSize GetTextExtent(const CString& text) const { return GetTextExtent(text.GetString(), text.GetLength()); }
  CSize GetOutputTextExtent(LPCWSTR text, int count) const { return GetTextExtent(text, count); }
  CSize GetOutputTextExtent(const CString& text) const { return GetTextExtent(text); }
  BOOL GetTextExtentPoint32W(LPCWSTR text, int count, LPSIZE size) const {
    return ::GetTextExtentPoint32W(m_hDC, text, count, size);
  }
  BOOL GetTextMetrics(LPTEXTMETRICW tm) const { return ::GetTextMetricsW(m_hDC, tm); }
  BOOL GetOutputTextMetrics(LPTEXTMETRICW tm) const { return GetTextMetrics(tm); }
};
