#pragma once
// Drawing: surfaces, GDI objects, device contexts.
#include "winport/gdi/Surface.h"
