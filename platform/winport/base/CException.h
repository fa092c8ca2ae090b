// The framework's exceptions, raised only by its containers on an index out of range.
#pragma once
#include "winport/base/Export.h"

class WINPORT_API CException {
 public:
  virtual ~CException() = default;
  void Delete() {}
};
class WINPORT_API CInvalidArgException : public CException {};
class WINPORT_API CMemoryException : public CException {};

[[noreturn]] WINPORT_API void AfxThrowInvalidArgException();
[[noreturn]] WINPORT_API void AfxThrowMemoryException();
