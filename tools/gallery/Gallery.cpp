#include "tools/gallery/Gallery.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace gallery {

namespace {
std::vector<PageFactory>& Registry() {
  static std::vector<PageFactory> pages;
  return pages;
}
}  // namespace

bool RegisterPage(PageFactory factory) {
  Registry().push_back(factory);
  return true;
}

const std::vector<PageFactory>& Pages() { return Registry(); }

namespace {
std::string& AudioPath() {
  static std::string path;
  return path;
}
}  // namespace

void SetAudioFile(const std::string& path) { AudioPath() = path; }
const std::string& AudioFile() { return AudioPath(); }

bool ProgramOnPath(const char* name) {
  const char* path = std::getenv("PATH");
  if (!path || !name || !*name) return false;
  std::string_view rest(path);
  while (true) {
    const size_t colon = rest.find(':');
    const std::string_view dir = rest.substr(0, colon);
    const std::filesystem::path full = std::filesystem::path(dir.empty() ? std::string_view(".") : dir) / name;
    if (::access(full.c_str(), X_OK) == 0) return true;
    if (colon == std::string_view::npos) return false;
    rest.remove_prefix(colon + 1);
  }
}

}  // namespace gallery
