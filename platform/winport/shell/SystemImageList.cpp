// The system image lists: icons of the desktop's theme, loaded by name as types ask for them, in
// a small (16 px) and a large (32 px) list with the same indexes.
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "winport/gdi/ImageCodec.h"
#include "winport/gdi/ImageListImpl.h"
#include "winport/res/Resources.h"
#include "winport/shell/ShellInfo.h"

namespace winport {
namespace {

constexpr int kSmall = 16, kLarge = 32;

std::vector<std::string> IconRoots() {
  std::vector<std::string> roots;
  if (const char* home = std::getenv("HOME")) roots.push_back(std::string(home) + "/.icons");
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && *dataHome) roots.push_back(std::string(dataHome) + "/icons");
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) roots.push_back(list.substr(start, end - start) + "/icons");
    start = end + 1;
  }
  return roots;
}

std::vector<std::string> Themes() {
  std::vector<std::string> themes;
  if (const char* t = std::getenv("WINPORT_ICON_THEME"); t && *t) themes.emplace_back(t);
  themes.emplace_back("Adwaita");
  themes.emplace_back("hicolor");
  return themes;
}

// Halves an image by averaging 2 x 2 blocks of straight-alpha pixels weighted by alpha.
Surface Halve(const Surface& s) {
  Surface out(s.Width() / 2, s.Height() / 2);
  for (int y = 0; y < out.Height(); ++y) {
    for (int x = 0; x < out.Width(); ++x) {
      unsigned a = 0, r = 0, g = 0, b = 0;
      for (int k = 0; k < 4; ++k) {
        Pixel p = s.Row(2 * y + k / 2)[2 * x + k % 2];
        unsigned pa = p >> 24;
        a += pa;
        r += ((p >> 16) & 0xFF) * pa;
        g += ((p >> 8) & 0xFF) * pa;
        b += (p & 0xFF) * pa;
      }
      out.Row(y)[x] = a ? ((a / 4) << 24) | ((r / a) << 16) | ((g / a) << 8) | (b / a) : 0;
    }
  }
  return out;
}

// The theme's picture of the icon at exactly `size` (or twice that, halved); nullopt if none.
std::optional<Surface> FindThemeIcon(const std::string& name, int size) {
  static const char* const kContexts[] = {"mimetypes", "places", "devices", "legacy", "apps", "status"};
  for (const std::string& root : IconRoots()) {
    for (const std::string& theme : Themes()) {
      for (int scale : {1, 2}) {
        const std::string dir = root + "/" + theme + "/" + std::to_string(size * scale) + "x" +
                                std::to_string(size * scale) + "/";
        for (const char* ctx : kContexts) {
          std::optional<Surface> img = LoadImageFile(CString::FromUtf8(dir + ctx + "/" + name + ".png"));
          if (!img || img->Width() != size * scale || img->Height() != size * scale) continue;
          return scale == 1 ? std::move(img) : std::optional<Surface>(Halve(*img));
        }
      }
    }
  }
  return std::nullopt;
}

// The built-in pictures, drawn for any size: a page with a folded corner, a folder, a drive.
Surface BuiltInIcon(int which, int size) {
  Surface s(size, size, 0);
  const int u = size / 16;  // one "pixel" of the 16-pixel design
  auto box = [&s, u](int l, int t, int r, int b, Pixel p) {
    for (int y = t * u; y < b * u; ++y)
      for (int x = l * u; x < r * u; ++x) s.Set(x, y, p);
  };
  const Pixel edge = 0xFF606060, white = 0xFFFFFFFF;
  if (which == kIconFolder) {
    box(1, 3, 7, 5, 0xFFC89B3C);
    box(1, 4, 15, 14, 0xFFC89B3C);
    box(2, 6, 14, 13, 0xFFF2C55C);
  } else if (which == kIconDrive) {
    box(1, 5, 15, 12, edge);
    box(2, 6, 14, 11, 0xFFD0D0D0);
    box(11, 8, 13, 10, 0xFF30C040);
  } else {
    box(3, 1, 13, 15, edge);
    box(4, 2, 12, 14, white);
    box(9, 1, 13, 5, 0);
    box(9, 2, 12, 5, edge);
    box(9, 4, 13, 5, edge);
    for (int i = 5; i < 12; i += 2) box(5, i, 11, i + 1, 0xFFB0B0B0);
  }
  return s;
}

class SystemLists {
 public:
  static SystemLists& Get() {
    static SystemLists* lists = new SystemLists;  // the shell's: never destroyed by a caller
    return *lists;
  }
  HIMAGELIST Small() const { return small_; }
  HIMAGELIST Large() const { return large_; }

  int Index(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (auto it = byName_.find(name); it != byName_.end()) return it->second;
    int index = -1;
    std::optional<Surface> s = FindThemeIcon(name, kSmall), l = FindThemeIcon(name, kLarge);
    if (s || l) index = AddPair(s ? *s : Halve(*l), l ? *l : Scale2(*s));
    byName_[name] = index;
    return index;
  }

 private:
  SystemLists() {
    small_ = ImageList_Create(kSmall, kSmall, ILC_COLOR32 | ILC_MASK, 8, 8);
    large_ = ImageList_Create(kLarge, kLarge, ILC_COLOR32 | ILC_MASK, 8, 8);
    // The three everyday pictures come first, from the theme where it has them.
    const char* names[] = {"text-x-generic", "folder", "drive-harddisk"};
    for (int i = 0; i < 3; ++i) {
      std::optional<Surface> s = FindThemeIcon(names[i], kSmall), l = FindThemeIcon(names[i], kLarge);
      AddPair(s ? *s : BuiltInIcon(i, kSmall), l ? *l : BuiltInIcon(i, kLarge));
      byName_[names[i]] = i;
    }
  }
  static Surface Scale2(const Surface& s) {
    Surface out(s.Width() * 2, s.Height() * 2);
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x) out.Row(y)[x] = s.Row(y / 2)[x / 2];
    return out;
  }
  int AddPair(const Surface& s, const Surface& l) {
    int a = detail::ImageListAddArgb(small_, s);
    int b = detail::ImageListAddArgb(large_, l);
    return a >= 0 && a == b ? a : -1;
  }

  std::mutex mutex_;
  HIMAGELIST small_ = nullptr, large_ = nullptr;
  std::map<std::string, int> byName_;
};

}  // namespace

int SystemIconIndex(const char* iconName) { return iconName ? SystemLists::Get().Index(iconName) : -1; }

namespace detail {
HIMAGELIST SystemImageList(bool small) { return small ? SystemLists::Get().Small() : SystemLists::Get().Large(); }
}  // namespace detail

}  // namespace winport
