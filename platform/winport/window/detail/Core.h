// Internal: the window tree, message queues and timers behind the window API. Only the window
// area's sources include it; hosts and controls use the API headers.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "winport/base/geometry.h"
#include "winport/gdi/Region.h"
#include "winport/gdi/Surface.h"
#include "winport/window/Backend.h"
#include "winport/window/User32.h"

namespace winport::detail {

struct WndClass {
  std::wstring name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
};

struct ScrollState {
  int nMin = 0;
  int nMax = 100;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
  bool enabled = true;
  bool tracking = false;  // the thumb is being dragged: it shows nTrackPos
  int pressed = 0;        // the BarPart held down under the pointer, drawn pushed
};

struct Window {
  HWND hwnd = nullptr;
  std::shared_ptr<const WndClass> cls;
  WNDPROC proc = nullptr;
  HWND parent = nullptr;
  HWND owner = nullptr;
  std::vector<HWND> children;  // z-order, [0] is the topmost
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{};  // window rectangle: parent client coordinates, screen for top-level windows
  UINT_PTR id = 0;
  std::wstring text;
  HFONT font = nullptr;
  LONG_PTR userData = 0;
  std::thread::id thread;
  std::shared_ptr<Surface> surface;  // client size
  Surface composed;  // top-level: what was last presented, kept for its buffer
  Region unpresented;  // top-level: window coordinates changed since the last present
  Region update;                     // the update region, client coords
  bool erase = false;
  bool internalPaint = false;
  ScrollState scroll[2];
  bool destroying = false;
  bool native = false;
};

struct SentMessage {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  bool done = false;
  std::shared_ptr<struct Queue> sender;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT period;
  std::uint64_t due;
  TIMERPROC proc;
};

struct Queue {
  std::thread::id thread;
  std::condition_variable_any cv;
  std::deque<MSG> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;
  std::vector<Timer> timers;
  bool quit = false;
  int quitCode = 0;
  int inSend = 0;
  MSG last{};
};

struct Action {
  std::uint64_t time;
  std::uint64_t seq;
  std::function<void()> fn;
};

// One lock guards the tree, the queues and the timers; it is never held while a window
// procedure runs.
struct State {
  std::recursive_mutex mu;
  std::unordered_map<HWND, std::shared_ptr<Window>> windows;
  std::vector<HWND> topLevels;  // z-order, [0] is the topmost
  std::map<std::wstring, std::shared_ptr<const WndClass>> classes;
  std::unordered_map<std::thread::id, std::shared_ptr<Queue>> queues;
  std::uintptr_t nextHandle = 0x1000;
  HWND capture = nullptr;
  HWND focus = nullptr;
  HWND active = nullptr;
  POINT cursor{};
  UINT buttons = 0;  // MK_* of the buttons held
  std::unique_ptr<Backend> backend;
  std::vector<Action> actions;
  std::uint64_t actionSeq = 0;
  std::uint64_t virtualNow = 0;
  SIZE headlessScreen{1920, 1080};
  // Double-click tracking.
  HWND lastDownHwnd = nullptr;
  int lastDownButton = -1;
  std::uint64_t lastDownTime = 0;
  POINT lastDownPt{};
};

State& S();
using Lock = std::unique_lock<std::recursive_mutex>;

std::shared_ptr<Window> Find(HWND hwnd);  // null for null or destroyed handles
std::shared_ptr<Queue> QueueOf(std::thread::id thread);
std::shared_ptr<Queue> ThisQueue();
std::uint64_t Now();
void Wake(Queue& q);

// Geometry (caller holds the lock).
RECT NonClientInsets(const Window& w);
RECT ClientRectOf(const Window& w);        // (0, 0, cx, cy)
POINT ClientOriginOnScreen(const Window& w);
RECT WindowRectOnScreen(const Window& w);
bool IsVisibleLocked(const Window& w);    // the window and all its ancestors
HWND TopLevelOf(HWND hwnd);

// Painting bookkeeping (caller holds the lock).
void InvalidateLocked(Window& w, const RECT* rect, bool erase, bool children);
bool NeedsPaint(const Window& w);
// The native window must show what changed: client (client coordinates of hwnd), or without
// it all of hwnd's window rectangle. Present copies only those parts.
void MarkPresent(HWND hwnd, const RECT* client = nullptr);
void PresentDirty();

// The window's own scroll bars (ScrollBars.cpp). wr is the window rectangle in dst's
// coordinates; the tracking loop runs for a press on a bar (hit HTHSCROLL or HTVSCROLL).
void FillRectClipped(Surface& dst, RECT r, Pixel p, const RECT& clip);
void DrawWindowScrollBars(Surface& dst, const Window& w, const RECT& wr, const RECT& clip);
void TrackWindowScrollBar(HWND hwnd, WPARAM hit, POINT screen);

// Harness hooks.
bool RunDueActions();                                 // true if one ran
std::uint64_t NextDueTime(Queue& q, bool& any);       // timers of q and harness actions
[[noreturn]] void FailWait(const char* where);
extern thread_local int g_waitDepth;
// The harness's prompt script (shell/HeadlessPrompts.cpp), which the headless back end answers
// prompts with; one provider for the process.
std::shared_ptr<PromptProvider> HeadlessPrompts();
void ResetPrompts();

// The framework layer (CWnd) attaches to windows as they are created and forgets them after
// WM_NCDESTROY; these hooks keep the core free of framework types.
using CreateHook = void (*)(HWND);
using DestroyHook = void (*)(HWND);
void SetFrameworkHooks(CreateHook onCreate, DestroyHook onDestroyed);
void CallCreateHook(HWND);
void CallDestroyHook(HWND);

// Drawing glue supplied by the GDI-facing part of the window area.
HDC CreateWindowDC(const std::shared_ptr<Surface>& surface, const Region* clip);
void DeleteWindowDC(HDC hdc);
void FillWithBrush(HDC hdc, const RECT& rect, HBRUSH brush);

}  // namespace winport::detail
