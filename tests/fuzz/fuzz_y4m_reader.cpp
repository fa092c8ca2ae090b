// parvane-scope's .y4m reader on any bytes: stream headers of any size and shape, FRAME lines of
// any length, planes cut short anywhere.
#include "FrameReading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzframes::ReadAll(std::vector<char>(data, data + size), "", 0, 0);
  return 0;
}
