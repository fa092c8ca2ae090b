#include "audio/LevelBallistics.h"

#include <algorithm>
#include <cmath>

namespace levelmeasure {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The VU's damping for a 1.25 % overshoot, the middle of the standard's 1 to 1.5 %: overshoot = exp(-pi zeta / sqrt(1 - zeta^2)).
double VUZeta() {
  const double l = -std::log(0.0125);
  return l / std::sqrt(kPi * kPi + l * l);
}

// Time for a unit step to first reach 0.99 with natural frequency 1 rad/s (found once by
// stepping the same equations finely; the 300 ms rise then fixes the real frequency).
double VURiseAtUnitOmega(double zeta) {
  const double dt = 1e-4;
  double y = 0, v = 0, t = 0;
  while (y < 0.99 && t < 100) {
    v += dt * (1.0 - y) - 2 * zeta * dt * v;
    y += dt * v;
    t += dt;
  }
  return t;
}

// Reading reached by a PPM with attack coefficient a after a 5 kHz burst of the given length,
// relative to its steady reading (5 kHz, or an eighth of the rate for low rates).
double BurstReading(double a, double fs, double seconds) {
  const int n = static_cast<int>(std::lround(seconds * fs));
  const double f = std::min(5000.0, fs / 8);  // the test tone, kept well below Nyquist
  double y = 0;
  for (int i = 0; i < n; ++i) {
    const double x = std::fabs(std::sin(2 * kPi * f * i / fs));
    if (x > y) y += (x - y) * a;
  }
  return y;
}

double PPMAttack(double fs, double integration) {
  // A burst of the integration time reads 2 dB low; bisect the coefficient (reading grows with it).
  const double target = std::pow(10.0, -2.0 / 20.0);
  double lo = 1e-7, hi = 1.0;
  for (int k = 0; k < 60; ++k) {
    const double mid = std::sqrt(lo * hi);
    (BurstReading(mid, fs, integration) < target ? lo : hi) = mid;
  }
  return std::sqrt(lo * hi);
}

double ReleaseFactor(Ballistic kind, double fs) {
  double dB = 0, seconds = 1;
  ReturnSpec(kind, dB, seconds);
  return std::pow(10.0, -dB / 20.0 / (seconds * fs));
}

}  // namespace

void ReturnSpec(Ballistic kind, double& dB, double& seconds) {
  switch (kind) {
    case Ballistic::DigitalPeak:
    case Ballistic::PPMTypeI: dB = 20; seconds = 1.7; return;
    case Ballistic::PPMTypeII: dB = 24; seconds = 2.8; return;
    case Ballistic::VU: dB = 0; seconds = 0; return;
  }
}

double IntegrationTime(Ballistic kind) {
  switch (kind) {
    case Ballistic::PPMTypeI: return 0.005;
    case Ballistic::PPMTypeII: return 0.010;
    default: return 0;
  }
}

SBallisticCoef MakeCoef(Ballistic kind, double fs) {
  SBallisticCoef c;
  c.kind = kind;
  switch (kind) {
    case Ballistic::DigitalPeak:
      c.fRelease = ReleaseFactor(kind, fs);
      break;
    case Ballistic::VU: {
      const double zeta = VUZeta();
      const double omega = VURiseAtUnitOmega(zeta) / 0.300;
      const double dt = 1.0 / fs;
      c.fOmega2 = omega * omega * dt * dt;
      c.fDamp = 2 * zeta * omega * dt;
      break;
    }
    case Ballistic::PPMTypeI:
    case Ballistic::PPMTypeII:
      c.fAttack = PPMAttack(fs, IntegrationTime(kind));
      c.fRelease = ReleaseFactor(kind, fs);
      break;
  }
  return c;
}

}  // namespace levelmeasure
