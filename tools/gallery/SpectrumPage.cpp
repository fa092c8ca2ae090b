// Gallery page of the spectrum display: a stereo programme (a sweep, a chord, pink noise, a
// 50 Hz hum) or a decoded file (--audio), fed by a worker thread as an audio thread would, on
// the linear axis and on the warped axis with both column rules side by side.

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "foundation/AudioScale.h"
#include "spectrum/FreqMagnWnd.h"
#include "tools/gallery/FfmpegAudio.h"
#include "tools/gallery/Gallery.h"
#include "tools/gallery/TestNoise.h"

extern char** environ;

namespace {

constexpr DWORD kRate = 48000;
constexpr int kBlock = 960;  // 20 ms
constexpr double kPi = 3.14159265358979323846;
constexpr double kCycle = 8.0;  // seconds

const wchar_t* const kParts[] = {L"Programme: sine sweep, up on the left, down on the right",
                                 L"Programme: A major chord on the left, a fifth on the right",
                                 L"Programme: pink noise", L"Programme: 50 Hz hum with harmonics"};

// The built-in programme, generated in stream order (the noise keeps state).
class CProgramme {
 public:
  static int Part(std::uint64_t pos) { return static_cast<int>(std::fmod(pos / double(kRate), kCycle) / 2.0); }

  void Generate(std::uint64_t pos, int frames, float* l, float* r) {
    for (int i = 0; i < frames; ++i) {
      const double t = std::fmod((pos + i) / double(kRate), kCycle);
      double a = 0, b = 0;
      switch (static_cast<int>(t / 2.0)) {
        case 0:
          a = 0.5 * std::sin(SweepPhase(20.0, 20000.0, t));
          b = 0.3 * std::sin(SweepPhase(20000.0, 20.0, t));
          break;
        case 1:
          a = 0.25 * (Tone(440.0, t) + Tone(554.37, t) + Tone(659.26, t));
          b = 0.3 * (Tone(220.0, t) + Tone(330.0, t));
          break;
        case 2:
          a = 0.3 * Pink(0);
          b = 0.3 * Pink(1);
          break;
        default:
          a = 0.4 * Tone(50, t) + 0.1 * Tone(100, t) + 0.2 * Tone(150, t) + 0.05 * Tone(250, t);
          b = 0.2 * Tone(50, t) + 0.02 * Pink(1);
          break;
      }
      l[i] = static_cast<float>(a);
      r[i] = static_cast<float>(b);
    }
  }

 private:
  static double Tone(double f, double t) { return std::sin(2 * kPi * f * t); }
  // Exponential sweep from f0 to f1 over the part's two seconds.
  static double SweepPhase(double f0, double f1, double t) {
    const double k = std::log(f1 / f0);
    return 2 * kPi * f0 * 2.0 / k * (std::exp(k * t / 2.0) - 1);
  }
  double Pink(int c) { return m_noise[static_cast<std::size_t>(c)].Pink(); }

  std::array<gallery::TestNoise, 2> m_noise{gallery::TestNoise(0x12345678u), gallery::TestNoise(0x9E3779B9u)};
};

class CSpectrumPage : public gallery::Page {
 public:
  const char* Name() const override { return "spectrum"; }
  const char* Title() const override { return "Spectrum: two channels on a linear and a warped frequency axis"; }
  SIZE ClientSize() const override { return {820, 440}; }

  void Create(CWnd* pParent) override {
    m_scale.FillDeftValue();
    const AFmt fmt{2, 32, kRate, AFMT_TAG_FLOAT, 0};
    struct Layout {
      const wchar_t* caption;
      CRect rcCaption, rc;
      unsigned long fft;
      unsigned char linear;
      BOOL spanMax;
    };
    const Layout layout[3] = {
        {L"Linear axis, 4096-point FFT", CRect(10, 4, 810, 22), CRect(10, 24, 810, 184), 4096, 1, FALSE},
        {L"Warped axis, 8192 points: first bin per column", CRect(10, 192, 405, 210), CRect(10, 212, 405, 402), 8192, 0, FALSE},
        {L"Warped axis: loudest bin a column spans", CRect(415, 192, 810, 210), CRect(415, 212, 810, 402), 8192, 0, TRUE},
    };
    for (int i = 0; i < 3; ++i) {
      const Layout& l = layout[i];
      m_captions[i].Create(l.caption, WS_CHILD | WS_VISIBLE, l.rcCaption, pParent);
      m_wnd[i].Create(WS_CHILD | WS_VISIBLE, l.rc, &m_scale, pParent, 100 + i);
      m_wnd[i].Initial(&fmt, nullptr, FFTWND_HANN, l.fft, 4 * l.fft);
      m_wnd[i].SetAgility(0.6f);
      m_wnd[i].SetLinear(l.linear);
      m_wnd[i].SetSpanMax(l.spanMax);
      m_wnd[i].SetAxisLabels(TRUE);
    }
    const std::string& file = gallery::AudioFile();
    if (!file.empty() && m_source.Open(file)) {
      m_bFile = true;
      m_strFile = CString::FromUtf8(file.c_str());
    }
    m_part.Create(m_bFile ? L"" : kParts[0], WS_CHILD | WS_VISIBLE, CRect(10, 412, 810, 432), pParent);
    m_thread = std::thread([this] { Run(); });
  }

  void Tick(unsigned ms) override {
    const std::uint64_t target = static_cast<std::uint64_t>(ms + 20) * kRate / 1000;
    {
      std::unique_lock<std::mutex> lock(m_mu);
      if (target <= m_nTarget) return;
      m_nTarget = target;
      m_cv.notify_all();
      // The driver's frames show what the worker drew up to now.
      m_cv.wait(lock, [&] { return m_nProduced >= target; });
    }
    CString text = m_bFile ? L"File: " + m_strFile : CString(kParts[CProgramme::Part(target - 1)]);
    CString now;
    m_part.GetWindowText(now);
    if (now != text) m_part.SetWindowText(text);
  }

  // The sweep low, the chord, the noise, the hum.
  std::vector<unsigned> SnapshotTimes() const override { return {700, 3000, 5000, 7000}; }

  void Destroy() override {
    {
      std::lock_guard<std::mutex> lock(m_mu);
      m_bStop = true;
      m_cv.notify_all();
    }
    if (m_thread.joinable()) m_thread.join();
    m_source.Close();
    for (auto& w : m_wnd) w.DestroyWindow();
    for (auto& c : m_captions) c.DestroyWindow();
    m_part.DestroyWindow();
  }

  ~CSpectrumPage() override {
    if (m_thread.joinable()) Destroy();
  }

 private:
  // The audio thread: makes the blocks up to the target, hands them to every window and asks
  // each for the figure of the newest position.
  void Run() {
    std::vector<float> l(kBlock), r(kBlock);
    float* ch[2] = {l.data(), r.data()};
    std::uint64_t pos = 0;
    std::unique_lock<std::mutex> lock(m_mu);
    while (true) {
      m_cv.wait(lock, [&] { return m_bStop || m_nTarget > pos; });
      if (m_bStop) return;
      const std::uint64_t target = m_nTarget;
      lock.unlock();
      while (pos < target) {
        const int n = static_cast<int>(std::min<std::uint64_t>(kBlock, target - pos));
        if (m_bFile)
          m_source.Read(n, l.data(), r.data());
        else
          m_programme.Generate(pos, n, l.data(), r.data());
        for (auto& w : m_wnd) w.FillData(ch, n, static_cast<unsigned long>(pos));
        pos += static_cast<std::uint64_t>(n);
      }
      for (auto& w : m_wnd) w.RefreshFig(static_cast<DWORD>(pos), -1);
      lock.lock();
      m_nProduced = pos;
      m_cv.notify_all();
    }
  }

  CAudioScale m_scale;
  CFreqMagnWnd m_wnd[3];
  CStatic m_captions[3];
  CStatic m_part;
  CProgramme m_programme;
  gallery::CFfmpegAudio m_source{kRate};
  bool m_bFile = false;
  CString m_strFile;

  std::thread m_thread;
  std::mutex m_mu;
  std::condition_variable m_cv;
  std::uint64_t m_nTarget = 0;
  std::uint64_t m_nProduced = 0;
  bool m_bStop = false;
};

}  // namespace

GALLERY_REGISTER_PAGE(CSpectrumPage);
