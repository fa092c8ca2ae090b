#include "winport/shell/FileFind.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <ctime>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr std::int64_t kUnixEpochIn1601 = 11644473600LL;  // seconds from 1601 to 1970
constexpr std::int64_t kTicksPerSecond = 10000000;

FILETIME ToFileTime(std::int64_t ticks) {
  const auto u = static_cast<std::uint64_t>(ticks);
  return FILETIME{static_cast<DWORD>(u & 0xFFFFFFFFu), static_cast<DWORD>(u >> 32)};
}
std::int64_t Ticks(const FILETIME& ft) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}
// The last second since 1970 whose ticks, with any fraction, still fit a FILETIME's 63 bits.
constexpr std::int64_t kMaxUnixSeconds = INT64_MAX / kTicksPerSecond - kUnixEpochIn1601 - 1;
// What a time outside that range becomes: a FILETIME no conversion accepts, so a file dated
// before 1601 or far past 30000 (tmpfs keeps any 64-bit time) shows no time, not a wrong one.
constexpr std::int64_t kNoTime = -1;

FILETIME FromTimespec(const timespec& ts) {
  const std::int64_t sec = ts.tv_sec;
  if (sec < -kUnixEpochIn1601 || sec > kMaxUnixSeconds) return ToFileTime(kNoTime);
  return ToFileTime((sec + kUnixEpochIn1601) * kTicksPerSecond + ts.tv_nsec / 100);
}

bool Fill(const std::string& nativePath, const std::wstring& name, WIN32_FIND_DATAW& fd) {
  struct stat st {};
  if (::stat(nativePath.c_str(), &st) != 0) return false;
  if (name.size() >= MAX_PATH) return false;  // the record cannot carry it
  fd = WIN32_FIND_DATAW{};
  fd.dwFileAttributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if (!name.empty() && name[0] == L'.' && name != L"." && name != L"..") fd.dwFileAttributes |= FILE_ATTRIBUTE_HIDDEN;
  if (::access(nativePath.c_str(), W_OK) != 0) fd.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
  fd.ftLastWriteTime = FromTimespec(st.st_mtim);
  fd.ftLastAccessTime = FromTimespec(st.st_atim);
  fd.ftCreationTime = FromTimespec(st.st_ctim);
  const auto size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
  fd.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  fd.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
  name.copy(fd.cFileName, name.size());
  fd.cFileName[name.size()] = L'\0';
  return true;
}

struct Search {
  std::vector<WIN32_FIND_DATAW> found;
  std::size_t next = 0;
};

std::vector<WIN32_FIND_DATAW> Collect(const std::wstring& pattern) {
  std::vector<WIN32_FIND_DATAW> out;
  const winport::PathParts parts = winport::SplitPath(pattern);
  const std::wstring name = parts.fname + parts.ext;
  if (name.empty()) return out;
  const std::string folder = winport::NativePath(parts.drive + parts.dir);
  if (!parts.drive.empty()) return out;
  WIN32_FIND_DATAW fd;
  if (name.find_first_of(L"*?") == std::wstring::npos) {
    if (Fill(winport::NativePath(pattern), name, fd)) out.push_back(fd);
    return out;
  }
  // "*.*" means every name, as on the desktop, dots or not.
  const std::string glob = name == L"*.*" ? std::string("*") : CString(name).ToUtf8();
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
  if (!dir) return out;
  while (dirent* e = ::readdir(dir.get())) {
    if (::fnmatch(glob.c_str(), e->d_name, 0) != 0) continue;
    if (Fill(folder + e->d_name, CString::FromUtf8(e->d_name).str(), fd)) out.push_back(fd);
  }
  return out;
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
  if (!lpFileName || !lpFindFileData) return INVALID_HANDLE_VALUE;
  try {
    auto search = std::make_unique<Search>();
    search->found = Collect(lpFileName);
    if (search->found.empty()) return INVALID_HANDLE_VALUE;
    *lpFindFileData = search->found[0];
    search->next = 1;
    return search.release();  // owned by the handle until FindClose
  } catch (const std::bad_alloc&) {
    return INVALID_HANDLE_VALUE;
  }
}

BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
  if (!hFindFile || hFindFile == INVALID_HANDLE_VALUE || !lpFindFileData) return FALSE;
  auto* search = static_cast<Search*>(hFindFile);
  if (search->next >= search->found.size()) return FALSE;
  *lpFindFileData = search->found[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE hFindFile) {
  if (!hFindFile || hFindFile == INVALID_HANDLE_VALUE) return FALSE;
  delete static_cast<Search*>(hFindFile);
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime) {
  if (!lpFileTime || !lpLocalFileTime) return FALSE;
  const std::int64_t ticks = Ticks(*lpFileTime);
  if (ticks < 0) return FALSE;
  const time_t t = static_cast<time_t>(ticks / kTicksPerSecond - kUnixEpochIn1601);
  tm local{};
  if (!localtime_r(&t, &local)) return FALSE;
  // East of UTC the last representable times move past the end of the range.
  std::int64_t shifted = 0;
  if (__builtin_add_overflow(ticks, static_cast<std::int64_t>(local.tm_gmtoff) * kTicksPerSecond, &shifted) ||
      shifted < 0)
    return FALSE;
  *lpLocalFileTime = ToFileTime(shifted);
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime) {
  if (!lpFileTime || !lpSystemTime) return FALSE;
  const std::int64_t ticks = Ticks(*lpFileTime);
  if (ticks < 0) return FALSE;
  const time_t t = static_cast<time_t>(ticks / kTicksPerSecond - kUnixEpochIn1601);
  tm u{};
  if (!gmtime_r(&t, &u)) return FALSE;
  *lpSystemTime = SYSTEMTIME{static_cast<WORD>(u.tm_year + 1900), static_cast<WORD>(u.tm_mon + 1),
                             static_cast<WORD>(u.tm_wday),        static_cast<WORD>(u.tm_mday),
                             static_cast<WORD>(u.tm_hour),        static_cast<WORD>(u.tm_min),
                             static_cast<WORD>(u.tm_sec),         static_cast<WORD>(ticks % kTicksPerSecond / 10000)};
  return TRUE;
}

BOOL CFileFind::FindFile(LPCTSTR pstrName, DWORD) {
  Close();
  CString pattern = pstrName && *pstrName ? CString(pstrName) : CString(L"*.*");
  const winport::PathParts parts = winport::SplitPath(pattern.str());
  m_strRoot = CString(parts.drive + parts.dir);
  if (m_strRoot.IsEmpty()) {
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd)) m_strRoot = CString::FromUtf8(cwd) + L"/";
  }
  HANDLE h = FindFirstFileW(pattern, &m_next);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  m_hContext = h;
  m_bHaveNext = true;
  return TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (!m_bHaveNext) return FALSE;
  m_found = m_next;
  m_bHaveFound = true;
  m_bHaveNext = FindNextFileW(m_hContext, &m_next) != FALSE;
  return m_bHaveNext;
}

void CFileFind::Close() {
  if (m_hContext) FindClose(m_hContext);
  m_hContext = nullptr;
  m_bHaveNext = m_bHaveFound = false;
}

CString CFileFind::GetFileName() const { return m_bHaveFound ? CString(m_found.cFileName) : CString(); }
CString CFileFind::GetFilePath() const { return m_bHaveFound ? m_strRoot + m_found.cFileName : CString(); }
CString CFileFind::GetFileTitle() const {
  return m_bHaveFound ? CString(winport::SplitPath(m_found.cFileName).fname) : CString();
}
ULONGLONG CFileFind::GetLength() const {
  return m_bHaveFound ? (static_cast<ULONGLONG>(m_found.nFileSizeHigh) << 32) | m_found.nFileSizeLow : 0;
}
BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const {
  if (!m_bHaveFound || !pTimeStamp) return FALSE;
  *pTimeStamp = m_found.ftLastWriteTime;
  return TRUE;
}
BOOL CFileFind::IsDots() const {
  return m_bHaveFound && IsDirectory() && (CString(m_found.cFileName) == L"." || CString(m_found.cFileName) == L"..");
}
BOOL CFileFind::MatchesMask(DWORD dwMask) const { return m_bHaveFound && (m_found.dwFileAttributes & dwMask) != 0; }
