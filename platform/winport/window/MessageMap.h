// Message maps: a static table per class binding messages to handler methods, searched from the
// most derived class to the base. Each entry carries a small thunk that unpacks wParam/lParam
// into the handler's framework signature.
#pragma once
#include "winport/base/geometry.h"
#include "winport/window/WinDefs.h"

#ifndef afx_msg
#define afx_msg
#endif

class CCmdTarget;
class CWnd;
class CDC;

using AFX_THUNK = void (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;
  UINT nID;
  UINT nLastID;
  AFX_THUNK pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Unpacking helpers the thunks use (defined with CWnd).
WINPORT_API CWnd* AfxWndFromHandle(HWND hwnd);
WINPORT_API CDC* AfxDCFromHandle(HDC hdc);

#define DECLARE_MESSAGE_MAP()                         \
 protected:                                           \
  static const AFX_MSGMAP* GetThisMessageMap();       \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                    \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                               \
    typedef theClass ThisClass;                                                   \
    typedef baseClass TheBaseClass;                                               \
    (void)static_cast<ThisClass*>(nullptr);                                       \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                  \
  {0, 0, 0, 0, nullptr}};                                                                  \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                      \
  }

// A thunk body with the handler's object as pThis_ and the raw message as wParam_/lParam_.
#define WINPORT_THUNK(body)                                                                   \
  [](CCmdTarget* pTarget_, WPARAM wParam_, LPARAM lParam_, LRESULT* pResult_) {               \
    (void)wParam_;                                                                            \
    (void)lParam_;                                                                            \
    (void)pResult_;                                                                           \
    ThisClass* pThis_ = static_cast<ThisClass*>(pTarget_);                                    \
    body;                                                                                     \
  }
#define WINPORT_PT_ CPoint(GET_X_LPARAM(lParam_), GET_Y_LPARAM(lParam_))
#define WINPORT_ENTRY(msg, body) {static_cast<UINT>(msg), 0, 0, 0, WINPORT_THUNK(body)},
#define WINPORT_MOUSE_ENTRY(msg, fn) \
  WINPORT_ENTRY(msg, pThis_->fn(static_cast<UINT>(wParam_), WINPORT_PT_))

#define ON_WM_CREATE() \
  WINPORT_ENTRY(WM_CREATE, *pResult_ = pThis_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam_)))
#define ON_WM_DESTROY() WINPORT_ENTRY(WM_DESTROY, pThis_->OnDestroy())
#define ON_WM_NCDESTROY() WINPORT_ENTRY(WM_NCDESTROY, pThis_->OnNcDestroy())
#define ON_WM_SIZE()                                                                                  \
  WINPORT_ENTRY(WM_SIZE, pThis_->OnSize(static_cast<UINT>(wParam_), LOWORD(static_cast<WPARAM>(lParam_)), \
                                        HIWORD(static_cast<WPARAM>(lParam_))))
#define ON_WM_MOVE() WINPORT_ENTRY(WM_MOVE, pThis_->OnMove(GET_X_LPARAM(lParam_), GET_Y_LPARAM(lParam_)))
#define ON_WM_PAINT() WINPORT_ENTRY(WM_PAINT, pThis_->OnPaint())
#define ON_WM_ERASEBKGND() \
  WINPORT_ENTRY(WM_ERASEBKGND, *pResult_ = pThis_->OnEraseBkgnd(AfxDCFromHandle(reinterpret_cast<HDC>(wParam_))))
#define ON_WM_TIMER() WINPORT_ENTRY(WM_TIMER, pThis_->OnTimer(static_cast<UINT_PTR>(wParam_)))
#define ON_WM_MOUSEMOVE() WINPORT_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() WINPORT_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() WINPORT_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() WINPORT_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() WINPORT_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() WINPORT_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() WINPORT_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() WINPORT_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() WINPORT_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() WINPORT_MOUSE_ENTRY(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSEWHEEL()                                                                                       \
  WINPORT_ENTRY(WM_MOUSEWHEEL, *pResult_ = pThis_->OnMouseWheel(LOWORD(wParam_), static_cast<short>(HIWORD(wParam_)), \
                                                                WINPORT_PT_))
#define ON_WM_CONTEXTMENU() \
  WINPORT_ENTRY(WM_CONTEXTMENU, pThis_->OnContextMenu(AfxWndFromHandle(reinterpret_cast<HWND>(wParam_)), WINPORT_PT_))
#define WINPORT_KEY_ENTRY(msg, fn)                                                                  \
  WINPORT_ENTRY(msg, pThis_->fn(static_cast<UINT>(wParam_), LOWORD(static_cast<WPARAM>(lParam_)), \
                                HIWORD(static_cast<WPARAM>(lParam_))))
#define ON_WM_KEYDOWN() WINPORT_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() WINPORT_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() WINPORT_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_SETFOCUS() \
  WINPORT_ENTRY(WM_SETFOCUS, pThis_->OnSetFocus(AfxWndFromHandle(reinterpret_cast<HWND>(wParam_))))
#define ON_WM_KILLFOCUS() \
  WINPORT_ENTRY(WM_KILLFOCUS, pThis_->OnKillFocus(AfxWndFromHandle(reinterpret_cast<HWND>(wParam_))))
#define ON_WM_CAPTURECHANGED() \
  WINPORT_ENTRY(WM_CAPTURECHANGED, pThis_->OnCaptureChanged(AfxWndFromHandle(reinterpret_cast<HWND>(lParam_))))
#define ON_WM_SETCURSOR()                                                                               \
  WINPORT_ENTRY(WM_SETCURSOR, *pResult_ = pThis_->OnSetCursor(AfxWndFromHandle(reinterpret_cast<HWND>(wParam_)), \
                                                              LOWORD(static_cast<WPARAM>(lParam_)),           \
                                                              HIWORD(static_cast<WPARAM>(lParam_))))
#define WINPORT_SCROLL_ENTRY(msg, fn)                                                             \
  WINPORT_ENTRY(msg, pThis_->fn(LOWORD(wParam_), HIWORD(wParam_),                                \
                                (lParam_ ? AfxWndFromHandle(reinterpret_cast<HWND>(lParam_)) : nullptr)))
#define ON_WM_HSCROLL() WINPORT_SCROLL_ENTRY(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() WINPORT_SCROLL_ENTRY(WM_VSCROLL, OnVScroll)
#define ON_WM_SHOWWINDOW() \
  WINPORT_ENTRY(WM_SHOWWINDOW, pThis_->OnShowWindow(static_cast<BOOL>(wParam_), static_cast<UINT>(lParam_)))
#define ON_WM_CLOSE() WINPORT_ENTRY(WM_CLOSE, pThis_->OnClose())
#define ON_WM_GETMINMAXINFO() \
  WINPORT_ENTRY(WM_GETMINMAXINFO, pThis_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam_)))
#define ON_WM_ENABLE() WINPORT_ENTRY(WM_ENABLE, pThis_->OnEnable(static_cast<BOOL>(wParam_)))
#define ON_WM_SYSCOLORCHANGE() WINPORT_ENTRY(WM_SYSCOLORCHANGE, pThis_->OnSysColorChange())
#define ON_WM_WINDOWPOSCHANGED() \
  WINPORT_ENTRY(WM_WINDOWPOSCHANGED, pThis_->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam_)))

#define ON_MESSAGE(message, memberFxn) WINPORT_ENTRY(message, *pResult_ = pThis_->memberFxn(wParam_, lParam_))

#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), WINPORT_THUNK(pThis_->memberFxn())},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                 \
  {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(idLast),            \
   WINPORT_THUNK(pThis_->memberFxn(static_cast<UINT>(LOWORD(wParam_))))},
#define ON_CONTROL(code, id, memberFxn) \
  {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), WINPORT_THUNK(pThis_->memberFxn())},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

#define ON_NOTIFY(code, id, memberFxn)                                                  \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
   WINPORT_THUNK(pThis_->memberFxn(reinterpret_cast<NMHDR*>(lParam_), pResult_))},
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                         \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast),    \
   WINPORT_THUNK(pThis_->memberFxn(static_cast<UINT>(reinterpret_cast<NMHDR*>(lParam_)->idFrom), \
                                   reinterpret_cast<NMHDR*>(lParam_), pResult_))},
// The child sees its own notification before its parent does.
#define ON_NOTIFY_REFLECT(code, memberFxn)                        \
  {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0,   \
   WINPORT_THUNK(pThis_->memberFxn(reinterpret_cast<NMHDR*>(lParam_), pResult_))},
