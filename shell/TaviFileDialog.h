// An open/save file dialog for document hosts: the plain platform prompt with an invisible owner
// up and to the left of the screen centre, a filter list from the application's document
// templates or a filter string, and its own document save / save-as sequence.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

class PARVANEU_API CTaviFileDialog : public CFileDialog {
  DECLARE_DYNCREATE(CTaviFileDialog)

 public:
  CTaviFileDialog(BOOL bOpenFileDialog = TRUE, const wchar_t* lpszDefExt = nullptr,
                  const wchar_t* lpszFileName = nullptr, DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                  const wchar_t* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
  ~CTaviFileDialog() override;

  void SetAppPointer(CWinApp* pApp) { m_pApp = pApp; }
  void SetDocumentPointer(CDocument* pDoc) { m_pDoc = pDoc; }
  // Name and pattern fields, each closed by "|": "Text (*.txt)|*.txt|".
  void SetStringFilter(const char* lpszFilter);

  INT_PTR DoModal() override;
  // TRUE when a name was confirmed; it is then in fileName.
  virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                CDocTemplate* pTemplate);
  // TRUE when the document was saved (under lpszPathName, or a prompted name when that is empty).
  virtual BOOL DoSave(const wchar_t* lpszPathName, BOOL bReplace = TRUE);

 protected:
  void AppendFilterSuffix(CString& filter, OPENFILENAME& ofn, CDocTemplate* pTemplate, CString* pstrDefaultExt);

  CWinApp* m_pApp;
  CDocument* m_pDoc;
  CString m_strStringFilter;

 private:
  CString m_strPromptDefExt;  // the default extension the prompt points at
};
