#include "scrollbars/XSBStockSkinAutoRelease.h"

#include <mutex>
#include <new>

#include "scrollbars/XScrollBarSkin.h"

namespace {

std::mutex& SkinLock() {
  static std::mutex s_lock;
  return s_lock;
}

CXSBStockSkinAutoRelease g_stockSkins;

}  // namespace

CXSBStockSkinAutoRelease::~CXSBStockSkinAutoRelease() { ReleaseAll(); }

void CXSBStockSkinAutoRelease::ReleaseAll() {
  std::lock_guard<std::mutex> lock(SkinLock());
  for (INT_PTR i = 0; i < GetSize(); ++i) delete GetAt(i);
  for (INT_PTR i = 0; i < m_arrSlots.GetSize(); ++i) *m_arrSlots[i] = nullptr;
  RemoveAll();
  m_arrSlots.RemoveAll();
}

void CXSBStockSkinAutoRelease::ReleaseStockSkins() { g_stockSkins.ReleaseAll(); }

void CXSBStockSkinAutoRelease::Add(CXScrollBarSkin* pSkin, CXScrollBarSkin** ppSlot) {
  std::lock_guard<std::mutex> lock(SkinLock());
  g_stockSkins.AddLocked(pSkin, ppSlot);
}

void CXSBStockSkinAutoRelease::AddLocked(CXScrollBarSkin* pSkin, CXScrollBarSkin** ppSlot) {
  try {
    SetAtGrow(GetSize(), pSkin);
    if (ppSlot) m_arrSlots.Add(ppSlot);
  } catch (...) {
    // The list cannot grow: the skin then lives to process exit rather than be freed twice.
  }
}

CXScrollBarSkin* CXSBStockSkinAutoRelease::GetOrCreate(CXScrollBarSkin** ppSlot, CXScrollBarSkin* (*pfnCreate)()) {
  std::lock_guard<std::mutex> lock(SkinLock());
  if (*ppSlot) return *ppSlot;
  try {
    *ppSlot = pfnCreate();
  } catch (...) {
    *ppSlot = nullptr;  // allocation failure: no skin, reported as null
  }
  if (*ppSlot) g_stockSkins.AddLocked(*ppSlot, ppSlot);
  return *ppSlot;
}
