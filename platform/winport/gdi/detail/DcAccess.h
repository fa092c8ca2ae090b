// Shared by the DC sources: finding a DC and building the Painter for its current state.
#pragma once
#include <memory>
#include <optional>

#include "winport/gdi/detail/GdiObjects.h"
#include "winport/gdi/Painter.h"

namespace winport::gdi {

std::shared_ptr<DcData> FindDC(HDC hdc);

// A painter over the DC's target with its clip and origin; keeps the surface alive.
class DcPainter {
 public:
  explicit DcPainter(DcData& dc);
  Painter& operator*() { return *painter_; }
  Painter* operator->() { return &*painter_; }

 private:
  std::shared_ptr<Surface> target_;
  std::optional<Region> clip_;
  std::optional<Painter> painter_;
};

POINT Origin(const DcState& s);
Pixel BrushPixelColor(const BrushData& b);
// The brush as a fill; false for a null brush.
bool BrushPaint(const DcState& s, const BrushData* b, Paint& out);
// The opaque-rectangle rule: corners ordered, then filled with the background colour.
void FillOpaque(DcData& dc, RECT r);

}  // namespace winport::gdi
