#include "tools/gallery/Gallery.h"

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
std::string& VideoPath() {
  static std::string path;
  return path;
}
}  // namespace

void SetVideoFile(const std::string& path) { VideoPath() = path; }
const std::string& VideoFile() { return VideoPath(); }

}  // namespace gallery
