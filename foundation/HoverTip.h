// CHoverTip: the hover read-out of a control, held as its tooltip member. It owns the one tool
// that covers the owner's client area, relays the owner's mouse messages so the tip can time its
// appearance, and remembers the text it sent last, so a value fed many times a second sends
// only its changes.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

class PARVANEU_API CHoverTip : public CToolTipCtrl {
 public:
  // Window thread, from the owner's WM_CREATE: makes the tooltip window with one tool (empty
  // text, empty rectangle) and the delays the controls use. FALSE when the window could not be made.
  BOOL Open(CWnd* pOwner, UINT_PTR nToolID, UINT nInitialMs = 100, UINT nAutoPopMs = 5000);

  // The tool follows the owner's client size; nothing happens before Open.
  void FitClient(int cx, int cy);

  // A mouse message of the owner; Relay() alone, for loops that do not pre-translate, relays
  // the message the owner is handling now.
  void Relay(const MSG* pMsg);
  void Relay();

  // Window thread: sends text unless it is what was sent last.
  void SetHoverText(const CString& text);

 private:
  CWnd* m_pOwner = nullptr;
  UINT_PTR m_nToolID = 0;
  CString m_strLast;
};
