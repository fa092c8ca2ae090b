#include "tools/scope/FrameSource.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace scopetool {

namespace {

struct FileCloser {
  pid_t child = 0;  // a decoder writing into the stream: stopped before its pipe closes
  bool owned = true;
  void operator()(FILE* fp) const {
    if (child > 0) ::kill(child, SIGKILL);  // at once: a graceful stop reports the closed pipe
    if (fp && owned) std::fclose(fp);
    if (child > 0) {
      int status = 0;
      ::waitpid(child, &status, 0);
    }
  }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Reads up to and without the next '\n'; false at the end of the stream or past maxLen.
bool ReadLine(FILE* fp, std::string& line, std::size_t maxLen = 4096) {
  line.clear();
  for (int c; (c = std::fgetc(fp)) != EOF;) {
    if (c == '\n') return true;
    if (line.size() >= maxLen) return false;
    line.push_back(static_cast<char>(c));
  }
  return false;
}

// Bytes read into p; short only at the end of the stream.
std::size_t ReadFully(FILE* fp, uint8_t* p, std::size_t n) {
  std::size_t got = 0;
  while (got < n) {
    const std::size_t r = std::fread(p + got, 1, n - got, fp);
    if (r == 0) break;
    got += r;
  }
  return got;
}

constexpr char kY4mMagic[] = "YUV4MPEG2 ";
constexpr std::size_t kMagicLen = sizeof kY4mMagic - 1;

// ---- .y4m

class Y4mSource : public FrameSource {
 public:
  enum class Chroma { C420, C422, C444, Mono };

  explicit Y4mSource(FilePtr fp) : m_fp(std::move(fp)) {}

  // The magic has been read already; parses the rest of the stream header.
  bool ReadHeader(std::string& error) {
    std::string line;
    if (!ReadLine(m_fp.get(), line)) {
      error = "the .y4m stream header is incomplete";
      return false;
    }
    std::istringstream tokens(line);
    std::string chroma = "420jpeg";
    for (std::string t; tokens >> t;) {
      if (t[0] == 'W') m_width = std::strtol(t.c_str() + 1, nullptr, 10);
      if (t[0] == 'H') m_height = std::strtol(t.c_str() + 1, nullptr, 10);
      if (t[0] == 'C') chroma = t.substr(1);
    }
    if (m_width < 2 || m_height < 1 || m_width > kMaxSide || m_height > kMaxSide) {
      error = "the .y4m stream has an unusable frame size (" + std::to_string(m_width) + "x" + std::to_string(m_height) + ")";
      return false;
    }
    if (chroma == "420jpeg" || chroma == "420paldv" || chroma == "420mpeg2" || chroma == "420")
      m_chroma = Chroma::C420;
    else if (chroma == "422")
      m_chroma = Chroma::C422;
    else if (chroma == "444")
      m_chroma = Chroma::C444;
    else if (chroma == "mono")
      m_chroma = Chroma::Mono;
    else {
      error = "the .y4m colour space C" + chroma + " is not supported (8-bit 420, 422, 444 or mono only)";
      return false;
    }
    const std::size_t W = static_cast<std::size_t>(m_width), H = static_cast<std::size_t>(m_height);
    m_cw = m_chroma == Chroma::C444 ? W : (W + 1) / 2;
    m_ch = m_chroma == Chroma::C420 ? (H + 1) / 2 : H;
    if (m_chroma == Chroma::Mono) m_cw = m_ch = 0;
    m_planes.resize(W * H + 2 * m_cw * m_ch);
    return true;
  }

  ReadResult Next(Frame& f) override {
    const ReadResult r = ReadPlanes();
    if (r != ReadResult::Frame) return r;
    f.width = m_width;
    f.height = m_height;
    f.pitch = m_width * 2;  // an odd last pixel leaves two spare bytes per row
    f.format = CVideoScopeGraph::VYUY;
    f.bytes.assign(static_cast<std::size_t>(f.pitch) * static_cast<std::size_t>(m_height), 0);
    ToPairs(f.bytes.data());
    return ReadResult::Frame;
  }

  bool Skip() override { return ReadPlanes() == ReadResult::Frame; }

 private:
  ReadResult ReadPlanes() {
    std::string line;
    int c = std::fgetc(m_fp.get());
    if (c == EOF) return ReadResult::End;
    std::ungetc(c, m_fp.get());
    if (!ReadLine(m_fp.get(), line) || line.rfind("FRAME", 0) != 0) {
      m_message = "frame " + std::to_string(m_index) + " has no FRAME header: the stream is damaged or truncated";
      return ReadResult::Truncated;
    }
    if (ReadFully(m_fp.get(), m_planes.data(), m_planes.size()) != m_planes.size()) {
      m_message = "frame " + std::to_string(m_index) + " is truncated";
      return ReadResult::Truncated;
    }
    ++m_index;
    return ReadResult::Frame;
  }

  void ToPairs(uint8_t* out) const {
    const std::size_t W = static_cast<std::size_t>(m_width), H = static_cast<std::size_t>(m_height);
    const uint8_t* Y = m_planes.data();
    const uint8_t* U = Y + W * H;
    const uint8_t* V = U + m_cw * m_ch;
    for (std::size_t y = 0; y < H; ++y) {
      uint8_t* row = out + y * W * 2;
      const std::size_t cy = m_chroma == Chroma::C420 ? y / 2 : y;
      for (std::size_t i = 0; i < W / 2; ++i) {
        int u = 128, v = 128;
        if (m_chroma == Chroma::C444) {
          u = (U[cy * m_cw + 2 * i] + U[cy * m_cw + 2 * i + 1] + 1) / 2;
          v = (V[cy * m_cw + 2 * i] + V[cy * m_cw + 2 * i + 1] + 1) / 2;
        } else if (m_chroma != Chroma::Mono) {
          u = U[cy * m_cw + i];
          v = V[cy * m_cw + i];
        }
        uint8_t* p = row + 4 * i;
        p[0] = Y[y * W + 2 * i];
        p[1] = static_cast<uint8_t>(u);
        p[2] = Y[y * W + 2 * i + 1];
        p[3] = static_cast<uint8_t>(v);
      }
    }
  }

  FilePtr m_fp;
  long m_width = 0, m_height = 0;
  Chroma m_chroma = Chroma::C420;
  std::size_t m_cw = 0, m_ch = 0;
  std::vector<uint8_t> m_planes;
  long m_index = 0;
};

// ---- raw frames

struct RawFormat {
  const char* name;
  CVideoScopeGraph::ColFmt fmt;
  int bytesPerPixel;  // 0: the 10-bit block format
  bool swapChroma;    // Y V Y U: exchange U and V into the graph's Y U Y V
};
constexpr RawFormat kRawFormats[] = {
    {"uyvy422", CVideoScopeGraph::YVYU, 2, false}, {"yuyv422", CVideoScopeGraph::VYUY, 2, false},
    {"yvyu422", CVideoScopeGraph::VYUY, 2, true},  {"bgra", CVideoScopeGraph::ARGB, 4, false},
    {"tvyu", CVideoScopeGraph::TVYU, 4, false},    {"m101", CVideoScopeGraph::M101_10BIT, 0, false},
};

const RawFormat* FindRaw(const std::string& name) {
  for (const RawFormat& f : kRawFormats)
    if (name == f.name) return &f;
  return nullptr;
}

class RawSource : public FrameSource {
 public:
  RawSource(FilePtr fp, const RawFormat& fmt, long w, long h) : m_fp(std::move(fp)), m_fmt(fmt), m_width(w), m_height(h) {
    const long pairs = w / 2;
    m_pitch = fmt.bytesPerPixel ? w * fmt.bytesPerPixel
                                : (pairs * 4 + CVideoScopeGraph::M101_SAMPLES - 1) / CVideoScopeGraph::M101_SAMPLES *
                                      CVideoScopeGraph::M101_BLOCK;
  }

  ReadResult Next(Frame& f) override {
    const std::size_t n = static_cast<std::size_t>(m_pitch) * static_cast<std::size_t>(m_height);
    f.bytes.resize(n);
    const ReadResult r = Read(f.bytes.data(), n);
    if (r != ReadResult::Frame) return r;
    if (m_fmt.swapChroma)
      for (std::size_t i = 0; i + 3 < n; i += 4) std::swap(f.bytes[i + 1], f.bytes[i + 3]);
    f.width = m_width;
    f.height = m_height;
    f.pitch = m_pitch;
    f.format = m_fmt.fmt;
    return ReadResult::Frame;
  }

  bool Skip() override {
    m_scratch.resize(static_cast<std::size_t>(m_pitch) * static_cast<std::size_t>(m_height));
    return Read(m_scratch.data(), m_scratch.size()) == ReadResult::Frame;
  }

 private:
  ReadResult Read(uint8_t* p, std::size_t n) {
    const std::size_t got = ReadFully(m_fp.get(), p, n);
    if (got == 0) return ReadResult::End;
    if (got < n) {
      m_message = "frame " + std::to_string(m_index) + " is truncated (" + std::to_string(got) + " of " +
                  std::to_string(n) + " bytes)";
      return ReadResult::Truncated;
    }
    ++m_index;
    return ReadResult::Frame;
  }

  FilePtr m_fp;
  RawFormat m_fmt;
  long m_width, m_height, m_pitch = 0;
  long m_index = 0;
  std::vector<uint8_t> m_scratch;
};

// ---- ffmpeg

bool FindOnPath(const char* program) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::istringstream dirs(path);
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string full = (dir.empty() ? std::string(".") : dir) + "/" + program;
    if (::access(full.c_str(), X_OK) == 0) return true;
  }
  return false;
}

// Runs ffmpeg decoding path into a .y4m stream on a pipe (no shell: the path is one argument).
FilePtr SpawnDecoder(const std::string& path, std::string& error) {
  int fds[2];
  if (::pipe(fds) != 0) {
    error = "cannot start ffmpeg: " + std::string(std::strerror(errno));
    return FilePtr(nullptr, FileCloser{});
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addclose(&actions, fds[1]);
  std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v", "error", "-i", path, "-f", "yuv4mpegpipe",
                                   "-pix_fmt", "yuv422p", "-strict", "-1", "-"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, "ffmpeg", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (rc != 0) {
    ::close(fds[0]);
    error = "cannot start ffmpeg: " + std::string(std::strerror(rc));
    return FilePtr(nullptr, FileCloser{});
  }
  FILE* fp = ::fdopen(fds[0], "rb");
  if (!fp) ::close(fds[0]);
  return FilePtr(fp, FileCloser{pid, true});
}

std::unique_ptr<FrameSource> OpenY4m(FilePtr fp, std::string& error) {
  auto src = std::make_unique<Y4mSource>(std::move(fp));
  if (!src->ReadHeader(error)) return nullptr;
  return src;
}

}  // namespace

bool RawFormatByName(const std::string& name, std::string& canonical) {
  const RawFormat* f = FindRaw(name);
  if (f) canonical = f->name;
  return f != nullptr;
}

std::unique_ptr<FrameSource> OpenSource(const std::string& path, const std::string& rawFormat, long rawWidth,
                                        long rawHeight, std::string& error) {
  const bool isStdin = path == "-";
  FilePtr fp(isStdin ? stdin : std::fopen(path.c_str(), "rb"), FileCloser{0, !isStdin});
  if (!fp) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  if (!rawFormat.empty()) {
    const RawFormat* f = FindRaw(rawFormat);
    if (!f) {
      error = "unknown raw format " + rawFormat;
      return nullptr;
    }
    if (rawWidth < 2 || rawHeight < 1 || rawWidth > kMaxSide || rawHeight > kMaxSide) {
      error = "raw frames need --size WxH (2x1 to 32768x32768)";
      return nullptr;
    }
    return std::make_unique<RawSource>(std::move(fp), *f, rawWidth, rawHeight);
  }
  char magic[kMagicLen];
  const std::size_t got = ReadFully(fp.get(), reinterpret_cast<uint8_t*>(magic), kMagicLen);
  if (got == kMagicLen && std::memcmp(magic, kY4mMagic, kMagicLen) == 0) return OpenY4m(std::move(fp), error);
  if (isStdin) {
    error = "standard input is not a .y4m stream; give --format and --size for raw frames";
    return nullptr;
  }
  if (got == 0 && std::ferror(fp.get())) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  fp.reset();
  if (!FindOnPath("ffmpeg")) {
    error = path + " is not a .y4m stream, and decoding other video needs the ffmpeg program, which is not on PATH";
    return nullptr;
  }
  FilePtr pipe = SpawnDecoder(path, error);
  if (!pipe) return nullptr;
  char head[kMagicLen];
  if (ReadFully(pipe.get(), reinterpret_cast<uint8_t*>(head), kMagicLen) != kMagicLen ||
      std::memcmp(head, kY4mMagic, kMagicLen) != 0) {
    error = "ffmpeg could not decode " + path;
    return nullptr;
  }
  return OpenY4m(std::move(pipe), error);
}

}  // namespace scopetool
