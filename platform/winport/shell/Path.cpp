#include "winport/shell/Path.h"

#include <cwctype>

#include "winport/base/CString.h"

namespace winport {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
bool HasDrive(const std::wstring& p) { return p.size() >= 2 && p[1] == L':' && std::iswalpha(static_cast<wint_t>(p[0])); }

}  // namespace

PathParts SplitPath(const std::wstring& path) {
  PathParts parts;
  std::size_t pos = 0;
  if (HasDrive(path)) {
    parts.drive = path.substr(0, 2);
    pos = 2;
  }
  std::size_t lastSep = std::wstring::npos;
  for (std::size_t i = pos; i < path.size(); ++i)
    if (IsSeparator(path[i])) lastSep = i;
  if (lastSep != std::wstring::npos) {
    parts.dir = path.substr(pos, lastSep + 1 - pos);
    pos = lastSep + 1;
  }
  const std::size_t dot = path.rfind(L'.');
  if (dot != std::wstring::npos && dot >= pos) {
    parts.fname = path.substr(pos, dot - pos);
    parts.ext = path.substr(dot);
  } else {
    parts.fname = path.substr(pos);
  }
  return parts;
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
  while (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
  return path;
}

bool IsDriveRoot(const std::wstring& path) {
  return HasDrive(path) && (path.size() == 2 || (path.size() == 3 && IsSeparator(path[2])));
}

std::string NativePath(const std::wstring& path) {
  if (HasDrive(path)) return {};
  std::wstring p(path);
  for (wchar_t& c : p)
    if (c == L'\\') c = L'/';
  return CString(p).ToUtf8();
}

}  // namespace winport

errno_t _wsplitpath_s(const wchar_t* path, wchar_t* drive, std::size_t driveNumberOfElements, wchar_t* dir,
                      std::size_t dirNumberOfElements, wchar_t* fname, std::size_t nameNumberOfElements,
                      wchar_t* ext, std::size_t extNumberOfElements) {
  struct Out {
    wchar_t* buf;
    std::size_t size;
  } outs[] = {{drive, driveNumberOfElements}, {dir, dirNumberOfElements}, {fname, nameNumberOfElements},
              {ext, extNumberOfElements}};
  auto clearAll = [&outs] {
    for (Out& o : outs)
      if (o.buf && o.size) o.buf[0] = L'\0';
  };
  for (const Out& o : outs) {
    if ((o.buf == nullptr) != (o.size == 0)) {
      clearAll();
      return EINVAL;
    }
  }
  if (!path) {
    clearAll();
    return EINVAL;
  }
  const winport::PathParts p = winport::SplitPath(path);
  const std::wstring* parts[] = {&p.drive, &p.dir, &p.fname, &p.ext};
  for (int i = 0; i < 4; ++i) {
    if (outs[i].buf && parts[i]->size() >= outs[i].size) {
      clearAll();
      return ERANGE;
    }
  }
  for (int i = 0; i < 4; ++i) {
    if (!outs[i].buf) continue;
    parts[i]->copy(outs[i].buf, parts[i]->size());
    outs[i].buf[parts[i]->size()] = L'\0';
  }
  return 0;
}
