// Process-wide table of chroma vector lengths: entry [a][b] = trunc(sqrt(a*a + b*b)).
#pragma once
#include "foundation/Export.h"

extern PARVANEU_API int ChromaMagnitude[256][256];

// Fills the table; safe to call from any thread, the work is done once.
PARVANEU_API void FillChromaMagnitude();
