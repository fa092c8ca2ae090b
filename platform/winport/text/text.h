#pragma once
// Text: fonts, metrics, masks, DrawText layout.
#include "winport/text/DrawTextLayout.h"
#include "winport/text/Font.h"
#include "winport/text/FontTypes.h"
