// Where parvane-scope's frames come from: a .y4m stream (8-bit 4:2:0, 4:2:2 or 4:4:4, brought to
// 4:2:2 pairs), raw frames in one of the scope graph's formats, or any other video through the
// ffmpeg program on a pipe (as a .y4m stream).
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "scopes/VideoScopeGraph.h"

namespace scopetool {

// One frame as the scope graph takes it.
struct Frame {
  std::vector<uint8_t> bytes;
  long width = 0, height = 0, pitch = 0;
  CVideoScopeGraph::ColFmt format = CVideoScopeGraph::VYUY;
};

enum class ReadResult { Frame, End, Truncated, Error };

class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // Reads the next frame into f. On Truncated or Error, Message() says what went wrong.
  virtual ReadResult Next(Frame& f) = 0;
  virtual bool Skip() = 0;  // reads past one frame without converting it; false at the end
  const std::string& Message() const { return m_message; }

 protected:
  // A frame's bytes have come in, got of want: counts a whole frame, says what is missing otherwise.
  ReadResult Arrived(std::size_t got, std::size_t want);

  std::string m_message;
  long m_index = 0;  // frames read or skipped so far
};

// A raw format by name: FFmpeg's pixel-format names where one exists (uyvy422, yuyv422,
// yvyu422, bgra), the graph's own names otherwise (tvyu, m101). False for an unknown name.
bool RawFormatByName(const std::string& name, std::string& canonical);

// Opens the input. path "-" reads standard input. rawFormat empty: a .y4m stream, or any other
// video through ffmpeg. On failure returns null and sets error.
std::unique_ptr<FrameSource> OpenSource(const std::string& path, const std::string& rawFormat, long rawWidth,
                                        long rawHeight, std::string& error);

// Frames from a stream the caller opened and closes after the source is gone (standard input,
// memory): a .y4m stream, or raw frames when rawFormat is given; never starts a decoder. name
// stands for the stream in messages.
std::unique_ptr<FrameSource> OpenStream(std::FILE* fp, const std::string& name, const std::string& rawFormat,
                                        long rawWidth, long rawHeight, std::string& error);

}  // namespace scopetool
