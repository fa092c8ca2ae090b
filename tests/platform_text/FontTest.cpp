// Fonts: height rules, face mapping, fallback, measurement and masks.
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <thread>

#include "winport/text/Font.h"

using winport::Font;

namespace {

LOGFONTW MakeLogFont(LONG height, const wchar_t* face, LONG weight = FW_NORMAL) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

int Ink(const winport::GlyphMask& m) {
  int n = 0;
  for (auto c : m.coverage) n += c > 64 ? 1 : 0;
  return n;
}

}  // namespace

TEST(Font, HeightRules) {
  // A point font of 8 points at 96 DPI is an 11-pixel character height.
  auto f = Font::Create(MakeLogFont(-11, L"Tahoma"));
  const TEXTMETRICW& tm = f->Metrics();
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GE(tm.tmHeight, 12);
  EXPECT_LE(tm.tmHeight, 15);
  EXPECT_GE(tm.tmAscent, 9);
  EXPECT_GE(tm.tmDescent, 2);
  EXPECT_GT(tm.tmAveCharWidth, 3);
  EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  EXPECT_EQ(tm.tmWeight, FW_NORMAL);

  // Positive heights are cell heights, exactly.
  for (LONG cell : {8, 13, 16, 20, 37}) {
    for (const wchar_t* face : {L"Arial", L"Times New Roman", L"Courier New", L"宋体"}) {
      auto g = Font::Create(MakeLogFont(cell, face));
      EXPECT_EQ(g->Metrics().tmHeight, cell) << cell;
      EXPECT_LE(g->Metrics().tmHeight - g->Metrics().tmInternalLeading, cell);
    }
  }
  // Zero asks for a default size; absurd sizes are bounded, not fatal.
  EXPECT_GT(Font::Create(MakeLogFont(0, L"Arial"))->Metrics().tmHeight, 8);
  EXPECT_GT(Font::Create(MakeLogFont(INT32_MIN, L"Arial"))->Metrics().tmHeight, 0);
  EXPECT_GT(Font::Create(MakeLogFont(INT32_MAX, L"Arial"))->Metrics().tmHeight, 0);
  // A larger request never gives a smaller font.
  EXPECT_GT(Font::Create(MakeLogFont(-24, L"Arial"))->Metrics().tmHeight,
            Font::Create(MakeLogFont(-12, L"Arial"))->Metrics().tmHeight);
}

TEST(Font, FaceMappingAndStyles) {
  EXPECT_EQ(Font::Create(MakeLogFont(-12, L"Times New Roman"))->FamilyName(), L"Liberation Serif");
  EXPECT_EQ(Font::Create(MakeLogFont(-12, L"Courier New"))->FamilyName(), L"Liberation Mono");
  EXPECT_NE(Font::Create(MakeLogFont(-12, L"Tahoma"))->FamilyName().find(L"DejaVu"), std::wstring::npos);
  EXPECT_NE(Font::Create(MakeLogFont(-12, L"宋体"))->FamilyName().find(L"WenQuanYi"), std::wstring::npos);
  EXPECT_FALSE(Font::Create(MakeLogFont(-12, L"MS Shell Dlg"))->FamilyName().empty());
  // Unknown or empty names still give a usable font.
  for (const wchar_t* face : {L"No Such Face 123", L""}) {
    auto f = Font::Create(MakeLogFont(-12, face));
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(f->FamilyName().empty());
    EXPECT_GT(f->Measure(L"abc").cx, 0);
  }
  auto def = Font::Default();
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(def->Metrics().tmHeight, 16);

  // Bold is heavier and no narrower; the same LOGFONT gives the same shared font.
  auto regular = Font::Create(MakeLogFont(-16, L"Arial"));
  auto bold = Font::Create(MakeLogFont(-16, L"Arial", FW_BOLD));
  EXPECT_EQ(bold->Metrics().tmWeight, FW_BOLD);
  EXPECT_GT(Ink(bold->Render(L"Hello")), Ink(regular->Render(L"Hello")));
  EXPECT_GE(bold->Measure(L"Hello").cx, regular->Measure(L"Hello").cx);
  EXPECT_EQ(Font::Create(MakeLogFont(-16, L"ARIAL")), regular);

  // A width asks for wider (or narrower) characters at the same height.
  LOGFONTW wideLf = MakeLogFont(-16, L"Arial");
  wideLf.lfWidth = 2 * regular->Metrics().tmAveCharWidth;
  auto wide = Font::Create(wideLf);
  EXPECT_GT(wide->Measure(L"Hello").cx, regular->Measure(L"Hello").cx * 3 / 2);
  EXPECT_EQ(wide->Metrics().tmHeight, regular->Metrics().tmHeight);

  LOGFONTW lf = MakeLogFont(-16, L"Arial");
  lf.lfItalic = TRUE;
  lf.lfUnderline = TRUE;
  auto styled = Font::Create(lf);
  EXPECT_NE(styled->Metrics().tmItalic, 0);
  EXPECT_NE(styled->Metrics().tmUnderlined, 0);
  // The underline runs under the whole text, below the baseline.
  const winport::GlyphMask m = styled->Render(L"ab cd");
  const int width = styled->Measure(L"ab cd").cx;
  bool fullRow = false;
  for (int y = 0; y < m.height && !fullRow; ++y) {
    if (m.top + y < styled->Metrics().tmAscent) continue;
    int covered = 0;
    for (int x = 0; x < m.width; ++x) covered += m.coverage[static_cast<size_t>(y) * m.width + x] == 255;
    fullRow = covered >= width;
  }
  EXPECT_TRUE(fullRow);
}

TEST(Font, PerCharacterFallback) {
  auto tahoma = Font::Create(MakeLogFont(-16, L"Tahoma"));
  // CJK in a Latin face and the infinity sign come from faces that have them.
  for (const wchar_t* s : {L"中", L"文", L"∞"}) {
    EXPECT_TRUE(tahoma->HasGlyph(s[0])) << int(s[0]);
    EXPECT_GT(Ink(tahoma->Render(s)), 10) << int(s[0]);
    EXPECT_GT(tahoma->Advance(s[0]), 0);
  }
  const winport::GlyphMask minusInf = tahoma->Render(L"-∞");
  EXPECT_GT(Ink(minusInf), Ink(tahoma->Render(L"-")) + 10);
  // Latin text in a CJK face, and the metrics stay the primary face's.
  auto song = Font::Create(MakeLogFont(-16, L"宋体"));
  EXPECT_GT(Ink(song->Render(L"dB")), 10);
  EXPECT_GT(Ink(song->Render(L"宋体")), 20);
  // A private-use character nobody has: no crash, a box or nothing.
  EXPECT_FALSE(tahoma->HasGlyph(static_cast<wchar_t>(0x10FFFD)));
  EXPECT_GE(tahoma->Advance(static_cast<wchar_t>(0x10FFFD)), 0);
}

TEST(Font, MeasurementAndMasks) {
  auto f = Font::Create(MakeLogFont(-11, L"Tahoma"));
  const std::wstring text = L"-48 dB Ag|∞中";
  int sum = 0;
  for (wchar_t c : text) sum += f->Advance(c);
  EXPECT_EQ(f->Measure(text).cx, sum);
  EXPECT_EQ(f->Measure(text).cy, f->Metrics().tmHeight);
  EXPECT_EQ(f->Measure(L"").cx, 0);
  EXPECT_EQ(f->Measure(L"").cy, f->Metrics().tmHeight);
  EXPECT_GT(f->Measure(L"-110").cx, f->Measure(L"-11").cx);
  EXPECT_GT(f->Measure(L"WWW").cx, f->Measure(L"iii").cx);
  EXPECT_EQ(f->Advance(L'\n'), 0);

  // The mask sits in the text cell: caps reach up near the ascent line, descenders below the
  // baseline, and everything starts close to the origin.
  const TEXTMETRICW& tm = f->Metrics();
  const winport::GlyphMask h = f->Render(L"H");
  ASSERT_GT(h.width, 0);
  EXPECT_GE(h.top, 0);
  EXPECT_LE(h.top, tm.tmInternalLeading + 2);
  EXPECT_EQ(h.top + h.height, tm.tmAscent);
  EXPECT_GE(h.left, 0);
  EXPECT_LE(h.left, 2);
  const winport::GlyphMask g = f->Render(L"g");
  EXPECT_GT(g.top + g.height, tm.tmAscent);
  EXPECT_LE(g.top + g.height, tm.tmHeight);
  EXPECT_EQ(static_cast<int>(h.coverage.size()), h.width * h.height);
  EXPECT_EQ(f->Render(L"").width, 0);
  EXPECT_EQ(f->Render(L"   ").width, 0);
  // Absurd sizes and lengths stay bounded.
  auto huge = Font::Create(MakeLogFont(-100000, L"Arial"));
  EXPECT_LE(huge->Metrics().tmHeight, 3000);
  const winport::GlyphMask wide = huge->Render(std::wstring(3000, L'W'));
  EXPECT_GT(wide.width, 0);
  EXPECT_LE(static_cast<long long>(wide.width) * wide.height, 1LL << 27);
  // Same input, same pixels.
  EXPECT_EQ(f->Render(L"Stable 12"). coverage, f->Render(L"Stable 12").coverage);
}

TEST(Font, ConcurrentUse) {
  std::vector<std::thread> threads;
  std::vector<int> widths(4);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &widths] {
      for (int i = 0; i < 50; ++i) {
        auto f = Font::Create(MakeLogFont(-10 - i % 7, L"Arial"));
        widths[t] += f->Measure(L"Level -∞ 中").cx > 0;
        f->Render(L"0 dB");
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int w : widths) EXPECT_EQ(w, 50);
}
