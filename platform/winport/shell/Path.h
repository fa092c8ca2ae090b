// Paths in the desktop's text form ("C:\dir\clip.avi", "/home/me/clip.avi"): either separator is
// accepted; a drive-letter path keeps its text and names no file of this file system.
#pragma once
#include <string>

#include "winport/base/types.h"

#define MAX_PATH 260
#ifndef EINVAL
#define EINVAL 22
#endif
#ifndef ERANGE
#define ERANGE 34
#endif
using errno_t = int;

// Splits a path into drive ("C:"), folder (with its trailing separator), file title and extension
// (with its dot). A part may be skipped with a null buffer and a size of 0. 0 on success; EINVAL
// for a null path or a null buffer with a size, ERANGE when a part does not fit its buffer; on
// any error every buffer given holds an empty string.
errno_t _wsplitpath_s(const wchar_t* path, wchar_t* drive, std::size_t driveNumberOfElements, wchar_t* dir,
                      std::size_t dirNumberOfElements, wchar_t* fname, std::size_t nameNumberOfElements,
                      wchar_t* ext, std::size_t extNumberOfElements);

namespace winport {

struct PathParts {
  std::wstring drive, dir, fname, ext;
};
// The same split into strings sized from the path.
PathParts SplitPath(const std::wstring& path);
// The path without trailing separators (a lone "/" stays).
std::wstring WithoutTrailingSeparators(std::wstring path);
// True for "X:" optionally followed by one separator.
bool IsDriveRoot(const std::wstring& path);
// The path as this file system spells it (UTF-8, '/' separators); empty for drive-letter paths,
// which name nothing here.
std::string NativePath(const std::wstring& path);

}  // namespace winport
