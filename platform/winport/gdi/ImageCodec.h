// Image decoding and PNG writing over surfaces: bitmaps, loaded files and screenshots share one
// codec. Below the drawing API and above nothing but the surface type.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "winport/base/types.h"
#include "winport/gdi/Surface.h"

namespace winport {

// BMP (1/4/8/24/32 bits), PNG, JPEG. Pixels 0x00RRGGBB; images with an alpha channel keep it in
// the top byte (straight, not premultiplied). nullopt on anything undecodable.
WINPORT_API std::optional<Surface> DecodeImage(std::span<const std::uint8_t> bytes);
WINPORT_API std::optional<Surface> LoadImageFile(LPCWSTR path);
// RGB PNG (the top byte is not written); false on an empty surface or an unwritable path.
WINPORT_API bool WritePng(const Surface& surface, const char* path);
// The same PNG in memory; empty on failure.
WINPORT_API std::vector<std::uint8_t> EncodePng(const Surface& surface);

}  // namespace winport
