// The platform's static control and its framework class: text, or a bitmap (SS_BITMAP) drawn
// at its natural size from the top-left corner. The background outside it is what the erase
// step painted (COLOR_BTNFACE, the dialog colour).
#pragma once
#include "winport/window/CWnd.h"

#define WC_STATICW L"Static"
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_ICON 0x00000003L
#define SS_BLACKRECT 0x00000004L
#define SS_WHITERECT 0x00000006L
#define SS_BITMAP 0x0000000EL
#define SS_TYPEMASK 0x0000001FL
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L
#define STM_SETICON 0x0170
#define STM_GETICON 0x0171
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173

class WINPORT_API CStatic : public CWnd {
 public:
  CStatic() = default;
  ~CStatic() override = default;
  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);
  // The control does not own the bitmap; the previous one is returned to the caller.
  HBITMAP SetBitmap(HBITMAP hBitmap);
  HBITMAP GetBitmap() const;
};

// Registers the "Static" window class (done on first CStatic::Create; hosts creating static
// windows through CreateWindowExW call it first).
WINPORT_API void AfxRegisterStaticClass();
