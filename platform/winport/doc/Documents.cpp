// Documents, templates and the application's template list.
#include <cstdio>
#include <memory>
#include <new>

#include "winport/doc/CDocManager.h"
#include "winport/doc/CDocument.h"
#include "winport/shell/Path.h"

CDocument::~CDocument() {
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
  const std::string path = lpszPathName ? winport::NativePath(lpszPathName) : std::string();
  if (path.empty()) return FALSE;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) return FALSE;
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL) {
  m_strPathName = lpszPathName;
  const winport::PathParts parts = winport::SplitPath(m_strPathName.str());
  SetTitle(CString(parts.fname + parts.ext));
}

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {
  if (nIDResource) m_strDocStrings.LoadString(nIDResource);
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const {
  rString.Empty();
  int start = 0;
  for (int i = 0; i < static_cast<int>(index); ++i) {
    start = m_strDocStrings.Find(L'\n', start);
    if (start < 0) return FALSE;
    ++start;
  }
  if (start > m_strDocStrings.GetLength()) return FALSE;
  const int end = m_strDocStrings.Find(L'\n', start);
  rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
  return TRUE;
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
  if (pDoc) pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
  if (pDoc && pDoc->m_pDocTemplate == this) pDoc->m_pDocTemplate = nullptr;
}

CSingleDocTemplate::~CSingleDocTemplate() {
  if (m_pOnlyDoc) m_pOnlyDoc->m_pDocTemplate = nullptr;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

CDocManager::~CDocManager() {
  for (CDocTemplate* t : m_templateList) delete t;
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
  if (!pTemplate) return;
  try {
    m_templateList.push_back(pTemplate);
  } catch (const std::bad_alloc&) {
    delete pTemplate;  // owned from the call on, whatever happens
  }
}

// A position is the index of the next template, plus one (null ends the walk).
POSITION CDocManager::GetFirstDocTemplatePosition() const {
  return m_templateList.empty() ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t{1});
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const {
  const auto i = reinterpret_cast<std::uintptr_t>(pos);
  if (i == 0 || i > m_templateList.size()) {
    pos = nullptr;
    return nullptr;
  }
  pos = i < m_templateList.size() ? reinterpret_cast<POSITION>(i + 1) : nullptr;
  return m_templateList[i - 1];
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (!m_pDocManager) {
    m_pDocManager = new (std::nothrow) CDocManager;
    if (!m_pDocManager) {
      delete pTemplate;
      return;
    }
    m_pfnDeleteDocManager = [](CDocManager* manager) { delete manager; };
  }
  m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
  if (!m_pDocManager) {
    pos = nullptr;
    return nullptr;
  }
  return m_pDocManager->GetNextDocTemplate(pos);
}
