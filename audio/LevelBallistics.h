// Meter ballistics as the broadcast standards define them, on one channel's samples. Pure
// arithmetic (no window, no allocation) so the reading of each standard can be checked directly.
//
// Times and their sources:
// - Digital peak meter, IEC 60268-18: sample peak, no integration (instant attack); return time
//   20 dB in 1.7 s.
// - VU meter, IEC 60268-17: full-wave average-responding, second order; a sine step reaches 99 %
//   of its steady reading in 300 ms and overshoots by 1 to 1.5 % (we use 1.25 %); the return
//   follows the same dynamics. Calibrated so a steady sine of amplitude A reads A.
// - PPM type I, IEC 60268-10 (the DIN/Nordic family): integration time 5 ms, i.e. a 5 kHz burst
//   of 5 ms reads 2 dB below its steady reading; return 20 dB in 1.7 s.
// - PPM type II, IEC 60268-10 (the BBC/EBU family): integration time 10 ms (same -2 dB
//   definition); return 24 dB in 2.8 s.
// A PPM charges on the rectified signal with one time constant and falls back exponentially
// (linear in dB), which is how the quasi-peak rectifier of the standard behaves. Between crests
// it falls back, so on a steady sine it settles below the crest (0.15 dB for type I, 0.20 dB for
// type II); like a real meter's calibration trim, a gain on the rectified input makes a steady
// 1 kHz sine read its amplitude.
#pragma once

namespace levelmeasure {

enum class Ballistic { DigitalPeak, VU, PPMTypeI, PPMTypeII };

// Per-sample coefficients of one ballistic at one sample rate.
struct SBallisticCoef {
  Ballistic kind = Ballistic::DigitalPeak;
  double fGain = 1.0;     // on the rectified input, so that a steady sine reads its amplitude
  double fAttack = 1.0;   // PPM: fraction of the distance to the rectified input taken per sample
  double fRelease = 1.0;  // peak meters: factor per sample while falling
  double fOmega2 = 0.0;   // VU: natural frequency squared x dt^2 ...
  double fDamp = 0.0;     // ... and 2 zeta omega x dt, for the semi-implicit step
};

// One channel's running state. y is the reading (linear, full scale 1.0); v the VU's velocity.
struct SBallisticState {
  double y = 0.0;
  double v = 0.0;
};

SBallisticCoef MakeCoef(Ballistic kind, double fSampleRate);

// Advances the state by one sample x (finite, any sign).
inline void Step(const SBallisticCoef& c, SBallisticState& s, float x) {
  const double a = (x < 0 ? -static_cast<double>(x) : static_cast<double>(x)) * c.fGain;
  switch (c.kind) {
    case Ballistic::DigitalPeak:
      s.y = a > s.y * c.fRelease ? a : s.y * c.fRelease;
      break;
    case Ballistic::VU:
      s.v += c.fOmega2 * (a - s.y) - c.fDamp * s.v;
      s.y += s.v;
      break;
    case Ballistic::PPMTypeI:
    case Ballistic::PPMTypeII:
      s.y = a > s.y ? s.y + (a - s.y) * c.fAttack : s.y * c.fRelease;
      break;
  }
}

// Return slope of a kind: dB fallen over seconds (0 for the VU, which has no separate return).
void ReturnSpec(Ballistic kind, double& dB, double& seconds);
// Integration time of a PPM in seconds (0 for the others).
double IntegrationTime(Ballistic kind);

}  // namespace levelmeasure
