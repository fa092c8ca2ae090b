#include <algorithm>

#include "winport/doc/CFileDialog.h"
#include "winport/window/CWinApp.h"

namespace {
// The framework's own hook: a modal file dialog starts with it, and does nothing with it here.
UINT_PTR FrameworkFileDialogHook(HWND, UINT, WPARAM, LPARAM) { return 0; }
}  // namespace

HWND CDialog::PreModal() {
  m_bInModal = TRUE;
  CWnd* parent = m_pParentWnd ? m_pParentWnd->GetTopLevelParent() : nullptr;
  if (!parent && m_pParentWnd) parent = m_pParentWnd;
  if (!parent) parent = AfxGetMainWnd();
  return AfxHwndOf(parent);
}

void CDialog::PostModal() { m_bInModal = FALSE; }

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD dwSize)
    : CDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
  m_ofn.lStructSize = dwSize ? dwSize : static_cast<DWORD>(sizeof(OPENFILENAME));
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = MAX_PATH;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = static_cast<DWORD>(std::size(m_szFileTitle));
  m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLEHOOK;
  m_ofn.lpfnHook = &FrameworkFileDialogHook;
  if (lpszDefExt) {
    m_strDefExt = lpszDefExt;
    m_ofn.lpstrDefExt = m_strDefExt;
  }
  if (lpszFileName) {
    const std::size_t n = std::min<std::size_t>(std::wcslen(lpszFileName), MAX_PATH - 1);
    std::copy_n(lpszFileName, n, m_szFileName);
  }
  if (lpszFilter) {
    m_strFilter = lpszFilter;
    m_strFilter.Replace(L'|', L'\0');
    // Closed by an empty string even when the caller left off the last bar.
    if (!m_strFilter.IsEmpty() && m_strFilter.GetAt(m_strFilter.GetLength() - 1) != L'\0') m_strFilter += L'\0';
    m_ofn.lpstrFilter = m_strFilter;
  }
}

INT_PTR CFileDialog::DoModal() {
  m_ofn.hwndOwner = PreModal();
  const BOOL ok = RunPlatformDialog();
  PostModal();
  return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const {
  const winport::PathParts p = winport::SplitPath(GetPathName().str());
  return CString(p.fname + p.ext);
}

CString CFileDialog::GetFileExt() const {
  const winport::PathParts p = winport::SplitPath(GetPathName().str());
  return p.ext.empty() ? CString() : CString(p.ext.substr(1));
}

CString CFileDialog::GetFileTitle() const { return CString(winport::SplitPath(GetPathName().str()).fname); }
