// The window API's resource functions over the resource chain. A null module searches the
// whole chain, newest module first; the bytes belong to the module that registered them.
#pragma once
#include "winport/base/types.h"

WINPORT_API HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
#define FindResource FindResourceW
// The resource's bytes as a handle; LockResource turns it into their address.
WINPORT_API HGLOBAL LoadResource(HMODULE module, HRSRC res);
WINPORT_API DWORD SizeofResource(HMODULE module, HRSRC res);
WINPORT_API LPVOID LockResource(HGLOBAL data);
// Registered bytes are not owned by the chain: nothing to free.
WINPORT_API BOOL FreeResource(HGLOBAL data);

// The module resources are loaded from by default; null (the whole chain) until a host sets one.
WINPORT_API HINSTANCE AfxGetResourceHandle();
WINPORT_API void AfxSetResourceHandle(HINSTANCE module);
