// The shell's folder picker and item lists. An item list here holds one file-system path.
#pragma once
#include "winport/com/Com.h"
#include "winport/shell/Path.h"
#include "winport/window/WinDefs.h"

struct SHITEMID {
  USHORT cb;  // size of this item, cb included; 0 ends the list
  BYTE abID[1];
};
struct ITEMIDLIST {
  SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;
using PIDLIST_RELATIVE = ITEMIDLIST*;

using BFFCALLBACK = int (*)(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

struct BROWSEINFOW {
  HWND hwndOwner;
  PCIDLIST_ABSOLUTE pidlRoot;
  LPWSTR pszDisplayName;  // MAX_PATH characters: the chosen folder's display name
  LPCWSTR lpszTitle;
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;
};
using BROWSEINFO = BROWSEINFOW;
using LPBROWSEINFOW = BROWSEINFOW*;
using LPBROWSEINFO = BROWSEINFOW*;

#define BIF_RETURNONLYFSDIRS 0x00000001
#define BIF_DONTGOBELOWDOMAIN 0x00000002
#define BIF_STATUSTEXT 0x00000004
#define BIF_RETURNFSANCESTORS 0x00000008
#define BIF_EDITBOX 0x00000010
#define BIF_NEWDIALOGSTYLE 0x00000040
#define BFFM_INITIALIZED 1
#define BFFM_SELCHANGED 2
#define BFFM_SETSELECTIONW (WM_USER + 103)
#define BFFM_SETSELECTION BFFM_SETSELECTIONW

struct IMalloc : IUnknown {
  virtual void* Alloc(std::size_t cb) = 0;
  virtual void* Realloc(void* pv, std::size_t cb) = 0;
  virtual void Free(void* pv) = 0;
  virtual std::size_t GetSize(void* pv) = 0;
  virtual int DidAlloc(void* pv) = 0;
  virtual void HeapMinimize() = 0;

 protected:
  ~IMalloc() = default;
};
using LPMALLOC = IMalloc*;

struct IBindCtx;
// The desktop folder: only parsing a path into an item list is offered.
struct IShellFolder : IUnknown {
  virtual HRESULT ParseDisplayName(HWND hwnd, IBindCtx* pbc, LPWSTR pszDisplayName, ULONG* pchEaten,
                                   PIDLIST_RELATIVE* ppidl, ULONG* pdwAttributes) = 0;

 protected:
  ~IShellFolder() = default;
};
using LPSHELLFOLDER = IShellFolder*;

// The picker: BFFM_INITIALIZED reaches the callback first (BFFM_SETSELECTIONW to its window
// chooses the starting folder); then the prompt provider asks. Null when cancelled.
PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW lpbi);
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE pidl, LPWSTR pszPath);  // pszPath: MAX_PATH characters
HRESULT SHGetMalloc(IMalloc** ppMalloc);                           // the task allocator
HRESULT SHGetDesktopFolder(IShellFolder** ppshf);
void ILFree(PIDLIST_RELATIVE pidl);
#define SHBrowseForFolder SHBrowseForFolderW
#define SHGetPathFromIDList SHGetPathFromIDListW
