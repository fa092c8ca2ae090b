// The resource chain: modules (the library, the host) register named or numbered resources when
// they load and remove them when they unload; lookups walk the chain from the newest module.
// Image decoding and PNG writing live here too, so bitmaps and screenshots share one codec.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "winport/base/types.h"
#include "winport/gdi/Surface.h"

#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_MANIFEST MAKEINTRESOURCEW(24)

namespace winport {

// A new module at the front of the chain; the handle identifies it until RemoveResourceModule.
HINSTANCE AddResourceModule(LPCWSTR moduleName);
void RemoveResourceModule(HINSTANCE module);
// nameOrId is a string or MAKEINTRESOURCEW(id); a string "#123" means id 123. The bytes are not
// copied: they must stay valid until the module is removed (embedded arrays, mapped files).
void AddResource(HINSTANCE module, LPCWSTR nameOrId, LPCWSTR type, std::span<const std::uint8_t> bytes);
// Empty span when no module of the chain (or the given module, when not null) has it.
std::span<const std::uint8_t> FindResourceBytes(LPCWSTR nameOrId, LPCWSTR type, HINSTANCE module = nullptr,
                                                HINSTANCE* foundIn = nullptr);

// BMP (1/4/8/24/32 bits), PNG, JPEG. Pixels 0x00RRGGBB; images with an alpha channel keep it in
// the top byte (straight, not premultiplied). nullopt on anything undecodable.
std::optional<Surface> DecodeImage(std::span<const std::uint8_t> bytes);
std::optional<Surface> LoadImageFile(LPCWSTR path);
// RGB PNG (the top byte is not written); false on an empty surface or an unwritable path.
bool WritePng(const Surface& surface, const char* path);
// The same PNG in memory; empty on failure.
std::vector<std::uint8_t> EncodePng(const Surface& surface);

}  // namespace winport

// The framework's lookup: the module of the chain that has the resource, or null.
HINSTANCE AfxFindResourceHandle(LPCWSTR nameOrId, LPCWSTR type);
