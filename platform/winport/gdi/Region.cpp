#include "winport/gdi/Region.h"

#include <algorithm>
#include <cstdint>

#include "winport/base/geometry.h"

namespace winport {
namespace {

RECT Intersection(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

// a minus b as up to four disjoint bands: above, below, left, right of the overlap.
template <class Out>
void SubtractRect(const RECT& a, const RECT& b, Out&& out) {
  const RECT i = Intersection(a, b);
  if (Region::IsEmptyRect(i)) {
    out(a);
    return;
  }
  out(RECT{a.left, a.top, a.right, i.top});
  out(RECT{a.left, i.bottom, a.right, a.bottom});
  out(RECT{a.left, i.top, i.left, i.bottom});
  out(RECT{i.right, i.top, a.right, i.bottom});
}

}  // namespace

RECT Region::Bounds() const {
  if (rects_.empty()) return RECT{0, 0, 0, 0};
  RECT b = rects_.front();
  for (const RECT& r : rects_) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

bool Region::Contains(int x, int y) const {
  return std::any_of(rects_.begin(), rects_.end(), [&](const RECT& r) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  });
}

bool Region::operator==(const Region& o) const {
  // Same pixels, whatever the split into rectangles.
  Region a = *this;
  a.Xor(o);
  return a.Empty();
}

void Region::SetRect(const RECT& r) {
  rects_.clear();
  AddDisjoint(r);
}

void Region::Offset(int dx, int dy) {
  // Edges saturate at the coordinate limit; a piece squeezed to nothing there is dropped.
  for (RECT& r : rects_) {
    r.left = SatCoord(std::int64_t{r.left} + dx);
    r.right = SatCoord(std::int64_t{r.right} + dx);
    r.top = SatCoord(std::int64_t{r.top} + dy);
    r.bottom = SatCoord(std::int64_t{r.bottom} + dy);
  }
  std::erase_if(rects_, [](const RECT& r) { return IsEmptyRect(r); });
}

void Region::Coalesce() {
  // Small regions only ever reach here (clips, update areas), so pairwise passes are fine.
  constexpr std::size_t kMaxRects = 256;
  if (rects_.size() < 2 || rects_.size() > kMaxRects) return;
  bool merged = true;
  while (merged) {
    merged = false;
    for (std::size_t i = 0; i < rects_.size() && !merged; ++i) {
      for (std::size_t j = 0; j < rects_.size() && !merged; ++j) {
        if (i == j) continue;
        RECT& a = rects_[i];
        const RECT& b = rects_[j];
        if (a.top == b.top && a.bottom == b.bottom && a.right == b.left) {
          a.right = b.right;
        } else if (a.left == b.left && a.right == b.right && a.bottom == b.top) {
          a.bottom = b.bottom;
        } else {
          continue;
        }
        rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(j));
        merged = true;
      }
    }
  }
}

void Region::Union(const Region& o) {
  Region extra = o;
  extra.Subtract(*this);
  rects_.insert(rects_.end(), extra.rects_.begin(), extra.rects_.end());
  Coalesce();
}

void Region::Intersect(const Region& o) {
  std::vector<RECT> out;
  for (const RECT& a : rects_) {
    for (const RECT& b : o.rects_) {
      const RECT i = Intersection(a, b);
      if (!IsEmptyRect(i)) out.push_back(i);
    }
  }
  rects_ = std::move(out);
}

void Region::Intersect(const RECT& r) { Intersect(Region(r)); }

void Region::Subtract(const Region& o) {
  for (const RECT& b : o.rects_) {
    std::vector<RECT> out;
    for (const RECT& a : rects_) {
      SubtractRect(a, b, [&](const RECT& piece) {
        if (!IsEmptyRect(piece)) out.push_back(piece);
      });
    }
    rects_ = std::move(out);
  }
  Coalesce();
}

void Region::Xor(const Region& o) {
  Region onlyOther = o;
  onlyOther.Subtract(*this);
  Subtract(o);
  rects_.insert(rects_.end(), onlyOther.rects_.begin(), onlyOther.rects_.end());
  Coalesce();
}

}  // namespace winport
