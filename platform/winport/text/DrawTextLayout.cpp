#include "winport/text/DrawTextLayout.h"

#include <algorithm>
#include <cstdint>

namespace winport {
namespace {

constexpr std::wstring_view kEllipsis = L"...";

// Rectangles may come from anywhere; coordinates saturate instead of wrapping.
int Sat(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); }
constexpr int kTabChars = 8;

class Layout {
 public:
  Layout(const Font& font, UINT format)
      : font_(font), format_(format), tm_(font.Metrics()),
        tab_(std::max<int>(1, kTabChars * std::max<LONG>(1, font.Metrics().tmAveCharWidth))) {}

  // Pen position after s, starting at pen (tabs jump to the next stop when expanded).
  std::int64_t Extend(std::int64_t pen, std::wstring_view s) const {
    for (wchar_t ch : s) {
      if (ch == L'\t' && (format_ & DT_EXPANDTABS)) {
        pen = (pen / tab_ + 1) * tab_;
      } else {
        pen += font_.Advance(ch);
      }
    }
    return pen;
  }
  int Width(std::wstring_view s) const { return static_cast<int>(std::min<std::int64_t>(Extend(0, s), INT32_MAX)); }

  std::vector<std::wstring> Wrap(std::wstring_view paragraph, int limit) const;
  std::wstring Ellipsize(std::wstring_view line, int limit) const;
  void Emit(std::wstring_view line, int x, int y, std::vector<DrawTextLine>& out) const;

 private:
  const Font& font_;
  UINT format_;
  TEXTMETRICW tm_;
  int tab_;
};

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

// Greedy breaking at blanks; blanks at a break vanish. A word wider than the limit keeps a line
// of its own rather than being cut (the calculated rectangle then grows to hold it).
std::vector<std::wstring> Layout::Wrap(std::wstring_view p, int limit) const {
  std::vector<std::wstring> lines;
  std::wstring line;
  std::int64_t pen = 0;
  bool hasWord = false;
  std::size_t i = 0;
  while (i < p.size()) {
    std::size_t j = i;
    while (j < p.size() && IsBlank(p[j])) ++j;
    std::size_t k = j;
    while (k < p.size() && !IsBlank(p[k])) ++k;
    const std::wstring_view blanks = p.substr(i, j - i), word = p.substr(j, k - j);
    if (word.empty()) {  // trailing blanks of the paragraph
      line.append(blanks);
      break;
    }
    const std::int64_t withWord = Extend(Extend(pen, blanks), word);
    if (hasWord && withWord > limit) {
      lines.push_back(std::move(line));
      line.assign(word);
      pen = Extend(0, word);
    } else {
      line.append(blanks).append(word);
      pen = withWord;
    }
    hasWord = true;
    i = k;
  }
  lines.push_back(std::move(line));
  return lines;
}

std::wstring Layout::Ellipsize(std::wstring_view line, int limit) const {
  if (Width(line) <= limit) return std::wstring(line);
  const std::int64_t room = static_cast<std::int64_t>(limit) - Width(kEllipsis);
  std::size_t keep = 0;
  std::int64_t pen = 0;
  while (keep < line.size()) {
    const std::int64_t next = Extend(pen, line.substr(keep, 1));
    if (next > room) break;
    pen = next;
    ++keep;
  }
  std::wstring out(line.substr(0, keep));
  out.append(kEllipsis);
  return out;
}

// Expanded tabs cannot be drawn as characters, so a line with tabs becomes one run per cell.
void Layout::Emit(std::wstring_view line, int x, int y, std::vector<DrawTextLine>& out) const {
  if (!(format_ & DT_EXPANDTABS)) {
    out.push_back({std::wstring(line), x, y});
    return;
  }
  std::int64_t pen = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] != L'\t') continue;
    if (i > start) out.push_back({std::wstring(line.substr(start, i - start)), Sat(x + pen), y});
    pen = Extend(pen, line.substr(start, i - start));
    if (i < line.size()) pen = Extend(pen, L"\t");
    start = i + 1;
  }
}

std::wstring StripPrefixes(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'&') {
      out += text[i];
    } else if (i + 1 < text.size()) {
      out += text[++i];  // "&&" gives '&'; "&x" gives 'x' (its underline is not drawn)
    }
  }
  return out;
}

// Lines end at CR, LF or CR LF; a break at the very end opens no further line.
std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\n' && text[i] != L'\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < text.size() || lines.empty()) lines.push_back(text.substr(start));
  return lines;
}

int AlignX(const RECT& rect, UINT format, int width) {
  if (format & DT_CENTER) return Sat((std::int64_t{rect.left} + rect.right - width) / 2);
  if (format & DT_RIGHT) return Sat(std::int64_t{rect.right} - width);
  return rect.left;
}

}  // namespace

DrawTextResult LayoutDrawText(const Font& font, std::wstring_view text, const RECT& rect, UINT format) {
  DrawTextResult result;
  result.clip = !(format & DT_NOCLIP);
  const TEXTMETRICW& tm = font.Metrics();
  const bool single = (format & DT_SINGLELINE) != 0;
  const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  const int limit = Sat(std::int64_t{rect.right} - rect.left);

  if (text.empty()) {
    result.calcRect = RECT{rect.left, rect.top, rect.left, single ? Sat(std::int64_t{rect.top} + tm.tmHeight) : rect.top};
    result.height = tm.tmHeight;
    return result;
  }

  const std::wstring shown = (format & DT_NOPREFIX) ? std::wstring(text) : StripPrefixes(text);
  const Layout layout(font, format);
  std::vector<std::wstring> lines;
  if (single) {
    lines.push_back(shown);
  } else {
    for (std::wstring_view paragraph : SplitLines(shown)) {
      if (format & DT_WORDBREAK) {
        for (std::wstring& l : layout.Wrap(paragraph, limit)) lines.push_back(std::move(l));
      } else {
        lines.emplace_back(paragraph);
      }
    }
  }

  std::int64_t y = rect.top;
  if (single && (format & DT_VCENTER)) {
    // Halves taken separately, as the desktop does: an odd text height in an even box sits low.
    y = rect.top + (std::int64_t{rect.bottom} - rect.top) / 2 - tm.tmHeight / 2;
  } else if (single && (format & DT_BOTTOM)) {
    y = std::int64_t{rect.bottom} - tm.tmHeight;
  }
  const std::int64_t firstY = y;
  int maxWidth = 0;
  for (std::wstring& line : lines) {
    if (format & DT_END_ELLIPSIS) line = layout.Ellipsize(line, limit);
    const int width = layout.Width(line);
    maxWidth = std::max(maxWidth, width);
    layout.Emit(line, AlignX(rect, format, width), Sat(y), result.lines);
    y += lineHeight;
  }

  const int total = Sat(single ? tm.tmHeight : static_cast<std::int64_t>(lines.size()) * lineHeight);
  result.calcRect = RECT{rect.left, rect.top, Sat(std::int64_t{rect.left} + maxWidth), Sat(std::int64_t{rect.top} + total)};
  // With vertical centring or bottom alignment DrawText returns the offset of the text's bottom.
  result.height = single && (format & (DT_VCENTER | DT_BOTTOM)) ? Sat(firstY + tm.tmHeight - rect.top) : total;
  return result;
}

}  // namespace winport
