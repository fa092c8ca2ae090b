// The framework's exceptions, raised only by its containers on an index out of range.
#pragma once

class CException {
 public:
  virtual ~CException() = default;
  void Delete() {}
};
class CInvalidArgException : public CException {};
class CMemoryException : public CException {};

[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowMemoryException();
