// Bitmap objects: 32-bit surfaces behind HBITMAP, made empty, from bits, from resources or files.
#include <cstring>
#include <new>
#include <vector>

#include "winport/gdi/detail/DcAccess.h"
#include "winport/gdi/DeviceContext.h"
#include "winport/gdi/Gdi32.h"
#include "winport/gdi/ImageCodec.h"
#include "winport/res/Resources.h"

using namespace winport;

namespace {

constexpr int kMaxSide = kMaxSurfaceSide;

bool ValidSize(int w, int h) { return w > 0 && h > 0 && Surface::WithinCap(w, h); }

// Every bitmap entry makes its handle here: refused memory is the entry's null return.
HBITMAP Adopt(std::shared_ptr<Surface> s) {
  if (!s) return nullptr;
  try {
    return CreateBitmapFromSurface(std::move(s));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

HBITMAP FromSurface(Surface s) {
  if (s.Empty()) return nullptr;
  try {
    return Adopt(std::make_shared<Surface>(std::move(s)));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::shared_ptr<Surface> MakeShared(int w, int h) {
  try {
    auto s = std::make_shared<Surface>(w, h, 0);
    return s->Width() == w && s->Height() == h ? s : nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// Empty when the scaled size is past the surface cap.
Surface Scaled(const Surface& s, int cx, int cy) {
  if ((cx <= 0 || cx == s.Width()) && (cy <= 0 || cy == s.Height())) return s;
  if (cx <= 0) cx = s.Width();
  if (cy <= 0) cy = s.Height();
  Surface out(cx, cy);
  if (out.Width() != cx || out.Height() != cy) return Surface();
  for (int y = 0; y < cy; ++y) {
    const int sy = static_cast<int>((static_cast<long long>(2 * y + 1) * s.Height()) / (2LL * cy));
    for (int x = 0; x < cx; ++x) {
      out.Row(y)[x] = s.Row(sy)[(static_cast<long long>(2 * x + 1) * s.Width()) / (2LL * cx)];
    }
  }
  return out;
}

// Bitmap resources are stored without the file header; give the decoder one.
std::optional<Surface> DecodeBitmapResource(std::span<const std::uint8_t> bytes) {
  if (auto s = DecodeImage(bytes)) return s;
  if (bytes.size() < sizeof(BITMAPINFOHEADER)) return std::nullopt;
  BITMAPINFOHEADER h;
  std::memcpy(&h, bytes.data(), sizeof h);
  if (h.biSize < 40 || h.biSize > bytes.size()) return std::nullopt;
  std::size_t colors = h.biClrUsed;
  if (colors == 0 && h.biBitCount <= 8) colors = std::size_t{1} << h.biBitCount;
  if (h.biCompression == BI_BITFIELDS && h.biSize == 40) colors = 3;
  const std::size_t offset = 14 + h.biSize + colors * 4;
  std::vector<std::uint8_t> file(14 + bytes.size());
  const std::uint32_t fileSize = static_cast<std::uint32_t>(file.size());
  const std::uint32_t dataOffset = static_cast<std::uint32_t>(offset);
  file[0] = 'B';
  file[1] = 'M';
  std::memcpy(&file[2], &fileSize, 4);
  std::memcpy(&file[10], &dataOffset, 4);
  std::memcpy(&file[14], bytes.data(), bytes.size());
  return DecodeImage(file);
}

}  // namespace

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  // Always 32-bit colour, also for a fresh memory DC (whose desktop bitmap would be monochrome).
  if (!gdi::FindDC(hdc) || !ValidSize(width, height)) return nullptr;
  return Adopt(MakeShared(width, height));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
  if (!ValidSize(width, height) || planes != 1) return nullptr;
  if (bitCount != 1 && bitCount != 24 && bitCount != 32) return nullptr;
  auto made = MakeShared(width, height);
  if (!made) return nullptr;
  Surface& s = *made;
  if (bits) {
    // Rows are padded to 16 bits, as device-dependent bitmaps are.
    const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 15) / 16) * 2;
    const auto* p = static_cast<const BYTE*>(bits);
    for (int y = 0; y < height; ++y) {
      const BYTE* row = p + stride * static_cast<std::size_t>(y);
      for (int x = 0; x < width; ++x) {
        Pixel v = 0;
        if (bitCount == 32) {
          std::memcpy(&v, row + 4 * x, 4);
        } else if (bitCount == 24) {
          v = (static_cast<Pixel>(row[3 * x + 2]) << 16) | (static_cast<Pixel>(row[3 * x + 1]) << 8) | row[3 * x];
        } else {
          v = (row[x / 8] >> (7 - x % 8)) & 1 ? 0x00FFFFFFu : 0;
        }
        s.Row(y)[x] = v;
      }
    }
  }
  return Adopt(std::move(made));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE, DWORD) {
  if (bits) *bits = nullptr;
  if (!bmi || usage != DIB_RGB_COLORS) return nullptr;
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  // Surfaces are top-down 32-bit: only that layout can share its memory with the caller.
  if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biHeight >= 0 || h.biHeight < -kMaxSide) return nullptr;
  if (!ValidSize(h.biWidth, -h.biHeight)) return nullptr;
  auto surface = MakeShared(h.biWidth, -h.biHeight);
  if (!surface) return nullptr;
  HBITMAP made = Adopt(surface);
  if (made && bits) *bits = surface->Data();
  return made;
}

LONG GetBitmapBits(HBITMAP bitmap, LONG bytes, LPVOID out) {
  auto s = GetBitmapSurface(bitmap);
  if (!s || bytes <= 0 || !out) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(bytes), s->Pixels().size_bytes());
  std::memcpy(out, s->Data(), n);
  return static_cast<LONG>(n);
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD bytes, const void* in) {
  auto s = GetBitmapSurface(bitmap);
  if (!s || bytes == 0 || !in) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(bytes), s->Pixels().size_bytes());
  std::memcpy(s->Data(), in, n);
  return static_cast<LONG>(n);
}

HBITMAP LoadBitmapW(HINSTANCE module, LPCWSTR name) {
  if (!name) return nullptr;
  auto bytes = FindResourceBytes(name, RT_BITMAP, module);
  if (bytes.empty()) return nullptr;
  auto s = DecodeBitmapResource(bytes);
  return s && !s->Empty() ? FromSurface(std::move(*s)) : nullptr;
}

HANDLE LoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
  if (!name || type != IMAGE_BITMAP) return nullptr;
  std::optional<Surface> s;
  if (flags & LR_LOADFROMFILE) {
    if (IS_INTRESOURCE(name)) return nullptr;
    s = LoadImageFile(name);
  } else {
    auto bytes = FindResourceBytes(name, RT_BITMAP, module);
    if (!bytes.empty()) s = DecodeBitmapResource(bytes);
  }
  if (!s || s->Empty() || cx > kMaxSide || cy > kMaxSide) return nullptr;
  return FromSurface(Scaled(*s, cx, cy));
}

HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags) {
  auto s = GetBitmapSurface(static_cast<HBITMAP>(image));
  if (!s || type != IMAGE_BITMAP || s->Empty() || cx > kMaxSide || cy > kMaxSide) return nullptr;
  HBITMAP copy = FromSurface(Scaled(*s, cx, cy));
  if (copy && (flags & LR_COPYDELETEORG)) DeleteObject(image);
  return copy;
}
