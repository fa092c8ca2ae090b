// The resource chain. Modules are kept newest first; names are compared without case, ids by
// value, and "#123" is id 123, as resource compilers write it.
#include "winport/res/Resources.h"

#include <algorithm>
#include <cwctype>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "winport/res/ResourceApi.h"

namespace winport {
namespace {

// An integer id (name empty) or an upper-cased name.
struct ResourceKey {
  WORD id = 0;
  std::wstring name;
  bool operator==(const ResourceKey&) const = default;
};

// Null when the name is neither an id nor a non-empty string.
std::optional<ResourceKey> KeyOf(LPCWSTR nameOrId) {
  if (!nameOrId) return std::nullopt;
  if (IS_INTRESOURCE(nameOrId)) return ResourceKey{LOWORD(reinterpret_cast<std::uintptr_t>(nameOrId)), {}};
  std::wstring s(nameOrId);
  if (s.empty()) return std::nullopt;
  if (s.size() > 1 && s.size() <= 6 && s[0] == L'#' &&
      std::all_of(s.begin() + 1, s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
    const unsigned long id = std::stoul(s.substr(1));
    if (id <= 0xFFFF) return ResourceKey{static_cast<WORD>(id), {}};
  }
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return ResourceKey{0, std::move(s)};
}

struct Entry {
  ResourceKey name;
  ResourceKey type;
  std::span<const std::uint8_t> bytes;
};

struct Module {
  HINSTANCE handle;
  std::wstring name;
  // unique_ptr: an entry's address is its HRSRC and must not move.
  std::vector<std::unique_ptr<Entry>> entries;
};

class Chain {
 public:
  static Chain& Get() {
    static Chain* chain = new Chain;  // outlives modules that unregister at exit
    return *chain;
  }

  HINSTANCE Add(LPCWSTR name) {
    std::lock_guard lock(mutex_);
    nextHandle_ += 0x10;
    HINSTANCE h = reinterpret_cast<HINSTANCE>(nextHandle_);
    modules_.push_front(Module{h, name ? name : L"", {}});
    return h;
  }

  void Remove(HINSTANCE h) {
    std::lock_guard lock(mutex_);
    modules_.remove_if([h](const Module& m) { return m.handle == h; });
    if (resourceHandle_ == h) resourceHandle_ = nullptr;
  }

  void AddResource(HINSTANCE h, LPCWSTR nameOrId, LPCWSTR type, std::span<const std::uint8_t> bytes) {
    std::optional<ResourceKey> name = KeyOf(nameOrId), kind = KeyOf(type);
    if (!name || !kind) return;
    std::lock_guard lock(mutex_);
    Module* m = FindModule(h);
    if (!m) return;
    for (auto& e : m->entries) {
      if (e->name == *name && e->type == *kind) {
        e->bytes = bytes;  // registering again replaces; the HRSRC stays valid
        return;
      }
    }
    m->entries.push_back(std::make_unique<Entry>(Entry{std::move(*name), std::move(*kind), bytes}));
  }

  // The entry and its module, searching one module or the whole chain from the newest.
  const Entry* Find(LPCWSTR nameOrId, LPCWSTR type, HINSTANCE only, HINSTANCE* foundIn) {
    std::optional<ResourceKey> name = KeyOf(nameOrId), kind = KeyOf(type);
    if (!name || !kind) return nullptr;
    for (Module& m : modules_) {
      if (only && m.handle != only) continue;
      for (auto& e : m.entries) {
        if (e->name == *name && e->type == *kind) {
          if (foundIn) *foundIn = m.handle;
          return e.get();
        }
      }
    }
    return nullptr;
  }

  bool IsLive(const Entry* entry) {
    for (Module& m : modules_) {
      for (auto& e : m.entries) {
        if (e.get() == entry) return true;
      }
    }
    return false;
  }

  std::mutex& Mutex() { return mutex_; }
  HINSTANCE ResourceHandle() {
    std::lock_guard lock(mutex_);
    return resourceHandle_;
  }
  void SetResourceHandle(HINSTANCE h) {
    std::lock_guard lock(mutex_);
    resourceHandle_ = h && FindModule(h) ? h : nullptr;
  }

 private:
  Module* FindModule(HINSTANCE h) {
    for (Module& m : modules_) {
      if (m.handle == h) return &m;
    }
    return nullptr;
  }

  std::mutex mutex_;
  std::list<Module> modules_;  // newest first
  std::uintptr_t nextHandle_ = 0x10000;
  HINSTANCE resourceHandle_ = nullptr;
};

}  // namespace

HINSTANCE AddResourceModule(LPCWSTR moduleName) { return Chain::Get().Add(moduleName); }

void RemoveResourceModule(HINSTANCE module) {
  if (module) Chain::Get().Remove(module);
}

void AddResource(HINSTANCE module, LPCWSTR nameOrId, LPCWSTR type, std::span<const std::uint8_t> bytes) {
  if (module) Chain::Get().AddResource(module, nameOrId, type, bytes);
}

std::span<const std::uint8_t> FindResourceBytes(LPCWSTR nameOrId, LPCWSTR type, HINSTANCE module,
                                                HINSTANCE* foundIn) {
  Chain& chain = Chain::Get();
  std::lock_guard lock(chain.Mutex());
  const Entry* e = chain.Find(nameOrId, type, module, foundIn);
  return e ? e->bytes : std::span<const std::uint8_t>{};
}

}  // namespace winport

using winport::Chain;
using winport::Entry;

HINSTANCE AfxFindResourceHandle(LPCWSTR nameOrId, LPCWSTR type) {
  Chain& chain = Chain::Get();
  std::lock_guard lock(chain.Mutex());
  HINSTANCE found = nullptr;
  return chain.Find(nameOrId, type, nullptr, &found) ? found : nullptr;
}

HINSTANCE AfxGetResourceHandle() { return Chain::Get().ResourceHandle(); }
void AfxSetResourceHandle(HINSTANCE module) { Chain::Get().SetResourceHandle(module); }

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  Chain& chain = Chain::Get();
  std::lock_guard lock(chain.Mutex());
  const Entry* e = chain.Find(name, type, module, nullptr);
  return e ? reinterpret_cast<HRSRC>(const_cast<Entry*>(e)) : nullptr;
}

DWORD SizeofResource(HMODULE, HRSRC res) {
  Chain& chain = Chain::Get();
  std::lock_guard lock(chain.Mutex());
  const Entry* e = reinterpret_cast<const Entry*>(res);
  return res && chain.IsLive(e) ? static_cast<DWORD>(e->bytes.size()) : 0;
}

HGLOBAL LoadResource(HMODULE, HRSRC res) {
  Chain& chain = Chain::Get();
  std::lock_guard lock(chain.Mutex());
  const Entry* e = reinterpret_cast<const Entry*>(res);
  if (!res || !chain.IsLive(e) || e->bytes.empty()) return nullptr;
  return const_cast<std::uint8_t*>(e->bytes.data());
}

LPVOID LockResource(HGLOBAL data) { return data; }
BOOL FreeResource(HGLOBAL) { return FALSE; }
