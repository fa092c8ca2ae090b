// Shell information about one file path: its parts, type, display name, icon, size and time,
// existence; and the shell's folder picker.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

class PARVANEU_API CSHFileInfo {
 public:
  CSHFileInfo(const wchar_t* lpszFileName = nullptr);  // NOLINT(google-explicit-constructor)
  CSHFileInfo(CFileFind* pFoundFile);                   // NOLINT(google-explicit-constructor)
  CSHFileInfo(const CSHFileInfo& other);
  CSHFileInfo& operator=(const CSHFileInfo& other);
  virtual ~CSHFileInfo();

  CString GetFileName();     // title and extension
  CString GetRoot();         // drive and folder
  CString GetFileTitle();
  CString GetDescription();  // the shell's type name
  CString GetDisplayName();
  int GetIconIndex();        // small icon in the system image list
  // Size grouped by thousands ("1,234,567") and last-write local time ("MM/DD/YYYY hh:mm"),
  // from the finder; empty for an object made from a path.
  CString GetFileSize();
  CString GetLastWriteTime();
  bool Exist();
  // Attaches the shell's small and large system lists, which stay the shell's: detach them
  // before the image list objects go.
  void GetSystemImageList(CImageList* pSmallList, CImageList* pLargeList);
  // The folder picker owned by pParent; the choice lands in m_strSelectedFolder.
  BOOL BrowseForFolder(CWnd* pParent);

  int m_nImageIndex;            // system image index of the chosen folder
  CString m_strSelectedFolder;  // output of BrowseForFolder

 protected:
  static int CALLBACK BrowseCallbackProc(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
  void SplitPath();

  CString m_strBrowseRoot;         // picker rooted here when not empty
  CString m_strInitialSelection;   // picker starts here when not empty
  CString m_strBrowseTitle;
  CFileFind* m_pFoundFile;         // not owned
  CString m_strFullPath;
  // The path's parts, sized from the path.
  CString m_strDrive;
  CString m_strDir;
  CString m_strFileTitle;
  CString m_strExt;
};
