// Finding files: the search functions and times of the window API and the framework's finder.
// A pattern's last part may hold '*' and '?'; a name without them finds that one file, and a
// name ending in a separator finds nothing (as on the desktop).
#pragma once
#include "winport/base/CString.h"
#include "winport/shell/Path.h"

using ULONGLONG = std::uint64_t;

struct FILETIME {  // 100-nanosecond intervals since 1601-01-01 UTC
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
using LPFILETIME = FILETIME*;

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)))

struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  WCHAR cFileName[MAX_PATH];
  WCHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;

// INVALID_HANDLE_VALUE when nothing matches (or the folder cannot be read).
HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData);
BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData);
BOOL FindClose(HANDLE hFindFile);
BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime);
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);

class CFileFind {
 public:
  CFileFind() = default;
  virtual ~CFileFind() { Close(); }
  CFileFind(const CFileFind&) = delete;
  CFileFind& operator=(const CFileFind&) = delete;

  // Starts a search ("*.*" in the current folder by default); call FindNextFile for each match,
  // the first included. FindNextFile returns FALSE when the match it moved to is the last.
  virtual BOOL FindFile(LPCTSTR pstrName = nullptr, DWORD dwUnused = 0);
  virtual BOOL FindNextFile();
  void Close();

  CString GetFileName() const;
  CString GetFilePath() const;
  CString GetFileTitle() const;
  CString GetRoot() const { return m_strRoot; }
  ULONGLONG GetLength() const;
  BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
  BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
  BOOL IsDots() const;
  BOOL MatchesMask(DWORD dwMask) const;

 private:
  HANDLE m_hContext = nullptr;
  bool m_bHaveNext = false;
  bool m_bHaveFound = false;
  WIN32_FIND_DATAW m_found{};
  WIN32_FIND_DATAW m_next{};
  CString m_strRoot;
};
