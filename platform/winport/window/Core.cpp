// The shared state of the window system, the clock, back-end selection and the geometry and
// invalidation rules every API function relies on.
#include "winport/window/detail/Core.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace winport {

namespace {

class HeadlessBackend final : public Backend {
 public:
  const char* Name() const override { return "headless"; }
  bool VirtualClock() const override { return true; }
  std::uint64_t Now() override { return detail::S().virtualNow; }
  SIZE ScreenSize() override { return detail::S().headlessScreen; }
  void WaitEvents(std::uint64_t) override {}
  std::shared_ptr<PromptProvider> Prompts() override { return detail::HeadlessPrompts(); }
};

}  // namespace

std::unique_ptr<Backend> MakeSdl2Backend();  // null when SDL2 is absent or cannot start

bool SelectBackend(const char* name) {
  auto& s = detail::S();
  detail::Lock lock(s.mu);
  if (!name) return false;
  if (std::strcmp(name, "headless") == 0) {
    s.backend = std::make_unique<HeadlessBackend>();
    return true;
  }
  if (std::strcmp(name, "sdl2") == 0) {
    auto b = MakeSdl2Backend();
    if (!b) return false;
    s.backend = std::move(b);
    return true;
  }
  return false;
}

const char* BackendName() { return CurrentBackend().Name(); }

Backend& CurrentBackend() {
  auto& s = detail::S();
  detail::Lock lock(s.mu);
  if (!s.backend) {
    const char* env = std::getenv("WINPORT_BACKEND");
    if (!(env && std::strcmp(env, "sdl2") == 0 && SelectBackend("sdl2")))
      s.backend = std::make_unique<HeadlessBackend>();
  }
  return *s.backend;
}

}  // namespace winport

namespace winport::detail {

thread_local int g_waitDepth = 0;

State& S() {
  static State* state = new State();  // outlives every static destructor that may touch windows
  return *state;
}

std::shared_ptr<Window> Find(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& s = S();
  Lock lock(s.mu);
  auto it = s.windows.find(hwnd);
  return it == s.windows.end() ? nullptr : it->second;
}

namespace {
// Drops the thread's queue when the thread ends and answers senders still waiting on it.
struct QueueOwner {
  std::shared_ptr<Queue> q;
  ~QueueOwner() {
    if (!q) return;
    auto& s = S();
    Lock lock(s.mu);
    for (auto& m : q->sent) {
      m->done = true;
      if (m->sender) m->sender->cv.notify_all();
    }
    q->sent.clear();
    s.queues.erase(q->thread);
  }
};
thread_local QueueOwner t_queue;
}  // namespace

std::shared_ptr<Queue> QueueOf(std::thread::id thread) {
  auto& s = S();
  Lock lock(s.mu);
  auto it = s.queues.find(thread);
  return it == s.queues.end() ? nullptr : it->second;
}

std::shared_ptr<Queue> ThisQueue() {
  if (t_queue.q) return t_queue.q;
  auto& s = S();
  Lock lock(s.mu);
  auto q = std::make_shared<Queue>();
  q->thread = std::this_thread::get_id();
  s.queues[q->thread] = q;
  t_queue.q = q;
  return q;
}

std::uint64_t Now() {
  Backend& b = CurrentBackend();
  return b.VirtualClock() ? S().virtualNow : b.Now();
}

void Wake(Queue& q) {
  q.cv.notify_all();
  auto& s = S();
  if (s.backend && !s.backend->VirtualClock()) s.backend->Wake();
}

RECT NonClientInsets(const Window& w) {
  int b = 0;
  if (w.style & WS_BORDER) b += 1;
  if (w.exStyle & WS_EX_CLIENTEDGE) b += 2;
  if (w.exStyle & WS_EX_STATICEDGE) b += 1;
  RECT r{b, b, b, b};
  if (w.style & WS_VSCROLL) r.right += 17;
  if (w.style & WS_HSCROLL) r.bottom += 17;
  return r;
}

RECT ClientRectOf(const Window& w) {
  RECT nc = NonClientInsets(w);
  int cx = (w.rect.right - w.rect.left) - nc.left - nc.right;
  int cy = (w.rect.bottom - w.rect.top) - nc.top - nc.bottom;
  return RECT{0, 0, std::max(cx, 0), std::max(cy, 0)};
}

POINT ClientOriginOnScreen(const Window& w) {
  RECT nc = NonClientInsets(w);
  POINT p{w.rect.left + nc.left, w.rect.top + nc.top};
  if (auto parent = Find(w.parent); parent && (w.style & WS_CHILD)) {
    POINT o = ClientOriginOnScreen(*parent);
    p.x += o.x;
    p.y += o.y;
  }
  return p;
}

RECT WindowRectOnScreen(const Window& w) {
  RECT r = w.rect;
  if (auto parent = Find(w.parent); parent && (w.style & WS_CHILD)) {
    POINT o = ClientOriginOnScreen(*parent);
    OffsetRect(&r, o.x, o.y);
  }
  return r;
}

bool IsVisibleLocked(const Window& w) {
  if (!(w.style & WS_VISIBLE)) return false;
  if (w.style & WS_CHILD) {
    auto parent = Find(w.parent);
    return parent && IsVisibleLocked(*parent);
  }
  return true;
}

HWND TopLevelOf(HWND hwnd) {
  auto w = Find(hwnd);
  while (w && (w->style & WS_CHILD) && w->parent) {
    auto p = Find(w->parent);
    if (!p) break;
    w = p;
  }
  return w ? w->hwnd : nullptr;
}

void InvalidateLocked(Window& w, const RECT* rect, bool erase, bool children) {
  RECT client = ClientRectOf(w);
  RECT r = client;
  if (rect && !IntersectRect(&r, rect, &client)) return;
  if (IsRectEmpty(&r)) return;
  w.update.Union(Region(r));
  // Many scattered pieces cost more to keep and clip to than painting their bounding box.
  constexpr std::size_t kMaxUpdatePieces = 64;
  if (w.update.Rects().size() > kMaxUpdatePieces) w.update.SetRect(w.update.Bounds());
  w.erase = w.erase || erase;
  if (children && !(w.style & WS_CLIPCHILDREN)) {
    for (HWND h : w.children) {
      auto c = Find(h);
      if (!c || !(c->style & WS_VISIBLE)) continue;
      RECT nc = NonClientInsets(*c);
      RECT inChild = r;
      OffsetRect(&inChild, -(c->rect.left + nc.left), -(c->rect.top + nc.top));
      InvalidateLocked(*c, &inChild, erase, true);
    }
  }
  if (auto q = QueueOf(w.thread)) Wake(*q);
}

bool NeedsPaint(const Window& w) {
  return (!w.update.Empty() || w.internalPaint) && IsVisibleLocked(w);
}

bool RunDueActions() {
  auto& s = S();
  Lock lock(s.mu);
  std::uint64_t now = Now();
  auto it = std::min_element(s.actions.begin(), s.actions.end(), [](const Action& a, const Action& b) {
    return a.time != b.time ? a.time < b.time : a.seq < b.seq;
  });
  if (it == s.actions.end() || it->time > now) return false;
  auto fn = std::move(it->fn);
  s.actions.erase(it);
  lock.unlock();
  if (fn) fn();
  return true;
}

std::uint64_t NextDueTime(Queue& q, bool& any) {
  auto& s = S();
  Lock lock(s.mu);
  any = false;
  std::uint64_t t = ~0ull;
  for (const Timer& tm : q.timers) {
    t = std::min(t, tm.due);
    any = true;
  }
  if (q.thread == std::this_thread::get_id()) {
    for (const Action& a : s.actions) {
      t = std::min(t, a.time);
      any = true;
    }
  }
  return t;
}

void FailWait(const char* where) {
  std::fprintf(stderr,
               "winport headless: %s waits for a message but nothing is queued and no timer or "
               "scheduled action is due; the wait would never end.\n",
               where);
  std::fflush(stderr);
  std::abort();
}

namespace {
CreateHook g_createHook = nullptr;
DestroyHook g_destroyHook = nullptr;
}  // namespace

void SetFrameworkHooks(CreateHook onCreate, DestroyHook onDestroyed) {
  g_createHook = onCreate;
  g_destroyHook = onDestroyed;
}
void CallCreateHook(HWND h) {
  if (g_createHook) g_createHook(h);
}
void CallDestroyHook(HWND h) {
  if (g_destroyHook) g_destroyHook(h);
}

}  // namespace winport::detail
