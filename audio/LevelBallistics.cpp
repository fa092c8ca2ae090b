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

// A sine of unit amplitude from phase 0, sample by sample. A rotating phasor rather than a sine
// per sample: the solver below runs seconds of it for every trial coefficient.
class CTone {
 public:
  CTone(double freq, double fs) : m_cos(std::cos(2 * kPi * freq / fs)), m_sin(std::sin(2 * kPi * freq / fs)) {}
  float Next() {
    const double im = m_im;
    m_im = m_im * m_cos + m_re * m_sin;
    m_re = m_re * m_cos - im * m_sin;
    return static_cast<float>(im);
  }

 private:
  double m_re = 1, m_im = 0;
  const double m_cos, m_sin;
};

// Reading at the end of a burst of the tone, from silence.
double BurstEnd(const SBallisticCoef& c, double fs, double freq, double seconds) {
  SBallisticState s;
  CTone tone(freq, fs);
  for (long i = std::lround(seconds * fs); i > 0; --i) Step(c, s, tone.Next());
  return s.y;
}

// Mean reading of the tone held for `settle` seconds, taken over the ten cycles that follow (the
// reading ripples between crests).
double SteadyReading(const SBallisticCoef& c, double fs, double freq, double settle) {
  SBallisticState s;
  CTone tone(freq, fs);
  for (long i = std::lround(settle * fs); i > 0; --i) Step(c, s, tone.Next());
  const long n = std::max(1L, std::lround(10 * fs / freq));
  double sum = 0;
  for (long i = 0; i < n; ++i) {
    Step(c, s, tone.Next());
    sum += s.y;
  }
  return sum / static_cast<double>(n);
}

// Long enough for a PPM's steady reading to settle within 0.0001 dB.
double SettleTime(double integration) { return 30 * integration; }

// The standard's burst tone, 5 kHz, or an eighth of the rate for low rates (well below Nyquist).
double BurstTone(double fs) { return std::min(5000.0, fs / 8); }

// The attack for which a burst of the integration time reads 2 dB below the steady reading of
// the same tone, both with the return acting as it does when metering. The ratio is the same at
// any gain, so the calibration is left for afterwards.
double PPMAttack(SBallisticCoef c, double fs, double integration) {
  const double target = std::pow(10.0, -2.0 / 20.0), f = BurstTone(fs);
  double lo = 1e-5, hi = 1.0;  // the ratio grows with the coefficient: bisect its logarithm
  for (int k = 0; k < 30; ++k) {
    c.fAttack = std::sqrt(lo * hi);
    const double ratio = BurstEnd(c, fs, f, integration) / SteadyReading(c, fs, f, SettleTime(integration));
    (ratio < target ? lo : hi) = c.fAttack;
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
      c.fGain = kPi / 2;  // average-responding: the rectified mean of a sine is 2/pi of its amplitude
      const double zeta = VUZeta();
      const double omega = VURiseAtUnitOmega(zeta) / 0.300;
      const double dt = 1.0 / fs;
      c.fOmega2 = omega * omega * dt * dt;
      c.fDamp = 2 * zeta * omega * dt;
      break;
    }
    case Ballistic::PPMTypeI:
    case Ballistic::PPMTypeII: {
      const double integration = IntegrationTime(kind);
      c.fRelease = ReleaseFactor(kind, fs);
      c.fAttack = PPMAttack(c, fs, integration);
      c.fGain = 1.0 / SteadyReading(c, fs, 1000.0, SettleTime(integration));
      break;
    }
  }
  return c;
}

}  // namespace levelmeasure
