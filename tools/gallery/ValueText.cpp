#include "tools/gallery/ValueText.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

namespace gallery {

std::wstring CompactNumber(long long value) {
  if (value > -100000 && value < 100000) return std::to_wstring(value);
  static constexpr struct {
    double scale;
    wchar_t suffix;
  } kUnits[] = {{1e9, L'G'}, {1e6, L'M'}, {1e3, L'k'}};
  const double v = static_cast<double>(value);
  for (const auto& u : kUnits) {
    if (std::fabs(v) < u.scale) continue;
    const double scaled = v / u.scale;
    const double mag = std::fabs(scaled);
    // Three significant digits; 999.96 M rounds to 1000 M, which is still three digits wide.
    const int decimals = mag < 10 ? 2 : mag < 100 ? 1 : 0;
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%.*f %lc", decimals, scaled, static_cast<wint_t>(u.suffix));
    return buf;
  }
  return std::to_wstring(value);
}

}  // namespace gallery
