// parvane-scope end to end: frames made here (75 % colour bars) go in as raw frames and as a .y4m
// stream; the images that come out carry the bars on the vector targets, at their luma codes on
// the waveform and at their RGB levels in the parade. Bad input fails loudly and writes nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <winport/afx.h>

#include "companion/ColorConvert.h"
#include "scopes/ScopeWndGeometry.h"
#include "tests/scopes/ScopeWndFrames.h"

#ifdef PARVANEU_SCOPE_TOOL

namespace fs = std::filesystem;

namespace {

constexpr int kW = 280, kH = 32, kImgW = 640, kImgH = 360;

struct ToolRun {
  int code = -1;
  std::string out, err;
};

struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> px;  // 0x00RRGGBB
  uint32_t At(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height ? px[size_t(y) * width + x] : 0; }
};

class ScopeToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = fs::path(PARVANEU_TEST_OUTPUT_DIR) / "scopetool" / info->name();
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  std::string Path(const std::string& name) const { return (m_dir / name).string(); }

  ToolRun Tool(const std::string& args, const std::string& env = "") const {
    const std::string out = Path("stdout.txt"), err = Path("stderr.txt");
    const std::string cmd = env + " '" PARVANEU_SCOPE_TOOL "' " + args + " >'" + out + "' 2>'" + err + "'";
    ToolRun r;
    const int status = std::system(cmd.c_str());
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = Slurp(out);
    r.err = Slurp(err);
    return r;
  }
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static Image Load(const std::string& path) {
    Image img;
    HBITMAP bmp = static_cast<HBITMAP>(
        ::LoadImageW(nullptr, CString::FromUtf8(path.c_str()).GetString(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bmp) return img;
    BITMAP bm{};
    ::GetObjectW(bmp, sizeof bm, &bm);
    img.width = bm.bmWidth;
    img.height = bm.bmHeight;
    img.px.resize(size_t(img.width) * img.height);
    ::GetBitmapBits(bmp, static_cast<LONG>(img.px.size() * 4), img.px.data());
    for (uint32_t& p : img.px) p &= 0xFFFFFF;
    ::DeleteObject(bmp);
    return img;
  }

  fs::path m_dir;
};

// The bars as SARGB pixels, and each bar's 8-bit components.
std::vector<DWORD> Bars() {
  return scopetest::ArgbColumns(kW, kH, [](int x) { return scopetest::Bar75(x, kW); });
}
void Components(int bar, int& r, int& g, int& b) {
  const DWORD p = scopetest::Bar75(bar * kW / 7, kW);
  r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
}
VYUY BarPair(int bar) {
  const DWORD px[2] = {scopetest::Bar75(bar * kW / 7, kW), scopetest::Bar75(bar * kW / 7, kW)};
  VYUY out{};
  ARGB2VYUY(px, 2, 1, 8, 0, &out);
  return out;
}

void WriteFile(const std::string& path, const void* p, size_t n) {
  std::ofstream out(path, std::ios::binary);
  out.write(static_cast<const char*>(p), static_cast<std::streamsize>(n));
}

// A 4:2:0 .y4m of the bars (vertically uniform, so the chroma rows lose nothing).
void WriteY4m(const std::string& path, int frames) {
  std::string s = "YUV4MPEG2 W" + std::to_string(kW) + " H" + std::to_string(kH) + " F25:1 Ip A1:1 C420jpeg\n";
  for (int f = 0; f < frames; ++f) {
    s += "FRAME\n";
    std::string y, u, v;
    for (int row = 0; row < kH; ++row)
      for (int x = 0; x < kW; ++x) y += static_cast<char>(BarPair(x * 7 / kW).y1);
    for (int row = 0; row < kH / 2; ++row)
      for (int i = 0; i < kW / 2; ++i) {
        u += static_cast<char>(BarPair(2 * i * 7 / kW).u);
        v += static_cast<char>(BarPair(2 * i * 7 / kW).v);
      }
    s += y + u + v;
  }
  WriteFile(path, s.data(), s.size());
}

// Every bar's luma code carries a trace at its row in the bar's columns.
void ExpectWaveformAtBarCodes(const Image& img) {
  ASSERT_EQ(img.width, kImgW);
  const CRect rc = scopewnd::WaveformTraceRect(kImgW, kImgH);
  const double cw = static_cast<double>(rc.Width()) / kW;
  for (int bar = 0; bar < 7; ++bar) {
    const int L = BarPair(bar).y1;
    const int row = rc.bottom - (rc.Height() * L) / 256;
    const int x = rc.left + static_cast<int>((bar * 40 + 20) * cw);
    EXPECT_NE(img.At(x, row), img.At(kImgW - 1, row)) << "bar " << bar << " level " << L;
    EXPECT_EQ(img.At(x, row + 6), img.At(kImgW - 1, row + 6)) << "bar " << bar;  // nothing below it
  }
}

bool NearPixel(const Image& img, int x, int y, const std::function<bool(uint32_t)>& f) {
  for (int dy = -2; dy <= 2; ++dy)
    if (f(img.At(x, y + dy))) return true;
  return false;
}

TEST_F(ScopeToolTest, RawBarsHitTheTargetsCodesAndParadeLevels) {
  std::vector<DWORD> bars = Bars();
  WriteFile(Path("bars.bgra"), bars.data(), bars.size() * 4);
  const ToolRun r = Tool("--input '" + Path("bars.bgra") + "' --format bgra --size 280x32 --scope vector,waveform,parade "
                     "--out '" + Path("img") + "'");
  ASSERT_EQ(r.code, 0) << r.err;
  const Image vec = Load(Path("img/vector_000000.png"));
  ASSERT_EQ(vec.width, kImgW);
  const scopewnd::VectorGeometry g = scopewnd::VectorGeometryFor(kImgW, kImgH);
  const int colours[6][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}};
  for (const auto& c : colours) {
    int u = 0, v = 0;
    scopewnd::TargetChroma(BYTE(c[0]), BYTE(c[1]), BYTE(c[2]), u, v);
    const POINT t = scopewnd::VectorTarget(g, u, v);
    int lit = 0;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) lit += vec.At(t.x + dx, t.y + dy) != 0;
    EXPECT_GT(lit, 0) << "target " << c[0] << "," << c[1] << "," << c[2];
  }
  ExpectWaveformAtBarCodes(Load(Path("img/waveform_000000.png")));

  const Image par = Load(Path("img/parade_000000.png"));
  const CRect client(0, 0, kImgW, kImgH);
  for (int bar = 0; bar < 7; ++bar) {
    int rgb[3];
    Components(bar, rgb[0], rgb[1], rgb[2]);
    for (int ch = 0; ch < 3; ++ch) {
      const CRect col = scopewnd::ParadeColumn(client, ch);
      const int x = col.left + scopewnd::Nearest((bar * 40 + 20) * (col.Width() / double(kW)));
      const int y = scopewnd::ParadeCodeRow(client, rgb[ch]);
      const int shift = 16 - 8 * ch;
      const bool ok = NearPixel(par, x, y, [&](uint32_t p) {
        if (rgb[ch] < 5) return (((p >> 16) & 0xFF) >= 0x80 && ((p >> 8) & 0xFF) >= 0x80 && (p & 0xFF) >= 0x60);
        return ((p >> shift) & 0xFF) >= 0xC0;
      });
      EXPECT_TRUE(ok) << "bar " << bar << " channel " << ch << " level " << rgb[ch];
    }
  }
}

TEST_F(ScopeToolTest, Y4mFromFileAndStandardInput) {
  WriteY4m(Path("bars.y4m"), 3);
  ToolRun r = Tool("--input '" + Path("bars.y4m") + "' --frames 0,2 --scope waveform,histogram --out '" + Path("img") + "'");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(fs::exists(Path("img/histogram_000002.png")));
  EXPECT_FALSE(fs::exists(Path("img/waveform_000001.png")));
  ExpectWaveformAtBarCodes(Load(Path("img/waveform_000002.png")));
  r = Tool("--input - --every 2 --scope waveform --scale mv --out '" + Path("stdin") + "' < '" + Path("bars.y4m") + "'");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(fs::exists(Path("stdin/waveform_000000.png")));
  EXPECT_TRUE(fs::exists(Path("stdin/waveform_000002.png")));
  EXPECT_FALSE(fs::exists(Path("stdin/waveform_000001.png")));
  ExpectWaveformAtBarCodes(Load(Path("stdin/waveform_000000.png")));
}

TEST_F(ScopeToolTest, BadArgumentsAndBadInputFailWithAMessage) {
  ToolRun r = Tool("--help");
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("--scope"), std::string::npos);
  struct {
    const char* args;
    const char* says;
  } bad[] = {{"", "--input"},
             {"--input x --format rgb24 --size 4x4", "rgb24"},
             {"--input x --scope waveform,bogus", "bogus"},
             {"--input x --format bgra", "--size"},
             {"--input x --format bgra --size 0x4", "size"},
             {"--input x --every 0", "--every"},
             {"--input x --frames 1 --every 2", "exclude"},
             {"--input x --scale ire", "ire"},
             {"--input x --bogus 1", "--bogus"}};
  for (const auto& b : bad) {
    r = Tool(b.args);
    EXPECT_EQ(r.code, 2) << b.args;
    EXPECT_NE(r.err.find(b.says), std::string::npos) << b.args << ": " << r.err;
  }
  r = Tool("--input '" + Path("missing.y4m") + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("cannot read"), std::string::npos) << r.err;
  WriteFile(Path("deep.y4m"), "YUV4MPEG2 W8 H8 C420p10\n", 24);
  r = Tool("--input '" + Path("deep.y4m") + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("not supported"), std::string::npos) << r.err;
}

TEST_F(ScopeToolTest, TruncatedFramesStopTheRunAfterTheWholeOnes) {
  std::vector<DWORD> bars = Bars();
  std::vector<DWORD> data = bars;
  data.insert(data.end(), bars.begin(), bars.begin() + bars.size() / 2);
  WriteFile(Path("short.bgra"), data.data(), data.size() * 4);
  ToolRun r = Tool("--input '" + Path("short.bgra") + "' --format bgra --size 280x32 --scope vector --out '" + Path("img") + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("truncated"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(Path("img/vector_000000.png")));
  EXPECT_FALSE(fs::exists(Path("img/vector_000001.png")));
  WriteY4m(Path("bars.y4m"), 2);
  const std::string whole = Slurp(Path("bars.y4m"));
  WriteFile(Path("cut.y4m"), whole.data(), whole.size() - 100);
  r = Tool("--input '" + Path("cut.y4m") + "' --scope vector --out '" + Path("cut") + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(fs::exists(Path("cut/vector_000000.png")));
  EXPECT_FALSE(fs::exists(Path("cut/vector_000001.png")));
  r = Tool("--input '" + Path("bars.y4m") + "' --frames 5 --scope vector --out '" + Path("past") + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("past the end"), std::string::npos) << r.err;
}

// Outside sanitizer builds (whose shadow memory needs a vast address space) the tool runs under
// a memory cap far below the frames its inputs claim: a header alone must not make it allocate.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define PARVANEU_SCOPE_TOOL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define PARVANEU_SCOPE_TOOL_SANITIZED 1
#endif
#endif
#ifdef PARVANEU_SCOPE_TOOL_SANITIZED
constexpr const char* kMemoryCap = "";
#else
constexpr const char* kMemoryCap = "ulimit -v 1000000;";
#endif

TEST_F(ScopeToolTest, FrameSizesPastTheGraphsLimitAndLyingHeadersFailBeforeAllocating) {
  struct {
    const char* name;
    std::string bytes, args, says;
  } cases[] = {
      {"huge.y4m", "YUV4MPEG2 W32768 H32768 C444\n", "", "2147483647"},
      {"lying.y4m", "YUV4MPEG2 W32766 H32767 C444\nFRAME\nabc", "", "truncated (3 of 3220930566 bytes)"},
      {"huge.bgra", "abcd", "--format bgra --size 32768x16384", "2147483647"},
      {"lying.bgra", "abcd", "--format bgra --size 32768x16383", "truncated (4 of 2147352576 bytes)"},
      {"wide.m101", "abcd", "--format m101 --size 40000x2", "2 to 32768 pixels wide"},
      {"narrow.uyvy", "abcd", "--format uyvy422 --size 1x2", "2 to 32768 pixels wide"},
  };
  for (const auto& c : cases) {
    WriteFile(Path(c.name), c.bytes.data(), c.bytes.size());
    const ToolRun r = Tool("--input '" + Path(c.name) + "' " + c.args + " --scope vector --out '" + Path("img") + "'", kMemoryCap);
    EXPECT_EQ(r.code, 1) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.name << ": " << r.err;
  }
  EXPECT_FALSE(fs::exists(Path("img/vector_000000.png")));
}

TEST_F(ScopeToolTest, LongHeaderParametersAndFrameNumbersUpTo2To40) {
  WriteY4m(Path("bars.y4m"), 2);
  std::string s = Slurp(Path("bars.y4m"));
  const std::string x(5000, 'x');
  s.insert(s.find('\n'), " X" + x);
  for (std::size_t at = 0; (at = s.find("FRAME\n", at)) != std::string::npos; at += 6) s.insert(at + 5, " Ip X" + x);
  WriteFile(Path("params.y4m"), s.data(), s.size());
  ToolRun r = Tool("--input '" + Path("params.y4m") + "' --every 1099511627776 --scope waveform --out '" + Path("img") + "'");
  ASSERT_EQ(r.code, 0) << r.err;
  ExpectWaveformAtBarCodes(Load(Path("img/waveform_000000.png")));
  EXPECT_FALSE(fs::exists(Path("img/waveform_000001.png")));
  r = Tool("--input '" + Path("params.y4m") + "' --frames 1,1099511627776 --scope waveform --out '" + Path("img") + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("frame 1099511627776 is past the end of the input (2 frames)"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(Path("img/waveform_000001.png")));
  r = Tool("--input x --frames 1099511627777");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("0 to 1099511627776"), std::string::npos) << r.err;
}

TEST_F(ScopeToolTest, ImagesAreDrawnAtTheAskedSizeOrTheSizeIsRefused) {
  for (const char* size : {"4097x4097", "8192x2049", "8193x16"}) {
    const ToolRun r = Tool(std::string("--input x --image-size ") + size);
    EXPECT_EQ(r.code, 2) << size;
    EXPECT_NE(r.err.find("16777216 pixels"), std::string::npos) << size << ": " << r.err;
  }
  // The largest images: a frame of bars and a black frame draw different vector images.
  std::vector<DWORD> bars = Bars();
  const std::vector<DWORD> black(bars.size(), 0);
  WriteFile(Path("bars.bgra"), bars.data(), bars.size() * 4);
  WriteFile(Path("black.bgra"), black.data(), black.size() * 4);
  Image img[2];
  for (int i = 0; i < 2; ++i) {
    const std::string name = i ? "black" : "bars";
    const ToolRun r = Tool("--input '" + Path(name + ".bgra") + "' --format bgra --size 280x32 --image-size 8192x2048 "
                           "--scope vector --out '" + Path(name) + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    img[i] = Load(Path(name + "/vector_000000.png"));
    ASSERT_EQ(img[i].width, 8192);
    ASSERT_EQ(img[i].height, 2048);
  }
  EXPECT_NE(img[0].px, img[1].px);
}

TEST_F(ScopeToolTest, OtherVideoWithoutFfmpegNamesTheMissingProgram) {
  WriteFile(Path("clip.mp4"), "not a y4m", 9);
  fs::create_directories(Path("emptybin"));
  const ToolRun r = Tool("--input '" + Path("clip.mp4") + "' --out '" + Path("img") + "'", "PATH='" + Path("emptybin") + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("ffmpeg"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(Path("img/waveform_000000.png")));
}

}  // namespace

#endif  // PARVANEU_SCOPE_TOOL
