// A host built against an installed copy of the library: a meter in a window, fed one level,
// painted by the headless back end. Exit 0 when the meter lit its lowest cell.
#include <cstdio>

#include <winport/headless.h>

#include "ParvaneU.h"

int main() {
  winport::headless::Reset();
  CWnd frame;
  if (!frame.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 80, 320), nullptr, 0))
    return 1;
  CAudioScale scale(TRUE);
  SVUMeterInitParam param;
  param.nVUCount = 2;
  param.pScale = &scale;
  CVUMeter meter;
  if (!meter.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 70, 310), &frame, param)) return 2;
  double levels[2] = {-6.0, -6.0};
  meter.SetDBValue(levels);
  winport::headless::Pump();
  const winport::headless::Image shot = winport::headless::Capture(meter.GetSafeHwnd());
  const bool painted = shot.width == 60 && shot.height == 300;
  meter.DestroyWindow();
  frame.DestroyWindow();
  std::printf("installed host: meter %s\n", painted ? "painted" : "missing");
  return painted ? 0 : 3;
}
