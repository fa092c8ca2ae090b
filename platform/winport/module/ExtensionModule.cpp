#include "winport/module/ExtensionModule.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "winport/res/Resources.h"

namespace {

std::mutex g_mutex;
std::vector<CDynLinkLibrary*>& Entries() {
  static std::vector<CDynLinkLibrary*> entries;
  return entries;
}

}  // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HINSTANCE hInstance) {
  if (!hInstance) return FALSE;
  state.hModule = hInstance;
  state.hResource = hInstance;
  state.bInitialized = TRUE;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL /*bAll*/) {
  if (!state.bInitialized) return;
  std::vector<CDynLinkLibrary*> mine;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    auto& all = Entries();
    for (auto it = all.begin(); it != all.end();) {
      if ((*it)->m_hModule == state.hModule) {
        mine.push_back(*it);
        it = all.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (CDynLinkLibrary* entry : mine) delete entry;  // the framework owns the entries
  winport::RemoveResourceModule(state.hResource);
  state = AFX_EXTENSION_MODULE{};
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Entries().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto& all = Entries();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}
