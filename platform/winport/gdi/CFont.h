#pragma once
#include "winport/gdi/CGdiObject.h"

class CDC;

class WINPORT_API CFont : public CGdiObject {
 public:
  static CFont* FromHandle(HFONT h) { return winport::detail::WrapperAs<CFont>(h, OBJ_FONT); }
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT(google-explicit-constructor)

  BOOL CreateFontIndirect(const LOGFONTW* lf) { return Attach(::CreateFontIndirectW(lf)); }
  BOOL CreateFontIndirectW(const LOGFONTW* lf) { return CreateFontIndirect(lf); }
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, LPCWSTR face) {
    return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                                outPrecision, clipPrecision, quality, pitchAndFamily, face));
  }
  BOOL CreateFontW(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                   BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                   BYTE pitchAndFamily, LPCWSTR face) {
    return CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                      outPrecision, clipPrecision, quality, pitchAndFamily, face);
  }
  // Tenths of a point at 96 DPI: 80 is an 8-point font, 11 pixels high.
  BOOL CreatePointFont(int pointSize, LPCWSTR face, CDC* dc = nullptr);
  BOOL CreatePointFontIndirect(const LOGFONTW* lf, CDC* dc = nullptr);
  int GetLogFont(LOGFONTW* lf) const { return ::GetObjectW(m_hObject, sizeof(LOGFONTW), lf); }
};
