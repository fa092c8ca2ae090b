// The in-process class registry, task memory and the thread locale.
#include "winport/com/Com.h"

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct Registration {
  DWORD cookie;
  CLSID clsid;
  IUnknown* factory;
};

class ClassRegistry {
 public:
  static ClassRegistry& Get() {
    static ClassRegistry* registry = new ClassRegistry;  // factories may be revoked during exit
    return *registry;
  }

  HRESULT Register(REFCLSID clsid, IUnknown* factory, DWORD* cookie) {
    std::lock_guard lock(mutex_);
    try {
      entries_.push_back(Registration{++lastCookie_, clsid, factory});
    } catch (...) {
      return E_OUTOFMEMORY;
    }
    factory->AddRef();
    *cookie = lastCookie_;
    return S_OK;
  }

  IUnknown* Take(DWORD cookie) {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->cookie != cookie) continue;
      IUnknown* f = it->factory;
      entries_.erase(it);
      return f;
    }
    return nullptr;
  }

  // The newest registration of the class, with a reference for the caller.
  IUnknown* Find(REFCLSID clsid) {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
      if (!IsEqualGUID(it->clsid, clsid)) continue;
      it->factory->AddRef();
      return it->factory;
    }
    return nullptr;
  }

 private:
  std::mutex mutex_;
  std::vector<Registration> entries_;
  DWORD lastCookie_ = 0;
};

}  // namespace

HRESULT CoRegisterClassObject(REFCLSID rclsid, IUnknown* pUnk, DWORD, DWORD, DWORD* lpdwRegister) {
  if (!pUnk || !lpdwRegister) return E_INVALIDARG;
  return ClassRegistry::Get().Register(rclsid, pUnk, lpdwRegister);
}

HRESULT CoRevokeClassObject(DWORD dwRegister) {
  IUnknown* factory = ClassRegistry::Get().Take(dwRegister);
  if (!factory) return CO_E_OBJNOTREG;
  factory->Release();  // outside the registry's lock: the factory may go away now
  return S_OK;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD, void*, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  IUnknown* factory = ClassRegistry::Get().Find(rclsid);
  if (!factory) return REGDB_E_CLASSNOTREG;
  HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  void* pv = nullptr;
  HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, &pv);
  if (FAILED(hr)) return hr;
  auto* factory = static_cast<IClassFactory*>(pv);
  hr = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  if (FAILED(hr)) *ppv = nullptr;
  return hr;
}

HRESULT CoInitialize(LPVOID) { return S_OK; }
void CoUninitialize() {}

LPVOID CoTaskMemAlloc(std::size_t cb) { return cb ? std::malloc(cb) : nullptr; }
LPVOID CoTaskMemRealloc(LPVOID pv, std::size_t cb) {
  if (cb == 0) {
    std::free(pv);
    return nullptr;
  }
  return std::realloc(pv, cb);
}
void CoTaskMemFree(LPVOID pv) { std::free(pv); }

LCID GetThreadLocale() {
  struct Language {
    const char* code;
    WORD lang;
  };
  static constexpr Language kLanguages[] = {
      {"de", LANG_GERMAN},  {"en", LANG_ENGLISH},  {"es", LANG_SPANISH}, {"fr", LANG_FRENCH},
      {"it", LANG_ITALIAN}, {"ja", LANG_JAPANESE}, {"ko", LANG_KOREAN},  {"ru", LANG_RUSSIAN},
      {"zh", LANG_CHINESE},
  };
  // The C library's order of precedence for the message language.
  const char* env = nullptr;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    env = std::getenv(name);
    if (env && *env) break;
  }
  std::string code = env ? std::string(env).substr(0, 2) : std::string();
  for (const Language& l : kLanguages) {
    if (code == l.code) {
      WORD sub = l.lang == LANG_CHINESE ? SUBLANG_CHINESE_SIMPLIFIED : SUBLANG_DEFAULT;
      return MAKELCID(MAKELANGID(l.lang, sub), SORT_DEFAULT);
    }
  }
  return MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
}
