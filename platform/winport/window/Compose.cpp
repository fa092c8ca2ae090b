// Composition: a window as a screenshot shows it, its surface with the visible children on top
// in z-order, each clipped to its parent's client area. Runs no paint. A native window is
// presented only where something changed since its last present.
#include <algorithm>
#include <vector>

#include "winport/window/detail/Core.h"

namespace winport::detail {

void FillRectClipped(Surface& dst, RECT r, Pixel p, const RECT& clipIn) {
  // A surface may cover only part of a window past the surface cap.
  const RECT clip{std::max<int>(clipIn.left, 0), std::max<int>(clipIn.top, 0), std::min(clipIn.right, dst.Width()),
                  std::min(clipIn.bottom, dst.Height())};
  if (!IntersectRect(&r, &r, &clip)) return;
  for (int y = r.top; y < r.bottom; ++y) std::fill(dst.Row(y) + r.left, dst.Row(y) + r.right, p);
}

namespace {

// A clip within the destination: a surface may cover only part of a window past the surface cap.
RECT Within(const Surface& dst, const RECT& clip) {
  return RECT{std::max<int>(clip.left, 0), std::max<int>(clip.top, 0), std::min(clip.right, dst.Width()),
              std::min(clip.bottom, dst.Height())};
}

void Blit(Surface& dst, const Surface& src, int dx, int dy, const RECT& clipIn) {
  const RECT clip = Within(dst, clipIn);
  int x0 = std::max<int>(dx, clip.left), y0 = std::max<int>(dy, clip.top);
  int x1 = std::min<int>(dx + src.Width(), clip.right), y1 = std::min<int>(dy + src.Height(), clip.bottom);
  for (int y = y0; y < y1; ++y) {
    const Pixel* s = src.Row(y - dy) + (x0 - dx);
    Pixel* d = dst.Row(y) + x0;
    if (x1 > x0) std::copy(s, s + (x1 - x0), d);
  }
}

void DrawNonClient(Surface& dst, const Window& w, RECT wr, const RECT& clip) {
  RECT nc = NonClientInsets(w);
  Pixel frame = ToPixel(GetSysColor(COLOR_WINDOWFRAME));
  int b = nc.left;
  if (b > 0) {
    FillRectClipped(dst, RECT{wr.left, wr.top, wr.right, wr.top + b}, frame, clip);
    FillRectClipped(dst, RECT{wr.left, wr.bottom - b, wr.right, wr.bottom}, frame, clip);
    FillRectClipped(dst, RECT{wr.left, wr.top, wr.left + b, wr.bottom}, frame, clip);
    FillRectClipped(dst, RECT{wr.right - b, wr.top, wr.right, wr.bottom}, frame, clip);
  }
  DrawWindowScrollBars(dst, w, wr, clip);
}

// Draws the children of w into dst, whose origin is w's client origin offset by (ox, oy).
void ComposeChildren(Surface& dst, const Window& w, int ox, int oy, const RECT& clip) {
  for (auto it = w.children.rbegin(); it != w.children.rend(); ++it) {
    auto c = Find(*it);
    if (!c || !(c->style & WS_VISIBLE)) continue;
    RECT wr = c->rect;
    OffsetRect(&wr, ox, oy);
    RECT childClip;
    if (!IntersectRect(&childClip, &wr, &clip)) continue;
    DrawNonClient(dst, *c, wr, childClip);
    RECT nc = NonClientInsets(*c);
    int cx = wr.left + nc.left, cy = wr.top + nc.top;
    RECT cr = ClientRectOf(*c);
    OffsetRect(&cr, cx, cy);
    RECT inner;
    if (!IntersectRect(&inner, &cr, &childClip)) continue;
    if (c->surface) Blit(dst, *c->surface, cx, cy, inner);
    ComposeChildren(dst, *c, cx, cy, inner);
  }
}

}  // namespace

Surface ComposeClient(HWND hwnd) {
  auto w = Find(hwnd);
  if (!w || !w->surface) return Surface();
  Lock lock(S().mu);
  Surface out = *w->surface;
  RECT clip{0, 0, out.Width(), out.Height()};
  ComposeChildren(out, *w, 0, 0, clip);
  return out;
}

namespace {

// Composes the part `area` (window coordinates) of a top-level window into out.
void ComposeArea(const Window& w, Surface& out, const RECT& area) {
  RECT nc = NonClientInsets(w);
  RECT cr = ClientRectOf(w);
  const bool covered = w.surface && w.surface->Width() >= cr.right && w.surface->Height() >= cr.bottom;
  if (nc.left || nc.top || nc.right || nc.bottom || !covered)
    FillRectClipped(out, area, ToPixel(GetSysColor(COLOR_BTNFACE)), area);
  const RECT all{0, 0, out.Width(), out.Height()};
  DrawNonClient(out, w, all, area);
  OffsetRect(&cr, nc.left, nc.top);
  RECT inner;
  if (!IntersectRect(&inner, &cr, &area)) return;
  if (w.surface) Blit(out, *w.surface, nc.left, nc.top, inner);
  ComposeChildren(out, w, nc.left, nc.top, inner);
}

// Beyond this many pieces one bounding rectangle costs less than the bookkeeping.
constexpr std::size_t kMaxPresentRects = 16;

std::vector<RECT> PresentRects(const Region& dirty) {
  if (dirty.Rects().size() > kMaxPresentRects) return {dirty.Bounds()};
  return {dirty.Rects().begin(), dirty.Rects().end()};
}

}  // namespace

void MarkPresent(HWND hwnd, const RECT* client) {
  auto& s = S();
  Lock lock(s.mu);
  if (!s.backend || s.backend->VirtualClock()) return;
  auto w = Find(hwnd);
  auto top = w ? Find(TopLevelOf(hwnd)) : nullptr;
  if (!top) return;
  // Window coordinates of the top-level window: what the native window shows.
  const RECT topRect = WindowRectOnScreen(*top);
  RECT r = WindowRectOnScreen(*w);
  if (client) {
    const POINT o = ClientOriginOnScreen(*w);
    r = *client;
    OffsetRect(&r, o.x, o.y);
  }
  OffsetRect(&r, -topRect.left, -topRect.top);
  const RECT bounds{0, 0, topRect.right - topRect.left, topRect.bottom - topRect.top};
  if (IntersectRect(&r, &r, &bounds)) top->unpresented.Union(Region(r));
}

void PresentDirty() {
  auto& s = S();
  std::vector<std::shared_ptr<Window>> due;
  {
    Lock lock(s.mu);
    if (!s.backend || s.backend->VirtualClock()) return;
    for (HWND h : s.topLevels)
      if (auto w = Find(h); w && w->native && !w->unpresented.Empty() && w->thread == std::this_thread::get_id())
        due.push_back(std::move(w));
  }
  for (auto& w : due) {
    std::vector<RECT> rects;
    {
      Lock lock(s.mu);
      const SIZE size = Surface::Capped(w->rect.right - w->rect.left, w->rect.bottom - w->rect.top);
      const bool fresh = w->composed.Width() != size.cx || w->composed.Height() != size.cy;
      if (fresh) {
        // The last composition's buffer is reused: a fresh one per frame costs more in page
        // faults than the composing itself.
        w->composed = Surface(size.cx, size.cy);
        w->unpresented.SetRect(RECT{0, 0, size.cx, size.cy});
      }
      w->unpresented.Intersect(RECT{0, 0, size.cx, size.cy});
      rects = PresentRects(w->unpresented);
      w->unpresented.Clear();
      for (const RECT& r : rects) ComposeArea(*w, w->composed, r);
    }
    if (!rects.empty()) s.backend->Present(w->hwnd, w->composed, rects);
  }
}

}  // namespace winport::detail
