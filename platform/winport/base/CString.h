// The framework's wide string. Format takes the desktop's wide format strings unchanged:
// %s and %c mean wide arguments there, so they are rewritten for the C library (%ls, %lc).
#pragma once
#include <cstdarg>
#include <string>
#include <string_view>

#include "winport/base/types.h"

class WINPORT_API CString {
 public:
  CString() = default;
  CString(LPCWSTR s) : s_(s ? s : L"") {}  // NOLINT(google-explicit-constructor)
  CString(LPCWSTR s, int n) : s_(s && n > 0 ? std::wstring(s, static_cast<std::size_t>(n)) : std::wstring()) {}
  CString(wchar_t ch, int repeat = 1) : s_(repeat > 0 ? static_cast<std::size_t>(repeat) : 0, ch) {}
  CString(std::wstring s) : s_(std::move(s)) {}  // NOLINT(google-explicit-constructor)
  CString(std::wstring_view s) : s_(s) {}        // NOLINT(google-explicit-constructor)
  // UTF-8 text from the edges (file names, the terminal).
  static CString FromUtf8(std::string_view s);
  // String resource nID of the resource chain (winport/doc/StringResources.h); FALSE if missing.
  BOOL LoadString(UINT nID);
  std::string ToUtf8() const;

  int GetLength() const { return static_cast<int>(s_.size()); }
  BOOL IsEmpty() const { return s_.empty(); }
  void Empty() { s_.clear(); }
  operator LPCWSTR() const { return s_.c_str(); }  // NOLINT(google-explicit-constructor)
  LPCWSTR GetString() const { return s_.c_str(); }
  const std::wstring& str() const { return s_; }
  wchar_t GetAt(int i) const { return i >= 0 && i < GetLength() ? s_[static_cast<std::size_t>(i)] : L'\0'; }
  void SetAt(int i, wchar_t c) {
    if (i >= 0 && i < GetLength()) s_[static_cast<std::size_t>(i)] = c;
  }
  wchar_t operator[](int i) const { return GetAt(i); }

  void Format(LPCWSTR fmt, ...);
  void FormatV(LPCWSTR fmt, va_list args);
  void AppendFormat(LPCWSTR fmt, ...);

  CString& operator=(LPCWSTR s) { s_ = s ? s : L""; return *this; }
  CString& operator+=(const CString& o) { s_ += o.s_; return *this; }
  CString& operator+=(LPCWSTR s) { if (s) s_ += s; return *this; }
  CString& operator+=(wchar_t c) { s_ += c; return *this; }
  friend CString operator+(const CString& a, const CString& b) { return CString(a.s_ + b.s_); }
  friend CString operator+(const CString& a, LPCWSTR b) { CString r(a); r += b; return r; }
  friend CString operator+(LPCWSTR a, const CString& b) { CString r(a); r += b; return r; }
  friend CString operator+(const CString& a, wchar_t c) { CString r(a); r += c; return r; }
  friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
  friend bool operator==(const CString& a, LPCWSTR b) { return a.s_ == (b ? b : L""); }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, LPCWSTR b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.s_ < b.s_; }

  int Compare(LPCWSTR o) const;
  int CompareNoCase(LPCWSTR o) const;
  CString Left(int n) const;
  CString Right(int n) const;
  CString Mid(int first) const;
  CString Mid(int first, int n) const;
  int Find(wchar_t c, int start = 0) const;
  int Find(LPCWSTR sub, int start = 0) const;
  int ReverseFind(wchar_t c) const;
  int Replace(LPCWSTR from, LPCWSTR to);
  int Replace(wchar_t from, wchar_t to);
  int Insert(int index, LPCWSTR s);
  int Delete(int index, int count = 1);
  CString& MakeUpper();
  CString& MakeLower();
  CString& Trim();
  CString& TrimLeft();
  CString& TrimRight();
  CString& TrimRight(wchar_t c);
  CString& TrimLeft(wchar_t c);

  // Writable buffer of at least n characters; ReleaseBuffer(-1) takes the length up to the NUL.
  LPWSTR GetBuffer(int n = 0);
  LPWSTR GetBufferSetLength(int n);
  void ReleaseBuffer(int n = -1);

 private:
  std::wstring s_;
};

using CStringW = CString;
