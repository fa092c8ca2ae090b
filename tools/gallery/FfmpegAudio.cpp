#include "tools/gallery/FfmpegAudio.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

namespace gallery {

bool CFfmpegAudio::Open(const std::string& path) {
  int fd[2];
  if (::pipe(fd) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fd[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fd[0]);
  posix_spawn_file_actions_addclose(&actions, fd[1]);
  // Arguments are passed as they are, no shell: the file name needs no quoting.
  std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v", "error", "-i", path, "-f", "f32le",
                                   "-ac", "2", "-ar", std::to_string(m_nRate), "-"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int rc = posix_spawnp(&m_pid, "ffmpeg", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fd[1]);
  if (rc != 0) {
    ::close(fd[0]);
    m_pid = -1;
    return false;
  }
  m_fd = fd[0];
  return true;
}

void CFfmpegAudio::Read(int frames, float* interleaved) {
  const size_t want = static_cast<size_t>(std::max(frames, 0)) * 2 * sizeof(float);
  auto* bytes = reinterpret_cast<char*>(interleaved);
  size_t got = 0;
  while (m_fd >= 0 && got < want) {
    const ssize_t n = ::read(m_fd, bytes + got, want - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  std::fill(bytes + got, bytes + want, 0);
}

void CFfmpegAudio::Read(int frames, float* l, float* r) {
  m_buf.resize(static_cast<size_t>(std::max(frames, 0)) * 2);
  Read(frames, m_buf.data());
  for (int i = 0; i < frames; ++i) {
    l[i] = m_buf[2 * i];
    r[i] = m_buf[2 * i + 1];
  }
}

void CFfmpegAudio::Close() {
  if (m_pid > 0) ::kill(m_pid, SIGKILL);
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  if (m_pid > 0) ::waitpid(m_pid, nullptr, 0);
  m_pid = -1;
}

}  // namespace gallery
