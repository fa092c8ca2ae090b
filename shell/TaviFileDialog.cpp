#include "shell/TaviFileDialog.h"

namespace {

// Where the invisible owner sits relative to the centred position, so the platform dialog
// that centres itself over its owner appears near the middle of the screen.
constexpr int kOwnerShiftX = -230;
constexpr int kOwnerShiftY = -180;

// The kept flags of a prompt: explorer style, path must exist, overwrite prompt.
constexpr DWORD kPromptFlags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;

const wchar_t kPlaceholderFilter[] = L"My File Format (*.mff)|*.mff|My File Format Files (*.mff)";

}  // namespace

IMPLEMENT_DYNCREATE(CTaviFileDialog, CFileDialog)

CTaviFileDialog::CTaviFileDialog(BOOL bOpenFileDialog, const wchar_t* lpszDefExt, const wchar_t* lpszFileName,
                                 DWORD dwFlags, const wchar_t* lpszFilter, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd, 0),
      m_pApp(nullptr),
      m_pDoc(nullptr) {
  m_ofn.Flags = dwFlags;
}

CTaviFileDialog::~CTaviFileDialog() = default;

void CTaviFileDialog::SetStringFilter(const char* lpszFilter) {
  m_strStringFilter = lpszFilter ? CString::FromUtf8(lpszFilter) : CString();
}

INT_PTR CTaviFileDialog::DoModal() {
  // Zero what follows the initial name, so the platform never reads stale text.
  if (m_ofn.lpstrFile && m_ofn.nMaxFile > 0) {
    const std::size_t n = std::wcslen(m_ofn.lpstrFile);
    for (std::size_t i = n + 1; i < m_ofn.nMaxFile; ++i) m_ofn.lpstrFile[i] = L'\0';
  }
  HWND hWndFocus = ::GetFocus();

  CWnd wndOwner;
  LPCWSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
  CWnd* pMain = AfxGetMainWnd();
  if (wndOwner.CreateEx(0, lpszClass, nullptr, 0, 0, 0, 0, 0, AfxHwndOf(pMain), nullptr)) {
    wndOwner.CenterWindow();
    CRect rc;
    wndOwner.GetWindowRect(&rc);
    wndOwner.SetWindowPos(nullptr, rc.left + kOwnerShiftX, rc.top + kOwnerShiftY, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    wndOwner.ShowWindow(SW_HIDE);
  }
  HWND hWndOwner = wndOwner.m_hWnd ? wndOwner.m_hWnd : PreModal();
  m_ofn.hwndOwner = hWndOwner;
  const BOOL bDisabled = hWndOwner && ::IsWindowEnabled(hWndOwner);
  if (bDisabled) ::EnableWindow(hWndOwner, FALSE);

  m_ofn.lpfnHook = nullptr;
  m_ofn.lpTemplateName = nullptr;
  const BOOL bResult = RunPlatformDialog();

  if (bDisabled && ::IsWindow(hWndOwner)) ::EnableWindow(hWndOwner, TRUE);
  if (hWndFocus && ::IsWindow(hWndFocus)) ::SetFocus(hWndFocus);
  PostModal();
  if (wndOwner.m_hWnd) wndOwner.DestroyWindow();
  return bResult ? IDOK : IDCANCEL;
}

void CTaviFileDialog::AppendFilterSuffix(CString& filter, OPENFILENAME& ofn, CDocTemplate* pTemplate,
                                         CString* pstrDefaultExt) {
  CString strFilterExt, strFilterName;
  if (!pTemplate || !pTemplate->GetDocString(strFilterExt, CDocTemplate::filterExt) || strFilterExt.IsEmpty() ||
      !pTemplate->GetDocString(strFilterName, CDocTemplate::filterName) || strFilterName.IsEmpty())
    return;
  if (pstrDefaultExt) {
    *pstrDefaultExt = strFilterExt.Mid(1);  // without the dot
    ofn.lpstrDefExt = pstrDefaultExt->GetString();
    ofn.nFilterIndex = ofn.nMaxCustFilter + 1;
  }
  filter += strFilterName;
  filter += L'\0';
  filter += L'*';
  filter += strFilterExt;
  filter += L'\0';
  ofn.nMaxCustFilter++;
}

BOOL CTaviFileDialog::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL, CDocTemplate*) {
  CString title;
  title.LoadString(nIDSTitle);
  m_ofn.Flags |= lFlags;
  // Each prompt counts its own filters, so a second save through the same object preselects
  // the same entry as the first.
  m_ofn.nMaxCustFilter = 0;

  CString strFilter;
  if (nIDSTitle == AFX_IDS_SAVEFILE || nIDSTitle == AFX_IDS_SAVEFILECOPY) {
    CString* pDefExt = &m_strPromptDefExt;
    POSITION pos = m_pApp ? m_pApp->GetFirstDocTemplatePosition() : nullptr;
    while (pos) {
      CDocTemplate* pTemplate = m_pApp->GetNextDocTemplate(pos);
      AppendFilterSuffix(strFilter, m_ofn, pTemplate, pDefExt);
      pDefExt = nullptr;  // only the first template names the default
    }
  } else {
    strFilter = m_strStringFilter.IsEmpty() ? CString(kPlaceholderFilter) : m_strStringFilter;
  }
  m_ofn.nMaxCustFilter++;
  strFilter.Replace(L'|', L'\0');
  // The list must close with an empty string; a filter whose last field lacks its bar (the
  // placeholder does) would send the platform reading past its end.
  if (!strFilter.IsEmpty() && strFilter.GetAt(strFilter.GetLength() - 1) != L'\0') strFilter += L'\0';
  m_ofn.lpstrFilter = strFilter;

  m_ofn.lpstrTitle = title;
  m_ofn.lpstrFile = fileName.GetBuffer(MAX_PATH);
  m_ofn.nMaxFile = MAX_PATH;
  CWnd* pMain = m_pApp ? m_pApp->m_pMainWnd : nullptr;
  m_ofn.hwndOwner = AfxHwndOf(pMain);
  m_ofn.Flags &= kPromptFlags;

  const INT_PTR nResult = DoModal();
  fileName.ReleaseBuffer();
  // The record must not keep pointers into this call's strings.
  m_ofn.lpstrFilter = nullptr;
  m_ofn.lpstrTitle = nullptr;
  m_ofn.lpstrFile = m_szFileName;
  return nResult == IDOK;
}

BOOL CTaviFileDialog::DoSave(const wchar_t* lpszPathName, BOOL bReplace) {
  if (!m_pDoc) return FALSE;
  CString newName = lpszPathName;
  const bool bPrompt = newName.IsEmpty();
  if (bPrompt) {
    CDocTemplate* pTemplate = m_pDoc->GetDocTemplate();
    newName = m_pDoc->GetPathName();
    if (bReplace && newName.IsEmpty()) {
      newName = m_pDoc->GetTitle();
      // A title such as "Untitled #2" is cut before characters a file name should not start with.
      const int cut = static_cast<int>(newName.str().find_first_of(L" #%;/\\"));
      if (cut >= 0) newName = newName.Left(cut);
      CString strExt;
      if (pTemplate && pTemplate->GetDocString(strExt, CDocTemplate::filterExt) && !strExt.IsEmpty())
        newName += strExt;
    }
    if (!DoPromptFileName(newName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                          OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, pTemplate))
      return FALSE;
  }
  CWaitCursor wait;
  if (!m_pDoc->OnSaveDocument(newName)) {
    if (bPrompt) {
      try {
        CFile::Remove(newName);
      } catch (const CException&) {
        // Nothing was written, or it cannot be removed: the save failed either way.
      }
    }
    return FALSE;
  }
  if (bReplace) m_pDoc->SetPathName(newName, TRUE);
  return TRUE;
}
