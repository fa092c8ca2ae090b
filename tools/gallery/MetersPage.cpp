// Gallery page of the level meters: a segmented stereo meter with the default scale, an
// 8-channel segmented meter with the linear mapping, and gradient meters in stereo (vertical)
// and 8 channels (horizontal), all fed 50 times a second from a built-in programme.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

#include "foundation/AudioScale.h"
#include "audio/ExVUMeter.h"
#include "audio/VUMeter.h"
#include "tools/gallery/Gallery.h"
#include "tools/gallery/MeterScale.h"
#include "tools/gallery/TestNoise.h"

namespace {

constexpr int kRate = 48000;
constexpr int kTickMs = 20;
constexpr int kTickSamples = kRate * kTickMs / 1000;
constexpr int kChannels = 8;
constexpr unsigned kCycleMs = 8000;
constexpr double kPi = 3.14159265358979323846;

// The programme, repeating every 8 s:
//   0 -  400 ms  a tone burst near full scale        (rise)
//   400 - 1600   silence                              (hold, then fall)
//   1600 - 2600  short bursts at changing levels
//   2600 - 4600  a sine sweeping up in pitch and level from -60 dB to 0 dB
//   4600 - 8000  pink noise at about -14 dB, with a 300 ms silence every second
class CProgramme {
 public:
  CProgramme() {
    for (int c = 0; c < kChannels; ++c) m_noise[c] = gallery::TestNoise(0x9E3779B9u * static_cast<unsigned>(c + 1));
  }

  // Peak level in dB of each channel over the 20 ms that end at ms.
  void Levels(unsigned ms, std::array<double, kChannels>& dB) {
    for (int c = 0; c < kChannels; ++c) {
      double peak = 0;
      for (int s = 0; s < kTickSamples; ++s) {
        const double t = (static_cast<double>(ms % kCycleMs) + s * 1000.0 / kRate) / 1000.0;
        peak = std::max(peak, std::fabs(Sample(c, t)));
      }
      dB[c] = peak > 1e-6 ? 20 * std::log10(peak) : -120.0;
    }
  }

 private:
  double Sample(int c, double t) {
    const double gain = std::pow(10.0, -1.5 * c / 20.0);  // each channel 1.5 dB below the last
    if (t < 0.4) return 0.95 * gain * std::sin(2 * kPi * 1000 * t);
    if (t < 1.6) return 0;
    if (t < 2.6) {
      const double u = t - 1.6;
      const int burst = static_cast<int>(u / 0.25);
      const bool on = std::fmod(u, 0.25) < 0.1;
      const double level = std::pow(10.0, (-3.0 - 6.0 * ((burst + c) % 4)) / 20.0);
      return on ? level * std::sin(2 * kPi * 440 * u) : 0;
    }
    if (t < 4.6) {
      const double u = (t - 2.6) / 2.0;  // 0..1
      const double amp = gain * std::pow(10.0, (-60.0 + 60.0 * u) / 20.0);
      const double phase = 2 * kPi * 100 * 2.0 * (std::pow(100.0, u) - 1) / std::log(100.0);
      return amp * std::sin(phase);
    }
    if (std::fmod(t - 4.6, 1.0) > 0.7) return 0;
    return 0.2 * gain * Pink(c);
  }

  double Pink(int c) { return m_noise[static_cast<std::size_t>(c)].Pink(); }

  std::array<gallery::TestNoise, kChannels> m_noise;
};

class CMetersPage : public gallery::Page {
 public:
  const char* Name() const override { return "meters"; }
  const char* Title() const override { return "Level meters"; }
  SIZE ClientSize() const override { return {640, 376}; }

  void Create(CWnd* pParent) override {
    m_scale.FillDeftValue();
    SVUMeterInitParam stereo;
    stereo.nVUCount = 2;
    stereo.pScale = &m_scale;
    m_vuStereo.AddVUMarker(0, RGB(255, 255, 255));
    m_vuStereo.SetTipPostText(L"dB");
    m_vuStereo.Create(WS_CHILD | WS_VISIBLE, CRect(40, 26, 110, 366), pParent, stereo);
    gallery::CMeterScale::Add(pParent, m_vuStereo, ASDS_TEXTLEFT, 30);
    gallery::AddLabel(pParent, CRect(4, 6, 118, 22), L"Segmented, stereo");

    SVUMeterInitParam eight;
    eight.nVUCount = kChannels;
    eight.crBack = RGB(32, 32, 32);
    eight.crFrame = RGB(10, 10, 10);
    m_vuEight.AddVUMarker(-6, RGB(255, 255, 0));
    m_vuEight.Create(WS_CHILD | WS_VISIBLE, CRect(122, 26, 292, 366), pParent, eight);
    gallery::CMeterScale::Add(pParent, m_vuEight, ASDS_TEXTRIGHT, 32);
    gallery::AddLabel(pParent, CRect(122, 6, 330, 22), L"Segmented, 8 channels, linear dB");

    m_exStereo.Create(2, TRUE, WS_CHILD | WS_VISIBLE, CRect(366, 26, 404, 366), pParent);
    m_exStereo.SetTipPostText(L"dB");
    gallery::CMeterScale::Add(pParent, m_exStereo, ASDS_TEXTLEFT, 28);
    m_exEight.Create(kChannels, FALSE, WS_CHILD | WS_VISIBLE, CRect(414, 46, 632, 366), pParent);
    gallery::CMeterScale::Add(pParent, m_exEight, ASDS_TEXTLEFT, 20);
    gallery::AddLabel(pParent, CRect(336, 6, 632, 22), L"Gradient meters: stereo upright, 8 channels across");
    m_exEight.SetMeterDist(3);
  }

  void Tick(unsigned ms) override {
    std::array<double, kChannels> dB{};
    m_programme.Levels(ms, dB);
    double two[2] = {dB[0], dB[1]};
    m_vuStereo.SetDBValue(two);
    m_vuEight.SetDBValue(dB.data());
    float f[kChannels];
    for (int c = 0; c < kChannels; ++c) f[c] = static_cast<float>(dB[c]);
    m_exStereo.SetValue(f);
    m_exEight.SetValue(f);
  }

  // Rise of the first burst, full level, peaks holding over silence, peaks falling, the sweep
  // and the noise.
  std::vector<unsigned> SnapshotTimes() const override { return {60, 380, 560, 800, 1200, 3800, 5000}; }

  void Destroy() override {
    m_exEight.DestroyWindow();
    m_exStereo.DestroyWindow();
    m_vuEight.DestroyWindow();
    m_vuStereo.DestroyWindow();
  }

 private:
  CProgramme m_programme;
  CAudioScale m_scale;
  CVUMeter m_vuStereo;
  CVUMeter m_vuEight;
  CExVUMeter m_exStereo;
  CExVUMeter m_exEight;
};

}  // namespace

GALLERY_REGISTER_PAGE(CMetersPage);
