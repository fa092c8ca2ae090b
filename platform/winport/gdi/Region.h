// A set of pixels made of disjoint rectangles (left/top in, right/bottom out). Clip regions and
// HRGN objects are both this; the operations keep the rectangles disjoint.
#pragma once
#include <span>
#include <vector>

#include "winport/base/types.h"

namespace winport {

class WINPORT_API Region {
 public:
  Region() = default;
  explicit Region(const RECT& r) { if (!IsEmptyRect(r)) rects_.push_back(r); }

  static bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

  bool Empty() const { return rects_.empty(); }
  bool IsRect() const { return rects_.size() == 1; }
  std::span<const RECT> Rects() const { return rects_; }
  // Smallest rectangle holding every pixel; all zeros when empty.
  RECT Bounds() const;
  bool Contains(int x, int y) const;
  bool operator==(const Region& o) const;

  void Clear() { rects_.clear(); }
  void SetRect(const RECT& r);
  void Offset(int dx, int dy);
  void Union(const Region& o);
  void Intersect(const Region& o);
  void Intersect(const RECT& r);
  void Subtract(const Region& o);
  void Xor(const Region& o);

 private:
  void AddDisjoint(const RECT& r) { if (!IsEmptyRect(r)) rects_.push_back(r); }
  // Joins neighbours that form a rectangle, so a rectangular result reads as one.
  void Coalesce();
  std::vector<RECT> rects_;
};

}  // namespace winport
