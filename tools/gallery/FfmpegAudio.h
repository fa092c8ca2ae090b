// A sound file decoded by the ffmpeg program into interleaved stereo float samples on a pipe,
// for the pages that play --audio FILE. After the end of the stream it plays silence.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace gallery {

class CFfmpegAudio {
 public:
  explicit CFfmpegAudio(unsigned nRate) : m_nRate(nRate) {}
  ~CFfmpegAudio() { Close(); }
  CFfmpegAudio(const CFfmpegAudio&) = delete;
  CFfmpegAudio& operator=(const CFfmpegAudio&) = delete;

  // Why the file cannot be played ("the file has no audio stream", ...); empty when it can.
  static std::string Check(const std::string& path);
  bool Open(const std::string& path);
  // frames stereo frames, interleaved (L, R, L, R...), zeros past the end of the stream.
  void Read(int frames, float* interleaved);
  // The same, split into the two channels.
  void Read(int frames, float* l, float* r);
  // Stops the decoder at once: on a gentler signal it would still flush into the closed pipe.
  void Close();

 private:
  unsigned m_nRate;
  pid_t m_pid = -1;
  int m_fd = -1;
  std::vector<float> m_buf;
};

}  // namespace gallery
