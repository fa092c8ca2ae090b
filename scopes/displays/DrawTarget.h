// Internal: what every scope display draws into and the per-target tables it keeps. A target is
// checked once where a drawing enters; a display trusts it below.
#pragma once
#include <optional>

#include "foundation/TArray.h"
#include "winport/base/geometry.h"
#include "winport/base/types.h"

namespace scopes_detail {

// A buffer of step x rows pixels (0x00RRGGBB, cleared by the caller) and the rectangle drawn
// in, non-empty and far inside the coordinate range. The rectangle may reach past the buffer.
struct DrawTarget {
  DWORD* buf = nullptr;
  int step = 0;
  int rows = 0;
  CRect rc;
  long long Pixels() const { return static_cast<long long>(step) * rows; }
  DWORD* Row(int y) const { return buf + static_cast<long long>(y) * step; }
};

// Nothing for a null buffer, a buffer of no pixels or of more than INT_MAX, or an empty or
// outlandish rectangle.
std::optional<DrawTarget> CheckTarget(DWORD* pBuf, int nStep, int nRows, const CRect& rc);
// The whole buffer as the rectangle.
std::optional<DrawTarget> CheckTarget(DWORD* pBuf, int nWidth, int nHeight);

// A table made for a target and reused while the target keeps what the table depends on (Key,
// compared with ==). Copies with its table.
template <class Key, class T>
class TableCache {
 public:
  // The table of n entries for key: kept when key matches the last one, else made anew by
  // fill(T* table). Null when the table cannot be had.
  template <class Fill>
  const T* For(const Key& key, int n, Fill fill) {
    if (m_key && *m_key == key && m_table.GetSize() == n) return m_table.GetData();
    m_key.reset();
    m_table.SetSize(n, -1);
    if (m_table.GetSize() != n) return nullptr;
    fill(m_table.GetData());
    m_key = key;
    return m_table.GetData();
  }
  void Reset() { m_key.reset(); }

 private:
  std::optional<Key> m_key;
  CTArray<T> m_table;
};

}  // namespace scopes_detail
