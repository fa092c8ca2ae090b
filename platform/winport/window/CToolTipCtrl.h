// The framework's tooltip control: a topmost popup that appears when the pointer rests on a
// tool (a window, or a rectangle of one) for the initial delay, hides after the auto-pop time,
// when the pointer leaves or a button goes down. The owner relays its mouse messages.
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "winport/window/CWnd.h"

#define TOOLTIPS_CLASSW L"tooltips_class32"
#define TOOLTIPS_CLASS TOOLTIPS_CLASSW

#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02
#define TTS_NOANIMATE 0x10
#define TTS_NOFADE 0x20
#define TTS_BALLOON 0x40

#define TTF_IDISHWND 0x0001
#define TTF_CENTERTIP 0x0002
#define TTF_RTLREADING 0x0004
#define TTF_SUBCLASS 0x0010
#define TTF_TRACK 0x0020
#define TTF_ABSOLUTE 0x0080
#define TTF_TRANSPARENT 0x0100

#define TTDT_AUTOMATIC 0
#define TTDT_RESHOW 1
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3

#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_GETDELAYTIME (WM_USER + 21)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_POP (WM_USER + 28)
#define TTM_ADDTOOLW (WM_USER + 50)
#define TTM_DELTOOLW (WM_USER + 51)
#define TTM_NEWTOOLRECTW (WM_USER + 52)
#define TTM_GETTEXTW (WM_USER + 56)
#define TTM_UPDATETIPTEXTW (WM_USER + 57)
#define TTM_ADDTOOL TTM_ADDTOOLW
#define TTM_DELTOOL TTM_DELTOOLW
#define TTM_NEWTOOLRECT TTM_NEWTOOLRECTW
#define TTM_GETTEXT TTM_GETTEXTW
#define TTM_UPDATETIPTEXT TTM_UPDATETIPTEXTW

#define LPSTR_TEXTCALLBACKW (reinterpret_cast<LPWSTR>(static_cast<std::intptr_t>(-1)))
#define LPSTR_TEXTCALLBACK LPSTR_TEXTCALLBACKW

struct TOOLINFOW {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;
  UINT_PTR uId;
  RECT rect;
  HINSTANCE hinst;
  LPWSTR lpszText;
  LPARAM lParam;
  void* lpReserved;
};
using TOOLINFO = TOOLINFOW;
using LPTOOLINFOW = TOOLINFOW*;
using LPTOOLINFO = TOOLINFOW*;

class WINPORT_API CToolTipCtrl : public CWnd {
 public:
  CToolTipCtrl();
  ~CToolTipCtrl() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
  void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
  // Safe from any thread: the text is stored under a lock and the window repaints later.
  void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  int GetToolCount() const;
  void Activate(BOOL bActivate);
  void SetDelayTime(UINT nDelay);
  void SetDelayTime(DWORD dwDuration, int iTime);
  int GetDelayTime(DWORD dwDuration) const;
  void RelayEvent(LPMSG lpMsg);
  void Pop();
  // Whether the tip is on screen now (for hosts and tests).
  BOOL IsTipShown() const { return m_state == State::shown; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  enum class State { idle, waiting, ready, shown, popped };
  struct Tool {
    HWND hwnd;
    UINT_PTR id;
    UINT flags;
    RECT rect;
    std::wstring text;
  };

  int FindTool(HWND hwnd, UINT_PTR id) const;
  int ToolAt(HWND hwnd, POINT client) const;
  bool PointerOnTool(int index) const;
  void OnRelay(const MSG& msg);
  void OnTimerTick(UINT_PTR id);
  void StartWaiting(UINT delay);
  void Show();
  void Hide(State next);
  void FitToText();
  void Paint();
  std::wstring TextOf(int index) const;

  mutable std::mutex m_mutex;  // guards the tools' text against other threads
  std::vector<Tool> m_tools;
  State m_state = State::idle;
  int m_current = -1;
  POINT m_lastPoint{-32768, -32768};
  BOOL m_bActive = TRUE;
  UINT m_initial = 500;
  UINT m_autopop = 5000;
  UINT m_reshow = 100;
  HFONT m_hFont = nullptr;
};
