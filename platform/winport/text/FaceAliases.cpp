#include "winport/text/detail/FaceAliases.h"

#include <array>
#include <cwctype>
#include <string_view>

#include "winport/base/CString.h"

namespace winport::textdetail {
namespace {

struct Alias {
  std::wstring_view face;  // upper case
  const char* family;
  const char* lang;
};

constexpr const char* kCjkFamily = "WenQuanYi Zen Hei";

// Tahoma is narrower than Verdana-like faces; the condensed DejaVu is its closest installed cut.
constexpr std::array kAliases{
    Alias{L"TAHOMA", "DejaVu Sans Condensed", ""},
    Alias{L"MS SHELL DLG 2", "DejaVu Sans Condensed", ""},
    Alias{L"SEGOE UI", "DejaVu Sans Condensed", ""},
    Alias{L"MS SHELL DLG", "Liberation Sans", ""},
    Alias{L"MS SANS SERIF", "Liberation Sans", ""},
    Alias{L"MICROSOFT SANS SERIF", "Liberation Sans", ""},
    Alias{L"ARIAL", "Liberation Sans", ""},
    Alias{L"HELVETICA", "Liberation Sans", ""},
    Alias{L"SYSTEM", "DejaVu Sans", ""},
    Alias{L"VERDANA", "DejaVu Sans", ""},
    Alias{L"TIMES NEW ROMAN", "Liberation Serif", ""},
    Alias{L"TIMES", "Liberation Serif", ""},
    Alias{L"COURIER NEW", "Liberation Mono", ""},
    Alias{L"COURIER", "Liberation Mono", ""},
    Alias{L"CONSOLAS", "DejaVu Sans Mono", ""},
    Alias{L"LUCIDA CONSOLE", "DejaVu Sans Mono", ""},
    Alias{L"FIXEDSYS", "DejaVu Sans Mono", ""},
    Alias{L"TERMINAL", "DejaVu Sans Mono", ""},
    Alias{L"宋体", kCjkFamily, "zh-cn"},
    Alias{L"新宋体", kCjkFamily, "zh-cn"},
    Alias{L"黑体", kCjkFamily, "zh-cn"},
    Alias{L"楷体", kCjkFamily, "zh-cn"},
    Alias{L"仿宋", kCjkFamily, "zh-cn"},
    Alias{L"微软雅黑", kCjkFamily, "zh-cn"},
    Alias{L"SIMSUN", kCjkFamily, "zh-cn"},
    Alias{L"NSIMSUN", kCjkFamily, "zh-cn"},
    Alias{L"SIMHEI", kCjkFamily, "zh-cn"},
    Alias{L"MICROSOFT YAHEI", kCjkFamily, "zh-cn"},
    Alias{L"新細明體", kCjkFamily, "zh-tw"},
    Alias{L"細明體", kCjkFamily, "zh-tw"},
    Alias{L"微軟正黑體", kCjkFamily, "zh-tw"},
    Alias{L"MINGLIU", kCjkFamily, "zh-tw"},
    Alias{L"PMINGLIU", kCjkFamily, "zh-tw"},
    Alias{L"MICROSOFT JHENGHEI", kCjkFamily, "zh-tw"},
    Alias{L"ＭＳ ゴシック", kCjkFamily, "ja"},
    Alias{L"ＭＳ 明朝", kCjkFamily, "ja"},
    Alias{L"MS GOTHIC", kCjkFamily, "ja"},
    Alias{L"MS MINCHO", kCjkFamily, "ja"},
    Alias{L"MS UI GOTHIC", kCjkFamily, "ja"},
    Alias{L"MEIRYO", kCjkFamily, "ja"},
    Alias{L"굴림", kCjkFamily, "ko"},
    Alias{L"GULIM", kCjkFamily, "ko"},
    Alias{L"BATANG", kCjkFamily, "ko"},
    Alias{L"MALGUN GOTHIC", kCjkFamily, "ko"},
};

constexpr BYTE kShiftJisCharset = 128;
constexpr BYTE kHangulCharset = 129;
constexpr BYTE kBig5Charset = 136;

const char* LangOfCharset(BYTE charset) {
  switch (charset) {
    case GB2312_CHARSET: return "zh-cn";
    case kBig5Charset: return "zh-tw";
    case kShiftJisCharset: return "ja";
    case kHangulCharset: return "ko";
    default: return "";
  }
}

std::wstring FaceOf(const LOGFONTW& lf) {
  std::size_t n = 0;
  while (n < static_cast<std::size_t>(LF_FACESIZE) && lf.lfFaceName[n] != L'\0') ++n;
  std::wstring face(lf.lfFaceName, n);
  // "@Face" asks for vertical writing of Face; horizontal is all we draw.
  if (!face.empty() && face.front() == L'@') face.erase(0, 1);
  while (!face.empty() && face.back() == L' ') face.pop_back();
  return face;
}

const char* GenericFamily(BYTE pitchAndFamily) {
  if ((pitchAndFamily & 0x03) == FIXED_PITCH) return "monospace";
  switch (pitchAndFamily & 0xF0) {
    case FF_ROMAN: return "serif";
    case FF_MODERN: return "monospace";
    default: return "sans-serif";
  }
}

}  // namespace

FaceNameMapping MapFaceName(const LOGFONTW& lf) {
  FaceNameMapping out;
  out.lang = LangOfCharset(lf.lfCharSet);
  const std::wstring face = FaceOf(lf);
  std::wstring upper = face;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  for (const Alias& a : kAliases) {
    if (a.face == upper) {
      out.families.emplace_back(a.family);
      if (out.lang.empty()) out.lang = a.lang;
      break;
    }
  }
  if (!face.empty()) out.families.push_back(CString(face).ToUtf8());
  out.families.emplace_back(GenericFamily(lf.lfPitchAndFamily));
  return out;
}

}  // namespace winport::textdetail
