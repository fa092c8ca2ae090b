// A resolved font: the face fontconfig found for a LOGFONTW at 96 DPI, with per-character
// fallback, its metrics, measurement and rasterisation into coverage masks. The DC blends the
// masks; nothing here knows a DC or a surface.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "winport/text/FontTypes.h"

namespace winport {

// 8-bit coverage of a run of text. (left, top) is where mask pixel (0, 0) lands relative to the
// run's origin, the top-left corner of its text cell (the point TextOut is given).
struct GlyphMask {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // width * height, row-major, 0..255
};

class WINPORT_API Font {
 public:
  virtual ~Font() = default;
  // Never null: an unknown face maps to the best installed match, else the default face.
  static std::shared_ptr<const Font> Create(const LOGFONTW& lf);
  // The face a stock object / a DC without a font selected uses ("System" at 96 DPI).
  static std::shared_ptr<const Font> Default();

  virtual const LOGFONTW& LogFont() const = 0;
  virtual const TEXTMETRICW& Metrics() const = 0;
  // cx = sum of advances, cy = tmHeight. Empty text gives (0, tmHeight).
  virtual SIZE Measure(std::wstring_view text) const = 0;
  // Advance of each character (prefix positions come from the caller's running sum).
  virtual int Advance(wchar_t ch) const = 0;
  virtual GlyphMask Render(std::wstring_view text) const = 0;
  // The installed family the face resolved to ("DejaVu Sans"); empty when none was found.
  virtual std::wstring FamilyName() const { return {}; }
  // Whether the resolved faces (with fallback) have a glyph for the character.
  virtual bool HasGlyph(wchar_t ch) const { return ch != L'\0'; }
};

}  // namespace winport
