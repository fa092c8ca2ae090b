// The class registry, task memory and image lists.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include <winport/afx.h>

#include "support/Canvas.h"

namespace {

constexpr CLSID kClsid = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};

struct CObj final : IUnknown {
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    *ppv = IsEqualIID(riid, IID_IUnknown) ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++ref; }
  ULONG Release() override { return --ref; }
  ULONG ref = 0;
};

struct CFactory final : IClassFactory {
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    *ppv = (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++ref; }
  ULONG Release() override { return --ref; }
  HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    return obj.QueryInterface(riid, ppv);
  }
  HRESULT LockServer(BOOL) override { return S_OK; }
  ULONG ref = 0;
  CObj obj;
};

}  // namespace

TEST(ComRegistry, ServesRegisteredClassesUntilRevoked) {
  CFactory factory;
  void* pv = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &pv), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(pv, nullptr);
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(kClsid, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
  EXPECT_EQ(factory.ref, 1u);  // the registry's reference
  ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &pv), S_OK);
  EXPECT_EQ(pv, &factory.obj);
  factory.obj.Release();
  EXPECT_EQ(CoCreateInstance(kClsid, &factory.obj, CLSCTX_ALL, IID_IUnknown, &pv), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IClassFactory, &pv), E_NOINTERFACE);
  EXPECT_EQ(factory.ref, 1u);
  EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_EQ(factory.ref, 0u);
  EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);
  EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &pv), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoRegisterClassObject(kClsid, nullptr, 0, 0, &cookie), E_INVALIDARG);
  EXPECT_EQ(factory.obj.ref, 0u);
}

TEST(ComRegistry, TaskMemoryAndLocale) {
  void* p = CoTaskMemAlloc(64);
  ASSERT_NE(p, nullptr);
  p = CoTaskMemRealloc(p, 128);
  ASSERT_NE(p, nullptr);
  CoTaskMemFree(p);
  CoTaskMemFree(nullptr);
  EXPECT_NE(GetThreadLocale(), 0u);
}

TEST(ImageList, MaskColourBecomesTransparentAndBackgroundFillsOnlyNormalDraws) {
  // A 2-image strip of 4x2: image 0 red with a teal key pixel, image 1 blue.
  const DWORD teal = 0x008080, red = 0xFF0000, blue = 0x0000FF;
  const DWORD bits[] = {red, teal, red, red, blue, blue, blue, blue, red, red, red, red, blue, blue, blue, teal};
  HBITMAP hbm = CreateBitmap(8, 2, 1, 32, bits);
  CImageList list;
  ASSERT_TRUE(list.Create(4, 2, ILC_COLOR32 | ILC_MASK, 2, 0));
  EXPECT_EQ(list.Add(CBitmap::FromHandle(hbm), RGB(0, 128, 128)), 0);
  EXPECT_EQ(list.GetImageCount(), 2);

  testsupport::Canvas c(8, 4, RGB(1, 2, 3));
  list.SetBkColor(RGB(9, 9, 9));
  ASSERT_TRUE(list.Draw(&c.dc, 0, CPoint(0, 0), ILD_TRANSPARENT));
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.At(1, 0), RGB(1, 2, 3));  // the key shows what was there
  ASSERT_TRUE(list.Draw(&c.dc, 1, CPoint(4, 2), ILD_NORMAL));
  EXPECT_EQ(c.At(4, 2), RGB(0, 0, 255));
  EXPECT_EQ(c.At(7, 3), RGB(9, 9, 9));  // a normal draw fills the key with the background
  EXPECT_EQ(c.At(3, 3), RGB(1, 2, 3));

  EXPECT_FALSE(list.Draw(&c.dc, 2, CPoint(0, 0), ILD_NORMAL));
  EXPECT_FALSE(list.Draw(nullptr, 0, CPoint(0, 0), ILD_NORMAL));
  EXPECT_FALSE(ImageList_Draw(reinterpret_cast<HIMAGELIST>(&c), 0, c.dc, 0, 0, 0));
  EXPECT_EQ(ImageList_Create(0, 4, 0, 0, 0), nullptr);
  EXPECT_EQ(ImageList_Create(kImageListMaxSide + 1, 4, 0, 0, 0), nullptr);
  DeleteObject(hbm);
}

TEST(ImageList, LoadsABitmapResourceCutIntoImages) {
  std::ifstream file(PARVANEU_SOURCE_DIR "/resources/IDB_MB_IMAGE.bmp", std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(bytes.empty());
  HINSTANCE mod = winport::AddResourceModule(L"test");
  winport::AddResource(mod, L"TEST_STRIP", RT_BITMAP, bytes);
  {
    CImageList strip;
    ASSERT_TRUE(strip.Create(L"TEST_STRIP", 32, 0, RGB(0, 128, 128)));
    EXPECT_EQ(strip.GetImageCount(), 4);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(strip, &cx, &cy));
    EXPECT_EQ(cy, 32);
    CImageList missing;
    EXPECT_FALSE(missing.Create(L"NO_SUCH_BITMAP", 32, 0, RGB(0, 128, 128)));
  }
  winport::RemoveResourceModule(mod);
}
