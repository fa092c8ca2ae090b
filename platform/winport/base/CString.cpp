#include "winport/base/CString.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace {

// The desktop's wide printf reads %s/%c as wide and %S/%C as narrow; glibc reads them the
// other way round unless a length modifier says so.
std::wstring ToCFormat(std::wstring_view fmt) {
  std::wstring out;
  out.reserve(fmt.size() + 8);
  for (std::size_t i = 0; i < fmt.size(); ++i) {
    out += fmt[i];
    if (fmt[i] != L'%') continue;
    if (i + 1 < fmt.size() && fmt[i + 1] == L'%') {
      out += L'%';
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    bool hasLength = false;
    while (j < fmt.size()) {
      const wchar_t c = fmt[j];
      if (std::wcschr(L"-+ #0123456789.*", c)) {
        out += c;
        ++j;
      } else if (std::wcschr(L"hlLqjzt", c)) {
        hasLength = true;
        out += c;
        ++j;
      } else if (c == L'I') {  // I64 / I32 prefixes
        if (fmt.substr(j, 3) == L"I64") { out += L"ll"; j += 3; hasLength = true; }
        else if (fmt.substr(j, 3) == L"I32") { j += 3; }
        else { ++j; }
      } else {
        break;
      }
    }
    if (j < fmt.size()) {
      const wchar_t c = fmt[j];
      if ((c == L's' || c == L'c') && !hasLength) out += L'l';
      if (c == L'S') out += L's';
      else if (c == L'C') out += L'c';
      else out += c;
    }
    i = j;
  }
  return out;
}

}  // namespace

CString CString::FromUtf8(std::string_view s) {
  std::wstring out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp = 0xFFFD;
    int n = 1;
    if (c < 0x80) { cp = c; }
    else if ((c >> 5) == 6 && i + 1 < s.size()) { cp = ((c & 0x1F) << 6) | (s[i + 1] & 0x3F); n = 2; }
    else if ((c >> 4) == 14 && i + 2 < s.size()) {
      cp = ((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F); n = 3;
    } else if ((c >> 3) == 30 && i + 3 < s.size()) {
      cp = ((c & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
      n = 4;
    }
    out += static_cast<wchar_t>(cp);
    i += static_cast<std::size_t>(n);
  }
  return CString(std::move(out));
}

std::string CString::ToUtf8() const {
  std::string out;
  out.reserve(s_.size());
  for (wchar_t wc : s_) {
    auto cp = static_cast<std::uint32_t>(wc);
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

void CString::FormatV(LPCWSTR fmt, va_list args) {
  if (!fmt) {
    s_.clear();
    return;
  }
  const std::wstring cfmt = ToCFormat(fmt);
  std::vector<wchar_t> buf(256);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vswprintf(buf.data(), buf.size(), cfmt.c_str(), copy);
    va_end(copy);
    if (n >= 0 && static_cast<std::size_t>(n) < buf.size()) {
      s_.assign(buf.data(), static_cast<std::size_t>(n));
      return;
    }
    if (buf.size() > (1u << 24)) {  // a malformed format never fits; give up rather than loop
      s_.clear();
      return;
    }
    buf.resize(buf.size() * 4);
  }
}

void CString::Format(LPCWSTR fmt, ...) {
  va_list args;
  va_start(args, fmt);
  FormatV(fmt, args);
  va_end(args);
}

void CString::AppendFormat(LPCWSTR fmt, ...) {
  CString tail;
  va_list args;
  va_start(args, fmt);
  tail.FormatV(fmt, args);
  va_end(args);
  s_ += tail.s_;
}

int CString::Compare(LPCWSTR o) const { return std::wcscmp(s_.c_str(), o ? o : L""); }

int CString::CompareNoCase(LPCWSTR o) const {
  const wchar_t* a = s_.c_str();
  const wchar_t* b = o ? o : L"";
  for (;; ++a, ++b) {
    const auto ca = std::towlower(static_cast<wint_t>(*a));
    const auto cb = std::towlower(static_cast<wint_t>(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (!*a) return 0;
  }
}

CString CString::Left(int n) const { return CString(s_.substr(0, static_cast<std::size_t>(std::clamp(n, 0, GetLength())))); }
CString CString::Right(int n) const {
  n = std::clamp(n, 0, GetLength());
  return CString(s_.substr(static_cast<std::size_t>(GetLength() - n)));
}
CString CString::Mid(int first) const { return Mid(first, GetLength()); }
CString CString::Mid(int first, int n) const {
  first = std::clamp(first, 0, GetLength());
  n = std::clamp(n, 0, GetLength() - first);
  return CString(s_.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(n)));
}
int CString::Find(wchar_t c, int start) const {
  if (start < 0 || start > GetLength()) return -1;
  const auto p = s_.find(c, static_cast<std::size_t>(start));
  return p == std::wstring::npos ? -1 : static_cast<int>(p);
}
int CString::Find(LPCWSTR sub, int start) const {
  if (!sub || start < 0 || start > GetLength()) return -1;
  const auto p = s_.find(sub, static_cast<std::size_t>(start));
  return p == std::wstring::npos ? -1 : static_cast<int>(p);
}
int CString::ReverseFind(wchar_t c) const {
  const auto p = s_.rfind(c);
  return p == std::wstring::npos ? -1 : static_cast<int>(p);
}
int CString::Replace(LPCWSTR from, LPCWSTR to) {
  if (!from || !*from) return 0;
  const std::wstring f(from), t(to ? to : L"");
  int count = 0;
  for (std::size_t p = s_.find(f); p != std::wstring::npos; p = s_.find(f, p + t.size())) {
    s_.replace(p, f.size(), t);
    ++count;
  }
  return count;
}
int CString::Replace(wchar_t from, wchar_t to) {
  int count = 0;
  for (auto& c : s_) {
    if (c == from) { c = to; ++count; }
  }
  return count;
}
int CString::Insert(int index, LPCWSTR s) {
  index = std::clamp(index, 0, GetLength());
  if (s) s_.insert(static_cast<std::size_t>(index), s);
  return GetLength();
}
int CString::Delete(int index, int count) {
  if (index >= 0 && index < GetLength() && count > 0) s_.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
  return GetLength();
}
CString& CString::MakeUpper() {
  for (auto& c : s_) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return *this;
}
CString& CString::MakeLower() {
  for (auto& c : s_) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return *this;
}
CString& CString::TrimLeft() {
  std::size_t i = 0;
  while (i < s_.size() && std::iswspace(static_cast<wint_t>(s_[i]))) ++i;
  s_.erase(0, i);
  return *this;
}
CString& CString::TrimRight() {
  while (!s_.empty() && std::iswspace(static_cast<wint_t>(s_.back()))) s_.pop_back();
  return *this;
}
CString& CString::TrimLeft(wchar_t c) {
  std::size_t i = 0;
  while (i < s_.size() && s_[i] == c) ++i;
  s_.erase(0, i);
  return *this;
}
CString& CString::TrimRight(wchar_t c) {
  while (!s_.empty() && s_.back() == c) s_.pop_back();
  return *this;
}
CString& CString::Trim() { return TrimLeft().TrimRight(); }

LPWSTR CString::GetBuffer(int n) {
  if (n > GetLength()) s_.resize(static_cast<std::size_t>(n));
  return s_.data();
}
LPWSTR CString::GetBufferSetLength(int n) {
  s_.resize(static_cast<std::size_t>(std::max(n, 0)));
  return s_.data();
}
void CString::ReleaseBuffer(int n) {
  if (n < 0) {
    s_.resize(std::wcslen(s_.c_str()));
  } else {
    s_.resize(static_cast<std::size_t>(std::min(n, GetLength())));
  }
}
