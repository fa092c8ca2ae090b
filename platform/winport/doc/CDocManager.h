// The application's document templates, owned from AddDocTemplate until the application goes.
#pragma once
#include <vector>

#include "winport/doc/CDocTemplate.h"
#include "winport/window/CWinApp.h"

class CDocManager {
 public:
  CDocManager() = default;
  ~CDocManager();
  CDocManager(const CDocManager&) = delete;
  CDocManager& operator=(const CDocManager&) = delete;

  void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;

 private:
  std::vector<CDocTemplate*> m_templateList;
};
