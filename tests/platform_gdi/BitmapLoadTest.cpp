#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/Canvas.h"
#include "winport/gdi/ImageCodec.h"

using namespace testsupport;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A 24-bit bottom-up BMP of w x h pixels (0x00RRGGBB, top row first), with or without its file
// header (bitmap resources are stored without one).
Bytes MakeBmp(int w, int h, const std::vector<std::uint32_t>& pixels, bool fileHeader) {
  const int stride = ((w * 24 + 31) / 32) * 4;
  Bytes b;
  if (fileHeader) {
    b.push_back('B');
    b.push_back('M');
    Put(b, static_cast<std::uint32_t>(54 + stride * h), 4);
    Put(b, 0, 4);
    Put(b, 54, 4);
  }
  Put(b, 40, 4);
  Put(b, static_cast<std::uint32_t>(w), 4);
  Put(b, static_cast<std::uint32_t>(h), 4);
  Put(b, 1, 2);
  Put(b, 24, 2);
  Put(b, 0, 4);
  Put(b, static_cast<std::uint32_t>(stride * h), 4);
  Put(b, 2835, 4);
  Put(b, 2835, 4);
  Put(b, 0, 4);
  Put(b, 0, 4);
  for (int row = h - 1; row >= 0; --row) {
    Bytes line(static_cast<std::size_t>(stride), 0);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t v = pixels[static_cast<std::size_t>(row * w + x)];
      for (int k = 0; k < 3; ++k) line[static_cast<std::size_t>(x * 3 + k)] = static_cast<std::uint8_t>(v >> (8 * k));
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  return b;
}

const std::vector<std::uint32_t> kPixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

COLORREF PixelOf(HBITMAP bmp, int x, int y) {
  CDC mem;
  mem.CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  const COLORREF c = mem.GetPixel(x, y);
  ::SelectObject(mem, old);
  return c;
}

}  // namespace

TEST(GdiBitmapLoad, FromTheResourceChainByNameAndId) {
  static const Bytes withHeader = MakeBmp(2, 2, kPixels, true);
  static const Bytes headerless = MakeBmp(2, 2, kPixels, false);
  HINSTANCE module = winport::AddResourceModule(L"gdi-test");
  winport::AddResource(module, L"IDB_STRIP", RT_BITMAP, withHeader);
  winport::AddResource(module, MAKEINTRESOURCEW(321), RT_BITMAP, headerless);

  CBitmap byName;
  ASSERT_TRUE(byName.LoadBitmap(L"IDB_STRIP"));
  BITMAP bm{};
  byName.GetBitmap(&bm);
  EXPECT_EQ(bm.bmWidth, 2);
  EXPECT_EQ(bm.bmHeight, 2);
  EXPECT_EQ(PixelOf(byName, 0, 0), kRed);
  EXPECT_EQ(PixelOf(byName, 1, 1), kWhite);

  CBitmap byId;
  ASSERT_TRUE(byId.LoadBitmap(321u));
  EXPECT_EQ(PixelOf(byId, 1, 0), kGreen);
  EXPECT_EQ(PixelOf(byId, 0, 1), kBlue);

  HBITMAP scaled = static_cast<HBITMAP>(::LoadImageW(module, L"IDB_STRIP", IMAGE_BITMAP, 4, 6, 0));
  ASSERT_NE(scaled, nullptr);
  ::GetObjectW(scaled, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmHeight, 6);
  EXPECT_EQ(PixelOf(scaled, 3, 5), kWhite);
  ::DeleteObject(scaled);

  CBitmap missing;
  EXPECT_FALSE(missing.LoadBitmap(L"IDB_NONE"));
  EXPECT_EQ(missing.m_hObject, nullptr);
  winport::RemoveResourceModule(module);
  EXPECT_EQ(::LoadBitmapW(nullptr, L"IDB_STRIP"), nullptr);
}

TEST(GdiBitmapLoad, FromFilesAndCopies) {
  const Bytes bmp = MakeBmp(2, 2, kPixels, true);
  const std::filesystem::path dir = PARVANEU_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(dir);
  const std::filesystem::path path = dir / "gdi-load.bmp";
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bmp.data(), 1, bmp.size(), f);
    std::fclose(f);
  }
  HANDLE h = ::LoadImageW(nullptr, path.wstring().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(::GetObjectType(h), OBJ_BITMAP);
  EXPECT_EQ(PixelOf(static_cast<HBITMAP>(h), 0, 1), kBlue);

  HANDLE copy = ::CopyImage(h, IMAGE_BITMAP, 1, 1, LR_COPYDELETEORG);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(::GetObjectType(h), 0u);  // the original went
  BITMAP bm{};
  ::GetObjectW(copy, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 1);
  ::DeleteObject(copy);

  EXPECT_EQ(::LoadImageW(nullptr, L"/nonexistent/x.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(::LoadImageW(nullptr, path.wstring().c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);
  std::filesystem::remove(path);
}

// A Huffman table of more than 256 codes would be written past the decoder's arrays: a JPEG that
// carries one, even in a table no scan uses, is refused whole; one of 256 codes is fine.
TEST(GdiBitmapLoad, JpegWithAHuffmanTableOfTooManyCodesIsRefused) {
  std::ifstream in(PARVANEU_SOURCE_DIR "/tests/fuzz/corpus/image_load/rgb_jpg", std::ios::binary);
  const Bytes jpeg{std::istreambuf_iterator<char>(in), {}};
  ASSERT_TRUE(winport::DecodeImage(jpeg));
  const auto withTable = [&](int codes15, int codes16) {
    const int length = 2 + 17 + codes15 + codes16;
    Bytes table = {0xFF, 0xC4, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), 0x13};
    table.resize(table.size() + 14, 0);  // AC table 3, codes of 15 and 16 bits only
    table.push_back(static_cast<std::uint8_t>(codes15));
    table.push_back(static_cast<std::uint8_t>(codes16));
    table.resize(table.size() + static_cast<std::size_t>(codes15 + codes16), 0);
    Bytes out = jpeg;
    out.insert(out.begin() + 2, table.begin(), table.end());
    return out;
  };
  EXPECT_TRUE(winport::DecodeImage(withTable(1, 255)));
  EXPECT_FALSE(winport::DecodeImage(withTable(5, 255)));
  Bytes padded = withTable(5, 255);  // fill bytes before the start marker hide nothing
  padded.insert(padded.begin(), 3, 0xFF);
  EXPECT_FALSE(winport::DecodeImage(padded));
  // A table with more codes of a length than it can tell apart: the decoder read far past its
  // tables decoding with it (found by fuzzing; the sanitizer build sees the read).
  std::ifstream overfull(PARVANEU_SOURCE_DIR "/tests/fuzz/corpus/image_load/jpeg_overfull_codes", std::ios::binary);
  EXPECT_FALSE(winport::DecodeImage(Bytes{std::istreambuf_iterator<char>(overfull), {}}));
}

// A BMP must hold the rows its header claims (the last may lack its padding): a few bytes that
// claim a large image are refused rather than decoded as black.
TEST(GdiBitmapLoad, BmpShortOfItsRowsIsRefused) {
  const Bytes whole = MakeBmp(2, 2, kPixels, true);  // rows of 6 bytes padded to 8
  ASSERT_TRUE(winport::DecodeImage(whole));
  const Bytes unpadded(whole.begin(), whole.end() - 2);
  EXPECT_TRUE(winport::DecodeImage(unpadded));
  const Bytes cut(whole.begin(), whole.end() - 3);
  EXPECT_FALSE(winport::DecodeImage(cut));
  Bytes lying = MakeBmp(1, 1, {0}, true);
  const std::uint32_t side = 4000;
  std::memcpy(&lying[18], &side, 4);
  std::memcpy(&lying[22], &side, 4);
  EXPECT_FALSE(winport::DecodeImage(lying));
  const std::uint32_t negative = 0xFFFFEF00;  // a compression the decoder reads as plain rows
  std::memcpy(&lying[30], &negative, 4);
  EXPECT_FALSE(winport::DecodeImage(lying));
}

// An empty IDAT chunk is legal; the decoder copied an empty first one into a buffer it had not
// allocated (undefined behaviour, found by fuzzing). Such a PNG decodes to the same picture.
TEST(GdiBitmapLoad, PngWithAnEmptyDataChunkDecodes) {
  winport::Surface surface(3, 2);
  surface.Pixels()[4] = 0x00FF8000u;
  std::vector<std::uint8_t> png = winport::EncodePng(surface);
  const std::uint8_t empty[12] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
  const auto at = std::search(png.begin(), png.end(), empty + 4, empty + 8) - png.begin() - 4;
  png.insert(png.begin() + at, empty, empty + 12);
  png.insert(png.begin() + at, empty, empty + 12);
  const auto decoded = winport::DecodeImage(png);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->Width(), 3);
  EXPECT_EQ(decoded->Pixels()[4] & 0xFFFFFFu, 0xFF8000u);
  // Cut right after an empty chunk: refused, and no copy through a null buffer on the way.
  png.resize(static_cast<std::size_t>(at) + 12);
  EXPECT_FALSE(winport::DecodeImage(png));
}
