// Image decoding and PNG writing. This is the one translation unit that compiles the stb codecs.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

#include <zlib.h>

#include <cstdlib>

#include "winport/base/CString.h"
#include "winport/gdi/ImageCodec.h"

namespace {

// PNG deflate through zlib rather than stb's own: scope and gallery images are large and mostly
// flat, and zlib's fastest level packs them nearly as small in a fraction of the time. stb frees
// the result with free().
unsigned char* ZlibCompress(unsigned char* data, int len, int* outLen, int /*quality*/) {
  if (!data || len < 0 || !outLen) return nullptr;
  uLongf size = compressBound(static_cast<uLong>(len));
  auto* out = static_cast<unsigned char*>(std::malloc(size));
  if (!out) return nullptr;
  if (compress2(out, &size, data, static_cast<uLong>(len), Z_BEST_SPEED) != Z_OK ||
      size > static_cast<uLongf>(std::numeric_limits<int>::max())) {
    std::free(out);
    return nullptr;
  }
  *outLen = static_cast<int>(size);
  return out;
}

}  // namespace

#define STBIW_ZLIB_COMPRESS ZlibCompress

// Refuse absurd dimensions before stb allocates for them.
#define STBI_MAX_DIMENSIONS (1 << 15)
// The codecs stay private to this file: a host linking its own copy of stb must not meet ours.
#define STB_IMAGE_STATIC
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_NO_GIF
#define STBI_NO_PSD
#define STBI_NO_PIC
#define STBI_NO_PNM
#define STBI_NO_HDR
#define STBI_NO_TGA
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace winport {
namespace {

constexpr std::streamoff kMaxFileBytes = std::streamoff{1} << 29;

std::uint32_t ReadBe32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
         static_cast<std::uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

std::uint32_t ReadLe(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}

// A 32-bit BMP whose fourth bytes are all zero has no alpha, whatever stb makes of it (it turns
// such pixels opaque). Any other 32-bit BMP keeps its fourth byte as stored.
bool BmpHasAlpha(std::span<const std::uint8_t> b) {
  if (b.size() < 34 || b[0] != 'B' || b[1] != 'M') return true;
  if (ReadLe(b, 28, 2) != 32) return true;
  const std::size_t offset = ReadLe(b, 10, 4);
  for (std::size_t at = offset + 3; at < b.size(); at += 4) {
    if (b[at] != 0) return true;
  }
  return false;
}

// An uncompressed BMP of w x h pixels (sizes already capped) holds all its rows; the last may lack
// its padding. The decoder would read zeros for missing rows, so a few bytes whose header claims
// millions of pixels would cost as much as a real image.
bool BmpRowsPresent(std::span<const std::uint8_t> b, int w, int h) {
  if (b.size() < 30 || b[0] != 'B' || b[1] != 'M') return true;
  const std::uint32_t headerSize = ReadLe(b, 14, 4);
  const std::uint32_t bits = std::max<std::uint32_t>(ReadLe(b, headerSize == 12 ? 24 : 28, 2), 1);
  // Read signed, as the decoder does: it refuses run lengths and embedded images, and takes any
  // other value, negative ones too, as rows of pixels.
  const auto compression = static_cast<std::int32_t>(headerSize == 12 || b.size() < 34 ? 0 : ReadLe(b, 30, 4));
  if (compression == 1 || compression == 2 || compression >= 4) return true;
  const std::uint64_t rowBits = std::uint64_t{static_cast<std::uint32_t>(w)} * bits;
  const std::uint64_t stride = (rowBits + 31) / 32 * 4;
  const std::uint64_t need = ReadLe(b, 10, 4) + stride * static_cast<std::uint32_t>(h - 1) + (rowBits + 7) / 8;
  return b.size() >= need;
}

// The Huffman tables a JPEG segment defines at the length field `at`, read as the decoder reads
// them (zeros past the end): false when one has more than the 256 codes a table holds, or more
// codes of a length than that length can tell apart. The decoder would write the first past its
// tables and read past them decoding the second.
bool HuffmanTablesFit(std::span<const std::uint8_t> b, std::size_t at) {
  const auto byte = [&](std::size_t i) -> unsigned { return i < b.size() ? b[i] : 0u; };
  long left = static_cast<long>(byte(at) << 8 | byte(at + 1)) - 2;
  for (std::size_t i = at + 2; left > 0;) {
    const unsigned q = byte(i++);
    if ((q >> 4) > 1 || (q & 15) > 3) return true;  // refused by the decoder before it builds anything
    long codes = 0;
    std::uint32_t code = 0;  // canonical codes of each length must fit in that length
    for (int k = 0; k < 16; ++k) {
      const unsigned count = byte(i++);
      codes += count;
      code += count;
      if (code > (1u << (k + 1))) return false;
      code <<= 1;
    }
    if (codes > 256) return false;
    i += static_cast<std::size_t>(codes);
    left -= 17 + codes;
  }
  return true;
}

// Walks a JPEG's markers as the decoder finds them (segments skipped by their length, anything
// between them a byte at a time) and checks every table segment: the decoder writes a table of
// more than 256 codes past its arrays.
bool JpegTablesFit(std::span<const std::uint8_t> b) {
  std::size_t start = 0;
  while (start < b.size() && b[start] == 0xFF) ++start;  // fill bytes may come before the first marker too
  if (start == 0 || start >= b.size() || b[start] != 0xD8) return true;
  for (std::size_t i = start + 1; i + 1 < b.size();) {
    if (b[i] != 0xFF || b[i + 1] == 0xFF) {  // entropy-coded data, padding or fill bytes
      ++i;
      continue;
    }
    const unsigned marker = b[i + 1];
    i += 2;
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9)) continue;  // no length follows
    if (marker == 0xC4 && !HuffmanTablesFit(b, i)) return false;
    if (i + 1 < b.size()) i += static_cast<std::size_t>(b[i] << 8 | b[i + 1]);  // the length counts itself
  }
  return true;
}

// A PNG as the decoder should see it: its empty IDAT chunks dropped (the decoder copies an empty
// first one into a buffer it has not allocated yet), and nullopt when a chunk claims more bytes
// than the file holds (the decoder grows its buffer to the claim before it finds the bytes
// missing). Chunks are otherwise kept byte for byte; the decoder checks no CRC. Empty when there
// is nothing to drop, so the caller keeps its own bytes.
std::optional<std::vector<std::uint8_t>> CheckedPng(std::span<const std::uint8_t> b) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<std::uint8_t> out;
  if (b.size() < 8 || !std::equal(kSignature, kSignature + 8, b.begin())) return out;
  std::size_t i = 8, kept = 0;
  for (; i + 8 <= b.size(); i += 12 + static_cast<std::size_t>(ReadBe32(b, i))) {
    const std::uint32_t length = ReadBe32(b, i);
    if (length > b.size() - i - 8) return std::nullopt;
    const bool idat = std::equal(b.begin() + static_cast<std::ptrdiff_t>(i + 4),
                                 b.begin() + static_cast<std::ptrdiff_t>(i + 8), "IDAT");
    if (length != 0 || !idat || i + 12 > b.size()) continue;
    out.insert(out.end(), b.begin() + static_cast<std::ptrdiff_t>(kept), b.begin() + static_cast<std::ptrdiff_t>(i));
    kept = i + 12;
  }
  if (kept == 0) return std::vector<std::uint8_t>{};
  out.insert(out.end(), b.begin() + static_cast<std::ptrdiff_t>(kept), b.end());
  return out;
}

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* p = static_cast<const std::uint8_t*>(data);
  if (size > 0) out->insert(out->end(), p, p + size);
}

std::vector<std::uint8_t> ToRgb(const Surface& surface) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(surface.Width()) * surface.Height() * 3);
  std::size_t i = 0;
  for (Pixel p : surface.Pixels()) {
    rgb[i++] = static_cast<std::uint8_t>(p >> 16);
    rgb[i++] = static_cast<std::uint8_t>(p >> 8);
    rgb[i++] = static_cast<std::uint8_t>(p);
  }
  return rgb;
}

}  // namespace

std::optional<Surface> DecodeImage(std::span<const std::uint8_t> original) {
  const std::optional<std::vector<std::uint8_t>> png = CheckedPng(original);
  if (!png) return std::nullopt;
  const std::span<const std::uint8_t> bytes = png->empty() ? original : std::span<const std::uint8_t>(*png);
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return std::nullopt;
  if (!JpegTablesFit(bytes)) return std::nullopt;
  const int length = static_cast<int>(bytes.size());
  int w = 0, h = 0, comp = 0;
  if (!stbi_info_from_memory(bytes.data(), length, &w, &h, &comp)) return std::nullopt;
  // Nothing past the surface cap could be held: it is not decoded either.
  if (w <= 0 || h <= 0 || !Surface::WithinCap(w, h) || !BmpRowsPresent(bytes, w, h)) return std::nullopt;
  stbi_uc* rgba = stbi_load_from_memory(bytes.data(), length, &w, &h, &comp, 4);
  if (!rgba) return std::nullopt;
  const bool isBmp = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
  const bool alpha = (comp == 2 || comp == 4) && (!isBmp || BmpHasAlpha(bytes));
  Surface out(w, h);
  const stbi_uc* s = rgba;
  for (Pixel& p : out.Pixels()) {
    p = (Pixel{s[0]} << 16) | (Pixel{s[1]} << 8) | Pixel{s[2]} | (alpha ? Pixel{s[3]} << 24 : 0);
    s += 4;
  }
  stbi_image_free(rgba);
  return out;
}

std::optional<Surface> LoadImageFile(LPCWSTR path) {
  if (!path || !*path) return std::nullopt;
  std::ifstream in(CString(path).ToUtf8(), std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  const std::streamoff size = in.tellg();
  if (size <= 0 || size > kMaxFileBytes) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
  return DecodeImage(bytes);
}

std::vector<std::uint8_t> EncodePng(const Surface& surface) {
  std::vector<std::uint8_t> out;
  if (surface.Empty()) return out;
  const std::vector<std::uint8_t> rgb = ToRgb(surface);
  if (!stbi_write_png_to_func(AppendBytes, &out, surface.Width(), surface.Height(), 3, rgb.data(),
                              surface.Width() * 3)) {
    out.clear();
  }
  return out;
}

bool WritePng(const Surface& surface, const char* path) {
  if (!path || !*path || surface.Empty()) return false;
  const std::vector<std::uint8_t> png = EncodePng(surface);
  if (png.empty()) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace winport
