// What the frame reader fuzz targets share: the fuzzer's bytes as a file, and the reading of
// every frame in it, checked against the shape the scope graph takes.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "scopes/ScopeFrame.h"
#include "tools/scope/FrameSource.h"

namespace fuzzframes {

// Opens bytes as a stream, the way the tool opens standard input, and reads up to 64 frames,
// skipping every third. A failure must say why; a frame must be one the graph accepts, of exactly
// the bytes its rows cover.
inline void ReadAll(std::vector<char> bytes, const std::string& rawFormat, long width, long height) {
  bytes.push_back('\0');  // fmemopen refuses an empty buffer; the extra byte is not part of the stream
  std::FILE* fp = ::fmemopen(bytes.data(), bytes.size() - 1, "rb");
  if (!fp) return;
  std::string error;
  std::unique_ptr<scopetool::FrameSource> src = scopetool::OpenStream(fp, "input", rawFormat, width, height, error);
  if (!src && error.empty()) __builtin_trap();
  scopetool::Frame f;
  for (int n = 0; src && n < 64; ++n) {
    if (n % 3 == 2) {
      if (!src->Skip()) break;
      continue;
    }
    const scopetool::ReadResult r = src->Next(f);
    if (r == scopetool::ReadResult::Truncated && src->Message().empty()) __builtin_trap();
    if (r != scopetool::ReadResult::Frame) break;
    const auto whole = [](long) { return 0L; };
    if (!scopes_detail::CheckFrame(f.bytes.data(), f.width, f.height, f.pitch, 0, whole)) __builtin_trap();
    if (f.bytes.size() != static_cast<std::size_t>(f.pitch) * static_cast<std::size_t>(f.height)) __builtin_trap();
  }
  src.reset();
  std::fclose(fp);
}

}  // namespace fuzzframes
