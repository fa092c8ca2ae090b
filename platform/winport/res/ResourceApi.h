// The window API's resource functions over the resource chain. A null module searches the
// whole chain, newest module first; the bytes belong to the module that registered them.
#pragma once
#include "winport/base/types.h"

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
#define FindResource FindResourceW
// The resource's bytes as a handle; LockResource turns it into their address.
HGLOBAL LoadResource(HMODULE module, HRSRC res);
DWORD SizeofResource(HMODULE module, HRSRC res);
LPVOID LockResource(HGLOBAL data);
// Registered bytes are not owned by the chain: nothing to free.
BOOL FreeResource(HGLOBAL data);

// The module resources are loaded from by default; null (the whole chain) until a host sets one.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
