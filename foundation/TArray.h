// CTArray: the library's growable array of plain-data elements. Elements move as raw bytes,
// new slots are zero-filled and indexes are not checked, so T must be trivially copyable.
// A size that cannot be reached (past INT_MAX elements, or memory refused) leaves the array as
// it was: growth calls do nothing rather than throw or wrap.
#pragma once
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "winport/base/CArray.h"
#include "winport/base/debug.h"

template <class T>
class CTArray {
  static_assert(std::is_trivially_copyable_v<T>, "CTArray holds plain-data elements only");

 public:
  CTArray() = default;
  ~CTArray() { std::free(m_pData); }
  CTArray(const CTArray& other) { Copy(other); }
  CTArray& operator=(const CTArray& other) {
    if (this != &other) Copy(other);
    return *this;
  }

  int GetSize() const { return m_nSize; }
  int GetUpperBound() const { return m_nSize - 1; }

  void SetSize(int nNewSize, int nGrowBy = -1) {
    if (nGrowBy != -1) m_nGrowBy = nGrowBy;
    Resize(nNewSize);
  }

  void FreeExtra() {
    if (m_nSize == m_nMaxSize) return;
    T* p = nullptr;
    if (m_nSize > 0) {
      p = Allocate(m_nSize);
      if (!p) return;  // keep the spare room rather than lose the elements
      std::memcpy(static_cast<void*>(p), m_pData, Bytes(m_nSize));
    }
    std::free(m_pData);
    m_pData = p;
    m_nMaxSize = m_nSize;
  }
  void RemoveAll() { SetSize(0, -1); }

  const T& GetAt(int i) const { return m_pData[Index(i)]; }
  T& ElementAt(int i) { return m_pData[Index(i)]; }
  T& operator[](int i) { return m_pData[Index(i)]; }
  const T& operator[](int i) const { return m_pData[Index(i)]; }
  const T* GetData() const { return m_pData; }
  T* GetData() { return m_pData; }
  void SetAt(int i, const T& e) { m_pData[Index(i)] = e; }
  void SetAtGrow(int i, const T& e) {
    if (i >= m_nSize && (i == INT_MAX || !Resize(i + 1))) return;
    m_pData[i] = e;
  }
  int Add(const T& e) {
    const int i = m_nSize;
    SetAtGrow(i, e);
    return i;
  }

  int Append(const CTArray& src) {
    const int old = m_nSize;
    if (&src == this) {  // appending to itself: copy first, the storage may move
      CTArray tmp(src);
      return Append(tmp);
    }
    if (!Fits(m_nSize, src.m_nSize) || !Resize(m_nSize + src.m_nSize)) return old;
    if (src.m_nSize > 0) std::memcpy(static_cast<void*>(m_pData + old), src.m_pData, Bytes(src.m_nSize));
    return old;
  }
  int Append(const CArray<T, T&>& src) {
    const int old = m_nSize;
    const int n = static_cast<int>(src.GetSize());
    if (n < 0 || !Fits(m_nSize, n) || !Resize(m_nSize + n)) return old;
    if (n > 0) std::memcpy(static_cast<void*>(m_pData + old), src.GetData(), Bytes(n));
    return old;
  }
  void Copy(const CTArray& src) {
    if (&src == this) return;
    if (!Resize(src.m_nSize)) return;
    if (src.m_nSize > 0) std::memcpy(static_cast<void*>(m_pData), src.m_pData, Bytes(src.m_nSize));
  }
  void Copy(const CArray<T, T&>& src) {
    const int n = static_cast<int>(src.GetSize());
    if (!Resize(n)) return;
    if (n > 0) std::memcpy(static_cast<void*>(m_pData), src.GetData(), Bytes(n));
  }

  void InsertAt(int nIndex, const T& newElement, int nCount = 1) { Insert(nIndex, newElement, nCount); }
  void InsertAt(int nStartIndex, CTArray* pNewArray) {
    if (!pNewArray || pNewArray->GetSize() <= 0) return;
    const CTArray src(*pNewArray);  // the source may be this array
    if (src.GetSize() != pNewArray->GetSize() || !Insert(nStartIndex, src.GetAt(0), src.GetSize())) return;
    std::copy_n(src.GetData(), src.GetSize(), m_pData + nStartIndex);
  }
  void RemoveAt(int nIndex, int nCount = 1) {
    if (nIndex < 0 || nCount <= 0 || nIndex >= m_nSize) return;
    if (nCount > m_nSize - nIndex) nCount = m_nSize - nIndex;
    const int after = m_nSize - (nIndex + nCount);
    if (after > 0) std::memmove(static_cast<void*>(m_pData + nIndex), m_pData + nIndex + nCount, Bytes(after));
    m_nSize -= nCount;
  }
  void Swap(CTArray& o) {
    std::swap(m_pData, o.m_pData);
    std::swap(m_nSize, o.m_nSize);
    std::swap(m_nMaxSize, o.m_nMaxSize);
    std::swap(m_nGrowBy, o.m_nGrowBy);
  }

  // Read-only views of the bookkeeping, for callers that check capacity behaviour.
  int GetMaxSize() const { return m_nMaxSize; }
  int GetGrowBy() const { return m_nGrowBy; }

 private:
  static std::size_t Bytes(int n) { return static_cast<std::size_t>(n) * sizeof(T); }
  static T* Allocate(int n) { return static_cast<T*>(std::malloc(Bytes(n))); }
  static bool Fits(int a, int b) { return b <= INT_MAX - a; }  // a + b of two counts >= 0
  int Index(int i) const {
    WINPORT_CHECK(i >= 0 && i < m_nSize, "callers index within GetSize(): the accessors do not check");
    return i;
  }

  // The size change of SetSize; false (and nothing changed) when the storage cannot be had.
  bool Resize(int nNewSize) {
    if (nNewSize <= 0) {  // a negative size is treated as empty rather than corrupting the array
      std::free(m_pData);
      m_pData = nullptr;
      m_nSize = m_nMaxSize = 0;
      return true;
    }
    if (nNewSize <= m_nMaxSize) {
      if (nNewSize > m_nSize) std::memset(static_cast<void*>(m_pData + m_nSize), 0, Bytes(nNewSize - m_nSize));
      m_nSize = nNewSize;
      return true;
    }
    long long step = m_nGrowBy;
    if (!m_pData) {
      step = 0;
    } else if (step == 0) {
      step = m_nSize / 8;
      if (step < 4) step = 4;
      if (step > 1024) step = 1024;
    }
    const long long wanted = static_cast<long long>(m_nMaxSize) + step;
    int newMax = wanted > nNewSize ? static_cast<int>(wanted < INT_MAX ? wanted : INT_MAX) : nNewSize;
    T* p = Allocate(newMax);
    if (!p && newMax > nNewSize) p = Allocate(newMax = nNewSize);  // the step is only a hint
    if (!p) return false;
    if (m_nSize > 0) std::memcpy(static_cast<void*>(p), m_pData, Bytes(m_nSize));
    std::memset(static_cast<void*>(p + m_nSize), 0, Bytes(nNewSize - m_nSize));
    std::free(m_pData);
    m_pData = p;
    m_nSize = nNewSize;
    m_nMaxSize = newMax;
    return true;
  }

  bool Insert(int nIndex, const T& newElement, int nCount) {
    if (nIndex < 0 || nCount <= 0) return false;
    const T value = newElement;  // the element may live in this array's storage
    if (nIndex >= m_nSize) {
      if (!Fits(nIndex, nCount) || !Resize(nIndex + nCount)) return false;
    } else {
      const int old = m_nSize;
      if (!Fits(m_nSize, nCount) || !Resize(m_nSize + nCount)) return false;
      std::memmove(static_cast<void*>(m_pData + nIndex + nCount), m_pData + nIndex, Bytes(old - nIndex));
      std::memset(static_cast<void*>(m_pData + nIndex), 0, Bytes(nCount));
    }
    std::fill_n(m_pData + nIndex, nCount, value);
    return true;
  }

  T* m_pData = nullptr;
  int m_nSize = 0;
  int m_nMaxSize = 0;
  int m_nGrowBy = 0;
};
