// Level measurement feeding the meters: a stereo programme is measured as an audio callback
// would (10 ms blocks), the gradient meters show the PPM type II and VU ballistics through
// CMeterFeed, and a panel prints momentary, short-term and integrated loudness, the loudness
// range and the maximum true peak. With --audio FILE the file is measured instead.
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/ExVUMeter.h"
#include "audio/LevelMeasure.h"
#include "audio/MeterFeed.h"
#include "tools/gallery/FfmpegAudio.h"
#include "tools/gallery/Gallery.h"
#include "tools/gallery/MeterScale.h"
#include "tools/gallery/TestNoise.h"

namespace {

constexpr int kRate = 48000;
constexpr int kBlock = 480;  // 10 ms
constexpr double kPi = 3.14159265358979323846;

// A stereo programme of phrases: a tone chord swelling and fading over pink-ish noise, with a
// loud accent every four seconds and a quiet passage in between.
class CStereoProgramme {
 public:
  void Block(std::vector<float>& interleaved) {
    interleaved.resize(2 * kBlock);
    for (int i = 0; i < kBlock; ++i, ++m_n) {
      const double t = static_cast<double>(m_n) / kRate;
      const double phrase = std::fmod(t, 8.0);
      const double swell = phrase < 4 ? 0.15 + 0.1 * std::sin(kPi * phrase / 4) : 0.03;
      const double accent = std::fmod(t, 4.0) < 0.15 ? 0.6 : 0.0;
      const double chord = std::sin(2 * kPi * 220 * t) + 0.7 * std::sin(2 * kPi * 277.2 * t) + 0.5 * std::sin(2 * kPi * 329.6 * t);
      const double noise = m_noise.White();
      m_fLow = 0.97 * m_fLow + 0.03 * noise;
      const double mono = swell * chord * 0.4 + accent * std::sin(2 * kPi * 1000 * t) + 0.2 * m_fLow;
      interleaved[2 * i] = static_cast<float>(mono * 0.9);
      interleaved[2 * i + 1] = static_cast<float>(mono * 0.8 + 0.05 * noise);
    }
  }

 private:
  long long m_n = 0;
  gallery::TestNoise m_noise{12345};
  double m_fLow = 0;
};

class CLoudnessPage : public gallery::Page {
 public:
  const char* Name() const override { return "loudness"; }
  const char* Title() const override { return "Loudness: PPM and VU meters and EBU R 128 readings from samples"; }
  SIZE ClientSize() const override { return {480, 300}; }

  void Create(CWnd* pParent) override {
    m_ppm.Initial(2, kRate, LMM_PPM_TYPE_II);
    m_ppm.SetPeakHold(1500);
    m_vu.Initial(2, kRate, LMM_VU);
    m_bFile = !gallery::AudioFile().empty() && m_file.Open(gallery::AudioFile());
    m_caption[0].Create(L"PPM type II", WS_CHILD | WS_VISIBLE, CRect(10, 6, 110, 22), pParent);
    m_caption[1].Create(L"VU", WS_CHILD | WS_VISIBLE, CRect(120, 6, 200, 22), pParent);
    m_meterPPM.Create(2, TRUE, WS_CHILD | WS_VISIBLE, CRect(10, 26, 50, 290), pParent);
    m_meterVU.Create(2, TRUE, WS_CHILD | WS_VISIBLE, CRect(120, 26, 160, 290), pParent);
    gallery::CMeterScale::Add(pParent, m_meterPPM, ASDS_TEXTRIGHT, 30);
    gallery::CMeterScale::Add(pParent, m_meterVU, ASDS_TEXTRIGHT, 30);
    const wchar_t* names[kLines] = {L"Momentary", L"Short-term", L"Integrated", L"Range", L"True peak max"};
    for (int i = 0; i < kLines; ++i) {
      m_label[i].Create(names[i], WS_CHILD | WS_VISIBLE, CRect(200, 30 + i * 36, 330, 50 + i * 36), pParent);
      m_value[i].Create(L"", WS_CHILD | WS_VISIBLE, CRect(336, 30 + i * 36, 470, 50 + i * 36), pParent);
    }
  }

  void Tick(unsigned) override {
    for (int k = 0; k < 2; ++k) {  // 20 ms of audio per tick
      if (m_bFile) {
        m_block.resize(2 * kBlock);
        m_file.Read(kBlock, m_block.data());
      } else {
        m_programme.Block(m_block);
      }
      m_ppm.Feed(m_block.data(), kBlock);
      m_vu.Feed(m_block.data(), kBlock);
    }
    CMeterFeed::Feed(m_ppm, m_meterPPM);
    CMeterFeed::Feed(m_vu, m_meterVU, FALSE);
    const double values[kLines] = {m_ppm.GetMomentary(), m_ppm.GetShortTerm(), m_ppm.GetIntegrated(),
                                   m_ppm.GetLoudnessRange(), m_ppm.GetMaxTruePeak()};
    const wchar_t* units[kLines] = {L"LUFS", L"LUFS", L"LUFS", L"LU", L"dBTP"};
    for (int i = 0; i < kLines; ++i) {
      CString text;
      if (values[i] <= CLevelMeasure::LEVEL_FLOOR_DB)
        text.Format(L"-inf %s", units[i]);
      else
        text.Format(L"%.1f %s", values[i], units[i]);
      m_value[i].SetWindowText(text);
    }
  }

  std::vector<unsigned> SnapshotTimes() const override { return {500, 2000, 4100, 7000}; }

  void Destroy() override {
    for (auto& w : m_value) w.DestroyWindow();
    for (auto& w : m_label) w.DestroyWindow();
    for (auto& w : m_caption) w.DestroyWindow();
    m_meterVU.DestroyWindow();
    m_meterPPM.DestroyWindow();
    m_file.Close();
  }

 private:
  static constexpr int kLines = 5;
  CStereoProgramme m_programme;
  gallery::CFfmpegAudio m_file{kRate};
  bool m_bFile = false;
  std::vector<float> m_block;
  CLevelMeasure m_ppm, m_vu;
  CExVUMeter m_meterPPM, m_meterVU;
  std::array<CStatic, 2> m_caption;
  std::array<CStatic, kLines> m_label, m_value;
};

}  // namespace

GALLERY_REGISTER_PAGE(CLoudnessPage);
