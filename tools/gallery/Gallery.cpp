#include "tools/gallery/Gallery.h"

#include "tools/scope/FrameSource.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string_view>

namespace gallery {

namespace {
std::vector<PageFactory>& Registry() {
  static std::vector<PageFactory> pages;
  return pages;
}
// Deletes itself with its window, the framework's way for windows nobody else holds.
class CLabel : public CStatic {
 protected:
  void PostNcDestroy() override { delete this; }
};

CFont& LabelFont() {
  static CFont font;
  if (!font.GetSafeHandle()) font.CreatePointFont(80, L"Tahoma");
  return font;
}

}  // namespace

void AddLabel(CWnd* pParent, const RECT& rc, LPCWSTR text) {
  auto label = std::make_unique<CLabel>();
  if (!label->Create(text, WS_CHILD | WS_VISIBLE | SS_LEFT, rc, pParent)) return;
  label->SetFont(&LabelFont(), FALSE);
  label.release();  // owned by its window from here on
}

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
std::string& AudioPath() {
  static std::string path;
  return path;
}
}  // namespace

std::unique_ptr<scopetool::FrameSource>& OpenedVideo() {
  static std::unique_ptr<scopetool::FrameSource> source;
  return source;
}

void SetVideoFile(const std::string& path, std::unique_ptr<scopetool::FrameSource> opened) {
  VideoPath() = path;
  OpenedVideo() = std::move(opened);
}

std::unique_ptr<scopetool::FrameSource> OpenVideo() {
  if (OpenedVideo()) return std::move(OpenedVideo());
  if (VideoPath().empty() || VideoPath() == "-") return nullptr;
  std::string error;
  return scopetool::OpenSource(VideoPath(), "", 0, 0, error);
}

const std::string& VideoFile() { return VideoPath(); }
void SetAudioFile(const std::string& path) { AudioPath() = path; }
const std::string& AudioFile() { return AudioPath(); }

std::string ResourceDir() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return PARVANEU_BIN_TO_RESOURCES;
  return (self.parent_path() / PARVANEU_BIN_TO_RESOURCES).lexically_normal().string();
}

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
