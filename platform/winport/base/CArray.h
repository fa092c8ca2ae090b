// The framework's growable array. Out-of-range indexes raise CInvalidArgException, as the
// framework's containers do.
#pragma once
#include <algorithm>
#include <utility>
#include <vector>

#include "winport/base/CException.h"
#include "winport/base/CString.h"
#include "winport/base/types.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
 public:
  CArray() = default;
  virtual ~CArray() = default;
  CArray(const CArray&) = default;
  CArray& operator=(const CArray&) = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(v_.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return v_.empty(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  void SetSize(INT_PTR n, INT_PTR growBy = -1) {
    (void)growBy;
    if (n < 0) AfxThrowInvalidArgException();
    v_.resize(static_cast<std::size_t>(n));
  }
  void FreeExtra() { v_.shrink_to_fit(); }
  void RemoveAll() { v_.clear(); }

  const TYPE& GetAt(INT_PTR i) const { Check(i); return v_[static_cast<std::size_t>(i)]; }
  TYPE& GetAt(INT_PTR i) { Check(i); return v_[static_cast<std::size_t>(i)]; }
  void SetAt(INT_PTR i, ARG_TYPE e) { Check(i); v_[static_cast<std::size_t>(i)] = e; }
  TYPE& ElementAt(INT_PTR i) { Check(i); return v_[static_cast<std::size_t>(i)]; }
  const TYPE& ElementAt(INT_PTR i) const { Check(i); return v_[static_cast<std::size_t>(i)]; }
  TYPE& operator[](INT_PTR i) { return ElementAt(i); }
  const TYPE& operator[](INT_PTR i) const { return GetAt(i); }
  const TYPE* GetData() const { return v_.data(); }
  TYPE* GetData() { return v_.data(); }

  void SetAtGrow(INT_PTR i, ARG_TYPE e) {
    if (i < 0) AfxThrowInvalidArgException();
    if (i >= GetSize()) v_.resize(static_cast<std::size_t>(i) + 1);
    v_[static_cast<std::size_t>(i)] = e;
  }
  INT_PTR Add(ARG_TYPE e) {
    v_.push_back(e);
    return GetSize() - 1;
  }
  INT_PTR Append(const CArray& src) {
    const INT_PTR old = GetSize();
    v_.insert(v_.end(), src.v_.begin(), src.v_.end());
    return old;
  }
  void Copy(const CArray& src) { v_ = src.v_; }
  void InsertAt(INT_PTR i, ARG_TYPE e, INT_PTR count = 1) {
    if (i < 0 || count < 0) AfxThrowInvalidArgException();
    if (i > GetSize()) v_.resize(static_cast<std::size_t>(i));
    v_.insert(v_.begin() + i, static_cast<std::size_t>(count), e);
  }
  void RemoveAt(INT_PTR i, INT_PTR count = 1) {
    if (i < 0 || count < 0 || i + count > GetSize()) AfxThrowInvalidArgException();
    v_.erase(v_.begin() + i, v_.begin() + i + count);
  }

 private:
  void Check(INT_PTR i) const {
    if (i < 0 || i >= GetSize()) AfxThrowInvalidArgException();
  }
  std::vector<TYPE> v_;
};

class WINPORT_API CStringArray : public CArray<CString, LPCWSTR> {};
