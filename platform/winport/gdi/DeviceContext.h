// How the window system and the companion reach DCs and bitmaps beneath the drawing API.
#pragma once
#include <memory>

#include "winport/base/types.h"
#include "winport/gdi/Region.h"
#include "winport/gdi/Surface.h"

namespace winport {

// A DC that draws into target (a window's surface); DeleteDC releases it. Null target: null.
WINPORT_API HDC CreateDCForSurface(std::shared_ptr<Surface> target);
// Restricts every drawing of the DC to region (device coordinates) whatever clip the caller
// selects: the update area of BeginPaint. nullptr lifts it.
WINPORT_API BOOL SetDCVisibleRegion(HDC hdc, const Region* region);
// The surface a DC draws into now (its selected bitmap for a memory DC); null for a bad DC.
WINPORT_API std::shared_ptr<Surface> GetDCSurface(HDC hdc);
// The display size GetDeviceCaps reports (HORZRES, VERTRES) for every DC, as on the desktop
// where memory and window DCs describe the screen. The back end sets it; 1920 x 1080 until then.
WINPORT_API void SetDisplaySize(int width, int height);
// A bitmap sharing pixels with surface / the pixels of a bitmap (null for a bad handle).
WINPORT_API HBITMAP CreateBitmapFromSurface(std::shared_ptr<Surface> surface);
WINPORT_API std::shared_ptr<Surface> GetBitmapSurface(HBITMAP bitmap);

}  // namespace winport
