// The framework's application object, as little of it as hosts and dialogs use: the main
// window, the message loop and the one-instance lookup. There may be none (AfxGetApp is null).
#pragma once
#include "winport/window/CWnd.h"

class WINPORT_API CWinApp : public CCmdTarget {
 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return 0; }
  // Pumps messages (with pre-translation) until WM_QUIT; returns ExitInstance().
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* pMsg);

  CWnd* m_pMainWnd = nullptr;
  LPCTSTR m_pszAppName = nullptr;
  HINSTANCE m_hInstance = nullptr;
};

WINPORT_API CWinApp* AfxGetApp();
WINPORT_API CWnd* AfxGetMainWnd();
