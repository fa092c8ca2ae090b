#include "winport/doc/StringResources.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <span>

#include "winport/base/CString.h"
#include "winport/res/ResourceApi.h"
#include "winport/res/Resources.h"

namespace winport {

void AddStringResource(HINSTANCE module, UINT id, const wchar_t* text) {
  if (!text || id > 0xFFFF) return;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
  AddResource(module, MAKEINTRESOURCEW(static_cast<WORD>(id)), RT_STRING,
              std::span(bytes, (std::wcslen(text) + 1) * sizeof(wchar_t)));
}

namespace {

// Registered when winport loads, so every module added later is searched first.
struct FrameworkStrings {
  FrameworkStrings() {
    HINSTANCE module = AddResourceModule(L"winport");
    AddStringResource(module, AFX_IDS_OPENFILE, L"Open");
    AddStringResource(module, AFX_IDS_SAVEFILE, L"Save As");
    AddStringResource(module, AFX_IDS_ALLFILTER, L"All Files (*.*)");
    AddStringResource(module, AFX_IDS_UNTITLED, L"Untitled");
    AddStringResource(module, AFX_IDS_SAVEFILECOPY, L"Save Copy As");
  }
};
const FrameworkStrings g_frameworkStrings;

}  // namespace
}  // namespace winport

int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax <= 0 || uID > 0xFFFF) return 0;
  lpBuffer[0] = L'\0';
  std::span<const std::uint8_t> bytes =
      winport::FindResourceBytes(MAKEINTRESOURCEW(static_cast<WORD>(uID)), RT_STRING, hInstance);
  if (bytes.size() < sizeof(wchar_t)) return 0;
  const std::size_t chars = bytes.size() / sizeof(wchar_t) - 1;  // without the terminator
  const std::size_t n = std::min<std::size_t>(chars, static_cast<std::size_t>(cchBufferMax) - 1);
  std::memcpy(lpBuffer, bytes.data(), n * sizeof(wchar_t));
  lpBuffer[n] = L'\0';
  return static_cast<int>(n);
}

BOOL CString::LoadString(UINT nID) {
  std::span<const std::uint8_t> bytes =
      winport::FindResourceBytes(MAKEINTRESOURCEW(static_cast<WORD>(nID)), RT_STRING, AfxGetResourceHandle());
  if (bytes.empty() && AfxGetResourceHandle()) bytes = winport::FindResourceBytes(MAKEINTRESOURCEW(static_cast<WORD>(nID)), RT_STRING);
  if (nID > 0xFFFF || bytes.size() < sizeof(wchar_t)) return FALSE;
  std::wstring text(bytes.size() / sizeof(wchar_t) - 1, L'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  *this = CString(std::move(text));
  return TRUE;
}
