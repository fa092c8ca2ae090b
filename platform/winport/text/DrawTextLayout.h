// Pure layout of DrawText: where each line of text goes for a rectangle and format, measured
// with a Font. CDC::DrawText draws what this returns; DT_CALCRECT returns its rectangle.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "winport/text/Font.h"

namespace winport {

struct DrawTextLine {
  std::wstring text;  // after ellipsis and prefix processing
  int x = 0;          // text cell origin (what TextOut is given)
  int y = 0;
};

struct DrawTextResult {
  std::vector<DrawTextLine> lines;
  RECT calcRect{};  // the rectangle DT_CALCRECT reports
  int height = 0;   // DrawText's return value
  bool clip = true; // false with DT_NOCLIP
};

WINPORT_API DrawTextResult LayoutDrawText(const Font& font, std::wstring_view text, const RECT& rect, UINT format);

}  // namespace winport
