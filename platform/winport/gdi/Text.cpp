// Text output of a DC: fonts and layout come from the text area; placement, background boxes,
// alignment and clipping are the DC's.
#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <string_view>

#include "winport/base/geometry.h"
#include "winport/gdi/detail/DcAccess.h"
#include "winport/gdi/Gdi32.h"
#include "winport/text/DrawTextLayout.h"
#include "winport/text/Font.h"

using namespace winport;
using winport::gdi::DcPainter;
using winport::gdi::FindDC;

namespace {

std::shared_ptr<const Font> DcFont(const DcState& s) {
  std::shared_ptr<const Font> f = s.fontData ? s.fontData->Resolve() : nullptr;
  return f ? f : Font::Default();
}

RECT Ordered(RECT r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// The run's advance: the caller's advances summed (saturated), or the font's measure.
int RunWidth(const Font& font, std::wstring_view text, const INT* dx) {
  if (!dx) return font.Measure(text).cx;
  std::int64_t width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) width += dx[i];
  return SatCoord(width);
}

// One run of text with its cell's top-left at (left, top); optional per-character advances.
void DrawRun(DcData& dc, const Font& font, int left, int top, std::wstring_view text, const INT* dx, const RECT* clip) {
  const DcState& s = dc.state;
  const TEXTMETRICW& tm = font.Metrics();
  const int width = RunWidth(font, text, dx);
  DcPainter painter(dc);
  if (s.bkMode == OPAQUE) {
    RECT box = SatRect(left, top, std::int64_t{left} + width, std::int64_t{top} + tm.tmHeight);
    if (clip) box = Intersect(box, *clip);
    painter->FillRect(box, ToPixel(s.bkColor));
  }
  const Pixel ink = ToPixel(s.textColor);
  if (!dx) {
    painter->BlendMask(left, top, font.Render(text), ink, clip);
    return;
  }
  int x = left;
  for (std::size_t i = 0; i < text.size(); ++i) {
    painter->BlendMask(x, top, font.Render(text.substr(i, 1)), ink, clip);
    x = SatCoord(std::int64_t{x} + dx[i]);
  }
}

}  // namespace

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT* dx) {
  auto dc = FindDC(hdc);
  if (!dc || (!text && count > 0)) return FALSE;
  RECT clipRect{};
  const RECT* clip = nullptr;
  if (rect) {
    clipRect = Ordered(*rect);
    if (options & ETO_OPAQUE) gdi::FillOpaque(*dc, clipRect);
    if (options & ETO_CLIPPED) clip = &clipRect;
  }
  if (!text || count == 0) return TRUE;
  const std::wstring_view run(text, std::min<std::size_t>(count, 1u << 20));
  const auto font = DcFont(dc->state);
  const TEXTMETRICW& tm = font->Metrics();
  DcState& s = dc->state;
  if (s.textAlign & TA_UPDATECP) {
    x = s.position.x;
    y = s.position.y;
  }
  const std::int64_t width = RunWidth(*font, run, dx);
  std::int64_t left = x;
  switch (s.textAlign & TA_CENTER) {
    case TA_RIGHT: left = x - width; break;
    case TA_CENTER: left = x - width / 2; break;
    default: break;
  }
  std::int64_t top = y;
  if ((s.textAlign & TA_BASELINE) == TA_BASELINE) top = y - std::int64_t{tm.tmAscent};
  else if (s.textAlign & TA_BOTTOM) top = y - std::int64_t{tm.tmHeight};
  DrawRun(*dc, *font, SatCoord(left), SatCoord(top), run, dx, clip);
  if (s.textAlign & TA_UPDATECP) {
    // The current position moves past the text in its reading direction.
    if ((s.textAlign & TA_CENTER) == TA_LEFT) s.position.x = SatCoord(x + width);
    else if ((s.textAlign & TA_CENTER) == TA_RIGHT) s.position.x = SatCoord(x - width);
  }
  return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutW(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  auto dc = FindDC(hdc);
  if (!dc || !text || !rect) return 0;
  const std::size_t n = count < 0 ? std::wcslen(text) : static_cast<std::size_t>(count);
  const auto font = DcFont(dc->state);
  const DrawTextResult layout = LayoutDrawText(*font, std::wstring_view(text, n), *rect, format);
  if (format & DT_CALCRECT) {
    *rect = layout.calcRect;
    return layout.height;
  }
  const RECT clip = *rect;
  const bool clipped = layout.clip && !(format & DT_NOCLIP);
  for (const DrawTextLine& line : layout.lines) {
    DrawRun(*dc, *font, line.x, line.y, line.text, nullptr, clipped ? &clip : nullptr);
  }
  return layout.height;
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* tm) {
  auto dc = FindDC(hdc);
  if (!dc || !tm) return FALSE;
  *tm = DcFont(dc->state)->Metrics();
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
  auto dc = FindDC(hdc);
  if (!dc || !size || count < 0 || (!text && count > 0)) return FALSE;
  const auto font = DcFont(dc->state);
  *size = count == 0 ? SIZE{0, font->Metrics().tmHeight}
                     : font->Measure(std::wstring_view(text, static_cast<std::size_t>(count)));
  return TRUE;
}
