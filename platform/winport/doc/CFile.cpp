#include "winport/doc/CFile.h"

#include <unistd.h>

#include <cerrno>

#include "winport/shell/Path.h"

void CFile::Remove(LPCTSTR lpszFileName) {
  const std::string path = lpszFileName ? winport::NativePath(lpszFileName) : std::string();
  if (path.empty()) throw CFileException(CFileException::badPath, -1, lpszFileName);
  if (::unlink(path.c_str()) == 0) return;
  const int err = errno;
  const int cause = err == ENOENT ? CFileException::fileNotFound
                    : (err == EACCES || err == EPERM || err == EISDIR) ? CFileException::accessDenied
                                                                        : CFileException::genericException;
  throw CFileException(cause, err, lpszFileName);
}
