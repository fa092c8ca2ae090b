// Document templates: what kind of document an application makes, described by its document
// string ("window title\ndoc name\nnew name\nfilter name\nfilter ext\n...").
#pragma once
#include "winport/base/CString.h"
#include "winport/doc/RuntimeClass.h"

class CDocument;

class CDocTemplate : public CCmdTarget {
 public:
  enum DocStringIndex {
    windowTitle = 0,
    docName = 1,
    fileNewName = 2,
    filterName = 3,
    filterExt = 4,
    regFileTypeId = 5,
    regFileTypeName = 6,
  };

  ~CDocTemplate() override;
  // The index-th field of the document string; FALSE (and an empty string) when it has none.
  virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;
  // Sets the document string directly instead of from the string resource.
  void SetDocStrings(const wchar_t* lpszDocStrings) { m_strDocStrings = lpszDocStrings; }
  virtual void AddDocument(CDocument* pDoc);
  virtual void RemoveDocument(CDocument* pDoc);

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CString m_strDocStrings;

 protected:
  // Loads the document string from string resource nIDResource when there is one.
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
};

class CSingleDocTemplate : public CDocTemplate {
 public:
  // The run-time classes may be null: a template can serve only to describe a file type.
  CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                     CRuntimeClass* pViewClass)
      : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}
  ~CSingleDocTemplate() override;
  void AddDocument(CDocument* pDoc) override;
  void RemoveDocument(CDocument* pDoc) override;

  CDocument* m_pOnlyDoc = nullptr;
};
