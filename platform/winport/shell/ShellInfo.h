// The shell's file information: type names from the desktop's content types, display names and
// icon indexes into the system image lists (the desktop's icon theme at 16 and 32 pixels, or a
// small built-in set where the theme lacks an icon).
#pragma once
#include "winport/shell/FileFind.h"

struct SHFILEINFOW {
  HICON hIcon;
  int iIcon;
  DWORD dwAttributes;
  WCHAR szDisplayName[MAX_PATH];
  WCHAR szTypeName[80];
};
using SHFILEINFO = SHFILEINFOW;

#define SHGFI_LARGEICON 0x000000000
#define SHGFI_SMALLICON 0x000000001
#define SHGFI_OPENICON 0x000000002
#define SHGFI_USEFILEATTRIBUTES 0x000000010
#define SHGFI_ICON 0x000000100
#define SHGFI_DISPLAYNAME 0x000000200
#define SHGFI_TYPENAME 0x000000400
#define SHGFI_ATTRIBUTES 0x000000800
#define SHGFI_SYSICONINDEX 0x000004000

// With SHGFI_SYSICONINDEX the result is the system image list (small with SHGFI_SMALLICON,
// else large), which belongs to the shell; otherwise nonzero on success. Without
// SHGFI_USEFILEATTRIBUTES the file must exist; with it only the name and dwFileAttributes count.
// A drive root ("C:\") answers as a drive without asking the file system. 0 on failure.
DWORD_PTR SHGetFileInfoW(LPCWSTR pszPath, DWORD dwFileAttributes, SHFILEINFOW* psfi, UINT cbFileInfo, UINT uFlags);
#define SHGetFileInfo SHGetFileInfoW
// The icons SHGFI_ICON hands out are the system list's own: destroying them does nothing.
BOOL DestroyIcon(HICON hIcon);

namespace winport {
// The image index the system lists give an icon of the theme ("folder", "text-x-generic"),
// added to both lists on first use; -1 when neither the theme nor the built-in set has it.
int SystemIconIndex(const char* iconName);
// Indexes of the built-in set, present from the start.
constexpr int kIconFile = 0, kIconFolder = 1, kIconDrive = 2;
}  // namespace winport
