#include "winport/window/CWinApp.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName), m_hInstance(AfxGetInstanceHandle()) {
  if (!g_app) g_app = this;
}

CWinApp::~CWinApp() {
  if (m_pDocManager && m_pfnDeleteDocManager) m_pfnDeleteDocManager(m_pDocManager);
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) { return AfxPreTranslateMessage(pMsg); }

int CWinApp::Run() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0)) {
    if (PreTranslateMessage(&msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return ExitInstance();
}

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }
