#include "tools/gallery/FfmpegAudio.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

namespace gallery {

namespace {

// Starts `ffmpeg -nostdin -v error ARGS`, no shell (a file name needs no quoting). Its stdout
// goes to *out or /dev/null, its stderr to *err or ours. The pid, or -1.
pid_t SpawnFfmpeg(const std::vector<std::string>& args, int* out, int* err) {
  int po[2] = {-1, -1}, pe[2] = {-1, -1};
  if ((out && ::pipe(po) != 0) || (err && ::pipe(pe) != 0)) {
    for (int fd : {po[0], po[1]})
      if (fd >= 0) ::close(fd);
    return -1;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (out) {
    posix_spawn_file_actions_adddup2(&actions, po[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, po[0]);
    posix_spawn_file_actions_addclose(&actions, po[1]);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  if (err) {
    posix_spawn_file_actions_adddup2(&actions, pe[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pe[0]);
    posix_spawn_file_actions_addclose(&actions, pe[1]);
  }
  std::vector<std::string> all = {"ffmpeg", "-nostdin", "-v", "error"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, "ffmpeg", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  for (int* p : {po, pe}) {
    if (p[1] >= 0) ::close(p[1]);
    if (rc != 0 && p[0] >= 0) ::close(p[0]);
  }
  if (rc != 0) return -1;
  if (out) *out = po[0];
  if (err) *err = pe[0];
  return pid;
}

}  // namespace

std::string CFfmpegAudio::Check(const std::string& path) {
  int err = -1;
  const pid_t pid = SpawnFfmpeg({"-i", path, "-map", "0:a:0", "-t", "0.1", "-f", "null", "-"}, nullptr, &err);
  if (pid < 0) return "cannot start ffmpeg";
  std::string said;
  char buf[512];
  for (ssize_t n; (n = ::read(err, buf, sizeof buf)) > 0;) said.append(buf, static_cast<size_t>(n));
  ::close(err);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
  if (said.find("matches no streams") != std::string::npos) return "the file has no audio stream";
  const std::string first = said.substr(0, said.find('\n'));
  return "ffmpeg cannot decode it" + (first.empty() ? std::string() : " (" + first + ")");
}

bool CFfmpegAudio::Open(const std::string& path) {
  m_pid = SpawnFfmpeg({"-i", path, "-f", "f32le", "-ac", "2", "-ar", std::to_string(m_nRate), "-"}, &m_fd, nullptr);
  return m_pid > 0;
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
