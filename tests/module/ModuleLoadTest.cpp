// Loads libParvaneU.so the way a host plugs it in, and checks what exists while it is loaded.
// This program links winport only, so dlclose really unloads the module.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

#include <winport/afx.h>

namespace {

VS_FIXEDFILEINFO ReadVersion() {
  VS_FIXEDFILEINFO info{};
  auto bytes = winport::FindResourceBytes(MAKEINTRESOURCEW(1), RT_VERSION);
  if (bytes.size() == sizeof info) std::memcpy(&info, bytes.data(), sizeof info);
  return info;
}

TEST(ModuleFrame, LoadChainsResourcesAndUnloadTakesThemOut) {
  ASSERT_TRUE(winport::FindResourceBytes(MAKEINTRESOURCEW(1), RT_VERSION).empty());

  void* module = dlopen(PARVANEU_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();

  const VS_FIXEDFILEINFO v = ReadVersion();
  EXPECT_EQ(v.dwSignature, VS_FFI_SIGNATURE);
  EXPECT_EQ(v.dwFileVersionMS, 0x00010000u);  // 1.0
  EXPECT_EQ(v.dwFileVersionLS, 0x00000001u);  // .0.1
  EXPECT_EQ(v.dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(v.dwProductVersionLS, 0x00000001u);
  EXPECT_EQ(v.dwFileType, VFT_DLL);
  EXPECT_NE(AfxFindResourceHandle(MAKEINTRESOURCEW(1), RT_VERSION), nullptr);

  using ModuleFn = const AFX_EXTENSION_MODULE& (*)();
  auto moduleRecord = reinterpret_cast<ModuleFn>(dlsym(module, "_ZN8parvaneu11ModuleFrame6ModuleEv"));
  ASSERT_NE(moduleRecord, nullptr);
  EXPECT_TRUE(moduleRecord().bInitialized);
  EXPECT_EQ(moduleRecord().hModule, AfxFindResourceHandle(MAKEINTRESOURCEW(1), RT_VERSION));

  ASSERT_EQ(dlclose(module), 0);
  EXPECT_TRUE(winport::FindResourceBytes(MAKEINTRESOURCEW(1), RT_VERSION).empty());
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(1), RT_VERSION), nullptr);
}

TEST(ModuleFrame, ReloadingBuildsAFreshFrame) {
  for (int i = 0; i < 3; ++i) {
    void* module = dlopen(PARVANEU_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    EXPECT_EQ(ReadVersion().dwFileType, VFT_DLL);
    ASSERT_EQ(dlclose(module), 0);
    EXPECT_TRUE(winport::FindResourceBytes(MAKEINTRESOURCEW(1), RT_VERSION).empty()) << "pass " << i;
  }
}

}  // namespace
