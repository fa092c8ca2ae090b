// The framework's file object, as far as documents use it: removing a file. Failures raise a
// CFileException (by value, as this framework's exceptions are).
#pragma once
#include "winport/base/CException.h"
#include "winport/base/CString.h"

class CFileException : public CException {
 public:
  enum { none = 0, genericException = 1, fileNotFound = 2, badPath = 3, accessDenied = 5, removeCurrentDir = 12 };
  CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr)
      : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}
  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

class CFile {
 public:
  // Deletes the file; throws CFileException when it cannot.
  static void Remove(LPCTSTR lpszFileName);
};
