// Sending and posting, the per-thread queue with its synthesized WM_PAINT / WM_TIMER / WM_QUIT,
// timers and time.
#include <algorithm>
#include <chrono>
#include <thread>

#include "winport/window/detail/Core.h"

using namespace winport::detail;

namespace {

LRESULT CallProc(const std::shared_ptr<Window>& w, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC proc = w->proc ? w->proc : &DefWindowProcW;
  return proc(w->hwnd, msg, wp, lp);
}

// Answers messages other threads sent to this one; the lock is released around each call.
bool HandleIncomingSent(Queue& q, Lock& lock) {
  bool any = false;
  while (!q.sent.empty()) {
    auto m = q.sent.front();
    q.sent.pop_front();
    lock.unlock();
    LRESULT r = 0;
    if (auto w = Find(m->hwnd)) {
      ++q.inSend;
      r = CallProc(w, m->msg, m->wParam, m->lParam);
      --q.inSend;
    }
    lock.lock();
    m->result = r;
    m->done = true;
    if (m->sender) m->sender->cv.notify_all();
    any = true;
  }
  return any;
}

bool InRange(UINT msg, UINT lo, UINT hi) { return (lo == 0 && hi == 0) || (msg >= lo && msg <= hi); }

bool MatchesWindow(HWND msgHwnd, HWND filter) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return msgHwnd == nullptr;
  return msgHwnd == filter;
}

HWND FindPaintWindow(const std::vector<HWND>& list, std::thread::id thread, HWND filter) {
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    auto w = Find(*it);
    if (!w || !(w->style & WS_VISIBLE)) continue;
    if (w->thread == thread && NeedsPaint(*w) && MatchesWindow(w->hwnd, filter)) return w->hwnd;
    if (HWND c = FindPaintWindow(w->children, thread, filter)) return c;
  }
  return nullptr;
}

bool PeekInternal(MSG* out, HWND hwnd, UINT lo, UINT hi, UINT remove) {
  auto& s = S();
  auto q = ThisQueue();
  Lock lock(s.mu);
  HandleIncomingSent(*q, lock);
  std::uint64_t now = Now();
  for (auto it = q->posted.begin(); it != q->posted.end(); ++it) {
    if (!InRange(it->message, lo, hi) || !MatchesWindow(it->hwnd, hwnd)) continue;
    *out = *it;
    if (remove & PM_REMOVE) q->posted.erase(it);
    q->last = *out;
    return true;
  }
  if (q->quit && InRange(WM_QUIT, lo, hi)) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q->quitCode), 0, static_cast<DWORD>(now), s.cursor};
    if (remove & PM_REMOVE) q->quit = false;
    return true;
  }
  if (InRange(WM_PAINT, lo, hi)) {
    if (HWND p = FindPaintWindow(s.topLevels, q->thread, hwnd)) {
      *out = MSG{p, WM_PAINT, 0, 0, static_cast<DWORD>(now), s.cursor};
      if (auto w = Find(p)) w->internalPaint = false;
      q->last = *out;
      return true;
    }
  }
  if (InRange(WM_TIMER, lo, hi)) {
    Timer* due = nullptr;
    for (Timer& t : q->timers)
      if (t.due <= now && MatchesWindow(t.hwnd, hwnd) && (!due || t.due < due->due)) due = &t;
    if (due) {
      *out = MSG{due->hwnd, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc), static_cast<DWORD>(now), s.cursor};
      if (remove & PM_REMOVE) due->due = now + due->period;
      q->last = *out;
      return true;
    }
  }
  return false;
}

thread_local int t_dispatchDepth = 0;
thread_local int t_emptyPeeks = 0;

// The thread that waits for native events (the first one that ever waited).
bool IsEventThread() {
  static const std::thread::id first = std::this_thread::get_id();
  return first == std::this_thread::get_id();
}

// Whether a message the caller's filter accepts is queued or a send waits.
bool HasMatching(Queue& q, HWND hwnd, UINT lo, UINT hi) {
  if (!q.sent.empty()) return true;
  for (const MSG& m : q.posted)
    if (InRange(m.message, lo, hi) && MatchesWindow(m.hwnd, hwnd)) return true;
  return false;
}

// Blocks until something for this thread may be there. Headless: moves the virtual clock to the
// next due timer or scheduled action; with nothing due, waits briefly for other threads and
// then gives up loudly. Queued messages the filter rejects do not end the wait.
void WaitInternal(const char* where, HWND hwnd = nullptr, UINT lo = 0, UINT hi = 0) {
  auto& s = S();
  auto q = ThisQueue();
  winport::Backend& backend = winport::CurrentBackend();
  PresentDirty();
  bool any = false;
  std::uint64_t due = NextDueTime(*q, any);
  if (backend.VirtualClock()) {
    {
      Lock lock(s.mu);
      if (HasMatching(*q, hwnd, lo, hi)) return;
    }
    if (any) {
      Lock lock(s.mu);
      if (due > s.virtualNow) s.virtualNow = due;
      lock.unlock();
      ++g_waitDepth;
      while (RunDueActions()) {
      }
      --g_waitDepth;
      return;
    }
    Lock lock(s.mu);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!HasMatching(*q, hwnd, lo, hi)) {
      if (q->cv.wait_until(lock, deadline) == std::cv_status::timeout && !HasMatching(*q, hwnd, lo, hi)) {
        // Something may have become paintable from another thread.
        if (FindPaintWindow(s.topLevels, q->thread, nullptr)) return;
        FailWait(where);
      }
    }
    return;
  }
  std::uint64_t now = Now();
  std::uint64_t until = any ? due : now + 1000;
  if (until <= now) return;
  {
    Lock lock(s.mu);
    if (HasMatching(*q, hwnd, lo, hi)) return;
    if (!IsEventThread()) {
      q->cv.wait_for(lock, std::chrono::milliseconds(until - now));
      return;
    }
  }
  backend.WaitEvents(until);
  ++g_waitDepth;
  while (RunDueActions()) {
  }
  --g_waitDepth;
}

}  // namespace

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto w = Find(hwnd);
  if (!w) return 0;
  if (w->thread == std::this_thread::get_id()) return CallProc(w, msg, wParam, lParam);
  auto& s = S();
  auto me = ThisQueue();
  auto m = std::make_shared<SentMessage>(SentMessage{hwnd, msg, wParam, lParam, 0, false, me});
  Lock lock(s.mu);
  auto target = QueueOf(w->thread);
  if (!target) return 0;
  target->sent.push_back(m);
  Wake(*target);
  while (!m->done) {
    HandleIncomingSent(*me, lock);
    if (m->done) break;
    me->cv.wait_for(lock, std::chrono::milliseconds(50));
    if (!Find(hwnd) || !QueueOf(w->thread)) break;
  }
  return m->result;
}

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& s = S();
  std::shared_ptr<Queue> q;
  if (!hwnd) {
    q = ThisQueue();
  } else {
    auto w = Find(hwnd);
    if (!w) return FALSE;
    q = QueueOf(w->thread);
    if (!q) return FALSE;
  }
  Lock lock(s.mu);
  q->posted.push_back(MSG{hwnd, msg, wParam, lParam, static_cast<DWORD>(Now()), s.cursor});
  Wake(*q);
  return TRUE;
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc || !IsWindow(hwnd)) return 0;
  return proc(hwnd, msg, wParam, lParam);
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  MSG tmp{};
  bool got = PeekInternal(&tmp, hwnd, filterMin, filterMax, removeMsg);
  if (!got) {
    winport::Backend& backend = winport::CurrentBackend();
    if (!backend.VirtualClock()) {
      // Like the desktop, a peek also takes in pending native input.
      if (IsEventThread()) {
        PresentDirty();
        backend.WaitEvents(0);
        got = PeekInternal(&tmp, hwnd, filterMin, filterMax, removeMsg);
      }
    } else if (t_dispatchDepth > 0 && ++t_emptyPeeks >= 64) {
      // A handler polling in a loop on a virtual clock would spin for ever: let time pass as
      // a wait would.
      t_emptyPeeks = 0;
      WaitInternal("PeekMessage", hwnd, filterMin, filterMax);
      got = PeekInternal(&tmp, hwnd, filterMin, filterMax, removeMsg);
    }
  }
  if (got) t_emptyPeeks = 0;
  if (got && msg) *msg = tmp;
  return got ? TRUE : FALSE;
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  MSG tmp{};
  // A filter window that is gone (perhaps destroyed by a message sent while we waited) will
  // never get a message: fail as the desktop does instead of waiting for ever.
  const bool ownWindow = hwnd && hwnd != reinterpret_cast<HWND>(-1);
  while (!PeekInternal(&tmp, hwnd, filterMin, filterMax, PM_REMOVE)) {
    if (ownWindow && !IsWindow(hwnd)) return -1;
    WaitInternal("GetMessage", hwnd, filterMin, filterMax);
  }
  // A loop that never runs dry (busy timers) still shows its paints on real windows.
  if (!winport::CurrentBackend().VirtualClock() && IsEventThread()) {
    static thread_local std::uint64_t lastPresent = 0;
    std::uint64_t now = Now();
    if (now - lastPresent >= 15) {
      lastPresent = now;
      PresentDirty();
    }
  }
  if (msg) *msg = tmp;
  return tmp.message == WM_QUIT ? FALSE : TRUE;
}

BOOL WaitMessage() {
  MSG tmp{};
  if (!PeekInternal(&tmp, nullptr, 0, 0, PM_NOREMOVE)) WaitInternal("WaitMessage");
  return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  UINT vk = static_cast<UINT>(msg->wParam);
  wchar_t ch = 0;
  bool shift = GetKeyState(VK_SHIFT) < 0;
  if (vk >= 'A' && vk <= 'Z')
    ch = static_cast<wchar_t>(shift ? vk : vk + 32);
  else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE)
    ch = static_cast<wchar_t>(vk);
  else if (vk == VK_RETURN || vk == VK_BACK || vk == VK_TAB || vk == VK_ESCAPE)
    ch = static_cast<wchar_t>(vk);
  if (!ch) return FALSE;
  return PostMessageW(msg->hwnd, WM_CHAR, static_cast<WPARAM>(ch), msg->lParam);
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    if (msg->hwnd && !IsWindow(msg->hwnd)) return 0;
    proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(Now()));
    return 0;
  }
  if (!msg->hwnd) return 0;
  auto w = Find(msg->hwnd);
  if (!w) return 0;
  ++t_dispatchDepth;
  LRESULT r = CallProc(w, msg->message, msg->wParam, msg->lParam);
  --t_dispatchDepth;
  return r;
}

void PostQuitMessage(int exitCode) {
  auto q = ThisQueue();
  Lock lock(S().mu);
  q->quit = true;
  q->quitCode = exitCode;
  Wake(*q);
}

BOOL InSendMessage() {
  auto q = ThisQueue();
  return q->inSend > 0 ? TRUE : FALSE;
}

DWORD GetMessageTime() { return ThisQueue()->last.time; }
DWORD GetMessagePos() {
  POINT p = ThisQueue()->last.pt;
  return static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  auto& s = S();
  std::shared_ptr<Queue> q;
  if (hwnd) {
    auto w = Find(hwnd);
    if (!w) return 0;
    q = QueueOf(w->thread);
  } else {
    q = ThisQueue();
  }
  if (!q) return 0;
  elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  Lock lock(s.mu);
  if (!hwnd && id == 0) {
    static UINT_PTR nextId = 0x7000;
    id = ++nextId;
  }
  std::uint64_t due = Now() + elapse;
  for (Timer& t : q->timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t.period = elapse;
      t.due = due;
      t.proc = proc;
      return hwnd ? (id ? id : 1) : id;
    }
  }
  q->timers.push_back(Timer{hwnd, id, elapse, due, proc});
  Wake(*q);
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& s = S();
  Lock lock(s.mu);
  bool found = false;
  for (auto& [tid, q] : s.queues) {
    auto n = std::erase_if(q->timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    // A WM_TIMER already taken from the queue stays delivered; one still waiting is dropped.
    std::erase_if(q->posted, [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id; });
    found = found || n > 0;
  }
  return found ? TRUE : FALSE;
}

DWORD GetTickCount() { return static_cast<DWORD>(Now()); }
unsigned long long GetTickCount64() { return Now(); }
UINT GetDoubleClickTime() { return 500; }

void Sleep(DWORD ms) {
  if (winport::CurrentBackend().VirtualClock()) {
    Lock lock(S().mu);
    S().virtualNow += ms;
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
