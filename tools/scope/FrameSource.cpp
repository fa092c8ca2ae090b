#include "tools/scope/FrameSource.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>

#include "scopes/ScopeFrame.h"

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

// Reads n bytes into buf, growing it only as the bytes arrive: a header that lies about the frame
// size costs no more memory than the stream really holds. Returns the bytes read.
std::size_t ReadGrowing(FILE* fp, std::vector<uint8_t>& buf, std::size_t n) {
  constexpr std::size_t kFirstChunk = std::size_t{1} << 20;
  std::size_t got = 0;
  while (got < n) {
    const std::size_t end = std::min(n, std::max(2 * got, kFirstChunk));
    if (buf.size() < end) buf.resize(end);
    got += ReadFully(fp, buf.data() + got, end - got);
    if (got < end) break;
  }
  return got;
}

// Reads past n bytes without keeping them; returns how many there were.
std::size_t Discard(FILE* fp, std::size_t n) {
  uint8_t chunk[1 << 14];
  std::size_t got = 0;
  while (got < n) {
    const std::size_t want = std::min(n - got, sizeof chunk);
    const std::size_t r = ReadFully(fp, chunk, want);
    got += r;
    if (r < want) break;
  }
  return got;
}

// Hands each space-separated parameter of one header line to take, up to the line's '\n'. A
// parameter is cut to 64 bytes, longer than any value read here, so no line is too long to read.
// False when the stream ends before the line does.
template <class Take>
bool ReadParams(FILE* fp, Take take) {
  std::string param;
  for (int c; (c = std::fgetc(fp)) != EOF;) {
    if (c == ' ' || c == '\n') {
      if (!param.empty()) take(param);
      param.clear();
      if (c == '\n') return true;
    } else if (param.size() < 64) {
      param.push_back(static_cast<char>(c));
    }
  }
  return false;
}

// A decimal count; -1 unless the whole text is one.
long ParseCount(const std::string& s) {
  if (s.empty() || s.size() > 18 || s.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stol(s);
}

// The scope graph's own check of a frame's shape decides what the tool takes, so that no frame it
// reads is dropped by the graph without a word. what names the frames in the message.
bool FrameFits(long width, long height, long pitch, const std::string& what, std::string& error) {
  static const BYTE probe = 0;  // the check looks at the pointer, never through it
  const auto noRowBytes = [](long) { return 0L; };  // the pitch given is already the row's size
  if (width >= 2 && scopes_detail::CheckFrame(&probe, width, height, pitch, 0, noRowBytes)) return true;
  constexpr long kMaxSide = scopes_detail::kMaxFrameSide;
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  if (width < 2 || height < 1 || width > kMaxSide || height > kMaxSide) {
    error = what + " of " + size + " cannot be shown: the scopes take 2 to " + std::to_string(kMaxSide) +
            " pixels wide and 1 to " + std::to_string(kMaxSide) + " high";
  } else {
    error = what + " of " + size + " are too large for the scopes: " + std::to_string(pitch * height) +
            " bytes a frame as they read it, at most " + std::to_string(std::numeric_limits<int32_t>::max());
  }
  return false;
}

constexpr char kY4mMagic[] = "YUV4MPEG2 ";
constexpr std::size_t kMagicLen = sizeof kY4mMagic - 1;

// ---- .y4m

class Y4mSource : public FrameSource {
 public:
  enum class Chroma { C420, C422, C444, Mono };

  explicit Y4mSource(FilePtr fp) : m_fp(std::move(fp)) {}

  // The magic has been read already; parses the rest of the stream header. Nothing is allocated
  // for the frames until one arrives.
  bool ReadHeader(std::string& error) {
    std::string chroma = "420jpeg";
    const bool whole = ReadParams(m_fp.get(), [&](const std::string& t) {
      if (t[0] == 'W') m_width = ParseCount(t.substr(1));
      if (t[0] == 'H') m_height = ParseCount(t.substr(1));
      if (t[0] == 'C') chroma = t.substr(1);
    });
    if (!whole) {
      error = "the .y4m stream header is incomplete";
      return false;
    }
    if (!FrameFits(m_width, m_height, m_width * 2, "the .y4m frames", error)) return false;
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
    m_planeBytes = W * H + 2 * m_cw * m_ch;
    return true;
  }

  ReadResult Next(Frame& f) override {
    ReadResult r = ReadFrameHeader();
    if (r == ReadResult::Frame) r = Arrived(ReadGrowing(m_fp.get(), m_planes, m_planeBytes), m_planeBytes);
    if (r != ReadResult::Frame) return r;
    f.width = m_width;
    f.height = m_height;
    f.pitch = m_width * 2;  // an odd last pixel leaves two spare bytes per row
    f.format = CVideoScopeGraph::VYUY;
    f.bytes.assign(static_cast<std::size_t>(f.pitch) * static_cast<std::size_t>(m_height), 0);
    ToPairs(f.bytes.data());
    return ReadResult::Frame;
  }

  bool Skip() override {
    return ReadFrameHeader() == ReadResult::Frame && Arrived(Discard(m_fp.get(), m_planeBytes), m_planeBytes) == ReadResult::Frame;
  }

 private:
  // A FRAME line, whose parameters are legal and of no use here.
  ReadResult ReadFrameHeader() {
    const int c = std::fgetc(m_fp.get());
    if (c == EOF) return ReadResult::End;
    std::ungetc(c, m_fp.get());
    bool first = true, isFrame = false;
    const bool whole = ReadParams(m_fp.get(), [&](const std::string& t) {
      if (first) isFrame = t == "FRAME";
      first = false;
    });
    if (whole && isFrame) return ReadResult::Frame;
    m_message = "frame " + std::to_string(m_index) + " has no FRAME header: the stream is damaged or truncated";
    return ReadResult::Truncated;
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
  std::size_t m_cw = 0, m_ch = 0, m_planeBytes = 0;
  std::vector<uint8_t> m_planes;
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

// Bytes of one row. A width past what the scopes take counts as just past it: refused anyway, and
// kept from overflowing on the way.
long RawPitch(const RawFormat& fmt, long width) {
  const long w = std::min(width, scopes_detail::kMaxFrameSide + 1);
  if (fmt.bytesPerPixel) return w * fmt.bytesPerPixel;
  constexpr long kSamples = CVideoScopeGraph::M101_SAMPLES;
  return ((w / 2) * 4 + kSamples - 1) / kSamples * CVideoScopeGraph::M101_BLOCK;
}

class RawSource : public FrameSource {
 public:
  RawSource(FilePtr fp, const RawFormat& fmt, long w, long h)
      : m_fp(std::move(fp)), m_fmt(fmt), m_width(w), m_height(h), m_pitch(RawPitch(fmt, w)) {}

  ReadResult Next(Frame& f) override {
    const std::size_t n = FrameBytes();
    const std::size_t got = ReadGrowing(m_fp.get(), f.bytes, n);
    if (got == 0) return ReadResult::End;
    if (Arrived(got, n) != ReadResult::Frame) return ReadResult::Truncated;
    f.bytes.resize(n);
    if (m_fmt.swapChroma)
      for (std::size_t i = 0; i + 3 < n; i += 4) std::swap(f.bytes[i + 1], f.bytes[i + 3]);
    f.width = m_width;
    f.height = m_height;
    f.pitch = m_pitch;
    f.format = m_fmt.fmt;
    return ReadResult::Frame;
  }

  bool Skip() override {
    const std::size_t got = Discard(m_fp.get(), FrameBytes());
    return got > 0 && Arrived(got, FrameBytes()) == ReadResult::Frame;
  }

 private:
  std::size_t FrameBytes() const { return static_cast<std::size_t>(m_pitch) * static_cast<std::size_t>(m_height); }

  FilePtr m_fp;
  RawFormat m_fmt;
  long m_width, m_height, m_pitch;
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

std::unique_ptr<FrameSource> OpenRaw(FilePtr fp, const std::string& rawFormat, long w, long h, std::string& error) {
  const RawFormat* f = FindRaw(rawFormat);
  if (!f) {
    error = "unknown raw format " + rawFormat;
    return nullptr;
  }
  if (!FrameFits(w, h, RawPitch(*f, w), std::string(f->name) + " frames", error)) return nullptr;
  return std::make_unique<RawSource>(std::move(fp), *f, w, h);
}

// Reads the stream's first bytes: true when they are the .y4m magic.
bool ReadMagic(FILE* fp) {
  char magic[kMagicLen];
  return ReadFully(fp, reinterpret_cast<uint8_t*>(magic), kMagicLen) == kMagicLen &&
         std::memcmp(magic, kY4mMagic, kMagicLen) == 0;
}

}  // namespace

ReadResult FrameSource::Arrived(std::size_t got, std::size_t want) {
  if (got != want) {
    m_message = "frame " + std::to_string(m_index) + " is truncated (" + std::to_string(got) + " of " +
                std::to_string(want) + " bytes)";
    return ReadResult::Truncated;
  }
  ++m_index;
  return ReadResult::Frame;
}

bool RawFormatByName(const std::string& name, std::string& canonical) {
  const RawFormat* f = FindRaw(name);
  if (f) canonical = f->name;
  return f != nullptr;
}

std::unique_ptr<FrameSource> OpenStream(std::FILE* fp, const std::string& name, const std::string& rawFormat,
                                        long rawWidth, long rawHeight, std::string& error) {
  FilePtr borrowed(fp, FileCloser{0, false});
  if (!rawFormat.empty()) return OpenRaw(std::move(borrowed), rawFormat, rawWidth, rawHeight, error);
  if (ReadMagic(fp)) return OpenY4m(std::move(borrowed), error);
  if (std::ferror(fp))
    error = "cannot read " + name + ": " + std::strerror(errno);
  else
    error = name + " is not a .y4m stream; give --format and --size for raw frames";
  return nullptr;
}

std::unique_ptr<FrameSource> OpenSource(const std::string& path, const std::string& rawFormat, long rawWidth,
                                        long rawHeight, std::string& error) {
  if (path == "-") return OpenStream(stdin, "standard input", rawFormat, rawWidth, rawHeight, error);
  FilePtr fp(std::fopen(path.c_str(), "rb"), FileCloser{});
  if (!fp) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  if (!rawFormat.empty()) return OpenRaw(std::move(fp), rawFormat, rawWidth, rawHeight, error);
  if (ReadMagic(fp.get())) return OpenY4m(std::move(fp), error);
  if (std::ferror(fp.get())) {
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
  if (!ReadMagic(pipe.get())) {
    error = "ffmpeg could not decode " + path;
    return nullptr;
  }
  return OpenY4m(std::move(pipe), error);
}

}  // namespace scopetool
