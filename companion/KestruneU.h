// KestruneU umbrella: memory DCs, pixel buffers, colour conversions, fast log, drawing helpers
// and the FFT magnitude analyser.
#pragma once
#include "companion/Buf32Draw.h"
#include "companion/ColorConvert.h"
#include "companion/FastLog.h"
