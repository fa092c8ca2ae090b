// Prompts answered by the desktop's dialog helper: zenity, else kdialog, run as a child process
// whose standard output carries the chosen path.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "winport/base/CString.h"
#include "winport/shell/CommDlg.h"
#include "winport/shell/Path.h"
#include "winport/shell/PromptProvider.h"
#include "winport/shell/ShlObj.h"

extern char** environ;

namespace winport {
namespace {

std::string Utf8(const std::wstring& s) { return CString(s).ToUtf8(); }

std::string FindOnPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string list = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    std::string candidate = list.substr(start, end - start) + "/" + program;
    if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

bool HaveDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* v = std::getenv(name);
    if (v && *v) return true;
  }
  return false;
}

// Where the helper starts: the initial name inside the initial folder, in this system's spelling.
std::string StartPath(const PromptRequest& r) {
  std::wstring name = r.fileName;
  const bool absolute = !name.empty() && (name[0] == L'/' || name[0] == L'\\');
  if (!absolute && !r.initialDir.empty()) {
    std::wstring dir = r.initialDir;
    if (dir.back() != L'/' && dir.back() != L'\\') dir += L'/';
    name = dir + name;
  }
  return NativePath(name);
}

// The filters, the chosen one first (the helpers preselect their first filter).
std::vector<std::pair<std::wstring, std::wstring>> OrderedFilters(const PromptRequest& r) {
  auto filters = r.filters;
  if (r.filterIndex >= 1 && r.filterIndex <= filters.size()) {
    auto chosen = filters[r.filterIndex - 1];
    filters.erase(filters.begin() + (r.filterIndex - 1));
    filters.insert(filters.begin(), chosen);
  }
  return filters;
}

std::string Patterns(const std::wstring& patterns) {
  std::string s = Utf8(patterns);
  for (char& c : s)
    if (c == ';') c = ' ';
  return s;
}

struct ChildResult {
  bool ran = false;
  bool expired = false;
  int status = -1;
  std::string out;
};

ChildResult Run(const std::vector<std::string>& args, unsigned deadlineMs) {
  ChildResult result;
  int pipefd[2];
  if (::pipe(pipefd) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipefd[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipefd[0]);
  posix_spawn_file_actions_addclose(&actions, pipefd[1]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int rc = ::posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipefd[1]);
  if (rc != 0) {
    ::close(pipefd[0]);
    return result;
  }
  result.ran = true;
  const auto start = std::chrono::steady_clock::now();
  char buf[4096];
  for (;;) {
    int wait = -1;
    if (deadlineMs) {
      const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
      wait = spent.count() >= deadlineMs ? 0 : static_cast<int>(deadlineMs - spent.count());
    }
    pollfd p{pipefd[0], POLLIN, 0};
    const int ready = ::poll(&p, 1, wait);
    if (ready == 0) {
      ::kill(pid, SIGTERM);
      result.expired = true;
      break;
    }
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    const ssize_t n = ::read(pipefd[0], buf, sizeof buf);
    if (n <= 0) break;
    if (result.out.size() < (1u << 20)) result.out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(pipefd[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

class DesktopHelper : public PromptProvider {
 public:
  DesktopHelper(std::string helper, const DesktopPromptOptions& options)
      : helper_(std::move(helper)), options_(options) {}

  PromptAnswer Ask(const PromptRequest& request) override {
    std::vector<std::string> args = DesktopHelperCommand(helper_, request);
    ChildResult r = Run(args, options_.deadlineMs);
    PromptAnswer answer;
    answer.expired = r.expired;
    if (!r.ran || r.expired || r.status != 0) return answer;
    while (!r.out.empty() && (r.out.back() == '\n' || r.out.back() == '\r')) r.out.pop_back();
    if (r.out.empty()) return answer;
    answer.confirmed = true;
    answer.path = CString::FromUtf8(r.out).str();
    return answer;
  }

 private:
  std::string helper_;
  DesktopPromptOptions options_;
};

}  // namespace

std::vector<std::string> DesktopHelperCommand(const std::string& helper, const PromptRequest& r) {
  std::vector<std::string> args{helper};
  const std::string start = StartPath(r);
  const auto filters = OrderedFilters(r);
  const bool kdialog = helper.size() >= 7 && helper.compare(helper.size() - 7, 7, "kdialog") == 0;
  if (kdialog) {
    if (!r.title.empty()) args.insert(args.end(), {"--title", Utf8(r.title)});
    args.push_back(r.kind == PromptRequest::Folder ? "--getexistingdirectory"
                   : r.kind == PromptRequest::Save ? "--getsavefilename"
                                                   : "--getopenfilename");
    args.push_back(start.empty() ? std::string(".") : start);
    if (r.kind != PromptRequest::Folder && !filters.empty()) {
      std::string list;
      for (const auto& [name, patterns] : filters) {
        if (!list.empty()) list += '\n';
        list += Patterns(patterns) + "|" + Utf8(name);
      }
      args.push_back(list);
    }
    return args;
  }
  args.push_back("--file-selection");
  if (!r.title.empty()) args.push_back("--title=" + Utf8(r.title));
  if (r.kind == PromptRequest::Folder) args.push_back("--directory");
  if (r.kind == PromptRequest::Save) {
    args.push_back("--save");
    if (r.flags & OFN_OVERWRITEPROMPT) args.push_back("--confirm-overwrite");
  }
  if (!start.empty()) args.push_back("--filename=" + start);
  if (r.kind != PromptRequest::Folder) {
    for (const auto& [name, patterns] : filters) args.push_back("--file-filter=" + Utf8(name) + " | " + Patterns(patterns));
  }
  return args;
}

std::shared_ptr<PromptProvider> MakeDesktopPromptProvider(const DesktopPromptOptions& options) {
  if (!HaveDisplay()) return nullptr;
  for (const char* helper : {"zenity", "kdialog"}) {
    std::string found = FindOnPath(helper);
    if (!found.empty()) return std::make_shared<DesktopHelper>(found, options);
  }
  return nullptr;
}

}  // namespace winport
