// The framework's dialog, as far as modal prompts built on it need: the owner of a modal run and
// the modal state around it.
#pragma once
#include "winport/window/CWnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(CWnd* pParentWnd = nullptr) : m_pParentWnd(pParentWnd) {}
  virtual INT_PTR DoModal() { return -1; }

  // The owner for a modal run: the top-level window of the parent given at construction, else
  // the application's main window (null when neither exists). Enters the modal state.
  HWND PreModal();
  // Leaves the modal state.
  void PostModal();
  BOOL IsInModalState() const { return m_bInModal; }

  CWnd* m_pParentWnd;

 private:
  BOOL m_bInModal = FALSE;
};
