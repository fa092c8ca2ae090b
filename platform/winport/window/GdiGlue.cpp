// Where the window system meets GDI: DCs on window surfaces, brush fills, system colour brushes.
#include <array>
#include <mutex>

#include "winport/gdi/DeviceContext.h"
#include "winport/gdi/Gdi32.h"
#include "winport/window/detail/Core.h"

namespace winport::detail {

HDC CreateWindowDC(const std::shared_ptr<Surface>& surface, const Region* clip) {
  HDC dc = CreateDCForSurface(surface);
  if (dc && clip) SetDCVisibleRegion(dc, clip);
  return dc;
}

void DeleteWindowDC(HDC hdc) {
  if (hdc) DeleteDC(hdc);
}

void FillWithBrush(HDC hdc, const RECT& rect, HBRUSH brush) { FillRect(hdc, &rect, brush); }

}  // namespace winport::detail

HBRUSH GetSysColorBrush(int index) {
  // Created once per colour and never deleted, like the platform's own.
  static std::array<HBRUSH, 32> brushes{};
  static std::mutex mu;
  if (index < 0 || index >= 32) return nullptr;
  std::lock_guard<std::mutex> lock(mu);
  if (!brushes[index]) brushes[index] = CreateSolidBrush(GetSysColor(index));
  return brushes[index];
}
