// parvane-scope: waveform, Y/C, vector, lightning, histogram and RGB parade images of video
// frames, for batch checks of footage. Frames come from a .y4m stream, raw frames, or any other
// video through the ffmpeg program; every chosen scope of every chosen frame becomes a PNG.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <winport/afx.h>
#include <winport/gdi/Surface.h>
#include <winport/headless.h>

#include "tools/scope/FrameSource.h"
#include "tools/scope/ScopeRenderer.h"

namespace {

constexpr const char* kUsage =
    "usage: parvane-scope --input FILE|- [options]\n"
    "\n"
    "Writes one PNG per chosen scope and frame: DIR/<scope>_<frame>.png\n"
    "\n"
    "input:\n"
    "  --input FILE        a .y4m stream (8-bit 4:2:0, 4:2:2, 4:4:4), raw frames with --format,\n"
    "                      or any other video, decoded by the ffmpeg program found on PATH;\n"
    "                      '-' reads standard input (.y4m, or raw frames with --format)\n"
    "  --format FMT        raw frames: uyvy422, yuyv422, yvyu422, bgra, tvyu, m101\n"
    "  --size WxH          frame size of raw frames (up to 32768 a side, under 2 GiB a frame)\n"
    "output:\n"
    "  --scope LIST        comma-separated: waveform,yc,vector,lightning,histogram,parade,rgbhisto\n"
    "                      (default: all)\n"
    "  --frames LIST       frame numbers from 0 to 2^40, comma-separated (default: every frame)\n"
    "  --every N           every N-th frame (N up to 2^40), starting with frame 0\n"
    "  --scale S           code, percent or mv (waveform labels; the parade has code and mv)\n"
    "  --image-size WxH    size of each image (default 640x360): 16 to 8192 a side, and at most\n"
    "                      16777216 pixels (4096x4096)\n"
    "  --mark-out          draw out-of-range waveform levels in light red\n"
    "  --out DIR           where the images go (default: the current folder; created if missing)\n"
    "  --help              this text\n";

constexpr long kMaxFrame = 1L << 40;  // frame numbers and steps
constexpr long kMaxImageSide = 8192;

struct Options {
  std::string input, format, out = ".";
  long width = 0, height = 0;
  std::vector<scopetool::ScopeKind> scopes;
  std::set<long> frames;
  long every = 1;
  scopetool::RenderOptions render;
};

[[noreturn]] void Fail(int code, const std::string& message) {
  std::fprintf(stderr, "parvane-scope: %s\n", message.c_str());
  if (code == 2) std::fprintf(stderr, "try parvane-scope --help\n");
  std::exit(code);
}

bool ParseLong(const std::string& s, long lo, long hi, long& out) {
  if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  const long v = std::strtol(s.c_str(), nullptr, 10);
  if (errno == ERANGE || v < lo || v > hi) return false;
  out = v;
  return true;
}

bool ParseSize(const std::string& s, long maxSide, long& w, long& h) {
  const std::size_t x = s.find('x');
  return x != std::string::npos && ParseLong(s.substr(0, x), 1, maxSide, w) && ParseLong(s.substr(x + 1), 1, maxSide, h);
}

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> parts;
  std::istringstream in(s);
  for (std::string p; std::getline(in, p, ',');) parts.push_back(p);
  return parts;
}

Options Parse(int argc, char** argv) {
  Options o;
  bool haveFrames = false, haveEvery = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    if (a == "--mark-out") {
      o.render.markOut = true;
      continue;
    }
    static const std::set<std::string> kValued = {"--input", "--format",  "--size",  "--image-size", "--scope",
                                                  "--frames", "--every", "--scale", "--out"};
    if (a.rfind("--", 0) != 0) Fail(2, "unexpected argument " + a);
    if (!kValued.count(a)) Fail(2, "unknown option " + a);
    if (i + 1 >= argc) Fail(2, a + " needs a value");
    const std::string v = argv[++i];
    if (a == "--input") {
      o.input = v;
    } else if (a == "--format") {
      if (!scopetool::RawFormatByName(v, o.format)) Fail(2, "unknown raw format " + v);
    } else if (a == "--size") {
      // Only the form here: which sizes the scopes take is checked where the frames are opened.
      if (!ParseSize(v, std::numeric_limits<long>::max(), o.width, o.height)) Fail(2, "bad frame size " + v + " (WxH)");
    } else if (a == "--image-size") {
      long w = 0, h = 0;
      // Past the surface cap the windows would draw into a cut-down surface.
      const bool fits = ParseSize(v, kMaxImageSide, w, h) && w >= 16 && h >= 16 &&
                        winport::Surface::WithinCap(static_cast<int>(w), static_cast<int>(h));
      if (!fits)
        Fail(2, "bad image size " + v + " (WxH, 16 to " + std::to_string(kMaxImageSide) + " a side and at most " +
                    std::to_string(winport::kMaxSurfacePixels) + " pixels, as 4096x4096)");
      o.render.width = static_cast<int>(w);
      o.render.height = static_cast<int>(h);
    } else if (a == "--scope") {
      for (const std::string& name : Split(v)) {
        scopetool::ScopeKind k;
        if (!scopetool::ScopeByName(name, k)) Fail(2, "unknown scope " + name);
        if (std::find(o.scopes.begin(), o.scopes.end(), k) == o.scopes.end()) o.scopes.push_back(k);
      }
    } else if (a == "--frames") {
      haveFrames = true;
      for (const std::string& n : Split(v)) {
        long f = 0;
        if (!ParseLong(n, 0, kMaxFrame, f)) Fail(2, "bad frame number " + n + " (0 to " + std::to_string(kMaxFrame) + ")");
        o.frames.insert(f);
      }
    } else if (a == "--every") {
      haveEvery = true;
      if (!ParseLong(v, 1, kMaxFrame, o.every)) Fail(2, "bad --every " + v + " (1 to " + std::to_string(kMaxFrame) + ")");
    } else if (a == "--scale") {
      if (v == "code") o.render.scale = 0;
      else if (v == "percent") o.render.scale = 1;
      else if (v == "mv") o.render.scale = 2;
      else Fail(2, "unknown scale " + v + " (code, percent or mv)");
    } else {
      o.out = v;
    }
  }
  if (o.input.empty()) Fail(2, "no --input given");
  if (haveFrames && haveEvery) Fail(2, "--frames and --every exclude each other");
  if (haveFrames && o.frames.empty()) Fail(2, "--frames needs at least one frame number");
  if (o.format.empty() != (o.width == 0)) Fail(2, "raw frames need both --format and --size");
  if (o.scopes.empty())
    for (int k = 0; k < 7; ++k) o.scopes.push_back(static_cast<scopetool::ScopeKind>(k));
  return o;
}

// A progress line on standard error once a run has taken a second, refreshed twice a second.
class Progress {
 public:
  void Update(long frame, long written) {
    const auto now = std::chrono::steady_clock::now();
    if (now - m_start < std::chrono::seconds(1) || now - m_last < std::chrono::milliseconds(500)) return;
    m_last = now;
    m_shown = true;
    std::fprintf(stderr, "\rparvane-scope: frame %ld, %ld images", frame, written);
    std::fflush(stderr);
  }
  void Done() {
    if (m_shown) std::fputc('\n', stderr);
    m_shown = false;
  }

 private:
  std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now(), m_last{};
  bool m_shown = false;
};

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  setenv("WINPORT_BACKEND", "headless", 1);
  winport::headless::Reset();

  std::string error;
  std::unique_ptr<scopetool::FrameSource> src = scopetool::OpenSource(o.input, o.format, o.width, o.height, error);
  if (!src) Fail(1, error);
  std::error_code ec;
  std::filesystem::create_directories(o.out, ec);
  if (!std::filesystem::is_directory(o.out)) Fail(1, "cannot create the output folder " + o.out);

  scopetool::ScopeRenderer renderer;
  if (!renderer.Create(o.scopes, o.render)) Fail(1, "cannot create the scope windows");
  const long last = o.frames.empty() ? -1 : *o.frames.rbegin();
  auto wanted = [&](long n) { return o.frames.empty() ? n % o.every == 0 : o.frames.count(n) != 0; };

  Progress progress;
  scopetool::Frame frame;
  long n = 0, images = 0;
  for (; last < 0 || n <= last; ++n) {
    progress.Update(n, images);
    scopetool::ReadResult r;
    if (!wanted(n)) {
      if (src->Skip()) continue;
      r = src->Message().empty() ? scopetool::ReadResult::End : scopetool::ReadResult::Truncated;
    } else {
      r = src->Next(frame);
    }
    if (r == scopetool::ReadResult::End) break;
    if (r != scopetool::ReadResult::Frame) {
      progress.Done();
      Fail(1, src->Message());
    }
    renderer.Feed(frame);
    if (!renderer.Save(o.out, n, error)) {
      progress.Done();
      Fail(1, error);
    }
    images += static_cast<long>(o.scopes.size());
  }
  progress.Done();
  if (last >= 0 && n <= last) Fail(1, "frame " + std::to_string(last) + " is past the end of the input (" + std::to_string(n) + " frames)");
  if (n == 0) Fail(1, "the input holds no frames");
  return 0;
}
