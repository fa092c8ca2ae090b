#include "foundation/ModuleFrame.h"

#include <span>
#include <string>

#include "foundation/EmbeddedResources.h"

namespace {

AFX_EXTENSION_MODULE g_parvaneUDLL;

constexpr VS_FIXEDFILEINFO kVersion = {
    VS_FFI_SIGNATURE, VS_FFI_STRUCVERSION,
    0x00010000, 0x00000001,  // file version 1.0.0.1
    0x00010000, 0x00000001,  // product version 1.0.0.1
    0x3F, 0, VOS_NT_WINDOWS32, VFT_DLL, 0, 0, 0,
};

LPCWSTR TypeForExtension(const std::wstring& ext) {
  if (ext == L".bmp" || ext == L".BMP" || ext == L".png" || ext == L".PNG") return RT_BITMAP;
  return RT_RCDATA;
}

void RegisterEmbeddedResources(HINSTANCE module) {
  for (const parvaneu::EmbeddedResource* r = parvaneu::kEmbeddedResources; r->name; ++r) {
    winport::AddResource(module, r->name, TypeForExtension(r->extension), std::span(r->bytes, r->size));
  }
  winport::AddResource(module, MAKEINTRESOURCEW(1), RT_VERSION,
                       std::span(reinterpret_cast<const std::uint8_t*>(&kVersion), sizeof kVersion));
}

// Load: chain the module's resources, then every other static object of the library is built.
// Unload runs the other way round: their destructors first, this one last.
class ModuleLifetime {
 public:
  ModuleLifetime() {
    HINSTANCE module = winport::AddResourceModule(L"ParvaneU");
    RegisterEmbeddedResources(module);
    if (!AfxInitExtensionModule(g_parvaneUDLL, module)) {
      winport::RemoveResourceModule(module);
      return;
    }
    new CDynLinkLibrary(g_parvaneUDLL);  // owned by the framework, released by AfxTermExtensionModule
  }
  ~ModuleLifetime() { AfxTermExtensionModule(g_parvaneUDLL); }
  ModuleLifetime(const ModuleLifetime&) = delete;
  ModuleLifetime& operator=(const ModuleLifetime&) = delete;
};

ModuleLifetime g_lifetime;

}  // namespace

namespace parvaneu {

const AFX_EXTENSION_MODULE& ModuleFrame::Module() { return g_parvaneUDLL; }
const VS_FIXEDFILEINFO& ModuleFrame::Version() { return kVersion; }

}  // namespace parvaneu
