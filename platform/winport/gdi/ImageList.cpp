// Image lists over one strip of premultiplied pixels; drawing goes through AlphaBlend, so every
// pixel rule stays with the painter.
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "winport/gdi/Gdi32.h"
#include "winport/gdi/ImageListImpl.h"
#include "winport/res/ResourceApi.h"
#include "winport/res/Resources.h"

namespace {

using winport::Pixel;
using winport::Surface;

struct ImageListData {
  int cx = 0, cy = 0;
  bool masked = false;
  COLORREF bk = CLR_NONE;
  std::vector<Surface> images;  // premultiplied 0xAARRGGBB
};

class Registry {
 public:
  static Registry& Get() {
    static Registry* r = new Registry;  // lists may be destroyed by static objects at exit
    return *r;
  }
  HIMAGELIST Add(std::unique_ptr<ImageListData> d) {
    std::lock_guard lock(mutex_);
    HIMAGELIST h = reinterpret_cast<HIMAGELIST>(d.get());
    lists_[h] = std::move(d);
    return h;
  }
  bool Remove(HIMAGELIST h) {
    std::lock_guard lock(mutex_);
    return lists_.erase(h) != 0;
  }
  // Image lists belong to the thread that uses them, as on the desktop; the lock only guards the
  // table of handles.
  ImageListData* Find(HIMAGELIST h) {
    std::lock_guard lock(mutex_);
    auto it = lists_.find(h);
    return it == lists_.end() ? nullptr : it->second.get();
  }

 private:
  std::mutex mutex_;
  std::unordered_map<HIMAGELIST, std::unique_ptr<ImageListData>> lists_;
};

Pixel Premultiply(Pixel p) {
  const Pixel a = p >> 24;
  if (a == 255) return p;
  auto ch = [a](Pixel v) { return (v * a + 127) / 255; };
  return (a << 24) | (ch((p >> 16) & 0xFF) << 16) | (ch((p >> 8) & 0xFF) << 8) | ch(p & 0xFF);
}

// The bitmap's pixels, or an empty surface.
Surface BitmapPixels(HBITMAP hbm) {
  BITMAP bm{};
  if (!hbm || GetObjectW(hbm, sizeof bm, &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
  Surface s(bm.bmWidth, bm.bmHeight);
  const auto bytes = static_cast<LONG>(s.Pixels().size_bytes());
  if (GetBitmapBits(hbm, bytes, s.Data()) != bytes) return {};
  return s;
}

// Cuts the bitmap into images; opaque(x, y) decides each pixel's transparency.
template <class Opaque>
int AddFromPixels(ImageListData& d, const Surface& bits, Opaque opaque) {
  if (bits.Width() < d.cx || bits.Height() < d.cy) return -1;
  const int n = bits.Width() / d.cx;
  if (static_cast<long long>(d.images.size()) + n > kImageListMaxCount) return -1;
  const int first = static_cast<int>(d.images.size());
  try {
    for (int i = 0; i < n; ++i) {
      Surface img(d.cx, d.cy);
      for (int y = 0; y < d.cy; ++y) {
        for (int x = 0; x < d.cx; ++x) {
          const int sx = i * d.cx + x;
          img.Row(y)[x] = opaque(sx, y) ? (bits.Row(y)[sx] | 0xFF000000u) : 0;
        }
      }
      d.images.push_back(std::move(img));
    }
  } catch (const std::bad_alloc&) {
    d.images.resize(static_cast<std::size_t>(first));
    return -1;
  }
  return first;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx <= 0 || cy <= 0 || cx > kImageListMaxSide || cy > kImageListMaxSide) return nullptr;
  try {
    auto d = std::make_unique<ImageListData>();
    d->cx = cx;
    d->cy = cy;
    d->masked = (flags & ILC_MASK) != 0;
    return Registry::Get().Add(std::move(d));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

BOOL ImageList_Destroy(HIMAGELIST himl) { return himl && Registry::Get().Remove(himl); }

int ImageList_GetImageCount(HIMAGELIST himl) {
  ImageListData* d = Registry::Get().Find(himl);
  return d ? static_cast<int>(d->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  ImageListData* d = Registry::Get().Find(himl);
  if (!d || !cx || !cy) return FALSE;
  *cx = d->cx;
  *cy = d->cy;
  return TRUE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
  ImageListData* d = Registry::Get().Find(himl);
  if (!d) return -1;
  const Surface bits = BitmapPixels(hbmImage);
  if (!d->masked || !hbmMask) return AddFromPixels(*d, bits, [](int, int) { return true; });
  const Surface mask = BitmapPixels(hbmMask);
  if (mask.Width() < bits.Width() || mask.Height() < bits.Height()) return -1;
  return AddFromPixels(*d, bits, [&mask](int x, int y) { return (mask.Row(y)[x] & 0xFFFFFF) == 0; });
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
  ImageListData* d = Registry::Get().Find(himl);
  if (!d) return -1;
  const Surface bits = BitmapPixels(hbmImage);
  if (!d->masked || crMask == CLR_NONE) return AddFromPixels(*d, bits, [](int, int) { return true; });
  const Pixel key = winport::ToPixel(crMask);
  return AddFromPixels(*d, bits, [&bits, key](int x, int y) { return (bits.Row(y)[x] & 0xFFFFFF) != key; });
}

HIMAGELIST ImageList_LoadImageW(HINSTANCE hi, LPCWSTR name, int cx, int, COLORREF crMask, UINT uType, UINT) {
  if (uType != IMAGE_BITMAP) return nullptr;
  HBITMAP hbm = LoadBitmapW(hi ? hi : AfxFindResourceHandle(name, RT_BITMAP), name);
  if (!hbm) return nullptr;
  BITMAP bm{};
  GetObjectW(hbm, sizeof bm, &bm);
  HIMAGELIST himl = ImageList_Create(cx, bm.bmHeight, crMask == CLR_NONE ? ILC_COLOR : ILC_MASK, 0, 0);
  if (himl && ImageList_AddMasked(himl, hbm, crMask) < 0) {
    ImageList_Destroy(himl);
    himl = nullptr;
  }
  DeleteObject(hbm);
  return himl;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk) {
  ImageListData* d = Registry::Get().Find(himl);
  if (!d) return CLR_NONE;
  COLORREF old = d->bk;
  d->bk = clrBk;
  return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl) {
  ImageListData* d = Registry::Get().Find(himl);
  return d ? d->bk : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
  ImageListData* d = Registry::Get().Find(himl);
  if (!d || !hdcDst || i < 0 || i >= static_cast<int>(d->images.size())) return FALSE;
  const Surface& img = d->images[static_cast<std::size_t>(i)];
  if (!(fStyle & ILD_TRANSPARENT) && d->bk != CLR_NONE) {
    HBRUSH brush = CreateSolidBrush(d->bk);
    RECT box{x, y, x + d->cx, y + d->cy};
    FillRect(hdcDst, &box, brush);
    DeleteObject(brush);
  }
  HBITMAP hbm = CreateBitmap(d->cx, d->cy, 1, 32, img.Data());
  HDC mem = CreateCompatibleDC(nullptr);
  BOOL ok = FALSE;
  if (hbm && mem) {
    HGDIOBJ old = SelectObject(mem, hbm);
    ok = AlphaBlend(hdcDst, x, y, d->cx, d->cy, mem, 0, 0, d->cx, d->cy,
                    BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    SelectObject(mem, old);
  }
  if (mem) DeleteDC(mem);
  if (hbm) DeleteObject(hbm);
  return ok;
}

namespace winport::detail {

int ImageListAddArgb(HIMAGELIST himl, const Surface& image) {
  ImageListData* d = Registry::Get().Find(himl);
  if (!d || image.Width() != d->cx || image.Height() != d->cy) return -1;
  if (static_cast<int>(d->images.size()) >= kImageListMaxCount) return -1;
  try {
    Surface img(d->cx, d->cy);
    for (int y = 0; y < d->cy; ++y)
      for (int x = 0; x < d->cx; ++x) img.Row(y)[x] = Premultiply(image.Row(y)[x]);
    d->images.push_back(std::move(img));
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return static_cast<int>(d->images.size()) - 1;
}

Surface ImageListGetArgb(HIMAGELIST himl, int i) {
  ImageListData* d = Registry::Get().Find(himl);
  if (!d || i < 0 || i >= static_cast<int>(d->images.size())) return {};
  return d->images[static_cast<std::size_t>(i)];
}

}  // namespace winport::detail
