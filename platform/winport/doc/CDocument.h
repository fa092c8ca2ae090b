// The least document: a path, a title, its template, and saving.
#pragma once
#include "winport/base/CString.h"
#include "winport/window/CCmdTarget.h"

class CDocTemplate;

class CDocument : public CCmdTarget {
 public:
  CDocument() = default;
  ~CDocument() override;  // leaves its template

  // Writes the document to the file; the base writes an empty file. TRUE on success.
  virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
  // The path, and the title taken from its file name. There is no recently-used list here, so
  // bAddToMRU changes nothing.
  virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
  const CString& GetPathName() const { return m_strPathName; }
  virtual void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
  const CString& GetTitle() const { return m_strTitle; }
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate = nullptr;  // set by CDocTemplate::AddDocument
  BOOL m_bModified = FALSE;
};
