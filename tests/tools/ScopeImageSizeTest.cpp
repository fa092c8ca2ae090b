// parvane-scope's images at sizes past the one its scope windows are made for: drawn at a whole
// fraction and enlarged, so a trace stays a line and labels grow with the image.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <winport/afx.h>
#include <winport/gdi/ImageCodec.h>

namespace {

namespace fs = std::filesystem;

// A y4m of two 64 x 36 frames: a luma ramp, so the waveform is one slanted line.
std::string RampClip(const fs::path& dir) {
  const fs::path path = dir / "ramp.y4m";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return {};
  std::fputs("YUV4MPEG2 W64 H36 F25:1 Ip A1:1 C444\n", f);
  for (int frame = 0; frame < 2; ++frame) {
    std::fputs("FRAME\n", f);
    for (int y = 0; y < 36; ++y)
      for (int x = 0; x < 64; ++x) std::fputc(16 + x * 3, f);
    for (int i = 0; i < 2 * 64 * 36; ++i) std::fputc(128, f);
  }
  std::fclose(f);
  return path.string();
}

std::optional<winport::Surface> Render(const std::string& clip, const fs::path& out, const char* size) {
  fs::create_directories(out);
  const std::string cmd = std::string("'") + PARVANEU_SCOPE_PATH + "' --input '" + clip +
                          "' --scope waveform --frames 0 --image-size " + size + " --out '" + out.string() + "' 2>&1";
  if (std::system(cmd.c_str()) != 0) return std::nullopt;
  return winport::LoadImageFile(CString::FromUtf8((out / "waveform_000000.png").c_str()));
}

TEST(ScopeImageSize, LargeImagesAreTheBaseImageEnlargedWhole) {
  const fs::path dir = fs::path(PARVANEU_TEST_OUTPUT_DIR) / "scope-image-size";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string clip = RampClip(dir);
  const auto base = Render(clip, dir / "base", "640x360");
  const auto large = Render(clip, dir / "large", "1280x720");
  ASSERT_TRUE(base && large);
  ASSERT_EQ(large->Width(), 1280);
  ASSERT_EQ(large->Height(), 720);
  int differing = 0;
  for (int y = 0; y < 360; ++y)
    for (int x = 0; x < 640; ++x)
      for (int d = 0; d < 4; ++d)
        if ((large->At(2 * x + d % 2, 2 * y + d / 2) & 0xFFFFFF) != (base->At(x, y) & 0xFFFFFF)) ++differing;
  EXPECT_EQ(differing, 0) << "the 1280 x 720 image is not the 640 x 360 one doubled";
}

}  // namespace
