// The gallery in real windows, as a user runs it: every page open on a virtual X server, then one
// Ctrl+C or SIGTERM from outside. The program must end on that first signal, and soon.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Reads from fd until `want` appears in what was read or the time is up.
bool ReadUntil(int fd, const std::string& want, std::string& got, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  char buf[512];
  while (got.find(want) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return false;
    got.append(buf, static_cast<size_t>(n));
  }
  return true;
}

// A child process with its stderr (and stdout) on a pipe the test reads.
struct Child {
  pid_t pid = -1;
  int out = -1;
  ~Child() {
    if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    if (out >= 0) close(out);
  }
  template <typename... Args>
  bool Start(const char* display, const char* program, Args... args) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    pid = fork();
    if (pid == 0) {
      dup2(fds[1], 1);
      dup2(fds[1], 2);
      close(fds[0]);
      if (display) setenv("DISPLAY", display, 1);
      unsetenv("SDL_VIDEODRIVER");
      execl(program, program, args..., static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    out = fds[0];
    return pid > 0;
  }
  // The exit status, or -1 after `limit` (or when the child died of a signal).
  int WaitExit(std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    int st = 0;
    while (Clock::now() < end) {
      if (waitpid(pid, &st, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
  }
};

// A virtual X server of the given size for the life of the object; Xvfb picks a free display.
class VirtualDisplay {
 public:
  VirtualDisplay(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(fds[1]);
    server_.pid = fork();
    if (server_.pid == 0) {
      close(fds[0]);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 2);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    server_.out = fds[0];
    std::string number;
    if (ReadUntil(server_.out, "\n", number, std::chrono::seconds(15))) name_ = ":" + number.substr(0, number.find('\n'));
  }
  ~VirtualDisplay() {
    if (server_.pid > 0) kill(server_.pid, SIGTERM);
    server_.WaitExit(std::chrono::seconds(5));
  }
  const std::string& Name() const { return name_; }

 private:
  Child server_;
  std::string name_;
};

bool HaveXvfb() { return std::system("command -v Xvfb > /dev/null 2>&1") == 0; }

// All pages open and animating, then one signal: the windows close and the process ends.
void ExpectOneSignalEnds(int sig) {
  VirtualDisplay display(1920, 1080);
  ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
  Child gallery;
  ASSERT_TRUE(gallery.Start(display.Name().c_str(), PARVANEU_GALLERY_PATH, "--window"));
  std::string said;
  ASSERT_TRUE(ReadUntil(gallery.out, "open", said, std::chrono::seconds(60))) << said;
  // Long enough for every page's programme to run (the controls page drives its knobs with input).
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const auto sent = Clock::now();
  kill(gallery.pid, sig);
  const int status = gallery.WaitExit(std::chrono::seconds(3));
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count();
  EXPECT_EQ(status, 0) << "still running 3 s after signal " << sig << "; it said: " << said;
  // Half a second on a quiet machine; the margin is for a loaded one.
  EXPECT_LT(took, 1500) << "signal " << sig;
  std::printf("signal %d: ended %lld ms after it\n", sig, static_cast<long long>(took));
}

TEST(GalleryWindows, FirstSignalEndsEveryPage) {
  if (!HaveXvfb()) GTEST_SKIP() << "Xvfb is not installed";
  ExpectOneSignalEnds(SIGINT);
  ExpectOneSignalEnds(SIGTERM);
}

}  // namespace
