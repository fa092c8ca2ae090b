// parvane-scope's raw frame reader: a format and a frame size from the input's tail (any of them,
// sizes up to past the graph's limits), the rest of the bytes as the file.
#include <fuzzer/FuzzedDataProvider.h>

#include "FrameReading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kFormats[] = {"uyvy422", "yuyv422", "yvyu422", "bgra", "tvyu", "m101", "rgb24"};
  FuzzedDataProvider in(data, size);
  const std::string format = in.PickValueInArray(kFormats);
  const long width = in.ConsumeIntegralInRange<long>(-1, 70000);
  const long height = in.ConsumeIntegralInRange<long>(-1, 70000);
  fuzzframes::ReadAll(in.ConsumeRemainingBytes<char>(), format, width, height);
  return 0;
}
