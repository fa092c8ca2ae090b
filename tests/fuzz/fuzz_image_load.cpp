// The platform's image loading on any bytes, registered as a bitmap resource: BMP of every depth
// (with or without its file header), PNG and JPEG, truncated or with lying headers, loaded by
// LoadImageW at any size, by LoadBitmapW and into an image list. The last four bytes choose the
// sizes; a loaded bitmap must be as large as asked.
#include <fuzzer/FuzzedDataProvider.h>

#include <winport/afx.h>

#include <vector>

namespace {

int Side(FuzzedDataProvider& in) {
  static constexpr int kEdges[] = {0, -1, 1, 4097, 32768, 32769, 1 << 20};
  return in.ConsumeBool() ? in.PickValueInArray(kEdges) : in.ConsumeIntegralInRange(0, 64);
}

void CheckSize(HBITMAP bmp, int cx, int cy) {
  if (!bmp) return;
  BITMAP bm{};
  if (!::GetObjectW(bmp, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) __builtin_trap();
  if ((cx > 0 && bm.bmWidth != cx) || (cy > 0 && bm.bmHeight != cy)) __builtin_trap();
  ::DeleteObject(bmp);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int cx = Side(in), cy = Side(in);
  const std::vector<uint8_t> bytes = in.ConsumeRemainingBytes<uint8_t>();
  HINSTANCE module = winport::AddResourceModule(L"fuzz");
  winport::AddResource(module, L"IMAGE", RT_BITMAP, bytes);

  HRSRC res = ::FindResourceW(module, L"IMAGE", RT_BITMAP);
  if (!bytes.empty() && (!res || ::SizeofResource(module, res) != bytes.size() ||
                         ::LockResource(::LoadResource(module, res)) != bytes.data()))
    __builtin_trap();
  CheckSize(static_cast<HBITMAP>(::LoadImageW(module, L"IMAGE", IMAGE_BITMAP, cx, cy, 0)), cx, cy);
  CheckSize(::LoadBitmapW(module, L"IMAGE"), 0, 0);
  if (HIMAGELIST list = ::ImageList_LoadImageW(module, L"IMAGE", cx, 0, CLR_NONE, IMAGE_BITMAP, 0))
    ::ImageList_Destroy(list);
  winport::RemoveResourceModule(module);
  return 0;
}
