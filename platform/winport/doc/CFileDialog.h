// The framework's file dialog over GetOpenFileNameW / GetSaveFileNameW.
#pragma once
#include "winport/doc/CDialog.h"
#include "winport/shell/CommDlg.h"

class CFileDialog : public CDialog {
 public:
  // lpszFilter is "name|patterns|name|patterns||". dwSize 0 means the record's own size. The
  // record's flags are dwFlags with OFN_EXPLORER and OFN_ENABLEHOOK added, as the framework does.
  explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                       CWnd* pParentWnd = nullptr, DWORD dwSize = 0);
  CFileDialog(const CFileDialog&) = delete;
  CFileDialog& operator=(const CFileDialog&) = delete;

  INT_PTR DoModal() override;  // IDOK or IDCANCEL
  OPENFILENAME& GetOFN() { return m_ofn; }
  CString GetPathName() const { return m_ofn.lpstrFile ? CString(m_ofn.lpstrFile) : CString(); }
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;

  OPENFILENAME m_ofn{};
  BOOL m_bOpenFileDialog;

 protected:
  // Runs the platform prompt of this dialog's kind with m_ofn as it stands.
  BOOL RunPlatformDialog() { return m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn); }

  CString m_strFilter;
  CString m_strDefExt;
  wchar_t m_szFileTitle[64]{};
  wchar_t m_szFileName[MAX_PATH]{};
};
