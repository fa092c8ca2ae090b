// KestruneU umbrella: memory DCs, pixel buffers, colour conversions, fast log, drawing helpers
// and the FFT magnitude analyser.
#pragma once
#include "companion/Buf32Draw.h"
#include "companion/ColorConvert.h"
#include "companion/FastLog.h"
#include "companion/AudioFormat.h"
#include "companion/FFTCalc.h"
#include "companion/WaveDataFreqMagn.h"
#include "companion/MemBitDC.h"
#include "companion/PixelRecords.h"
#include "companion/VDraw.h"
