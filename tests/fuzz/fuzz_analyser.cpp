// The spectrum analyser driven by arbitrary call sequences: settings, blocks of any length at
// any stream position (positions near the top of unsigned long included), queries anywhere.
// Every block is exactly as long as the call claims.
#include <vector>

#include "FuzzValues.h"
#include "companion/WaveDataFreqMagn.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  CWaveDataFreqMagn a;
  const auto fftSize = [&] { return 1UL << in.ConsumeIntegralInRange(5, 11); };  // 64..2048 valid, 32 not
  const auto window = [&] { return static_cast<FFTWndType>(in.ConsumeIntegralInRange(0, 7)); };
  const auto position = [&]() -> unsigned long {
    switch (in.ConsumeIntegralInRange(0, 2)) {
      case 0: return in.ConsumeIntegralInRange<unsigned long>(0, 20000);
      case 1: return ULONG_MAX - in.ConsumeIntegralInRange<unsigned long>(0, 20000);
      default: return in.ConsumeIntegral<unsigned long>();
    }
  };
  a.Initial(in.ConsumeIntegralInRange(0, 5), nullptr, fftSize(), window(), in.ConsumeIntegralInRange(0UL, 9000UL),
            in.ConsumeIntegralInRange(0, 2));
  unsigned long next = position();
  for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
      case 0:
      case 1:
      case 2: {  // a block; usually continuing the stream
        const long frames = in.ConsumeIntegralInRange<long>(-2, 3000);
        const unsigned long pos = in.ConsumeBool() ? next : position();
        const int channels = a.GetChannels();
        std::vector<std::vector<float>> buf(static_cast<size_t>(channels));
        std::vector<float*> ptrs;
        const float level = fuzzvalues::Float(in);
        for (auto& ch : buf) {
          ch.assign(frames > 0 ? static_cast<size_t>(frames) : 0, level);
          for (size_t i = 0; i < ch.size() && in.remaining_bytes() > 0 && i < 64; ++i) ch[i] = fuzzvalues::Float(in);
          ptrs.push_back(ch.empty() ? nullptr : ch.data());
        }
        a.FillData(channels > 0 && frames > 0 ? ptrs.data() : nullptr, frames, pos);
        next = pos + static_cast<unsigned long>(frames > 0 ? frames : 0);
        break;
      }
      case 3:
      case 4: {
        SMagnFreq smf{nullptr, 0};
        const unsigned long at = in.ConsumeBool() ? next - in.ConsumeIntegralInRange(0UL, 5000UL) : position();
        if (a.GetMagnFreqData(at, smf)) {
          volatile float sink = 0;
          for (DWORD c = 0; c < smf.nChannels; ++c)
            for (unsigned long k = 0; k <= a.GetFFTSize() / 2; ++k) sink = sink + smf.ppMagn[c][k];
        }
        break;
      }
      case 5: a.SetFFTSize(fftSize()); break;
      case 6: a.SetFFTWindow(window()); break;
      case 7: a.SetAgility(fuzzvalues::Float(in)); break;
      case 8: a.SetBufLen(in.ConsumeIntegralInRange(0UL, 20000UL)); break;
      default:
        if (in.ConsumeBool())
          a.SetChannels(in.ConsumeIntegralInRange(-1, 6));
        else
          a.Reset();
        break;
    }
  }
  return 0;
}
