// The window API with the desktop platform's signatures. Windows, queues and timers belong to
// the thread that created them; InvalidateRect, PostMessageW and IsWindow are safe from any thread.
#pragma once
#include "winport/window/WinDefs.h"

// Classes.
WINPORT_API ATOM RegisterClassW(const WNDCLASSW* wc);
WINPORT_API BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
WINPORT_API BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc);
// Returns a name cached per distinct argument set; the class uses DefWindowProcW.
WINPORT_API LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);
WINPORT_API HINSTANCE AfxGetInstanceHandle();
WINPORT_API HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
WINPORT_API HCURSOR SetCursor(HCURSOR cursor);
WINPORT_API HCURSOR GetCursor();

// Windows.
WINPORT_API HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param);
WINPORT_API BOOL DestroyWindow(HWND hwnd);
WINPORT_API BOOL IsWindow(HWND hwnd);
WINPORT_API BOOL IsWindowVisible(HWND hwnd);
WINPORT_API BOOL IsWindowEnabled(HWND hwnd);
WINPORT_API BOOL EnableWindow(HWND hwnd, BOOL enable);
WINPORT_API BOOL ShowWindow(HWND hwnd, int cmd);
WINPORT_API BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
WINPORT_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
WINPORT_API BOOL GetClientRect(HWND hwnd, LPRECT rect);
WINPORT_API BOOL GetWindowRect(HWND hwnd, LPRECT rect);
WINPORT_API BOOL ScreenToClient(HWND hwnd, LPPOINT pt);
WINPORT_API BOOL ClientToScreen(HWND hwnd, LPPOINT pt);
WINPORT_API int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT count);
WINPORT_API HWND GetParent(HWND hwnd);
WINPORT_API HWND SetParent(HWND child, HWND newParent);
WINPORT_API HWND GetWindow(HWND hwnd, UINT cmd);
WINPORT_API HWND GetDlgItem(HWND parent, int id);
WINPORT_API int GetDlgCtrlID(HWND hwnd);
WINPORT_API BOOL IsChild(HWND parent, HWND hwnd);
WINPORT_API HWND GetDesktopWindow();
WINPORT_API HWND GetTopWindow(HWND hwnd);
WINPORT_API HWND WindowFromPoint(POINT screenPt);
WINPORT_API HWND ChildWindowFromPoint(HWND parent, POINT clientPt);
WINPORT_API LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
WINPORT_API LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
WINPORT_API LONG GetWindowLongW(HWND hwnd, int index);
WINPORT_API LONG SetWindowLongW(HWND hwnd, int index, LONG value);
WINPORT_API int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount);
WINPORT_API int GetWindowTextLengthW(HWND hwnd);
WINPORT_API BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
WINPORT_API int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount);
WINPORT_API DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId);

// Messages.
WINPORT_API LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WINPORT_API BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WINPORT_API LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WINPORT_API LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WINPORT_API BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
WINPORT_API BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
WINPORT_API BOOL WaitMessage();
WINPORT_API BOOL TranslateMessage(const MSG* msg);
WINPORT_API LRESULT DispatchMessageW(const MSG* msg);
WINPORT_API void PostQuitMessage(int exitCode);
WINPORT_API BOOL InSendMessage();
WINPORT_API DWORD GetMessageTime();
WINPORT_API DWORD GetMessagePos();
#define SendMessage SendMessageW
#define PostMessage PostMessageW
#define DefWindowProc DefWindowProcW
#define GetMessage GetMessageW
#define PeekMessage PeekMessageW
#define DispatchMessage DispatchMessageW
#define CreateWindowEx CreateWindowExW
#define RegisterClass RegisterClassW

// Timers and time.
WINPORT_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
WINPORT_API BOOL KillTimer(HWND hwnd, UINT_PTR id);
WINPORT_API DWORD GetTickCount();
WINPORT_API unsigned long long GetTickCount64();
WINPORT_API UINT GetDoubleClickTime();
WINPORT_API void Sleep(DWORD ms);

// Painting.
WINPORT_API BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
WINPORT_API BOOL ValidateRect(HWND hwnd, const RECT* rect);
WINPORT_API BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
WINPORT_API BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
WINPORT_API BOOL UpdateWindow(HWND hwnd);
WINPORT_API BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags);
WINPORT_API HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps);
WINPORT_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
WINPORT_API HDC GetDC(HWND hwnd);
WINPORT_API HDC GetWindowDC(HWND hwnd);
WINPORT_API int ReleaseDC(HWND hwnd, HDC hdc);
WINPORT_API BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* rect, const RECT* clipRect);
WINPORT_API int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   LPRECT updateRect, UINT flags);

// Input state.
WINPORT_API HWND SetCapture(HWND hwnd);
WINPORT_API BOOL ReleaseCapture();
WINPORT_API HWND GetCapture();
WINPORT_API HWND SetFocus(HWND hwnd);
WINPORT_API HWND GetFocus();
WINPORT_API HWND GetActiveWindow();
WINPORT_API HWND SetActiveWindow(HWND hwnd);
WINPORT_API HWND GetForegroundWindow();
WINPORT_API BOOL SetForegroundWindow(HWND hwnd);
WINPORT_API BOOL GetCursorPos(LPPOINT pt);
WINPORT_API BOOL SetCursorPos(int x, int y);
WINPORT_API short GetKeyState(int vk);
WINPORT_API short GetAsyncKeyState(int vk);
WINPORT_API BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);
#define _TrackMouseEvent TrackMouseEvent

// Scroll bars of WS_HSCROLL / WS_VSCROLL windows.
WINPORT_API int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
WINPORT_API BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
WINPORT_API int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
WINPORT_API int GetScrollPos(HWND hwnd, int bar);
WINPORT_API BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
WINPORT_API BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos);
WINPORT_API BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
WINPORT_API BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// System values.
WINPORT_API int GetSystemMetrics(int index);
WINPORT_API DWORD GetSysColor(int index);
WINPORT_API HBRUSH GetSysColorBrush(int index);
WINPORT_API BOOL MessageBeep(UINT type);
