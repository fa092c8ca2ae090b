// Where the window system meets GDI: DCs on window surfaces, brush fills, system colour brushes.
#include "winport/window/Core.h"

namespace winport::detail {

HDC CreateWindowDC(const std::shared_ptr<Surface>&, const RECT*) { return nullptr; }
void DeleteWindowDC(HDC) {}
void FillWithBrush(HDC, const RECT&, HBRUSH) {}

}  // namespace winport::detail

HBRUSH GetSysColorBrush(int) { return nullptr; }
