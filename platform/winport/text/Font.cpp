// FreeType-backed fonts. All FreeType calls and every cache run under the library's mutex.
#include "winport/text/Font.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <map>
#include <unordered_map>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include "winport/base/CString.h"
#include "winport/text/detail/FaceAliases.h"
#include "winport/text/detail/FontLibrary.h"

namespace winport {
namespace {

using textdetail::FaceFile;
using textdetail::FaceRequest;
using textdetail::FontLibrary;

constexpr int kDefaultCellHeight = 16;
constexpr int kMaxPixelHeight = 2048;  // keeps glyph buffers bounded for absurd requests
constexpr std::int64_t kMaxMaskArea = std::int64_t{1} << 26;
// A font whose cached glyph bitmaps grow past this starts its cache afresh.
constexpr std::size_t kGlyphCacheBudget = std::size_t{32} << 20;
// Light hinting (vertical only) for every face: the same look for all fonts and stable output.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;

struct Glyph {
  int advance = 0;
  int left = 0;  // bitmap offset from the pen position
  int top = 0;   // rows above the baseline
  int width = 0;
  int height = 0;
  bool found = true;
  std::vector<std::uint8_t> coverage;
};

// One face used at this font's size, with what has to be synthesised for it.
struct SizedFace {
  FT_Face face = nullptr;
  FT_Size size = nullptr;
  bool embolden = false;
  bool oblique = false;
};

int RoundDiv(std::int64_t a, std::int64_t b) {
  if (b <= 0) return 0;
  return static_cast<int>(a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b));
}

bool IsControl(char32_t ch) { return ch < 0x20 || (ch >= 0x7F && ch < 0xA0); }

class FreeTypeFont final : public Font {
 public:
  explicit FreeTypeFont(const LOGFONTW& lf);
  ~FreeTypeFont() override;

  const LOGFONTW& LogFont() const override { return lf_; }
  const TEXTMETRICW& Metrics() const override { return tm_; }
  SIZE Measure(std::wstring_view text) const override;
  int Advance(wchar_t ch) const override;
  GlyphMask Render(std::wstring_view text) const override;
  std::wstring FamilyName() const override { return family_; }
  bool HasGlyph(wchar_t ch) const override;

 private:
  void Resolve();
  void ComputeMetrics();
  std::optional<SizedFace> SizeFace(const FaceFile& file) const;
  const Glyph& GlyphOf(char32_t ch) const;
  // Called before any glyph reference is taken: a trim invalidates them.
  void TrimCache() const;
  Glyph LoadGlyph(char32_t ch) const;
  int FaceFor(char32_t ch) const;
  void DrawLine(GlyphMask& mask, int x0, int x1, int y, int thickness) const;

  LOGFONTW lf_{};
  TEXTMETRICW tm_{};
  std::wstring family_;
  FaceRequest request_;
  int em_ = 0;      // character height in pixels
  int xPpem_ = 0;   // horizontal pixels per em (differs from em_ only with lfWidth)
  int underlineY_ = 0, underlineThickness_ = 1;
  int strikeY_ = 0, strikeThickness_ = 1;
  // Guarded by the library mutex. [0] is the primary face; fallbacks are appended on demand.
  mutable std::vector<SizedFace> faces_;
  mutable std::unordered_map<char32_t, Glyph> glyphs_;
  mutable std::size_t cachedBytes_ = 0;
};

FreeTypeFont::FreeTypeFont(const LOGFONTW& lf) : lf_(lf) {
  lf_.lfFaceName[LF_FACESIZE - 1] = L'\0';
  std::lock_guard lock(FontLibrary::Get().Mutex());
  Resolve();
  ComputeMetrics();
}

FreeTypeFont::~FreeTypeFont() {
  std::lock_guard lock(FontLibrary::Get().Mutex());
  for (SizedFace& f : faces_) {
    if (f.size) FT_Done_Size(f.size);
  }
}

void FreeTypeFont::Resolve() {
  const textdetail::FaceNameMapping mapping = textdetail::MapFaceName(lf_);
  request_.families = mapping.families;
  request_.lang = mapping.lang;
  request_.weight = lf_.lfWeight <= 0 ? FW_NORMAL : std::min<LONG>(lf_.lfWeight, 1000);
  request_.italic = lf_.lfItalic != 0;

  FontLibrary& lib = FontLibrary::Get();
  const std::optional<FaceFile> file = lib.Match(request_);
  if (!file) return;
  family_ = CString::FromUtf8(file->family).str();

  FT_Face face = lib.OpenFace(file->path, file->index);
  if (!face) return;
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const std::int64_t upem = std::max<std::int64_t>(face->units_per_EM, 1);
  std::int64_t winAscent = face->ascender, winDescent = -face->descender;
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    winAscent = os2->usWinAscent;
    winDescent = os2->usWinDescent;
  }
  const std::int64_t cellUnits = std::max<std::int64_t>(winAscent + winDescent, 1);

  // Negative heights are the em height; positive ones the cell (ascent + descent) height.
  std::int64_t requested = lf_.lfHeight == 0 ? kDefaultCellHeight : lf_.lfHeight;
  if (requested < 0) {
    em_ = static_cast<int>(std::clamp<std::int64_t>(-requested, 1, kMaxPixelHeight));
    tm_.tmAscent = RoundDiv(winAscent * em_, upem);
    tm_.tmDescent = RoundDiv(winDescent * em_, upem);
  } else {
    const int cell = static_cast<int>(std::clamp<std::int64_t>(requested, 1, kMaxPixelHeight));
    em_ = std::max(1, RoundDiv(cell * upem, cellUnits));
    tm_.tmAscent = RoundDiv(winAscent * cell, cellUnits);
    tm_.tmDescent = cell - tm_.tmAscent;
  }
  xPpem_ = em_;
  if (lf_.lfWidth > 0 && os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0) {
    const std::int64_t width = std::min<std::int64_t>(lf_.lfWidth, kMaxPixelHeight);
    xPpem_ = std::clamp(RoundDiv(width * upem, os2->xAvgCharWidth), 1, kMaxPixelHeight * 4);
  }

  // Underline and strike-out rows, from the top of the cell.
  underlineThickness_ = std::max(1, RoundDiv(std::int64_t{face->underline_thickness} * em_, upem));
  underlineY_ = tm_.tmAscent - RoundDiv(std::int64_t{face->underline_position} * em_, upem) - underlineThickness_ / 2;
  underlineY_ = std::min(underlineY_, static_cast<int>(tm_.tmAscent + tm_.tmDescent) - underlineThickness_);
  strikeThickness_ = underlineThickness_;
  strikeY_ = tm_.tmAscent - RoundDiv(std::int64_t{em_} * 3, 10);
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    strikeThickness_ = std::max(1, RoundDiv(std::int64_t{os2->yStrikeoutSize} * em_, upem));
    strikeY_ = tm_.tmAscent - RoundDiv(std::int64_t{os2->yStrikeoutPosition} * em_, upem);
  }

  // External leading as the desktop derives it: the line gap not already inside the cell.
  const std::int64_t lineGap = face->height - (face->ascender - face->descender);
  const std::int64_t extra = lineGap - (cellUnits - (face->ascender - face->descender));
  tm_.tmExternalLeading = extra > 0 ? RoundDiv(extra * em_, upem) : 0;
  tm_.tmMaxCharWidth = std::max(1, RoundDiv(std::int64_t{face->max_advance_width} * xPpem_, upem));
  tm_.tmPitchAndFamily = static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE |
                                           (FT_IS_FIXED_WIDTH(face) ? 0 : TMPF_FIXED_PITCH) |
                                           (lf_.lfPitchAndFamily & 0xF0));
  if (std::optional<SizedFace> sized = SizeFace(*file)) faces_.push_back(*sized);
}

std::optional<SizedFace> FreeTypeFont::SizeFace(const FaceFile& file) const {
  FT_Face face = FontLibrary::Get().OpenFace(file.path, file.index);
  if (!face) return std::nullopt;
  SizedFace out;
  out.face = face;
  if (FT_New_Size(face, &out.size) != 0) return std::nullopt;
  FT_Activate_Size(out.size);
  if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(xPpem_), static_cast<FT_UInt>(em_)) != 0) {
    FT_Done_Size(out.size);
    return std::nullopt;
  }
  out.embolden = request_.weight >= FW_SEMIBOLD && file.weight < FW_SEMIBOLD;
  out.oblique = request_.italic && !file.italic;
  return out;
}

void FreeTypeFont::ComputeMetrics() {
  if (em_ == 0) {  // no face at all: plausible metrics so that layout still works
    const std::int64_t requested = lf_.lfHeight == 0 ? kDefaultCellHeight : lf_.lfHeight;
    const int pixels = static_cast<int>(std::clamp<std::int64_t>(requested < 0 ? -requested : requested, 1, kMaxPixelHeight));
    em_ = xPpem_ = requested < 0 ? pixels : std::max(1, RoundDiv(std::int64_t{pixels} * 4, 5));
    tm_.tmAscent = requested < 0 ? RoundDiv(std::int64_t{pixels} * 9, 10) : RoundDiv(std::int64_t{pixels} * 4, 5);
    tm_.tmDescent = requested < 0 ? RoundDiv(std::int64_t{pixels}, 4) : pixels - tm_.tmAscent;
    tm_.tmMaxCharWidth = em_;
    tm_.tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE | TMPF_FIXED_PITCH;
  }
  tm_.tmHeight = tm_.tmAscent + tm_.tmDescent;
  tm_.tmInternalLeading = std::max<LONG>(0, tm_.tmHeight - em_);
  tm_.tmWeight = lf_.lfWeight <= 0 ? FW_NORMAL : lf_.lfWeight;
  tm_.tmItalic = lf_.lfItalic ? 0xFF : 0;
  tm_.tmUnderlined = lf_.lfUnderline ? 0xFF : 0;
  tm_.tmStruckOut = lf_.lfStrikeOut ? 0xFF : 0;
  tm_.tmCharSet = lf_.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf_.lfCharSet;
  tm_.tmOverhang = 0;
  tm_.tmDigitizedAspectX = 96;
  tm_.tmDigitizedAspectY = 96;
  tm_.tmFirstChar = L' ';
  tm_.tmLastChar = static_cast<WCHAR>(0xFFFC);
  tm_.tmDefaultChar = static_cast<WCHAR>(0x1F);
  tm_.tmBreakChar = L' ';
  const int x = GlyphOf(U'x').advance;
  tm_.tmAveCharWidth = x > 0 ? x : std::max(1, em_ / 2);
  tm_.tmMaxCharWidth = std::max(tm_.tmMaxCharWidth, tm_.tmAveCharWidth);
}

int FreeTypeFont::FaceFor(char32_t ch) const {
  for (std::size_t i = 0; i < faces_.size(); ++i) {
    if (FT_Get_Char_Index(faces_[i].face, ch) != 0) return static_cast<int>(i);
  }
  if (faces_.empty()) return -1;
  std::optional<FaceFile> file = FontLibrary::Get().FallbackFor(request_, ch);
  if (!file) return -1;
  for (std::size_t i = 0; i < faces_.size(); ++i) {  // the list may name a face we already use
    if (faces_[i].face == FontLibrary::Get().OpenFace(file->path, file->index)) return -1;
  }
  std::optional<SizedFace> sized = SizeFace(*file);
  if (!sized || FT_Get_Char_Index(sized->face, ch) == 0) {
    if (sized) FT_Done_Size(sized->size);
    return -1;
  }
  faces_.push_back(*sized);
  return static_cast<int>(faces_.size() - 1);
}

Glyph FreeTypeFont::LoadGlyph(char32_t ch) const {
  Glyph g;
  if (IsControl(ch)) return g;
  int faceIndex = FaceFor(ch);
  g.found = faceIndex >= 0;
  if (faceIndex < 0) {
    if (faces_.empty()) {
      g.advance = std::max(1, em_ / 2);
      return g;
    }
    faceIndex = 0;  // the primary face's missing-glyph box
  }
  const SizedFace& sf = faces_[static_cast<std::size_t>(faceIndex)];
  FT_Activate_Size(sf.size);
  const FT_UInt index = g.found ? FT_Get_Char_Index(sf.face, ch) : 0;
  if (FT_Load_Glyph(sf.face, index, kLoadFlags) != 0) return g;
  FT_GlyphSlot slot = sf.face->glyph;
  if (sf.oblique) FT_GlyphSlot_Oblique(slot);
  if (sf.embolden) FT_GlyphSlot_Embolden(slot);
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
  const FT_Bitmap& bm = slot->bitmap;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0) return g;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = static_cast<int>(bm.width);
  g.height = static_cast<int>(bm.rows);
  g.coverage.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height));
  for (int y = 0; y < g.height; ++y) {
    const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
    std::memcpy(&g.coverage[static_cast<std::size_t>(y) * g.width], src, static_cast<std::size_t>(g.width));
  }
  return g;
}

const Glyph& FreeTypeFont::GlyphOf(char32_t ch) const {
  auto it = glyphs_.find(ch);
  if (it != glyphs_.end()) return it->second;
  const Glyph& g = glyphs_.emplace(ch, LoadGlyph(ch)).first->second;
  cachedBytes_ += g.coverage.size() + sizeof(Glyph);
  return g;
}

void FreeTypeFont::TrimCache() const {
  if (cachedBytes_ <= kGlyphCacheBudget) return;
  glyphs_.clear();
  cachedBytes_ = 0;
}

int FreeTypeFont::Advance(wchar_t ch) const {
  std::lock_guard lock(FontLibrary::Get().Mutex());
  TrimCache();
  return GlyphOf(static_cast<char32_t>(ch)).advance;
}

bool FreeTypeFont::HasGlyph(wchar_t ch) const {
  std::lock_guard lock(FontLibrary::Get().Mutex());
  TrimCache();
  return GlyphOf(static_cast<char32_t>(ch)).found;
}

SIZE FreeTypeFont::Measure(std::wstring_view text) const {
  std::lock_guard lock(FontLibrary::Get().Mutex());
  TrimCache();
  std::int64_t cx = 0;
  for (wchar_t ch : text) cx += GlyphOf(static_cast<char32_t>(ch)).advance;
  return SIZE{static_cast<LONG>(std::min<std::int64_t>(cx, INT32_MAX)), tm_.tmHeight};
}

void FreeTypeFont::DrawLine(GlyphMask& mask, int x0, int x1, int y, int thickness) const {
  for (int row = y; row < y + thickness; ++row) {
    const int my = row - mask.top;
    if (my < 0 || my >= mask.height) continue;
    for (int x = x0; x < x1; ++x) {
      const int mx = x - mask.left;
      if (mx >= 0 && mx < mask.width) mask.coverage[static_cast<std::size_t>(my) * mask.width + mx] = 255;
    }
  }
}

GlyphMask FreeTypeFont::Render(std::wstring_view text) const {
  std::lock_guard lock(FontLibrary::Get().Mutex());
  TrimCache();
  struct Placed {
    const Glyph* glyph;
    int x;
  };
  std::vector<Placed> placed;
  placed.reserve(text.size());
  // Text wider than any surface is cut so that the mask stays bounded.
  const std::int64_t maxPen = kMaxMaskArea / std::max<std::int64_t>(1, 2 * std::int64_t{tm_.tmHeight});
  int pen = 0;
  int minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
  auto extend = [&](int x0, int y0, int x1, int y1) {
    minX = std::min(minX, x0), minY = std::min(minY, y0);
    maxX = std::max(maxX, x1), maxY = std::max(maxY, y1);
  };
  for (wchar_t ch : text) {
    const Glyph& g = GlyphOf(static_cast<char32_t>(ch));
    if (g.width > 0) {
      placed.push_back({&g, pen});
      extend(pen + g.left, tm_.tmAscent - g.top, pen + g.left + g.width, tm_.tmAscent - g.top + g.height);
    }
    pen += g.advance;
    if (pen > maxPen) break;
  }
  const bool lines = (lf_.lfUnderline || lf_.lfStrikeOut) && pen > 0;
  if (lf_.lfUnderline && pen > 0) extend(0, underlineY_, pen, underlineY_ + underlineThickness_);
  if (lf_.lfStrikeOut && pen > 0) extend(0, strikeY_, pen, strikeY_ + strikeThickness_);
  GlyphMask mask;
  if (minX >= maxX || minY >= maxY) return mask;
  mask.left = minX;
  mask.top = minY;
  mask.width = maxX - minX;
  mask.height = maxY - minY;
  mask.coverage.assign(static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height), 0);
  for (const Placed& p : placed) {
    const Glyph& g = *p.glyph;
    const int ox = p.x + g.left - mask.left;
    const int oy = tm_.tmAscent - g.top - mask.top;
    for (int y = 0; y < g.height; ++y) {
      std::uint8_t* dst = &mask.coverage[static_cast<std::size_t>(oy + y) * mask.width + ox];
      const std::uint8_t* src = &g.coverage[static_cast<std::size_t>(y) * g.width];
      for (int x = 0; x < g.width; ++x) dst[x] = std::max(dst[x], src[x]);
    }
  }
  if (lines) {
    if (lf_.lfUnderline) DrawLine(mask, 0, pen, underlineY_, underlineThickness_);
    if (lf_.lfStrikeOut) DrawLine(mask, 0, pen, strikeY_, strikeThickness_);
  }
  return mask;
}

// Fonts are shared per LOGFONTW so that their glyph caches are too.
struct LogFontKey {
  LONG height, width, weight;
  BYTE italic, underline, strikeOut, charSet, pitchAndFamily;
  std::wstring face;  // upper case
  auto operator<=>(const LogFontKey&) const = default;
};

LogFontKey KeyOf(const LOGFONTW& lf) {
  LogFontKey k{lf.lfHeight, lf.lfWidth, lf.lfWeight, static_cast<BYTE>(lf.lfItalic != 0),
               static_cast<BYTE>(lf.lfUnderline != 0), static_cast<BYTE>(lf.lfStrikeOut != 0),
               lf.lfCharSet, lf.lfPitchAndFamily, {}};
  for (int i = 0; i < LF_FACESIZE && lf.lfFaceName[i] != L'\0'; ++i) {
    k.face += static_cast<wchar_t>(std::towupper(static_cast<wint_t>(lf.lfFaceName[i])));
  }
  return k;
}

constexpr std::size_t kFontCacheTrim = 256;

}  // namespace

std::shared_ptr<const Font> Font::Create(const LOGFONTW& lf) {
  static auto* cache = new std::map<LogFontKey, std::shared_ptr<const Font>>;  // never deleted
  std::lock_guard lock(FontLibrary::Get().Mutex());
  const LogFontKey key = KeyOf(lf);
  auto it = cache->find(key);
  if (it != cache->end()) return it->second;
  if (cache->size() >= kFontCacheTrim) {  // drop the fonts nobody holds any more
    std::erase_if(*cache, [](const auto& entry) { return entry.second.use_count() == 1; });
  }
  auto font = std::make_shared<const FreeTypeFont>(lf);
  cache->emplace(key, font);
  return font;
}

std::shared_ptr<const Font> Font::Default() {
  LOGFONTW lf{};
  lf.lfHeight = kDefaultCellHeight;
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = ANSI_CHARSET;
  std::wcscpy(lf.lfFaceName, L"System");
  return Create(lf);
}

}  // namespace winport
