// String resources: numbered texts in the resource chain. The framework's own strings (the
// titles of its file prompts) are in the chain from the start, behind every module's.
#pragma once
#include "winport/base/types.h"

#define RT_STRING MAKEINTRESOURCEW(6)
#define AFX_IDS_OPENFILE 0xF000
#define AFX_IDS_SAVEFILE 0xF001
#define AFX_IDS_ALLFILTER 0xF002
#define AFX_IDS_UNTITLED 0xF003
#define AFX_IDS_SAVEFILECOPY 0xF004

// Copies string uID (truncated to cchBufferMax - 1 characters); its length, 0 when missing.
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
inline int LoadString(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
  return LoadStringW(hInstance, uID, lpBuffer, cchBufferMax);
}

namespace winport {
// Registers a string of a module: the text must stay valid until the module is removed.
void AddStringResource(HINSTANCE module, UINT id, const wchar_t* text);
}  // namespace winport
