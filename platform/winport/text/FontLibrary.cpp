#include "winport/text/detail/FontLibrary.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>

namespace winport::textdetail {

struct FontLibrary::Candidate {
  FaceFile file;
  FcCharSet* charset = nullptr;  // owned reference
};

namespace {

int FcToOpenTypeWeight(int fcWeight) {
  const int w = FcWeightToOpenType(fcWeight);
  return w > 0 ? w : 400;
}

FcPattern* BuildPattern(const FaceRequest& request) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return nullptr;
  for (const std::string& family : request.families) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(request.weight, 1, 1000)));
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (!request.lang.empty()) {
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(request.lang.c_str()));
  }
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  return pattern;
}

std::optional<FaceFile> FileOf(FcPattern* font) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) return std::nullopt;
  FaceFile out;
  out.path = reinterpret_cast<const char*>(file);
  int index = 0;
  if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
  int weight = FC_WEIGHT_REGULAR;
  if (FcPatternGetInteger(font, FC_WEIGHT, 0, &weight) == FcResultMatch) out.weight = FcToOpenTypeWeight(weight);
  int slant = FC_SLANT_ROMAN;
  if (FcPatternGetInteger(font, FC_SLANT, 0, &slant) == FcResultMatch) out.italic = slant != FC_SLANT_ROMAN;
  FcChar8* family = nullptr;
  if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch && family) {
    out.family = reinterpret_cast<const char*>(family);
  }
  return out;
}

}  // namespace

std::string FaceRequest::Key() const {
  std::string key;
  for (const std::string& f : families) key += f + '\x1f';
  key += std::to_string(weight) + (italic ? "i" : "r") + lang;
  return key;
}

FontLibrary& FontLibrary::Get() {
  static FontLibrary* library = new FontLibrary;  // deliberately never deleted
  return *library;
}

FontLibrary::FontLibrary() {
  if (FT_Init_FreeType(&ft_) != 0) ft_ = nullptr;
  fcReady_ = FcInit() == FcTrue;
  // fontconfig keeps its parsed configuration until FcFini; release it at exit so that leak
  // checkers stay quiet. Faces already open keep working; new matches then find nothing.
  if (fcReady_) std::atexit([] { Get().ReleaseFontconfig(); });
}

void FontLibrary::ReleaseFontconfig() {
  std::lock_guard lock(mutex_);
  for (auto& [key, list] : candidates_) {
    for (Candidate& c : *list) FcCharSetDestroy(c.charset);
  }
  candidates_.clear();
  if (fcReady_) FcFini();
  fcReady_ = false;
}

std::optional<FaceFile> FontLibrary::Match(const FaceRequest& request) {
  if (!fcReady_) return std::nullopt;
  FcPattern* pattern = BuildPattern(request);
  if (!pattern) return std::nullopt;
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!font) return std::nullopt;
  std::optional<FaceFile> out = FileOf(font);
  FcPatternDestroy(font);
  return out;
}

const FontLibrary::CandidateList& FontLibrary::Candidates(const FaceRequest& request) {
  const std::string key = request.Key();
  auto it = candidates_.find(key);
  if (it != candidates_.end()) return *it->second;
  auto list = std::make_unique<CandidateList>();
  if (FcPattern* pattern = fcReady_ ? BuildPattern(request) : nullptr) {
    FcResult result = FcResultNoMatch;
    if (FcFontSet* set = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result)) {
      for (int i = 0; i < set->nfont; ++i) {
        FcCharSet* charset = nullptr;
        std::optional<FaceFile> file = FileOf(set->fonts[i]);
        if (!file || FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &charset) != FcResultMatch) continue;
        list->push_back(Candidate{std::move(*file), FcCharSetCopy(charset)});
      }
      FcFontSetDestroy(set);
    }
    FcPatternDestroy(pattern);
  }
  return *candidates_.emplace(key, std::move(list)).first->second;
}

std::optional<FaceFile> FontLibrary::FallbackFor(const FaceRequest& request, char32_t ch) {
  for (const Candidate& c : Candidates(request)) {
    if (c.charset && FcCharSetHasChar(c.charset, static_cast<FcChar32>(ch))) return c.file;
  }
  return std::nullopt;
}

FT_Face FontLibrary::OpenFace(const std::string& path, int index) {
  if (!ft_) return nullptr;
  const auto key = std::make_pair(path, index);
  auto it = faces_.find(key);
  if (it != faces_.end()) return it->second;
  FT_Face face = nullptr;
  if (FT_New_Face(ft_, path.c_str(), index, &face) != 0) face = nullptr;
  if (face && !FT_IS_SCALABLE(face)) {
    FT_Done_Face(face);
    face = nullptr;
  }
  faces_.emplace(key, face);  // failures are remembered too: the file is not retried
  return face;
}

}  // namespace winport::textdetail
