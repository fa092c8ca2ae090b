// The resource chain: modules (the library, the host) register named or numbered resources when
// they load and remove them when they unload; lookups walk the chain from the newest module.
#pragma once
#include <cstdint>
#include <span>

#include "winport/base/types.h"

#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_MANIFEST MAKEINTRESOURCEW(24)

namespace winport {

// A new module at the front of the chain; the handle identifies it until RemoveResourceModule.
WINPORT_API HINSTANCE AddResourceModule(LPCWSTR moduleName);
WINPORT_API void RemoveResourceModule(HINSTANCE module);
// nameOrId is a string or MAKEINTRESOURCEW(id); a string "#123" means id 123. The bytes are not
// copied: they must stay valid until the module is removed (embedded arrays, mapped files).
WINPORT_API void AddResource(HINSTANCE module, LPCWSTR nameOrId, LPCWSTR type, std::span<const std::uint8_t> bytes);
// Empty span when no module of the chain (or the given module, when not null) has it.
WINPORT_API std::span<const std::uint8_t> FindResourceBytes(LPCWSTR nameOrId, LPCWSTR type, HINSTANCE module = nullptr,
                                                HINSTANCE* foundIn = nullptr);

}  // namespace winport

// The framework's lookup: the module of the chain that has the resource, or null.
WINPORT_API HINSTANCE AfxFindResourceHandle(LPCWSTR nameOrId, LPCWSTR type);
