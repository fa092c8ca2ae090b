// The file and folder prompts: requests built from the dialog records, answered by the chosen
// provider, answers written back as the desktop's dialogs write them.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "winport/com/Com.h"
#include "winport/shell/CommDlg.h"
#include "winport/shell/PromptProvider.h"
#include "winport/shell/ShellInfo.h"
#include "winport/shell/ShlObj.h"
#include "winport/window/Backend.h"
#include "winport/window/User32.h"

namespace winport {
namespace {

class CancelAll : public PromptProvider {
 public:
  PromptAnswer Ask(const PromptRequest&) override { return {}; }
};

std::mutex g_providerMutex;
std::shared_ptr<PromptProvider> g_provider;  // null: the default choice

std::shared_ptr<PromptProvider> CurrentProvider() {
  {
    std::lock_guard lock(g_providerMutex);
    if (g_provider) return g_provider;
  }
  if (auto answered = CurrentBackend().Prompts()) return answered;
  if (auto desktop = MakeDesktopPromptProvider()) return desktop;
  return std::make_shared<CancelAll>();
}

std::vector<std::pair<std::wstring, std::wstring>> FilterPairs(LPCWSTR filter) {
  std::vector<std::pair<std::wstring, std::wstring>> pairs;
  if (!filter) return pairs;
  for (const wchar_t* p = filter; *p;) {
    std::wstring name = p;
    p += name.size() + 1;
    std::wstring pattern = *p ? std::wstring(p) : std::wstring();
    if (*p) p += pattern.size() + 1;
    pairs.emplace_back(std::move(name), std::move(pattern));
  }
  return pairs;
}

PromptAnswer Ask(const PromptRequest& request) { return CurrentProvider()->Ask(request); }

thread_local DWORD t_lastDialogError = 0;

BOOL RunFileDialog(LPOPENFILENAMEW ofn, PromptRequest::Kind kind) {
  t_lastDialogError = 0;
  if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEW) || !ofn->lpstrFile || ofn->nMaxFile == 0) {
    t_lastDialogError = CDERR_STRUCTSIZE;
    return FALSE;
  }
  PromptRequest request;
  request.kind = kind;
  request.title = ofn->lpstrTitle ? ofn->lpstrTitle : L"";
  request.filters = FilterPairs(ofn->lpstrFilter);
  request.filterIndex = ofn->nFilterIndex;
  // The initial name is read within the buffer the caller declared.
  const wchar_t* begin = ofn->lpstrFile;
  const wchar_t* end = std::find(begin, begin + ofn->nMaxFile, L'\0');
  request.fileName.assign(begin, end);
  request.initialDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : L"";
  request.defExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : L"";
  request.flags = ofn->Flags;
  request.owner = ofn->hwndOwner;
  PromptAnswer answer = Ask(request);
  if (!answer.confirmed || answer.path.empty()) return FALSE;
  std::wstring path = answer.path;
  PathParts parts = SplitPath(path);
  if (parts.ext.empty() && !request.defExt.empty() && !(parts.fname.empty())) {
    path += L"." + request.defExt;
    parts = SplitPath(path);
  }
  if (path.size() + 1 > ofn->nMaxFile || path.size() > 0xFFFF) {
    // As the desktop does: the size needed in the first characters of the buffer.
    if (ofn->nMaxFile >= 1) ofn->lpstrFile[0] = static_cast<wchar_t>(std::min<std::size_t>(path.size() + 1, 0xFFFF));
    t_lastDialogError = FNERR_BUFFERTOOSMALL;
    return FALSE;
  }
  path.copy(ofn->lpstrFile, path.size());
  ofn->lpstrFile[path.size()] = L'\0';
  const std::size_t nameAt = parts.drive.size() + parts.dir.size();
  ofn->nFileOffset = static_cast<WORD>(nameAt);
  ofn->nFileExtension = static_cast<WORD>(parts.ext.empty() ? path.size() : nameAt + parts.fname.size() + 1);
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
    const std::wstring title = parts.fname + parts.ext;
    const std::size_t n = std::min<std::size_t>(title.size(), ofn->nMaxFileTitle - 1);
    title.copy(ofn->lpstrFileTitle, n);
    ofn->lpstrFileTitle[n] = L'\0';
  }
  return TRUE;
}

// The item list of one path, in task memory.
PIDLIST_ABSOLUTE MakeIdList(const std::wstring& path) {
  const std::string utf8 = CString(path).ToUtf8();
  const std::size_t item = sizeof(USHORT) + utf8.size() + 1;
  if (item > 0xFFFF) return nullptr;
  auto* p = static_cast<BYTE*>(CoTaskMemAlloc(item + sizeof(USHORT)));
  if (!p) return nullptr;
  const auto cb = static_cast<USHORT>(item);
  std::memcpy(p, &cb, sizeof cb);
  std::memcpy(p + sizeof(USHORT), utf8.c_str(), utf8.size() + 1);
  const USHORT zero = 0;
  std::memcpy(p + item, &zero, sizeof zero);
  return reinterpret_cast<PIDLIST_ABSOLUTE>(p);
}

std::wstring PathOf(PCIDLIST_ABSOLUTE pidl) {
  if (!pidl) return {};
  USHORT cb = 0;
  std::memcpy(&cb, pidl, sizeof cb);
  if (cb <= sizeof(USHORT)) return {};
  const char* text = reinterpret_cast<const char*>(pidl) + sizeof(USHORT);
  return CString::FromUtf8(std::string_view(text, std::strlen(text))).str();
}

// The picker's window: the callback talks to it while the picker starts.
struct PickerState {
  std::wstring selection;
};
thread_local PickerState* t_picker = nullptr;

LRESULT PickerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == BFFM_SETSELECTIONW && t_picker) {
    if (wParam && lParam) t_picker->selection = reinterpret_cast<LPCWSTR>(lParam);
    else if (!wParam && lParam) t_picker->selection = PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LPCWSTR PickerClass() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PickerProc;
    wc.lpszClassName = L"WinportFolderPicker";
    return RegisterClassW(&wc) != 0;
  }();
  return registered ? L"WinportFolderPicker" : nullptr;
}

// The shell's process-wide objects: never freed, so counting is moot; they answer IUnknown only.
HRESULT QueryStatic(IUnknown* self, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = IsEqualIID(riid, IID_IUnknown) ? self : nullptr;
  return *ppv ? S_OK : E_NOINTERFACE;
}

class TaskAllocator : public IMalloc {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override { return QueryStatic(this, riid, ppv); }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  void* Alloc(std::size_t cb) override { return CoTaskMemAlloc(cb); }
  void* Realloc(void* pv, std::size_t cb) override { return CoTaskMemRealloc(pv, cb); }
  void Free(void* pv) override { CoTaskMemFree(pv); }
  std::size_t GetSize(void*) override { return static_cast<std::size_t>(-1); }
  int DidAlloc(void*) override { return -1; }
  void HeapMinimize() override {}
};

class DesktopFolder : public IShellFolder {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override { return QueryStatic(this, riid, ppv); }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT ParseDisplayName(HWND, IBindCtx*, LPWSTR pszDisplayName, ULONG* pchEaten, PIDLIST_RELATIVE* ppidl,
                           ULONG* pdwAttributes) override {
    if (!ppidl) return E_POINTER;
    *ppidl = nullptr;
    if (!pszDisplayName) return E_INVALIDARG;
    std::wstring path = pszDisplayName;
    WIN32_FIND_DATAW fd;
    const std::wstring probe = WithoutTrailingSeparators(path);
    HANDLE h = FindFirstFileW(probe.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return static_cast<HRESULT>(0x80070002);  // file not found
    FindClose(h);
    *ppidl = MakeIdList(path);
    if (!*ppidl) return E_OUTOFMEMORY;
    if (pchEaten) *pchEaten = static_cast<ULONG>(path.size());
    if (pdwAttributes) *pdwAttributes = 0;
    return S_OK;
  }
};

}  // namespace

void SetPromptProvider(std::shared_ptr<PromptProvider> provider) {
  std::lock_guard lock(g_providerMutex);
  g_provider = std::move(provider);
}

}  // namespace winport

using namespace winport;

// Running out of memory anywhere in a prompt is the prompt's failure, not an escaping exception.
BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn) {
  try {
    return RunFileDialog(ofn, PromptRequest::Open);
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
}
BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn) {
  try {
    return RunFileDialog(ofn, PromptRequest::Save);
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
}
DWORD CommDlgExtendedError() { return t_lastDialogError; }

namespace {

// The picker's window for the callback, gone with the scope whatever happens.
class PickerWindow {
 public:
  PickerWindow(PickerState& state, LPBROWSEINFOW lpbi) : outer_(t_picker) {
    t_picker = &state;
    if (PickerClass())
      hwnd_ = CreateWindowExW(0, PickerClass(), lpbi->lpszTitle, WS_POPUP, 0, 0, 0, 0, lpbi->hwndOwner, nullptr,
                              nullptr, nullptr);
  }
  ~PickerWindow() {
    t_picker = outer_;
    if (hwnd_) DestroyWindow(hwnd_);
  }
  PickerWindow(const PickerWindow&) = delete;
  PickerWindow& operator=(const PickerWindow&) = delete;
  HWND Handle() const { return hwnd_; }

 private:
  PickerState* outer_;
  HWND hwnd_ = nullptr;
};

PIDLIST_ABSOLUTE BrowseForFolder(LPBROWSEINFOW lpbi) {
  PickerState state;
  state.selection = PathOf(lpbi->pidlRoot);
  PickerWindow picker(state, lpbi);
  if (picker.Handle() && lpbi->lpfn) lpbi->lpfn(picker.Handle(), BFFM_INITIALIZED, 0, lpbi->lParam);
  PromptRequest request;
  request.kind = PromptRequest::Folder;
  request.title = lpbi->lpszTitle ? lpbi->lpszTitle : L"";
  request.fileName = state.selection;
  request.flags = lpbi->ulFlags;
  request.owner = lpbi->hwndOwner;
  PromptAnswer answer = Ask(request);
  if (!answer.confirmed || answer.path.empty()) return nullptr;
  PIDLIST_ABSOLUTE pidl = MakeIdList(answer.path);
  if (!pidl) return nullptr;
  if (lpbi->pszDisplayName) {
    const std::wstring trimmed = WithoutTrailingSeparators(answer.path);
    const PathParts parts = SplitPath(trimmed);
    std::wstring shown = parts.fname + parts.ext;
    if (shown.empty()) shown = trimmed;
    const std::size_t n = std::min<std::size_t>(shown.size(), MAX_PATH - 1);
    shown.copy(lpbi->pszDisplayName, n);
    lpbi->pszDisplayName[n] = L'\0';
  }
  lpbi->iImage = kIconFolder;
  return pidl;
}

}  // namespace

PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW lpbi) {
  if (!lpbi) return nullptr;
  try {
    return BrowseForFolder(lpbi);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE pidl, LPWSTR pszPath) {
  if (!pszPath) return FALSE;
  pszPath[0] = L'\0';
  const std::wstring path = PathOf(pidl);
  if (path.empty() || path.size() >= MAX_PATH) return FALSE;
  path.copy(pszPath, path.size());
  pszPath[path.size()] = L'\0';
  return TRUE;
}

HRESULT SHGetMalloc(IMalloc** ppMalloc) {
  static TaskAllocator allocator;
  if (!ppMalloc) return E_POINTER;
  *ppMalloc = &allocator;
  return S_OK;
}

HRESULT SHGetDesktopFolder(IShellFolder** ppshf) {
  static DesktopFolder desktop;
  if (!ppshf) return E_POINTER;
  *ppshf = &desktop;
  return S_OK;
}

void ILFree(PIDLIST_RELATIVE pidl) { CoTaskMemFree(pidl); }
