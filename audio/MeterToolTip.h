// The meters' tooltip: one tool per meter whose text the meter keeps current. It holds the text,
// the tool rectangle and the delays for the platform's tooltip control to show; it is a hidden
// window owned by the meter so that it dies with it. UpdateTipText and GetText may be called from
// any thread.
#pragma once
#include <winport/afx.h>

#include <mutex>

#include "foundation/Export.h"

class PARVANEU_API CMeterToolTip : public CWnd {
 public:
  enum { TTDT_INITIAL_DELAY = 3, TTDT_AUTOPOP_DELAY = 2 };

  using CWnd::Create;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
  void Activate(BOOL bActivate) { m_bActive = bActivate; }
  BOOL IsActive() const { return m_bActive; }
  void SetDelayTime(DWORD dwDuration, int iTime);
  int GetDelayTime(DWORD dwDuration) const;
  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool);
  void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
  CRect GetToolRect() const { return m_rcTool; }
  void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool);
  void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const;
  // Mouse messages of the tool window, so the tip knows where the pointer is.
  void RelayEvent(const MSG* pMsg);
  POINT GetLastPoint() const { return m_ptLast; }

 private:
  mutable std::mutex m_mutex;  // the text may be set from a feeding thread
  HWND m_hTool = nullptr;
  UINT_PTR m_nIDTool = 0;
  CString m_strText;
  CRect m_rcTool;
  BOOL m_bActive = FALSE;
  int m_nInitial = 0;
  int m_nAutoPop = 0;
  POINT m_ptLast{0, 0};
};
