// A scratch folder per test, removed with everything in it afterwards.
#pragma once
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <winport/afx.h>

namespace shelltest {

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/parvane-shell-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    m_path = made ? made : "";
  }
  ~TempDir() {
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "/" + name; }
  std::wstring WFile(const std::string& name) const { return CString::FromUtf8(File(name)).str(); }
  // A file of `size` bytes; sizes beyond the content are a hole (sparse, nothing written).
  bool Make(const std::string& name, long long size, const std::string& content = "") const {
    const int fd = ::open(File(name).c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    if (fd < 0) return false;
    bool ok = content.empty() || ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    ok = ok && ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    ::close(fd);
    return ok;
  }

 private:
  std::string m_path;
};

}  // namespace shelltest
