// The framework's application object, as little of it as hosts and dialogs use: the main
// window, the message loop and the one-instance lookup. There may be none (AfxGetApp is null).
#pragma once
#include "winport/window/CWnd.h"

class CDocTemplate;
class CDocManager;
WINPORT_DECLARE_HANDLE(POSITION);

class WINPORT_API CWinApp : public CCmdTarget {
 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return 0; }
  // Pumps messages (with pre-translation) until WM_QUIT; returns ExitInstance().
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* pMsg);

  // Document templates (winport/doc): the application owns each from AddDocTemplate on.
  void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;

  CWnd* m_pMainWnd = nullptr;
  LPCTSTR m_pszAppName = nullptr;
  HINSTANCE m_hInstance = nullptr;
  CDocManager* m_pDocManager = nullptr;

 private:
  // Set by the document floor with the manager it creates, so that this floor need not know it.
  void (*m_pfnDeleteDocManager)(CDocManager*) = nullptr;
};

WINPORT_API CWinApp* AfxGetApp();
WINPORT_API CWnd* AfxGetMainWnd();
