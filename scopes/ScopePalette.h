// The look of the luma/chroma scope displays: a green phosphor ramp indexed by intensity 0..255,
// and the light red of out-of-range samples. Values are buffer pixels, 0x00RRGGBB.
#pragma once
#include "foundation/Export.h"
#include "winport/base/types.h"

extern PARVANEU_API const DWORD ScopePalette[256];

// Colour of a marked (out-of-range) sample.
constexpr DWORD SCOPE_MARK_COLOR = 0xFF5050;
// Scratch value of a marked pixel while a display is drawn; any negative value counts as a mark.
constexpr DWORD SCOPE_MARK_VALUE = 0x80000000u;
