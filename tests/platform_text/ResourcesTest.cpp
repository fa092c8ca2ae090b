// The resource chain, the Win32 resource facade, and image decoding / PNG writing.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "winport/base/CString.h"
#include "winport/gdi/ImageCodec.h"
#include "winport/res/res.h"

using winport::Surface;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A bottom-up BI_RGB bitmap; rows are given top first as pixel indices (palettised) or
// 0x00RRGGBB / 0xAARRGGBB values.
Bytes MakeBmp(int bpp, int w, int h, const std::vector<std::uint32_t>& pixels,
              const std::vector<std::uint32_t>& palette = {}) {
  const int stride = ((w * bpp + 31) / 32) * 4;
  const int paletteBytes = static_cast<int>(palette.size()) * 4;
  const int offset = 14 + 40 + paletteBytes;
  Bytes b;
  b.push_back('B');
  b.push_back('M');
  Put(b, static_cast<std::uint32_t>(offset + stride * h), 4);
  Put(b, 0, 4);
  Put(b, static_cast<std::uint32_t>(offset), 4);
  Put(b, 40, 4);
  Put(b, static_cast<std::uint32_t>(w), 4);
  Put(b, static_cast<std::uint32_t>(h), 4);
  Put(b, 1, 2);
  Put(b, static_cast<std::uint32_t>(bpp), 2);
  Put(b, 0, 4);
  Put(b, static_cast<std::uint32_t>(stride * h), 4);
  Put(b, 2835, 4);
  Put(b, 2835, 4);
  Put(b, static_cast<std::uint32_t>(palette.size()), 4);
  Put(b, 0, 4);
  for (std::uint32_t c : palette) Put(b, c, 4);  // B, G, R, 0 in memory
  for (int row = h - 1; row >= 0; --row) {
    Bytes line(static_cast<std::size_t>(stride), 0);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t v = pixels[static_cast<std::size_t>(row * w + x)];
      if (bpp >= 24) {
        for (int k = 0; k < bpp / 8; ++k) line[static_cast<std::size_t>(x * bpp / 8 + k)] = static_cast<std::uint8_t>(v >> (8 * k));
      } else {
        const int bit = x * bpp;
        line[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(v << (8 - bpp - bit % 8));
      }
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  return b;
}

// A 16 x 8 JPEG, red on the left half and blue on the right (4:4:4, high quality).
const std::uint8_t kRedBlueJpeg[] = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x02, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x08, 0x04, 0x04, 0x04, 0x04, 0x04, 0x05,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
    0x06, 0x06, 0x07, 0x07, 0x07, 0x08, 0x08, 0x08, 0x07, 0x07, 0x07, 0x06, 0x06, 0x07, 0x07, 0x08,
    0x08, 0x08, 0x08, 0x09, 0x09, 0x09, 0x08, 0x08, 0x08, 0x08, 0x09, 0x09, 0x0A, 0x0A, 0x0A, 0x0C,
    0x0C, 0x0B, 0x0B, 0x0E, 0x0E, 0x0E, 0x11, 0x11, 0x14, 0xFF, 0xC4, 0x00, 0x58, 0x00, 0x01, 0x01,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x06,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x08, 0x01, 0x06, 0x07, 0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x11, 0x00, 0x01, 0x03, 0x05, 0x01, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x34, 0x00, 0x04, 0xB2, 0x74, 0x73,
    0x01, 0xB3, 0x02, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x10, 0x03, 0x01, 0x12, 0x00,
    0x02, 0x12, 0x00, 0x03, 0x12, 0x00, 0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03,
    0x11, 0x00, 0x3F, 0x00, 0x8B, 0x1C, 0xB0, 0x15, 0x44, 0xB9, 0x8F, 0xD7, 0xCB, 0x01, 0x54, 0x4B,
    0x98, 0xFD, 0x7C, 0xBF, 0x7B, 0x96, 0x94, 0xF8, 0x89, 0x4E, 0xDA, 0x5A, 0x53, 0xE2, 0x25, 0x3B,
    0x72, 0x02, 0xA4, 0x86, 0x8E, 0x3E, 0x11, 0x51, 0xA6, 0x86, 0x8E, 0x3E, 0x11, 0x51, 0xA7, 0x38,
    0x99, 0x4C, 0x9B, 0x83, 0xF4, 0xF4, 0xF4, 0xCA, 0x64, 0xDC, 0x1F, 0xA6, 0xDF, 0xFF, 0xD9,
};

const std::uint8_t kBytesA[] = {1, 2, 3};
const std::uint8_t kBytesB[] = {4, 5};
const std::uint8_t kBytesC[] = {6};

}  // namespace

TEST(ResourceChain, OrderLookupAndRemoval) {
  HINSTANCE lib = winport::AddResourceModule(L"library");
  HINSTANCE host = winport::AddResourceModule(L"host");
  ASSERT_NE(lib, nullptr);
  ASSERT_NE(host, lib);
  winport::AddResource(lib, L"IDB_TEST_STRIP", RT_BITMAP, kBytesA);
  winport::AddResource(host, L"idb_test_strip", RT_BITMAP, kBytesB);
  winport::AddResource(lib, MAKEINTRESOURCEW(101), RT_BITMAP, kBytesC);
  winport::AddResource(lib, L"VERSION", RT_VERSION, kBytesC);

  // Newest module first, names without case.
  HINSTANCE found = nullptr;
  auto bytes = winport::FindResourceBytes(L"Idb_Test_Strip", RT_BITMAP, nullptr, &found);
  EXPECT_EQ(bytes.size(), 2u);
  EXPECT_EQ(found, host);
  EXPECT_EQ(AfxFindResourceHandle(L"IDB_TEST_STRIP", RT_BITMAP), host);
  // A given module is searched alone.
  EXPECT_EQ(winport::FindResourceBytes(L"IDB_TEST_STRIP", RT_BITMAP, lib).size(), 3u);
  EXPECT_TRUE(winport::FindResourceBytes(MAKEINTRESOURCEW(101), RT_BITMAP, host).empty());
  // Ids by value and as "#id"; the type matters.
  EXPECT_EQ(winport::FindResourceBytes(L"#101", RT_BITMAP).size(), 1u);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(101), RT_BITMAP), lib);
  EXPECT_TRUE(winport::FindResourceBytes(MAKEINTRESOURCEW(101), RT_RCDATA).empty());
  EXPECT_TRUE(winport::FindResourceBytes(L"#1x", RT_BITMAP).empty());
  EXPECT_EQ(AfxFindResourceHandle(L"missing", RT_BITMAP), nullptr);
  EXPECT_TRUE(winport::FindResourceBytes(nullptr, RT_BITMAP).empty());
  EXPECT_TRUE(winport::FindResourceBytes(L"", RT_BITMAP).empty());

  // The desktop facade over the same entries.
  HRSRC res = FindResourceW(nullptr, L"version", RT_VERSION);
  ASSERT_NE(res, nullptr);
  EXPECT_EQ(SizeofResource(nullptr, res), 1u);
  EXPECT_EQ(LockResource(LoadResource(nullptr, res)), kBytesC);
  EXPECT_EQ(FindResourceW(host, L"version", RT_VERSION), nullptr);

  // Removing the host uncovers the library's entry; removing the library invalidates its HRSRCs.
  winport::RemoveResourceModule(host);
  EXPECT_EQ(AfxFindResourceHandle(L"IDB_TEST_STRIP", RT_BITMAP), lib);
  EXPECT_EQ(winport::FindResourceBytes(L"IDB_TEST_STRIP", RT_BITMAP).size(), 3u);
  winport::RemoveResourceModule(lib);
  EXPECT_EQ(AfxFindResourceHandle(L"IDB_TEST_STRIP", RT_BITMAP), nullptr);
  EXPECT_EQ(SizeofResource(nullptr, res), 0u);
  EXPECT_EQ(LoadResource(nullptr, res), nullptr);
  // Unknown and null handles are ignored.
  winport::RemoveResourceModule(lib);
  winport::RemoveResourceModule(nullptr);
  winport::AddResource(lib, L"X", RT_RCDATA, kBytesA);
  EXPECT_TRUE(winport::FindResourceBytes(L"X", RT_RCDATA).empty());
}

TEST(ImageDecode, BmpAtEveryDepth) {
  // 1 bit: two colours; the palette decides them.
  {
    auto s = winport::DecodeImage(MakeBmp(1, 9, 2, {0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0},
                                          {0x000000FF, 0x00FFFF00}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Width(), 9);
    EXPECT_EQ(s->Height(), 2);
    EXPECT_EQ(s->At(0, 0), 0x0000FFu);
    EXPECT_EQ(s->At(1, 0), 0xFFFF00u);
    EXPECT_EQ(s->At(8, 0), 0xFFFF00u);
    EXPECT_EQ(s->At(0, 1), 0xFFFF00u);
    EXPECT_EQ(s->At(8, 1), 0x0000FFu);
  }
  // 4 bits.
  {
    std::vector<std::uint32_t> pal(16, 0);
    pal[3] = 0x00112233;
    pal[15] = 0x00ABCDEF;
    auto s = winport::DecodeImage(MakeBmp(4, 3, 1, {3, 15, 3}, pal));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->At(0, 0), 0x112233u);
    EXPECT_EQ(s->At(1, 0), 0xABCDEFu);
  }
  // 8 bits.
  {
    std::vector<std::uint32_t> pal(256, 0);
    pal[200] = 0x00800000;
    auto s = winport::DecodeImage(MakeBmp(8, 2, 2, {200, 0, 0, 200}, pal));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->At(0, 0), 0x800000u);
    EXPECT_EQ(s->At(1, 1), 0x800000u);
    EXPECT_EQ(s->At(1, 0), 0u);
  }
  // 24 bits: rows padded to four bytes, bottom-up.
  {
    auto s = winport::DecodeImage(MakeBmp(24, 3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0x654321, 0xFFFFFF}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->At(0, 0), 0xFF0000u);
    EXPECT_EQ(s->At(2, 0), 0x0000FFu);
    EXPECT_EQ(s->At(0, 1), 0x123456u);
    EXPECT_EQ(s->At(2, 1), 0xFFFFFFu);
  }
  // 32 bits: an all-zero fourth byte is no alpha; otherwise the byte is kept as stored.
  {
    auto opaque = winport::DecodeImage(MakeBmp(32, 2, 1, {0x00102030, 0x00405060}));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->At(0, 0), 0x102030u);
    EXPECT_EQ(opaque->At(1, 0), 0x405060u);
    auto alpha = winport::DecodeImage(MakeBmp(32, 2, 1, {0x80404040, 0xFF405060}));
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->At(0, 0), 0x80404040u);
    EXPECT_EQ(alpha->At(1, 0), 0xFF405060u);
  }
}

TEST(ImageDecode, PngRoundTripAndRefusals) {
  Surface s(5, 3, 0x00000000);
  s.Set(0, 0, 0xFF0000);
  s.Set(4, 2, 0x00FF80);
  s.Set(2, 1, 0xAB123456);  // the top byte is not written
  const std::vector<std::uint8_t> png = winport::EncodePng(s);
  ASSERT_FALSE(png.empty());
  auto back = winport::DecodeImage(png);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Width(), 5);
  EXPECT_EQ(back->Height(), 3);
  EXPECT_EQ(back->At(0, 0), 0xFF0000u);
  EXPECT_EQ(back->At(4, 2), 0x00FF80u);
  EXPECT_EQ(back->At(2, 1), 0x123456u);

  const std::filesystem::path dir = std::filesystem::path(PARVANEU_TEST_OUTPUT_DIR) / "platform_text";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "round trip ü.png").string();
  ASSERT_TRUE(winport::WritePng(s, path.c_str()));
  auto loaded = winport::LoadImageFile(CString::FromUtf8(path));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->At(4, 2), 0x00FF80u);

  // JPEG decodes too (lossy: colours within a few steps).
  auto jpeg = winport::DecodeImage(kRedBlueJpeg);
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->Width(), 16);
  EXPECT_EQ(jpeg->Height(), 8);
  const winport::Pixel red = jpeg->At(2, 4), blue = jpeg->At(13, 4);
  EXPECT_GT((red >> 16) & 0xFF, 230u);
  EXPECT_LT(red & 0xFF, 25u);
  EXPECT_GT(blue & 0xFF, 230u);
  EXPECT_LT((blue >> 16) & 0xFF, 25u);
  EXPECT_EQ(red >> 24, 0u);

  // Garbage, truncated and empty input, missing files, unwritable paths.
  const std::uint8_t garbage[] = {'B', 'M', 0xFF, 0x13, 0x00, 0x42, 0x42, 0x42, 0x01, 0x02};
  EXPECT_FALSE(winport::DecodeImage(garbage));
  EXPECT_FALSE(winport::DecodeImage(std::span<const std::uint8_t>(png.data(), png.size() / 2)));
  EXPECT_FALSE(winport::DecodeImage({}));
  Bytes bmp = MakeBmp(24, 2, 2, {1, 2, 3, 4});
  bmp.resize(40);
  EXPECT_FALSE(winport::DecodeImage(bmp));
  EXPECT_FALSE(winport::LoadImageFile(L"/nonexistent/none.bmp"));
  EXPECT_FALSE(winport::LoadImageFile(nullptr));
  EXPECT_FALSE(winport::WritePng(Surface(), path.c_str()));
  EXPECT_FALSE(winport::WritePng(s, "/nonexistent/dir/x.png"));
  EXPECT_FALSE(winport::WritePng(s, nullptr));
}
