#include "controls/TimerLogic.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace timerwnd {

std::array<int, kCellCount> Cells(DWORD dwSeconds) {
  DWORD hours = dwSeconds / 3600;
  const DWORD rest = dwSeconds % 3600;
  if (hours > 23) hours -= 24;
  hours %= 100;
  const int h = static_cast<int>(hours);
  const int m = static_cast<int>(rest / 60), s = static_cast<int>(rest % 60);
  return {h / 10, h % 10, kColon, m / 10, m % 10, kColon, s / 10, s % 10};
}

DWORD TotalSeconds(int nHour, int nMinute, int nSecond) {
  const std::int64_t total = static_cast<std::int64_t>(nSecond) + static_cast<std::int64_t>(nMinute) * 60 +
                             static_cast<std::int64_t>(nHour) * 3600;
  return static_cast<DWORD>(std::clamp<std::int64_t>(total, 0, static_cast<std::int64_t>(kNoTime) - 1));
}

bool FitSize(int nNumWidth, int nNumHeight, int nFrameWidth, SIZE& size) {
  const std::int64_t cx = 8LL * nNumWidth + 2LL * nFrameWidth;
  const std::int64_t cy = static_cast<std::int64_t>(nNumHeight) + 2LL * nFrameWidth;
  if (cx <= 0 || cy <= 0 || cx > INT_MAX || cy > INT_MAX) return false;
  size.cx = static_cast<LONG>(cx);
  size.cy = static_cast<LONG>(cy);
  return true;
}

RECT InitialRect(POINT pt) { return RECT{pt.x, pt.y, std::max<LONG>(pt.x, 10), std::max<LONG>(pt.y, 10)}; }

}  // namespace timerwnd
