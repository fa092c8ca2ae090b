#include "shell/SHFileInfo.h"

#include <algorithm>

namespace {

// Digits of n grouped by thousands with ",".
CString GroupThousands(ULONGLONG n) {
  CString digits;
  digits.Format(L"%llu", n);
  std::wstring out;
  const std::wstring& d = digits.str();
  for (std::size_t i = 0; i < d.size(); ++i) {
    out += d[d.size() - 1 - i];
    if (i % 3 == 2 && i + 1 < d.size()) out += L',';
  }
  std::reverse(out.begin(), out.end());
  return CString(out);
}

}  // namespace

CSHFileInfo::CSHFileInfo(const wchar_t* lpszFileName)
    : m_nImageIndex(0), m_pFoundFile(nullptr), m_strFullPath(lpszFileName) {
  SplitPath();
}

CSHFileInfo::CSHFileInfo(CFileFind* pFoundFile) : m_nImageIndex(0), m_pFoundFile(pFoundFile) {
  if (pFoundFile) m_strFullPath = pFoundFile->GetFilePath();
  SplitPath();
}

CSHFileInfo::CSHFileInfo(const CSHFileInfo& other) = default;
CSHFileInfo& CSHFileInfo::operator=(const CSHFileInfo& other) = default;
CSHFileInfo::~CSHFileInfo() = default;

void CSHFileInfo::SplitPath() {
  // Buffers as long as the path itself, so no part of a long name is cut off.
  const std::size_t n = static_cast<std::size_t>(m_strFullPath.GetLength()) + 1;
  std::wstring drive(n, L'\0'), dir(n, L'\0'), title(n, L'\0'), ext(n, L'\0');
  if (_wsplitpath_s(m_strFullPath, drive.data(), n, dir.data(), n, title.data(), n, ext.data(), n) != 0) return;
  m_strDrive = drive.c_str();
  m_strDir = dir.c_str();
  m_strFileTitle = title.c_str();
  m_strExt = ext.c_str();
}

CString CSHFileInfo::GetFileName() {
  CString s;
  s.Format(L"%s%s", m_strFileTitle.GetString(), m_strExt.GetString());
  return s;
}

CString CSHFileInfo::GetRoot() {
  CString s;
  s.Format(L"%s%s", m_strDrive.GetString(), m_strDir.GetString());
  return s;
}

CString CSHFileInfo::GetFileTitle() { return m_strFileTitle; }

CString CSHFileInfo::GetDescription() {
  SHFILEINFO sfi{};
  ::SHGetFileInfo(m_strFullPath, 0, &sfi, sizeof(SHFILEINFO), SHGFI_TYPENAME);
  return CString(sfi.szTypeName);
}

CString CSHFileInfo::GetDisplayName() {
  SHFILEINFO sfi{};
  ::SHGetFileInfo(m_strFullPath, 0, &sfi, sizeof(SHFILEINFO), SHGFI_DISPLAYNAME);
  return CString(sfi.szDisplayName);
}

int CSHFileInfo::GetIconIndex() {
  SHFILEINFO sfi{};
  ::SHGetFileInfo(m_strFullPath, 0, &sfi, sizeof(SHFILEINFO), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return sfi.iIcon;
}

CString CSHFileInfo::GetFileSize() {
  if (!m_pFoundFile) return CString();
  return GroupThousands(m_pFoundFile->GetLength());
}

CString CSHFileInfo::GetLastWriteTime() {
  FILETIME ft, local;
  SYSTEMTIME st;
  if (!m_pFoundFile || !m_pFoundFile->GetLastWriteTime(&ft) || !::FileTimeToLocalFileTime(&ft, &local) ||
      !::FileTimeToSystemTime(&local, &st))
    return CString();
  CString s;
  s.Format(L"%.2d/%.2d/%d %.2d:%.2d", st.wMonth, st.wDay, st.wYear, st.wHour, st.wMinute);
  return s;
}

bool CSHFileInfo::Exist() {
  CString path = m_strFullPath;
  const int i = path.ReverseFind(L'\\');
  const int n = path.GetLength();
  if (i >= 0 && i == n - 1 && n == 3) {
    if (path.GetAt(1) == L':') return true;  // a drive root, present or not
    path = path.Left(i);
  }
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW(path, &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::FindClose(h);
  return true;
}

void CSHFileInfo::GetSystemImageList(CImageList* pSmallList, CImageList* pLargeList) {
  SHFILEINFO sfi{};
  if (pSmallList) {
    pSmallList->Attach(reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfo(L"C:\\", 0, &sfi, sizeof(SHFILEINFO), SHGFI_SYSICONINDEX | SHGFI_SMALLICON)));
  }
  if (pLargeList) {
    pLargeList->Attach(reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfo(L"C:\\", 0, &sfi, sizeof(SHFILEINFO), SHGFI_SYSICONINDEX | SHGFI_ICON)));
  }
}

BOOL CSHFileInfo::BrowseForFolder(CWnd* pParent) {
  LPMALLOC pMalloc = nullptr;
  if (FAILED(::SHGetMalloc(&pMalloc))) return FALSE;
  LPITEMIDLIST pidlRoot = nullptr;
  if (!m_strBrowseRoot.IsEmpty()) {
    LPSHELLFOLDER pDesktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&pDesktop))) return FALSE;
    wchar_t root[MAX_PATH] = {};
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(m_strBrowseRoot.GetLength()), MAX_PATH - 1);
    std::copy_n(m_strBrowseRoot.GetString(), n, root);
    ULONG eaten = 0;
    const HRESULT hr = pDesktop->ParseDisplayName(nullptr, nullptr, root, &eaten, &pidlRoot, nullptr);
    pDesktop->Release();
    if (FAILED(hr)) {
      if (pidlRoot) pMalloc->Free(pidlRoot);
      pMalloc->Release();
      return FALSE;
    }
  }
  BROWSEINFO bi{};
  bi.hwndOwner = AfxHwndOf(pParent);
  bi.pidlRoot = pidlRoot;
  bi.pszDisplayName = m_strSelectedFolder.GetBuffer(MAX_PATH);
  bi.lpszTitle = m_strBrowseTitle;
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
  bi.lpfn = &CSHFileInfo::BrowseCallbackProc;
  bi.lParam = reinterpret_cast<LPARAM>(this);
  LPITEMIDLIST pidl = ::SHBrowseForFolder(&bi);
  m_strSelectedFolder.ReleaseBuffer();
  BOOL ok = FALSE;
  if (pidl) {
    m_nImageIndex = bi.iImage;
    ok = ::SHGetPathFromIDList(pidl, m_strSelectedFolder.GetBuffer(MAX_PATH));
    m_strSelectedFolder.ReleaseBuffer();
    pMalloc->Free(pidl);
  }
  if (pidlRoot) pMalloc->Free(pidlRoot);
  pMalloc->Release();
  return ok;
}

int CALLBACK CSHFileInfo::BrowseCallbackProc(HWND hwnd, UINT uMsg, LPARAM, LPARAM lpData) {
  auto* self = reinterpret_cast<CSHFileInfo*>(lpData);
  if (uMsg == BFFM_INITIALIZED && self && !self->m_strInitialSelection.IsEmpty())
    ::SendMessage(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(self->m_strInitialSelection.GetString()));
  return 0;
}
