// The process-wide FreeType library, fontconfig matching and the cache of opened faces.
// Internal to the text area: Font is the only client. Every member must be called with
// Mutex() held; FreeType objects are not thread-safe and the caches are shared.
#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace winport::textdetail {

// What a LOGFONTW asks of fontconfig, already in fontconfig's terms.
struct FaceRequest {
  std::vector<std::string> families;  // most wanted first (UTF-8)
  int weight = 400;                   // OpenType weight, 100..1000
  bool italic = false;
  std::string lang;                   // "" or a fontconfig language ("zh-cn")

  std::string Key() const;
};

// A font file fontconfig found. weight / italic tell whether the file itself is bold or
// slanted, so that the caller can synthesise what is missing.
struct FaceFile {
  std::string path;
  int index = 0;
  int weight = 400;  // OpenType weight of the file
  bool italic = false;
  std::string family;
};

class FontLibrary {
 public:
  // Never destroyed: fonts held by static objects may outlive any exit-time teardown.
  static FontLibrary& Get();

  std::recursive_mutex& Mutex() { return mutex_; }

  // The best installed file for the request; nullopt only when fontconfig has no font at all.
  std::optional<FaceFile> Match(const FaceRequest& request);
  // A file of the request's fallback list (best first) that has the character, if any.
  std::optional<FaceFile> FallbackFor(const FaceRequest& request, char32_t ch);
  // Opened once per file and index; null when FreeType refuses the file.
  FT_Face OpenFace(const std::string& path, int index);

  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

 private:
  struct Candidate;
  using CandidateList = std::vector<Candidate>;

  FontLibrary();
  void ReleaseFontconfig();
  const CandidateList& Candidates(const FaceRequest& request);

  std::recursive_mutex mutex_;
  FT_Library ft_ = nullptr;
  bool fcReady_ = false;
  std::map<std::pair<std::string, int>, FT_Face> faces_;
  std::map<std::string, std::unique_ptr<CandidateList>> candidates_;
};

}  // namespace winport::textdetail
