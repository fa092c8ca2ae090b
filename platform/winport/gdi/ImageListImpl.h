// Internal: image lists as the shell's system lists fill them (from decoded icon files).
#pragma once
#include "winport/gdi/ImageList.h"
#include "winport/gdi/Surface.h"

namespace winport::detail {
// Adds one image from straight-alpha pixels (0xAARRGGBB) of the list's size; -1 on failure.
int ImageListAddArgb(HIMAGELIST himl, const Surface& image);
// The image's premultiplied pixels (0xAARRGGBB); empty for a bad index.
Surface ImageListGetArgb(HIMAGELIST himl, int i);
}  // namespace winport::detail
