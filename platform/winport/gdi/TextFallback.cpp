// Stand-ins for the text and resource areas until they land: weak, so the real definitions win.
#include "winport/res/Resources.h"
#include "winport/text/DrawTextLayout.h"
#include "winport/text/Font.h"

namespace winport {
namespace {

class BoxFont final : public Font {
 public:
  BoxFont() {
    lf_.lfHeight = 16;
    tm_.tmHeight = 16;
    tm_.tmAscent = 13;
    tm_.tmDescent = 3;
    tm_.tmAveCharWidth = 8;
    tm_.tmMaxCharWidth = 8;
  }
  const LOGFONTW& LogFont() const override { return lf_; }
  const TEXTMETRICW& Metrics() const override { return tm_; }
  SIZE Measure(std::wstring_view text) const override { return SIZE{static_cast<LONG>(text.size()) * 8, 16}; }
  int Advance(wchar_t) const override { return 8; }
  GlyphMask Render(std::wstring_view text) const override {
    GlyphMask m;
    m.left = 1;
    m.top = 3;
    m.width = static_cast<int>(text.size()) * 8 - 2;
    m.height = 10;
    if (m.width <= 0) return GlyphMask{};
    m.coverage.assign(static_cast<std::size_t>(m.width * m.height), 255);
    return m;
  }

 private:
  LOGFONTW lf_{};
  TEXTMETRICW tm_{};
};

}  // namespace

__attribute__((weak)) std::shared_ptr<const Font> Font::Create(const LOGFONTW&) { return std::make_shared<BoxFont>(); }
__attribute__((weak)) std::shared_ptr<const Font> Font::Default() { return std::make_shared<BoxFont>(); }

__attribute__((weak)) DrawTextResult LayoutDrawText(const Font& font, std::wstring_view text, const RECT& rect,
                                                    UINT format) {
  DrawTextResult r;
  const SIZE s = font.Measure(text);
  int x = rect.left, y = rect.top;
  if (format & DT_CENTER) x = (rect.left + rect.right - s.cx) / 2;
  else if (format & DT_RIGHT) x = rect.right - s.cx;
  if (format & DT_VCENTER) y = (rect.top + rect.bottom - s.cy) / 2;
  else if (format & DT_BOTTOM) y = rect.bottom - s.cy;
  r.lines.push_back(DrawTextLine{std::wstring(text), x, y});
  r.calcRect = RECT{rect.left, rect.top, rect.left + s.cx, rect.top + s.cy};
  r.height = s.cy;
  r.clip = !(format & DT_NOCLIP);
  return r;
}

__attribute__((weak)) std::span<const std::uint8_t> FindResourceBytes(LPCWSTR, LPCWSTR, HINSTANCE, HINSTANCE*) {
  return {};
}
__attribute__((weak)) std::optional<Surface> DecodeImage(std::span<const std::uint8_t>) { return std::nullopt; }
__attribute__((weak)) std::optional<Surface> LoadImageFile(LPCWSTR) { return std::nullopt; }

}  // namespace winport

__attribute__((weak)) HINSTANCE AfxFindResourceHandle(LPCWSTR, LPCWSTR) { return nullptr; }
