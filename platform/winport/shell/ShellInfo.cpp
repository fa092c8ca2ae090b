// SHGetFileInfoW over GIO's content types.
#include "winport/shell/ShellInfo.h"

#include <gio/gio.h>
#include <sys/stat.h>

#include <algorithm>
#include <cwctype>
#include <iterator>

#include <memory>
#include <string>

namespace winport::detail {
HIMAGELIST SystemImageList(bool small);
}

namespace {

struct GFreeDeleter {
  void operator()(void* p) const { g_free(p); }
};
struct GUnrefDeleter {
  void operator()(void* p) const { g_object_unref(p); }
};
using GString_ = std::unique_ptr<gchar, GFreeDeleter>;

enum class Kind { File, Folder, Drive };

struct Item {
  Kind kind = Kind::File;
  std::string contentType;  // of a file or folder
  std::wstring name;        // last part of the path
  std::wstring ext;
};

// Classifies the path; false when it must exist and does not.
bool Classify(const std::wstring& path, DWORD attributes, UINT flags, Item& item) {
  if (winport::IsDriveRoot(path)) {
    item.kind = Kind::Drive;
    item.name = path.substr(0, 2);
    return true;
  }
  const std::wstring trimmed = winport::WithoutTrailingSeparators(path);
  const winport::PathParts parts = winport::SplitPath(trimmed);
  item.name = parts.fname + parts.ext;
  item.ext = parts.ext;
  const std::string utf8Name = CString(item.name).ToUtf8();
  if (flags & SHGFI_USEFILEATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      item.kind = Kind::Folder;
      item.contentType = "inode/directory";
    } else {
      GString_ type(g_content_type_guess(utf8Name.c_str(), nullptr, 0, nullptr));
      item.contentType = type ? type.get() : "application/octet-stream";
    }
    return true;
  }
  const std::string native = winport::NativePath(path);
  struct stat st {};
  if (native.empty() || ::stat(native.c_str(), &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) {
    item.kind = Kind::Folder;
    item.contentType = "inode/directory";
    return true;
  }
  // The name and the first bytes together, as the desktop's file managers decide.
  std::unique_ptr<GFile, GUnrefDeleter> file(g_file_new_for_path(native.c_str()));
  std::unique_ptr<GFileInfo, GUnrefDeleter> info(
      g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE, G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
  const char* type = info ? g_file_info_get_content_type(info.get()) : nullptr;
  item.contentType = type ? type : "application/octet-stream";
  return true;
}

std::wstring TypeName(const Item& item) {
  if (item.kind == Kind::Drive) return L"Local Disk";
  // Types the desktop knows nothing about are named after their extension, as the shell does.
  if ((item.contentType == "application/octet-stream" || g_content_type_is_unknown(item.contentType.c_str())) &&
      item.ext.size() > 1) {
    std::wstring ext = item.ext.substr(1);
    for (wchar_t& c : ext) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return ext + L" File";
  }
  GString_ desc(g_content_type_get_description(item.contentType.c_str()));
  std::wstring s = desc ? CString::FromUtf8(desc.get()).str() : std::wstring(L"File");
  if (!s.empty()) s[0] = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(s[0])));
  return s;
}

int IconIndex(const Item& item) {
  if (item.kind == Kind::Drive) return winport::kIconDrive;
  if (item.kind == Kind::Folder) return winport::kIconFolder;
  std::unique_ptr<GIcon, GUnrefDeleter> icon(g_content_type_get_icon(item.contentType.c_str()));
  if (icon && G_IS_THEMED_ICON(icon.get())) {
    for (const gchar* const* n = g_themed_icon_get_names(G_THEMED_ICON(icon.get())); n && *n; ++n) {
      int index = winport::SystemIconIndex(*n);
      if (index >= 0) return index;
    }
  }
  return winport::kIconFile;
}

void CopyTruncated(const std::wstring& s, WCHAR* out, std::size_t size) {
  const std::size_t n = std::min(s.size(), size - 1);
  s.copy(out, n);
  out[n] = L'\0';
}

}  // namespace

DWORD_PTR SHGetFileInfoW(LPCWSTR pszPath, DWORD dwFileAttributes, SHFILEINFOW* psfi, UINT cbFileInfo, UINT uFlags) {
  if (!pszPath || !*pszPath) return 0;
  if (psfi && cbFileInfo < sizeof(SHFILEINFOW)) return 0;
  Item item;
  try {
    if (!Classify(pszPath, dwFileAttributes, uFlags, item)) return 0;
    if (psfi) {
      if (uFlags & SHGFI_TYPENAME) CopyTruncated(TypeName(item), psfi->szTypeName, std::size(psfi->szTypeName));
      if (uFlags & SHGFI_DISPLAYNAME) {
        std::wstring shown = item.kind == Kind::Drive ? L"Local Disk (" + item.name + L")" : item.name;
        CopyTruncated(shown, psfi->szDisplayName, std::size(psfi->szDisplayName));
      }
      if (uFlags & SHGFI_ATTRIBUTES) psfi->dwAttributes = item.kind == Kind::File ? 0 : FILE_ATTRIBUTE_DIRECTORY;
      if (uFlags & (SHGFI_SYSICONINDEX | SHGFI_ICON)) psfi->iIcon = IconIndex(item);
      if (uFlags & SHGFI_ICON) psfi->hIcon = reinterpret_cast<HICON>(static_cast<std::uintptr_t>(psfi->iIcon) + 1);
    }
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (uFlags & SHGFI_SYSICONINDEX)
    return reinterpret_cast<DWORD_PTR>(winport::detail::SystemImageList((uFlags & SHGFI_SMALLICON) != 0));
  return 1;
}

BOOL DestroyIcon(HICON) { return TRUE; }
