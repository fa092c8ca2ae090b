// The hover read-out every control with a tooltip shares: one tool covering the client area, fed
// with the mouse messages the control sees and given new text as the hovered value changes.
#pragma once
#include <winport/afx.h>

namespace foundation {

// Creates pTip as pOwner's tooltip with one tool (empty text, empty rectangle) and the delays the
// controls use. FALSE when the tooltip window could not be made.
BOOL CreateTip(CToolTipCtrl& tip, CWnd* pOwner, UINT_PTR nToolID, UINT nInitialMs = 100, UINT nAutoPopMs = 5000);

// The tool follows the client size; nothing happens before the tooltip exists.
void SetTipRect(CToolTipCtrl& tip, CWnd* pOwner, UINT_PTR nToolID, int cx, int cy);

// Hands a mouse message to the tooltip so it can time its appearance.
void RelayTipEvent(CToolTipCtrl& tip, const MSG* pMsg);

// For message loops that do not pre-translate: relays the message the owner is handling now.
void RelayCurrentMessage(CToolTipCtrl& tip, CWnd* pOwner);

// Sends the text only when it differs from what was sent last (lastSent is updated), so a
// value fed many times a second does not flood the tooltip.
void UpdateTip(CToolTipCtrl& tip, CWnd* pOwner, UINT_PTR nToolID, const CString& text, CString& lastSent);

}  // namespace foundation
