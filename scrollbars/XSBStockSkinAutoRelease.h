// The stock skins' release list: one instance lives from library load to unload and deletes
// every skin handed to it, clearing the stock pointers so none dangles.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

class CXScrollBarSkin;

class PARVANEU_API CXSBStockSkinAutoRelease : public CArray<CXScrollBarSkin*, CXScrollBarSkin*> {
 public:
  CXSBStockSkinAutoRelease() = default;
  ~CXSBStockSkinAutoRelease();

  // Appends pSkin; ppSlot, when given, is set to null at release.
  static void Add(CXScrollBarSkin* pSkin, CXScrollBarSkin** ppSlot);
  // *ppSlot, created first if null, all under one lock so two threads get one skin.
  static CXScrollBarSkin* GetOrCreate(CXScrollBarSkin** ppSlot, CXScrollBarSkin* (*pfnCreate)());
  // Deletes every skin in index order and clears the slots (run at unload).
  void ReleaseAll();
  // The process-wide list's ReleaseAll, for a host that tears down before unload.
  static void ReleaseStockSkins();

 private:
  void AddLocked(CXScrollBarSkin* pSkin, CXScrollBarSkin** ppSlot);
  CArray<CXScrollBarSkin**, CXScrollBarSkin**> m_arrSlots;
};
